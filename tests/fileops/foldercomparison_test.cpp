// The folder comparison: the merge walk over the two panes' names, its blank rows, and that it
// changes nothing else.
#include "fileops/foldercomparison.h"

#include "listing/listingtexts.h"
#include "listing/panelist.h"
#include "listing/rowsort.h"
#include "listing/typenames.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <random>

using namespace vennic;

namespace {

/// A list of rows that carry their texts; a name ending in "/" is a folder row.
std::unique_ptr<PaneList> listOf(const QStringList& names)
{
    auto list = std::make_unique<PaneList>(7);
    std::vector<PaneRow> rows;
    for (QString name : names) {
        PaneRow& row = rows.emplace_back();
        row.texts = std::make_unique<RowTexts>();
        const bool folder = name.endsWith(u'/');
        if (folder)
            name.chop(1);
        row.texts->cells[ColName] = name;
        row.texts->cells[ColType] =
            folder ? QStringLiteral(" File Folder") : QStringLiteral("Text");
        row.texts->cells[ColBytes] = QStringLiteral("12");
        row.foreColor = folder ? RowColor::Blue : RowColor::Red;
        row.smallImage = folder ? RowImage::SmallFolder : RowImage::SmallCopyLeft;
        row.largeImage = folder ? RowImage::LargeFolder : RowImage::LargeFile;
    }
    list->setRows(std::move(rows));
    return list;
}

QStringList namesOf(const PaneList& list)
{
    QStringList names;
    for (int i = 0; i < list.rowCount(); ++i)
        names << list.cellText(i, ColName);
    return names;
}

const QString B = QStringLiteral(" ");

struct Compared {
    QStringList left, right;
};

Compared compare(const QStringList& left, const QStringList& right)
{
    auto l = listOf(left);
    auto r = listOf(right);
    compareFolders(*l, *r);
    return {namesOf(*l), namesOf(*r)};
}

} // namespace

TEST(FolderComparison, WorkedExampleLinesEqualNamesUp)
{
    const Compared c = compare({"a", "c", "e", "f"}, {"b", "c", "d", "f"});
    EXPECT_EQ(c.left, QStringList({"a", B, "c", B, "e", "f"}));
    EXPECT_EQ(c.right, QStringList({B, "b", "c", "d", B, "f"}));
}

TEST(FolderComparison, EdgeCasesOfUnequalLengthsAndCase)
{
    Compared c = compare({"a", "b"}, {"b"});
    EXPECT_EQ(c.left, QStringList({"a", "b"}));
    EXPECT_EQ(c.right, QStringList({B, "b"}));
    c = compare({"b"}, {"a", "b"});
    EXPECT_EQ(c.left, QStringList({B, "b"}));
    EXPECT_EQ(c.right, QStringList({"a", "b"}));
    c = compare({"a", "c"}, {"b", "c"});
    EXPECT_EQ(c.left, QStringList({"a", B, "c"}));
    EXPECT_EQ(c.right, QStringList({B, "b", "c"}));
    // Past the end of the shorter list the other's rows get blank partners.
    c = compare({"a"}, {"b", "c", "d"});
    EXPECT_EQ(c.left, QStringList({"a", B, B, B}));
    EXPECT_EQ(c.right, QStringList({B, "b", "c", "d"}));
    c = compare({}, {"x"});
    EXPECT_EQ(c.left, QStringList({B}));
    c = compare({}, {});
    EXPECT_TRUE(c.left.isEmpty() && c.right.isEmpty());
    // Names differing in case only, and a folder and a file of one name, share a line.
    c = compare({"Report.TXT", "data/"}, {"report.txt", "DATA"});
    EXPECT_EQ(c.left, QStringList({"Report.TXT", "data"}));
    EXPECT_EQ(c.right, QStringList({"report.txt", "DATA"}));
}

TEST(FolderComparison, NamesFollowTheLocaleCollation)
{
    // In code-point order "ä" comes after "b"; the user's collation puts it before.
    const Compared c = compare({"\u00e4.txt", "b.txt"}, {"b.txt"});
    EXPECT_EQ(c.left, QStringList({"\u00e4.txt", "b.txt"}));
    EXPECT_EQ(c.right, QStringList({B, "b.txt"}));
}

TEST(FolderComparison, SecondRunComparesBlankRowsLikeNames)
{
    auto l = listOf({"a", "c"});
    auto r = listOf({"b", "c"});
    compareFolders(*l, *r);
    compareFolders(*l, *r);
    // " " comes before every name: each blank row pairs off against a name again.
    EXPECT_EQ(namesOf(*l), QStringList({B, "a", B, B, "c"}));
    EXPECT_EQ(namesOf(*r), QStringList({B, B, B, "b", "c"}));
}

TEST(FolderComparison, OnlyBlankRowsAreAddedAndSortingIsOff)
{
    auto l = listOf({"a", "b/"});
    auto r = listOf({"b"});
    l->setSorted(true);
    r->setSorted(true);
    const QStringList before = namesOf(*l);
    compareFolders(*l, *r);
    EXPECT_FALSE(l->isSorted());
    EXPECT_FALSE(r->isSorted());
    EXPECT_EQ(namesOf(*l), before);

    // The existing rows keep every cell, colour and image.
    ASSERT_EQ(r->rowCount(), 2);
    const PaneRow& blank = r->row(0);
    EXPECT_EQ(blank.largeImage, RowImage::LargeFile);
    EXPECT_EQ(blank.smallImage, RowImage::SmallBlank);
    EXPECT_TRUE(blank.nativeName.empty());
    for (int c = 1; c < PaneColumnCount; ++c)
        EXPECT_EQ(r->cellText(0, c), QString()) << c;
    EXPECT_EQ(r->cellText(1, ColType), "Text");
    EXPECT_EQ(r->cellText(1, ColBytes), "12");
    EXPECT_EQ(r->row(1).foreColor, RowColor::Red);
    EXPECT_EQ(r->row(1).smallImage, RowImage::SmallCopyLeft);
}

TEST(FolderComparison, AnyRunLeavesEqualNamesOrANameBesideABlank)
{
    std::mt19937 random(20240611);
    const QStringList pool{"a", "B", "b", "c", "D", "e", "f", "g", "h", " ", "10", "9"};
    for (int run = 0; run < 300; ++run) {
        QStringList left, right;
        for (int i = int(random() % 12); i > 0; --i)
            left << pool[qsizetype(random() % pool.size())];
        for (int i = int(random() % 12); i > 0; --i)
            right << pool[qsizetype(random() % pool.size())];
        // Half the runs on sorted panes, half on whatever order they show.
        if (run % 2) {
            std::sort(left.begin(), left.end());
            std::sort(right.begin(), right.end());
        }
        const Compared c = compare(left, right);
        ASSERT_EQ(c.left.size(), c.right.size());
        for (qsizetype i = 0; i < c.left.size(); ++i) {
            const bool equal = c.left[i].compare(c.right[i], Qt::CaseInsensitive) == 0;
            EXPECT_TRUE(equal || c.left[i] == B || c.right[i] == B)
                << run << ": " << c.left[i].toStdString() << " | " << c.right[i].toStdString();
        }
        // Every row stays, in its order: removing the added blank rows gives the panes back.
        const ComparisonPlan plan = planComparison(left, right);
        std::vector<int> shownLeft, shownRight;
        for (const int row : plan.left)
            if (row >= 0)
                shownLeft.push_back(row);
        for (const int row : plan.right)
            if (row >= 0)
                shownRight.push_back(row);
        ASSERT_EQ(shownLeft.size(), size_t(left.size()));
        ASSERT_EQ(shownRight.size(), size_t(right.size()));
        EXPECT_TRUE(std::is_sorted(shownLeft.begin(), shownLeft.end()));
        EXPECT_TRUE(std::is_sorted(shownRight.begin(), shownRight.end()));
    }
}

namespace {

/// Sorts a pane by name as a click on the "Name" header does, through the listing's sorter.
void sortByName(PaneList& list)
{
    list.setSorter(&sortOrder);
    list.sortBy(ColName, Qt::AscendingOrder);
}

/// Sorts both panes by name, compares them, and checks every line: equal names, or a name
/// beside a blank row, and no name left without its partner.
void expectSortedPanesLineUp(const QStringList& left, const QStringList& right)
{
    auto l = listOf(left);
    auto r = listOf(right);
    sortByName(*l);
    sortByName(*r);
    compareFolders(*l, *r);
    const QStringList shownLeft = namesOf(*l);
    const QStringList shownRight = namesOf(*r);
    ASSERT_EQ(shownLeft.size(), shownRight.size());
    int shared = 0;
    for (qsizetype i = 0; i < shownLeft.size(); ++i) {
        const bool same = shownLeft[i].compare(shownRight[i], Qt::CaseInsensitive) == 0;
        EXPECT_TRUE(same || shownLeft[i] == B || shownRight[i] == B)
            << i << ": " << shownLeft[i].toStdString() << " | " << shownRight[i].toStdString();
        shared += int(same);
    }
    // Each name both panes hold shares one line.
    int common = 0;
    for (const QString& name : left)
        common += int(std::any_of(right.begin(), right.end(), [&](const QString& other) {
            return name.compare(other, Qt::CaseInsensitive) == 0;
        }));
    EXPECT_EQ(shared, common) << shownLeft.join('|').toStdString() << " / "
                              << shownRight.join('|').toStdString();
}

} // namespace

TEST(FolderComparison, PanesSortedByNameLineUp)
{
    const QStringList left{"report_2.txt", "a-b.txt", "report.txt", "data_1.csv", "a.b.txt"};
    const QStringList right{"data_1.csv", "report_2.txt", "a.b.txt", "data.csv"};
    expectSortedPanesLineUp(left, right);

    auto l = listOf(left);
    auto r = listOf(right);
    sortByName(*l);
    sortByName(*r);
    compareFolders(*l, *r);
    EXPECT_EQ(namesOf(*l),
              QStringList({"a-b.txt", "a.b.txt", "data_1.csv", B, "report_2.txt", "report.txt"}));
    EXPECT_EQ(namesOf(*r),
              QStringList({B, "a.b.txt", "data_1.csv", "data.csv", "report_2.txt", B}));

    // Names that differ in case only, on either side and in any order.
    expectSortedPanesLineUp({"Zeta.TXT", "alpha", "Beta_1", "beta.txt", "GAMMA-2"},
                            {"ALPHA", "beta_1", "BETA.TXT", "gamma-2", "zeta.txt", "Delta"});
    expectSortedPanesLineUp({"README", "readme.md", "Read-Me", "read_me"},
                            {"read_me", "ReadMe.MD", "readme"});
}

TEST(FolderComparison, PanesSortedByNameLineUpUnderOtherLocales)
{
    const QLocale before;
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                                  QLocale(QLocale::Swedish, QLocale::Sweden)}) {
        QLocale::setDefault(locale);
        SCOPED_TRACE(locale.name().toStdString());
        expectSortedPanesLineUp(
            {"report_2.txt", "a-b.txt", "report.txt", "data_1.csv", "a.b.txt", "\u00c4rger"},
            {"data_1.csv", "REPORT_2.txt", "a.b.txt", "data.csv", "\u00e4rger", "Zeta"});
        expectSortedPanesLineUp({"\u00f6l", "Ol", "oz", "\u00e5s"},
                                {"OL", "\u00d6L", "\u00c5S", "Oz"});
    }
    QLocale::setDefault(before);
}
