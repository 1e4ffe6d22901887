#include "listing/panelist.h"

#include <QAbstractItemModelTester>
#include <QColor>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <numeric>

namespace vennic {
namespace {

/// Makes "<name>|<column>" and counts how often it is asked.
class CountingMaker : public RowTextMaker {
public:
    QString cellText(const PaneRow& row, int column) const override
    {
        ++calls;
        return QString::fromStdString(row.nativeName) + QLatin1Char('|') + QString::number(column);
    }
    mutable std::atomic<int> calls{0};
};

PaneRow listedRow(const std::string& name, uint32_t color = RowColor::Black)
{
    PaneRow row;
    row.nativeName = name;
    row.foreColor = color;
    return row;
}

PaneRow textRow(const QString& name)
{
    PaneRow row;
    row.texts = std::make_unique<RowTexts>();
    for (int c = 0; c < PaneColumnCount; ++c)
        row.texts->cells[size_t(c)] = name + QLatin1Char('/') + QString::number(c);
    return row;
}

std::vector<PaneRow> someRows()
{
    std::vector<PaneRow> rows;
    rows.push_back(listedRow("folder", RowColor::Blue));
    rows.back().smallImage = RowImage::SmallFolder;
    rows.back().largeImage = RowImage::LargeFolder;
    rows.back().toolTip = QStringLiteral("Size of readable parts only");
    rows.push_back(listedRow("file.txt"));
    rows.push_back(textRow(QStringLiteral("saved")));
    return rows;
}

TEST(PaneList, PassesTheModelTesterThroughEveryChange)
{
    auto maker = std::make_shared<CountingMaker>();
    PaneList list(PaneColumnCount);
    list.setTextMaker(maker);
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::Fatal);
    list.setRows(someRows());
    list.setForeColor(1, RowColor::Red);
    list.setSmallImage(1, RowImage::SmallDelete);
    list.setToolTip(0, QStringLiteral("tip"));
    list.setCellText(1, ColType, QStringLiteral("changed"));
    list.reorder({2, 0, 1});
    list.setSortIcon(ColName, 1);
    list.clear();
    EXPECT_EQ(list.rowCount(), 0);
}

TEST(PaneList, ListedRowsAskTheTextMakerAndTextRowsShowTheirTexts)
{
    auto maker = std::make_shared<CountingMaker>();
    PaneList list(7);
    list.setTextMaker(maker);
    list.setRows(someRows());
    EXPECT_EQ(maker->calls, 0) << "texts are made only when asked";

    EXPECT_EQ(list.data(list.index(1, ColBytes)).toString(), QStringLiteral("file.txt|2"));
    EXPECT_EQ(list.cellText(1, ColBytes), QStringLiteral("file.txt|2"));
    EXPECT_EQ(list.data(list.index(2, ColName)).toString(), QStringLiteral("saved/0"));
    EXPECT_EQ(list.cellText(2, ColModified), QStringLiteral("saved/6"));
    // A text row is never sent to the maker.
    const int before = maker->calls;
    list.rowTexts(2);
    EXPECT_EQ(maker->calls, before);
}

TEST(PaneList, RolesCarryColourToolTipImagesAndAlignment)
{
    PaneList list(7);
    list.setTextMaker(std::make_shared<CountingMaker>());
    list.setRows(someRows());

    EXPECT_EQ(list.data(list.index(0, ColType), Qt::ForegroundRole).value<QColor>(),
              QColor(0, 0, 255)); // 0xFF0000 in blue-green-red order is blue
    list.setForeColor(1, RowColor::Red);
    EXPECT_EQ(list.data(list.index(1, ColName), Qt::ForegroundRole).value<QColor>(),
              QColor(255, 0, 0));
    EXPECT_EQ(PaneList::colorFromBgr(0xC7F5F1), QColor(0xF1, 0xF5, 0xC7));
    // Only the size cells of a partial size take the partial colour.
    std::vector<PaneRow> partial = someRows();
    partial[0].flags |= PaneRow::SizePartial;
    list.setRows(std::move(partial));
    EXPECT_EQ(list.data(list.index(0, ColBytes), Qt::ForegroundRole).value<QColor>(),
              PaneList::colorFromBgr(RowColor::PartialSize));
    EXPECT_EQ(list.data(list.index(0, ColName), Qt::ForegroundRole).value<QColor>(),
              QColor(0, 0, 255));

    EXPECT_EQ(list.data(list.index(0, ColName), Qt::ToolTipRole).toString(),
              QStringLiteral("Size of readable parts only"));
    EXPECT_FALSE(list.data(list.index(1, ColName), Qt::ToolTipRole).isValid());
    list.setToolTip(1, QStringLiteral("8 Dec 2026"));
    EXPECT_EQ(list.data(list.index(1, ColAttributes), Qt::ToolTipRole).toString(),
              QStringLiteral("8 Dec 2026"));

    EXPECT_EQ(list.data(list.index(0, ColName), PaneList::SmallImageRole).toInt(), 2);
    EXPECT_EQ(list.data(list.index(0, ColName), PaneList::LargeImageRole).toInt(), 3);
    EXPECT_EQ(list.data(list.index(1, ColName), PaneList::SmallImageRole).toInt(), 4);
    EXPECT_EQ(list.data(list.index(1, ColName), PaneList::LargeImageRole).toInt(), 1);
    QSignalSpy changed(&list, &QAbstractItemModel::dataChanged);
    list.setSmallImage(1, RowImage::SmallCopyLeft);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(list.row(1).smallImage, RowImage::SmallCopyLeft);

    auto alignment = [&](int column) {
        return list.data(list.index(0, column), Qt::TextAlignmentRole).value<Qt::Alignment>() &
               Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(alignment(ColBytes), Qt::AlignRight);
    EXPECT_EQ(alignment(ColAttributes), Qt::AlignRight);
    EXPECT_EQ(alignment(ColName), Qt::AlignLeft);
    list.setRightAligned(ColAttributes, false);
    EXPECT_EQ(alignment(ColAttributes), Qt::AlignLeft);
}

TEST(PaneList, TextsShowAsWrittenNotAsControlsOrMarkup)
{
    PaneList list(7);
    std::vector<PaneRow> rows;
    rows.push_back(textRow(QStringLiteral("keep.txt") + QChar(0) + QStringLiteral(" (copy)")));
    rows.back().toolTip = QStringLiteral("<b>12/8/2026</b>");
    list.setRows(std::move(rows));
    // The text itself is kept for saving; the list shows a mark in place of the U+0000.
    EXPECT_EQ(list.cellText(0, ColName).size(), 18);
    EXPECT_EQ(list.data(list.index(0, ColName), Qt::DisplayRole).toString(),
              QStringLiteral("keep.txt\uFFFD (copy)/0"));
    const QString tip = list.data(list.index(0, ColName), Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.contains(QStringLiteral("&lt;b&gt;12/8/2026&lt;/b&gt;"))) << tip.toStdString();
}

TEST(PaneList, RightListHasAnEighthColumnShowingSubItemSeven)
{
    PaneList left(7);
    PaneList right(PaneColumnCount);
    for (PaneList* list : {&left, &right}) {
        list->setTextMaker(std::make_shared<CountingMaker>());
        list->setRows(someRows());
    }
    ASSERT_EQ(left.columnCount(QModelIndex()), 7);
    ASSERT_EQ(right.columnCount(QModelIndex()), 8);
    const QStringList titles = {"Name",       "Type",     "Bytes",    "Created",
                                "Attributes", "Accessed", "Modified", "Bytes"};
    for (int c = 0; c < 8; ++c)
        EXPECT_EQ(right.headerData(c, Qt::Horizontal).toString(), titles[c]);
    EXPECT_EQ(right.data(right.index(2, ColBytes2)).toString(), QStringLiteral("saved/7"));
    EXPECT_EQ(right.data(right.index(0, ColBytes2)).toString(), QStringLiteral("folder|7"));
    EXPECT_EQ(
        right.headerData(ColBytes2, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() &
            Qt::AlignHorizontal_Mask,
        Qt::AlignRight);
    EXPECT_FALSE(left.index(0, ColBytes2).isValid());
}

TEST(PaneList, SettingOneCellOfAListedRowKeepsItsOtherTexts)
{
    PaneList list(7);
    list.setTextMaker(std::make_shared<CountingMaker>());
    list.setRows(someRows());
    list.setCellText(1, ColAttributes, QStringLiteral("R"));
    EXPECT_TRUE(list.row(1).hasTexts());
    EXPECT_EQ(list.cellText(1, ColAttributes), QStringLiteral("R"));
    EXPECT_EQ(list.cellText(1, ColName), QStringLiteral("file.txt|0"));
    EXPECT_EQ(list.cellText(1, ColBytes2), QStringLiteral("file.txt|7"));
}

TEST(PaneList, ReorderMovesRowsAndKeepsPersistentIndexes)
{
    PaneList list(7);
    list.setTextMaker(std::make_shared<CountingMaker>());
    list.setRows(someRows());
    const QPersistentModelIndex onFile(list.index(1, ColType));
    list.reorder({2, 1, 0});
    EXPECT_EQ(list.cellText(0, ColName), QStringLiteral("saved/0"));
    EXPECT_EQ(list.cellText(2, ColName), QStringLiteral("folder|0"));
    EXPECT_EQ(onFile.row(), 1);
    list.reorder({1, 2, 0});
    EXPECT_EQ(onFile.row(), 0);
    EXPECT_EQ(onFile.data().toString(), QStringLiteral("file.txt|1"));
    list.reorder({0}); // not a permutation of the rows: nothing moves
    EXPECT_EQ(list.cellText(0, ColName), QStringLiteral("file.txt|0"));
}

TEST(PaneList, HeaderCarriesTheSortIconNumber)
{
    PaneList list(7);
    QSignalSpy header(&list, &QAbstractItemModel::headerDataChanged);
    list.setSortIcon(ColCreated, 2);
    EXPECT_EQ(header.count(), 1);
    EXPECT_EQ(list.headerData(ColCreated, Qt::Horizontal, PaneList::SortIconRole).toInt(), 2);
    EXPECT_EQ(list.headerData(ColName, Qt::Horizontal, PaneList::SortIconRole).toInt(), 0);
    EXPECT_FALSE(list.headerData(ColCreated, Qt::Horizontal, Qt::DecorationRole).isValid())
        << "no picture without an icon provider";
}

TEST(PaneList, TakesAndDropsAHundredThousandRowsInOneReset)
{
    auto maker = std::make_shared<CountingMaker>();
    PaneList list(PaneColumnCount);
    list.setTextMaker(maker);
    std::vector<PaneRow> rows(100000);
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i].nativeName = "a-file-with-a-longer-name-" + std::to_string(i) + ".txt";
    QSignalSpy resets(&list, &QAbstractItemModel::modelReset);
    list.setRows(std::move(rows));
    EXPECT_EQ(list.rowCount(), 100000);
    EXPECT_EQ(list.cellText(99999, ColName),
              QStringLiteral("a-file-with-a-longer-name-99999.txt|0"));
    list.clear();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(resets.count(), 2);
    EXPECT_LE(maker->calls, 1);
}

} // namespace
} // namespace vennic

namespace vennic {
namespace {

/// Sorts by the name's text, as the listing's rules do for the "Name" column.
std::vector<int> byName(const PaneList& list, int column, Qt::SortOrder order)
{
    std::vector<int> rows(size_t(list.rowCount()));
    std::iota(rows.begin(), rows.end(), 0);
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        const QString x = list.cellText(a, column);
        const QString y = list.cellText(b, column);
        return order == Qt::AscendingOrder ? x < y : y < x;
    });
    return rows;
}

std::vector<PaneRow> namedRows(std::initializer_list<const char*> names)
{
    std::vector<PaneRow> rows;
    for (const char* name : names)
        rows.push_back(listedRow(name));
    return rows;
}

TEST(PaneList, AutomaticSortingKeepsNewRowsInOrderUntilSwitchedOff)
{
    PaneList list(7);
    list.setTextMaker(std::make_shared<CountingMaker>());
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::Fatal);
    list.setSorter(&byName);
    list.setRows(namedRows({"b", "c", "a"}));
    EXPECT_FALSE(list.isSorted());
    EXPECT_EQ(list.cellText(0, ColName), QStringLiteral("b|0")) << "rows stay as they came";

    list.sortBy(ColName, Qt::DescendingOrder);
    EXPECT_TRUE(list.isSorted());
    EXPECT_EQ(list.cellText(0, ColName), QStringLiteral("c|0"));

    // A new listing arrives in the order of the sort key and order.
    QSignalSpy resets(&list, &QAbstractItemModel::modelReset);
    list.setRows(namedRows({"x", "z", "y"}));
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(list.cellText(0, ColName), QStringLiteral("z|0"));
    EXPECT_EQ(list.cellText(2, ColName), QStringLiteral("x|0"));

    list.setSorted(false);
    list.setRows(namedRows({"q", "p"}));
    EXPECT_EQ(list.cellText(0, ColName), QStringLiteral("q|0"));
    EXPECT_EQ(list.sortKey(), ColName);
    EXPECT_EQ(list.sortOrder(), Qt::DescendingOrder);
}

} // namespace
} // namespace vennic
