#include "listing/listingtexts.h"
#include "listing/nameorder.h"
#include "listing/panelist.h"
#include "listing/rowsort.h"
#include "listing/typenames.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <numeric>
#include <random>

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

PaneRow nameRow(const QString& name)
{
    return textRow(name, QString(), QString());
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

TEST_F(RowSortTest, RowsOfEntriesThatCouldNotBeLookedAtSortAsEmptyCells)
{
    std::vector<PaneRow> rows;
    rows.push_back(listedRow("zero.txt", 0, 1000));
    PaneRow unknown = listedRow("blind.txt", 0, 0);
    unknown.flags |= PaneRow::Unknown;
    rows.push_back(std::move(unknown));
    rows.push_back(listedRow("big.txt", 50, 500));
    for (PaneRow& row : rows)
        row.attributes = Attr::ReadOnly;
    m_list.setRows(std::move(rows));

    for (const int column : {int(ColBytes), int(ColCreated), int(ColAccessed), int(ColModified),
                             int(ColType), int(ColAttributes)}) {
        EXPECT_EQ(namesInOrder(m_list, sortOrder(m_list, column, Qt::AscendingOrder)).first(),
                  QStringLiteral("blind.txt"))
            << column;
        EXPECT_EQ(namesInOrder(m_list, sortOrder(m_list, column, Qt::DescendingOrder)).last(),
                  QStringLiteral("blind.txt"))
            << column;
    }
}

TEST_F(RowSortTest, NamesSortInTheLocaleCollationAndTiesKeepTheirOrder)
{
    std::vector<PaneRow> rows;
    for (const char* name : {"report.txt", "Readme", "data.csv", "a.b.txt", "README",
                             "report_2.txt", "a-b.txt", "data_1.csv", "readme", "\u00e4.txt"})
        rows.push_back(nameRow(QString::fromUtf8(name)));
    m_list.setRows(std::move(rows));

    // The en_US collation of this Qt (ICU): the low line, hyphen and full stop come before
    // letters, in that order; "ä" sorts with "a"; names equal but for case stay as they stood.
    EXPECT_EQ(namesInOrder(m_list, sortOrder(m_list, ColName, Qt::AscendingOrder)),
              QStringList({"a-b.txt", "a.b.txt", "\u00e4.txt", "data_1.csv", "data.csv", "Readme",
                           "README", "readme", "report_2.txt", "report.txt"}));
    EXPECT_EQ(namesInOrder(m_list, sortOrder(m_list, ColName, Qt::DescendingOrder)),
              QStringList({"report.txt", "report_2.txt", "Readme", "README", "readme", "data.csv",
                           "data_1.csv", "\u00e4.txt", "a.b.txt", "a-b.txt"}));
}

TEST_F(RowSortTest, OtherTextColumnsUseTheSameOrder)
{
    std::vector<PaneRow> rows;
    for (const char* type : {"text_2", "Text", "text-1"}) {
        PaneRow row = nameRow(QString::fromUtf8(type));
        row.texts->cells[ColType] = QString::fromUtf8(type);
        rows.push_back(std::move(row));
    }
    m_list.setRows(std::move(rows));
    EXPECT_EQ(namesInOrder(m_list, sortOrder(m_list, ColType, Qt::AscendingOrder)),
              QStringList({"Text", "text_2", "text-1"}));
}

TEST_F(RowSortTest, LargeListsSortExactlyAsOneStableSort)
{
    // Enough rows for the bucketed sort on several threads, with many names equal but for
    // case, so that the order of equal rows shows.
    std::mt19937 random(11);
    std::vector<PaneRow> rows;
    QStringList names;
    for (int i = 0; i < 60000; ++i) {
        QString name = QStringLiteral("file_%1.txt").arg(random() % 400);
        for (QChar& c : name)
            if (random() % 2)
                c = c.toUpper();
        names << name;
        rows.push_back(nameRow(name));
    }
    // Blank rows of a comparison gather at one end as in a short list.
    for (int i = 0; i < 50; ++i) {
        names << QStringLiteral(" ");
        rows.push_back(nameRow(QStringLiteral(" ")));
    }
    m_list.setRows(std::move(rows));

    const NameOrder order;
    std::vector<NameOrder::Key> keys;
    for (const QString& name : names)
        keys.push_back(order.key(name));
    std::vector<int> expected(size_t(names.size()));
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(),
                     [&](int a, int b) { return keys[size_t(a)] < keys[size_t(b)]; });
    EXPECT_EQ(sortOrder(m_list, ColName, Qt::AscendingOrder), expected);

    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(),
                     [&](int a, int b) { return keys[size_t(b)] < keys[size_t(a)]; });
    EXPECT_EQ(sortOrder(m_list, ColName, Qt::DescendingOrder), expected);
}

TEST_F(RowSortTest, LongAlikeNamesSortExactlyAsOneStableSortInEveryLocale)
{
    // Names that agree far past their first bytes, names that are the start of others, and
    // names equal but for case, on several threads in both directions.
    std::mt19937 random(5);
    std::vector<PaneRow> rows;
    QStringList names;
    for (int i = 0; i < 60000; ++i) {
        QString name = QStringLiteral("project archive of the year %1").arg(random() % 40);
        if (random() % 3)
            name += QStringLiteral(" part %1").arg(random() % 30);
        if (random() % 2)
            name = name.toUpper();
        names << name;
        rows.push_back(nameRow(name));
    }
    m_list.setRows(std::move(rows));

    const QLocale unitedStates;
    for (const QLocale& locale : {unitedStates, QLocale::c()}) {
        QLocale::setDefault(locale);
        const NameOrder order(locale);
        std::vector<NameOrder::Key> keys;
        for (const QString& name : names)
            keys.push_back(order.key(name));
        for (const Qt::SortOrder direction : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            std::vector<int> expected(size_t(names.size()));
            std::iota(expected.begin(), expected.end(), 0);
            std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
                return direction == Qt::AscendingOrder ? keys[size_t(a)] < keys[size_t(b)]
                                                       : keys[size_t(b)] < keys[size_t(a)];
            });
            EXPECT_EQ(sortOrder(m_list, ColName, direction), expected)
                << locale.name().toStdString() << " " << direction;
        }
    }
    QLocale::setDefault(unitedStates);
}

TEST_F(RowSortTest, LargeListsKeepSizesThatDoNotParseAfterTheRestInBothDirections)
{
    std::mt19937 random(3);
    std::vector<PaneRow> rows;
    std::vector<int> sizes; // -1: a text that does not parse
    const char* odd[] = {"n/a", "N/A", "--", "unknown", "Unknown size"};
    for (int i = 0; i < 60000; ++i) {
        const bool parses = random() % 3 != 0;
        sizes.push_back(parses ? int(random() % 500) : -1);
        rows.push_back(textRow("f", parses ? sizeText(sizes.back()) : odd[random() % 5], " "));
    }
    m_list.setRows(std::move(rows));

    const NameOrder order;
    for (const Qt::SortOrder direction : {Qt::AscendingOrder, Qt::DescendingOrder}) {
        const bool up = direction == Qt::AscendingOrder;
        std::vector<int> expected(sizes.size());
        std::iota(expected.begin(), expected.end(), 0);
        std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
            const int x = sizes[size_t(a)];
            const int y = sizes[size_t(b)];
            if ((x < 0) != (y < 0))
                return y < 0;
            if (x >= 0)
                return up ? x < y : y < x;
            const int texts =
                order.compare(m_list.cellText(a, ColBytes), m_list.cellText(b, ColBytes));
            return up ? texts < 0 : texts > 0;
        });
        EXPECT_EQ(sortOrder(m_list, ColBytes, direction), expected) << direction;
    }
}

TEST_F(RowSortTest, AMillionNamesSortWellUnderASecond)
{
    std::mt19937 random(7);
    std::vector<PaneRow> rows;
    rows.reserve(1000000);
    const char* stems[] = {"report", "Data", "photo_", "IMG-", "notes.", "backup"};
    for (int i = 0; i < 1000000; ++i) {
        PaneRow& row = rows.emplace_back();
        row.nativeName = std::string(stems[random() % 6]) + std::to_string(random() % 1000000) +
                         (i % 3 ? ".txt" : ".JPG");
        row.flags = PaneRow::NoSizeColumn2;
    }
    m_list.setRows(std::move(rows));

    const auto start = std::chrono::steady_clock::now();
    const std::vector<int> order = sortOrder(m_list, ColName, Qt::AscendingOrder);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    std::cout << "sortOrder of 1,000,000 names: "
              << std::chrono::duration<double, std::milli>(elapsed).count() << " ms\n";
    ASSERT_EQ(order.size(), 1000000u);
    const NameOrder names;
    for (size_t i = 1; i < order.size(); i += 997)
        ASSERT_LE(names.compare(m_list.cellText(order[i - 1], ColName),
                                m_list.cellText(order[i], ColName)),
                  0);
    // Generous against a loaded machine, yet far below what making keys in every comparison
    // would take; the figure printed above is the measure.
    EXPECT_LT(elapsed, std::chrono::seconds(4));
}
