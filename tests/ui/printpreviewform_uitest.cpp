#include "listing/panelist.h"
#include "output/previewcanvas.h"
#include "shell/twips.h"
#include "support/tempfolder.h"
#include "ui/listingprinter.h"
#include "ui/printercanvas.h"
#include "ui/printpreviewform.h"

#include <QApplication>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace vennic {
namespace {

PaneRow fileRow(int i)
{
    PaneRow row;
    row.texts = std::make_unique<RowTexts>();
    row.texts->cells[ColName] = QStringLiteral("file%1.txt").arg(i);
    row.texts->cells[ColType] = QStringLiteral("Text Document");
    row.texts->cells[ColBytes] = QStringLiteral("1,024");
    row.texts->cells[ColCreated] = QStringLiteral("12/8/2026 7:29:42 AM");
    row.texts->cells[ColAttributes] = QStringLiteral("A");
    return row;
}

/// True when at least `share` of the pixels of row `y` of the sheet are dark.
bool darkRow(const QImage& sheet, int y, double share)
{
    int dark = 0;
    for (int x = 0; x < sheet.width(); ++x)
        dark += qGray(sheet.pixel(x, y)) < 200;
    return dark >= share * sheet.width();
}

/// True when no pixel at or below row `top` is anything but white.
bool whiteFrom(const QImage& sheet, int top)
{
    for (int y = top; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            if (sheet.pixel(x, y) != qRgb(255, 255, 255))
                return false;
    return true;
}

class Preview : public ::testing::Test {
protected:
    void SetUp() override
    {
        listing.rows = &list;
        listing.path = QStringLiteral("/home/ann");
        listing.count = QStringLiteral("0 Folders, 80 Files");
        listing.fontName = QStringLiteral("DejaVu Sans");
        listing.fontSize = 9;
    }

    void fill(int count)
    {
        std::vector<PaneRow> rows;
        for (int i = 0; i < count; ++i)
            rows.push_back(fileRow(i));
        list.setRows(std::move(rows));
    }

    // No system printer: the preview takes the default paper and never asks for a file (the
    // preview has no prompts to ask with).
    ListingPrinter printer{[] { return std::unique_ptr<QPrinter>(); }};
    PaneList list{PaneColumnCount};
    PrintedListing listing;
};

TEST_F(Preview, IsAnUprightLetterSheetScaledToThePrintersPage)
{
    fill(3);
    PrintPreviewForm* form = printer.showPreview(listing);
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isModal());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Print Preview"));

    const QImage sheet = form->sheet();
    EXPECT_EQ(sheet.width(), twipsToPixels(12240, form->logicalDpiX()));
    EXPECT_EQ(sheet.height(), twipsToPixels(15840, form->logicalDpiY()));
    const PrinterCanvas& paper = printer.canvas();
    EXPECT_EQ(form->canvas().ScaleWidth(), std::lround(paper.ScaleWidth()));
    EXPECT_EQ(form->canvas().ScaleHeight(), std::lround(paper.ScaleHeight()));

    // The rule under the captions runs from the left edge to W, the sheet's right edge.
    int rules = 0;
    for (int y = 0; y < sheet.height(); ++y)
        rules += darkRow(sheet, y, 0.97) && !darkRow(sheet, y - 1, 0.97);
    EXPECT_EQ(rules, 4) << "the captions' rule and one per row";
}

TEST_F(Preview, FollowsThePrintersPageWhileTheSheetStaysUpright)
{
    fill(1);
    const QSize upright = printer.showPreview(listing)->sheet().size();
    printer.canvas().setOrientation(Canvas::Landscape);
    PrintPreviewForm* form = printer.showPreview(listing);
    EXPECT_EQ(form->sheet().size(), upright);
    EXPECT_EQ(form->canvas().ScaleWidth(), std::lround(printer.canvas().ScaleWidth()));
    EXPECT_GT(form->canvas().ScaleWidth(), form->canvas().ScaleHeight());
}

TEST_F(Preview, ASecondPreviewReplacesTheFirst)
{
    fill(80); // more than the sheet holds: the rest is drawn below its edge
    PrintPreviewForm* form = printer.showPreview(listing);
    const int lowerHalf = form->sheet().height() / 2;
    EXPECT_FALSE(whiteFrom(form->sheet(), lowerHalf));
    EXPECT_FALSE(whiteFrom(form->sheet(), form->sheet().height() * 19 / 20))
        << "rows fill the sheet";

    list.clear();
    EXPECT_EQ(printer.showPreview(listing), form) << "one window";
    EXPECT_TRUE(whiteFrom(form->sheet(), lowerHalf)) << "the sheet was cleared first";
    EXPECT_FALSE(whiteFrom(form->sheet(), 0)) << "the header is drawn";
}

TEST_F(Preview, ShowsEveryPageThePrinterWouldPrintAndZooms)
{
    fill(150);
    // The pages the full print makes on the same paper.
    auto paper = std::make_unique<QPrinter>(QPrinter::HighResolution);
    paper->setOutputFormat(QPrinter::PdfFormat);
    const test::TempFolder tmp;
    paper->setOutputFileName(QString::fromStdString(tmp.pathOf("pages.pdf")));
    PrinterCanvas printed(std::move(paper), QFont(listing.fontName));
    printed.setOrientation(Canvas::Portrait);
    drawPreviewPage(printed, listing);
    const int pages = printed.pageCount();
    printed.AbortDoc();
    ASSERT_GE(pages, 3);

    PrintPreviewForm* form = printer.showPreview(listing);
    while (printer.run())
        QTest::qWait(10);
    ASSERT_EQ(form->pageCount(), pages);
    EXPECT_FALSE(whiteFrom(form->canvas().page(pages - 1), 0)) << "the last rows are drawn";

    // The last sheet can be scrolled into sight.
    form->scrollToPage(pages - 1);
    QScrollArea* scroll = form->scrollArea();
    const int top = scroll->verticalScrollBar()->value();
    const QRect last = form->pageRect(pages - 1);
    EXPECT_LT(last.top(), top + scroll->viewport()->height());
    EXPECT_GE(last.bottom(), top);

    QApplication::setActiveWindow(form);
    const double start = form->zoom();
    QTest::keyClick(form, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_GT(form->zoom(), start);
    QTest::keyClick(form, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(form, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_LT(form->zoom(), start);
    QWheelEvent wheel(QPointF(50, 50), scroll->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                      QPoint(0, 240), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    const double beforeWheel = form->zoom();
    QApplication::sendEvent(scroll->viewport(), &wheel);
    EXPECT_GT(form->zoom(), beforeWheel * 1.4);
    EXPECT_EQ(form->pageRect(0).width(), std::lround(form->sheet().width() * form->zoom()));

    form->fitWidth();
    EXPECT_NEAR(form->pageRect(0).width(), scroll->viewport()->width() - 24, 2);

    QTest::keyClick(form, Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
}

} // namespace
} // namespace vennic
