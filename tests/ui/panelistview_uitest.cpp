#include "ui/panelistview.h"

#include "listing/panelist.h"
#include "ui/imagelists.h"

#include <QHeaderView>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

namespace vennic {
namespace {

class NameMaker : public RowTextMaker {
public:
    QString cellText(const PaneRow& row, int column) const override
    {
        return column == ColName ? QString::fromStdString(row.nativeName) : QString();
    }
};

class PaneListViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_list.setTextMaker(std::make_shared<NameMaker>());
        std::vector<PaneRow> rows(50);
        for (size_t i = 0; i < rows.size(); ++i)
            rows[i].nativeName = "file" + std::to_string(i) + ".txt";
        m_list.setRows(std::move(rows));
        m_view.setModel(&m_list);
        m_view.resize(500, 300);
        m_view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_view));
    }

    PaneList m_list{PaneColumnCount};
    PaneListView m_view;
};

TEST_F(PaneListViewTest, ModesSwitchViewsAndKeepTheCurrentRow)
{
    EXPECT_EQ(m_view.viewMode(), PaneListView::Report);
    EXPECT_EQ(m_view.currentView(), m_view.reportView());
    EXPECT_NE(m_view.iconView()->model(), &m_list) << "the hidden icon view holds no rows";
    m_view.setCurrentRow(7);

    m_view.setViewMode(PaneListView::LargeIcons);
    EXPECT_EQ(m_view.currentView(), m_view.iconView());
    EXPECT_EQ(m_view.iconView()->model(), &m_list);
    EXPECT_EQ(m_view.iconView()->viewMode(), QListView::IconMode);
    EXPECT_EQ(m_view.iconView()->iconSize(), QSize(32, 32));
    EXPECT_EQ(m_view.currentRow(), 7);

    m_view.setViewMode(PaneListView::SmallIcons);
    EXPECT_EQ(m_view.iconView()->flow(), QListView::LeftToRight);
    m_view.setViewMode(PaneListView::List);
    EXPECT_EQ(m_view.iconView()->flow(), QListView::TopToBottom);
    EXPECT_EQ(m_view.iconView()->iconSize(), QSize(16, 16));
    m_view.setCurrentRow(3);

    m_view.setViewMode(PaneListView::Report);
    EXPECT_EQ(m_view.currentView(), m_view.reportView());
    EXPECT_EQ(m_view.currentRow(), 3);
    m_view.setViewMode(9); // not a mode: nothing changes
    EXPECT_EQ(m_view.viewMode(), PaneListView::Report);
}

TEST_F(PaneListViewTest, IconViewsGiveEveryNameItsWholeCell)
{
    // A short first row does not make every item as narrow as its name: each mode's items fill
    // the grid's cell, two lines under a large icon.
    m_list.setRows({});
    std::vector<PaneRow> rows(2);
    rows[0].nativeName = "a.c";
    rows[1].nativeName = "a rather long file name that cannot fit in two lines.txt";
    m_list.setRows(std::move(rows));
    const QFontMetrics fm(m_view.iconView()->font());
    for (int mode : {PaneListView::LargeIcons, PaneListView::SmallIcons, PaneListView::List}) {
        m_view.setViewMode(mode);
        QListView& icons = *m_view.iconView();
        const QRect first = icons.visualRect(m_list.index(0, 0));
        EXPECT_EQ(first.size(), icons.visualRect(m_list.index(1, 0)).size()) << mode;
        EXPECT_GE(first.width(), icons.gridSize().width() - 4) << mode;
        if (mode == PaneListView::LargeIcons)
            EXPECT_LT(first.height(), 32 + fm.height() * 3) << "room for two lines, not three";
    }
}

TEST_F(PaneListViewTest, MouseAndHeaderEventsNameTheRowAndColumn)
{
    QSignalSpy pressed(&m_view, &PaneListView::mousePressed);
    QSignalSpy clicked(&m_view, &PaneListView::rowClicked);
    QSignalSpy columns(&m_view, &PaneListView::columnClicked);
    QTreeView* tree = m_view.reportView();
    const QRect second = tree->visualRect(m_list.index(1, ColName));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mousePress(tree->viewport(), Qt::RightButton, {}, second.center());
    ASSERT_EQ(pressed.count(), 2);
    EXPECT_EQ(pressed[0][0].toInt(), 1);
    EXPECT_EQ(pressed[1][1].value<Qt::MouseButton>(), Qt::RightButton);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked[0][0].toInt(), 1);

    QHeaderView* header = tree->header();
    const int x = header->sectionViewportPosition(ColCreated) + 5;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    ASSERT_EQ(columns.count(), 1);
    EXPECT_EQ(columns[0][0].toInt(), int(ColCreated));
}

TEST_F(PaneListViewTest, HeaderShowsTheSortIconFromTheImageList)
{
    m_list.setHeaderIconProvider([](int n) { return ImageLists::instance().headerIcon(n); });
    EXPECT_FALSE(m_list.headerData(ColName, Qt::Horizontal, Qt::DecorationRole).isValid());
    m_list.setSortIcon(ColName, 2);
    const QIcon icon =
        m_list.headerData(ColName, Qt::Horizontal, Qt::DecorationRole).value<QIcon>();
    EXPECT_FALSE(icon.isNull());
    EXPECT_EQ(icon.pixmap(12, 12).toImage(), ImageLists::instance().CHIcons(2).toImage());
}

TEST_F(PaneListViewTest, BackgroundColourFillsTheList)
{
    m_list.clear();
    m_view.setBackgroundColor(QColor(0xF1, 0xF5, 0xC7));
    const QImage image = m_view.reportView()->viewport()->grab().toImage();
    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() - 5), QColor(0xF1, 0xF5, 0xC7));
}

TEST(ImageLists, NumbersAndSizesOfThePictures)
{
    const ImageLists& images = ImageLists::instance();
    for (int n = 1; n <= 10; ++n)
        EXPECT_EQ(images.ImageList1(n).size(), QSize(16, 16)) << n;
    EXPECT_TRUE(images.ImageList1(11).isNull());
    EXPECT_TRUE(images.ImageList1(0).isNull());
    EXPECT_EQ(images.ImageList2(1).size(), QSize(32, 32));
    EXPECT_EQ(images.ImageList2(3).size(), QSize(32, 32));
    EXPECT_FALSE(images.CHIcons(1).isNull());
    EXPECT_FALSE(images.CHIcons(2).isNull());
    EXPECT_EQ(images.SmallIconImage().size(), QSize(16, 16));
    EXPECT_EQ(images.SmallIconImage(),
              images.ImageList1(2).toImage().convertToFormat(images.SmallIconImage().format()));
    // The blank mark is white in its middle; the delete mark is yellow behind a dark-red cross.
    EXPECT_EQ(images.ImageList1(4).toImage().pixelColor(8, 8), QColor(Qt::white));
    const QImage del = images.ImageList1(7).toImage();
    EXPECT_EQ(del.pixelColor(8, 3).red(), 255);
    EXPECT_GT(del.pixelColor(8, 3).green(), 200);
    EXPECT_LT(del.pixelColor(8, 8).green(), 60);
}

} // namespace
} // namespace vennic
