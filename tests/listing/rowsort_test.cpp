#include "listing/listingtexts.h"
#include "listing/rowsort.h"
#include "listing/typenames.h"
#include "platform/panelist.h"

#include <gtest/gtest.h>

using namespace vennic;

namespace {

PaneRow textRow(const QString& name, const QString& bytes, const QString& created)
{
    PaneRow row;
    row.texts = std::make_unique<RowTexts>();
    row.texts->cells[ColName] = name;
    row.texts->cells[ColBytes] = bytes;
    row.texts->cells[ColCreated] = created;
    return row;
}

PaneRow listedRow(const char* name, int64_t size, int64_t created)
{
    PaneRow row;
    row.nativeName = name;
    row.size = size;
    row.created = created;
    row.flags = PaneRow::NoSizeColumn2;
    return row;
}

QStringList namesInOrder(const PaneList& list, const std::vector<int>& order)
{
    QStringList names;
    for (int i : order)
        names << list.cellText(i, ColName);
    return names;
}

class RowSortTest : public ::testing::Test {
protected:
    RowSortTest() : m_list(7) { m_list.setTextMaker(std::make_shared<ListingTexts>(m_types)); }

    TypeNames m_types;
    PaneList m_list;
};

} // namespace

TEST_F(RowSortTest, BytesSortByNumberNotByPaddedText)
{
    std::vector<PaneRow> rows;
    rows.push_back(textRow("big", sizeText(1234567), " "));
    rows.push_back(textRow("empty", sizeText(0), " "));
    rows.push_back(textRow("small", sizeText(200), " "));
    rows.push_back(textRow("odd", "--", " "));
    m_list.setRows(std::move(rows));

    EXPECT_EQ(namesInOrder(m_list, sortOrder(m_list, ColBytes, Qt::AscendingOrder)),
              QStringList({"empty", "small", "big", "odd"}));
    // Texts that do not parse stay after the rest in both directions.
    EXPECT_EQ(namesInOrder(m_list, sortOrder(m_list, ColBytes, Qt::DescendingOrder)),
              QStringList({"big", "small", "empty", "odd"}));
}

TEST_F(RowSortTest, DatesSortByTimeNotByText)
{
    std::vector<PaneRow> rows;
    rows.push_back(textRow("december", " ", "12/8/2026 7:29:42 AM"));
    rows.push_back(textRow("march", " ", "3/1/2026"));
    rows.push_back(textRow("march-later", " ", "3/1/2026 1:00:00 PM"));
    m_list.setRows(std::move(rows));

    EXPECT_EQ(namesInOrder(m_list, sortOrder(m_list, ColCreated, Qt::AscendingOrder)),
              QStringList({"march", "march-later", "december"}));
}

TEST_F(RowSortTest, ListedRowsSortByRawValuesAndNamesIgnoreCase)
{
    std::vector<PaneRow> rows;
    rows.push_back(listedRow("b.txt", 10, 3000));
    rows.push_back(listedRow("A.txt", 1000, 1000));
    rows.push_back(listedRow("c.txt", 9, 2000));
    m_list.setRows(std::move(rows));

    EXPECT_EQ(namesInOrder(m_list, sortOrder(m_list, ColName, Qt::AscendingOrder)),
              QStringList({"A.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(namesInOrder(m_list, sortOrder(m_list, ColBytes, Qt::DescendingOrder)),
              QStringList({"A.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(namesInOrder(m_list, sortOrder(m_list, ColCreated, Qt::AscendingOrder)),
              QStringList({"A.txt", "c.txt", "b.txt"}));
}

TEST_F(RowSortTest, EmptyCellsOfBlankRowsGoToOneEndOfEverySort)
{
    // A comparison's blank row: the text " " and every other cell empty.
    std::vector<PaneRow> rows;
    rows.push_back(textRow("zero.txt", sizeText(0), "3/1/2026"));
    rows.push_back(textRow(" ", QString(), QString()));
    rows.push_back(textRow("nine.txt", sizeText(9), "12/8/2026 7:29:42 AM"));
    PaneRow unreadable = listedRow("locked", 0, 500);
    unreadable.flags = PaneRow::Folder | PaneRow::SizeUnknown;
    rows.push_back(std::move(unreadable));
    m_list.setRows(std::move(rows));

    EXPECT_EQ(namesInOrder(m_list, sortOrder(m_list, ColBytes, Qt::AscendingOrder)),
              QStringList({" ", "locked", "zero.txt", "nine.txt"}))
        << "an empty size text comes before the blanks of a zero size";
    EXPECT_EQ(namesInOrder(m_list, sortOrder(m_list, ColBytes, Qt::DescendingOrder)),
              QStringList({"nine.txt", "zero.txt", " ", "locked"}));
    EXPECT_EQ(namesInOrder(m_list, sortOrder(m_list, ColName, Qt::AscendingOrder)).first(),
              QStringLiteral(" "));
    EXPECT_EQ(namesInOrder(m_list, sortOrder(m_list, ColCreated, Qt::DescendingOrder)).last(),
              QStringLiteral(" "));
}
