#include "output/listingprinter.h"
#include "output/printercanvas.h"
#include "platform/panelist.h"
#include "support/scriptedprompts.h"
#include "support/tempfolder.h"
#include "support/textrow.h"

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace vennic {
namespace {

using test::textRow;

using test::ScriptedPrompts;
using test::TempFolder;

/// A word of a PDF page as `pdftotext -bbox` reads it, in points from the page's top-left.
struct PdfWord {
    int page = 0;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    QString text;
};

/// The pages (width and height in points) and words of a PDF file.
struct PdfText {
    std::vector<QSizeF> pages;
    std::vector<PdfWord> words;

    const PdfWord* find(const QString& text, int page = 0) const
    {
        for (const PdfWord& word : words)
            if (word.text == text && (page == 0 || word.page == page))
                return &word;
        return nullptr;
    }
};

PdfText readPdf(const QString& file)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-bbox"), file, QStringLiteral("-")});
    EXPECT_TRUE(process.waitForFinished(30000)) << "pdftotext (poppler-utils) must be installed";
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    PdfText pdf;
    static const QRegularExpression tag(
        QStringLiteral(R"re(<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.]+)" )re"
                       R"re(yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (!m.captured(1).isEmpty()) {
            pdf.pages.emplace_back(m.captured(1).toDouble(), m.captured(2).toDouble());
            continue;
        }
        pdf.words.push_back({int(pdf.pages.size()), m.captured(3).toDouble(),
                             m.captured(4).toDouble(), m.captured(5).toDouble(),
                             m.captured(6).toDouble(), m.captured(7)});
    }
    return pdf;
}

/// Prints through a ListingPrinter whose system has no printer, so every print asks for a PDF
/// file, which the scripted prompts name inside a temporary folder.
class PdfPrint : public ::testing::Test {
protected:
    void SetUp() override
    {
        fillRows(3);
        listing.rows = &list;
        listing.path = QStringLiteral("/home/ann/Data");
        listing.count = QStringLiteral("1 Folders, 2 Files");
        listing.fontName = QStringLiteral("DejaVu Sans");
        listing.fontSize = 9;
    }

    void fillRows(int count)
    {
        std::vector<PaneRow> rows;
        for (int i = 0; i < count; ++i)
            rows.push_back(
                textRow({QStringLiteral("row%1").arg(i),
                         i == 0 ? QStringLiteral(" File Folder") : QStringLiteral("File"),
                         QStringLiteral("1,234,567"), QStringLiteral("12/8/2026 7:29:42 AM"),
                         QStringLiteral("A")}));
        list.setRows(std::move(rows));
    }

    QString pdfPath(const char* name) const { return QString::fromStdString(tmp.pathOf(name)); }

    /// The printable area of the printer's page, in points from the paper's top-left corner.
    QRectF printableArea()
    {
        return printer.canvas().printer().pageLayout().paintRect(QPageLayout::Point);
    }

    TempFolder tmp;
    ScriptedPrompts prompts;
    ListingPrinter printer{[] { return std::unique_ptr<QPrinter>(); }};
    PaneList list{PaneColumnCount};
    PrintedListing listing;
};

TEST_F(PdfPrint, FullPrintPlacesTheColumnsAtTheirFractionsAndRunsOntoASecondPage)
{
    fillRows(200);
    prompts.answerFile(pdfPath("full.pdf"));
    printer.printFull(prompts, listing, false);
    ASSERT_TRUE(printer.printsToPdf());
    ASSERT_EQ(prompts.fileRequests().size(), 1u) << "asks for the PDF file";
    EXPECT_TRUE(prompts.messages().isEmpty()) << prompts.messages().join('\n').toStdString();

    const PdfText pdf = readPdf(pdfPath("full.pdf"));
    ASSERT_GE(pdf.pages.size(), 2u) << "200 rows do not fit on one page";
    EXPECT_LT(pdf.pages[0].width(), pdf.pages[0].height()) << "portrait";
    const QRectF area = printableArea();
    const double w = area.width();
    const PdfWord* size = pdf.find(QStringLiteral("Size:"));
    ASSERT_TRUE(size);
    EXPECT_NEAR(size->xMin - area.left(), 0.4 * w, 1.0);
    const PdfWord* attributes = pdf.find(QStringLiteral("Attributes:"));
    ASSERT_TRUE(attributes);
    EXPECT_NEAR(attributes->xMin - area.left(), 0.8 * w, 1.0);
    const PdfWord* folder = pdf.find(QStringLiteral("Folder:"));
    ASSERT_TRUE(folder);
    EXPECT_NEAR(folder->xMin, area.left(), 1.0) << "x = 0 is the printable area's left edge";

    // A size, date and time end at their right edges; names start after the picture's room.
    const PdfWord* first = pdf.find(QStringLiteral("row1"));
    ASSERT_TRUE(first);
    EXPECT_NEAR(first->xMin - area.left(), 360 / 20.0, 1.0);
    std::vector<const PdfWord*> line;
    for (const PdfWord& word : pdf.words)
        if (word.page == first->page && std::abs(word.yMin - first->yMin) < 0.5)
            line.push_back(&word);
    ASSERT_EQ(line.size(), 7u) << "name, type, size, date, time (two words), attributes";
    EXPECT_NEAR(line[2]->xMax - area.left(), 0.49 * w, 1.0);
    EXPECT_NEAR(line[3]->xMax - area.left(), 0.58 * w, 4.0) << "the date ends in its blank";
    EXPECT_NEAR(line[5]->xMax - area.left(), 0.68 * w, 1.0);

    EXPECT_TRUE(pdf.find(QStringLiteral("row199"), int(pdf.pages.size())))
        << "the last row is on the last page";
    EXPECT_FALSE(pdf.find(QStringLiteral("row199"), 1));
}

TEST_F(PdfPrint, TheMenuPrintKeepsTheOrientationOfTheLastPrint)
{
    prompts.answerFile(pdfPath("landscape.pdf"));
    printer.printFull(prompts, listing, true);
    prompts.answerFile(pdfPath("rows.pdf"));
    printer.printRows(prompts, listing);
    const PdfText rows = readPdf(pdfPath("rows.pdf"));
    ASSERT_EQ(rows.pages.size(), 1u);
    EXPECT_GT(rows.pages[0].width(), rows.pages[0].height()) << "still landscape";
    EXPECT_FALSE(rows.find(QStringLiteral("Folder:"))) << "rows only";
    ASSERT_TRUE(rows.find(QStringLiteral("row0")));
    EXPECT_LT(rows.find(QStringLiteral("row0"))->yMin, printableArea().top() + 20)
        << "at the top of a new page";

    prompts.answerFile(pdfPath("portrait.pdf"));
    printer.printSmall(prompts, listing, false);
    prompts.answerFile(pdfPath("rows2.pdf"));
    printer.printRows(prompts, listing);
    const PdfText rows2 = readPdf(pdfPath("rows2.pdf"));
    ASSERT_EQ(rows2.pages.size(), 1u);
    EXPECT_LT(rows2.pages[0].width(), rows2.pages[0].height()) << "the small print set portrait";
}

TEST_F(PdfPrint, CancellingTheFileNamePrintsNothing)
{
    printer.printFull(prompts, listing, false);
    printer.printSmall(prompts, listing, true);
    printer.printRows(prompts, listing);
    EXPECT_EQ(prompts.fileRequests().size(), 3u);
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_FALSE(printer.canvas().jobOpen());
    EXPECT_EQ(printer.canvas().pageCount(), 0) << "no job ever started";
    EXPECT_EQ(printer.canvas().Orientation(), Canvas::Portrait) << "nothing was set";
}

TEST_F(PdfPrint, AFileThatCannotBeWrittenIsReported)
{
    prompts.answerFile(pdfPath("missing/folder/list.pdf"));
    printer.printFull(prompts, listing, false);
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages()[0].contains(QStringLiteral("could not be written")));
    EXPECT_FALSE(printer.canvas().jobOpen()) << "the failed job is over";

    // The next print works again.
    prompts.clear();
    prompts.answerFile(pdfPath("list"));
    printer.printFull(prompts, listing, false);
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_TRUE(QFile::exists(pdfPath("list.pdf"))) << "a name without extension gets .pdf";
}

TEST_F(PdfPrint, RowsAloneOfAnEmptyPaneSayThereIsNothingToPrint)
{
    list.clear();
    printer.printRows(prompts, listing);
    EXPECT_TRUE(prompts.fileRequests().empty());
    EXPECT_EQ(prompts.messages().size(), 1);
}

TEST(SystemPrinter, PrintsToThePrinterWithoutAskingForAFile)
{
    // A PDF-writing printer stands in for the system's default printer.
    TempFolder tmp;
    const QString out = QString::fromStdString(tmp.pathOf("printer-out.pdf"));
    ListingPrinter printer([out] {
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(out);
        return p;
    });
    ScriptedPrompts prompts;
    PaneList list(PaneColumnCount);
    std::vector<PaneRow> rows;
    rows.push_back(textRow({"small.txt", "File", "5", "1/1/2020 1:00:00 PM", "A"}));
    list.setRows(std::move(rows));
    PrintedListing listing;
    listing.rows = &list;
    listing.path = QStringLiteral("/tmp");
    listing.fontName = QStringLiteral("DejaVu Sans");
    printer.printSmall(prompts, listing, true);
    EXPECT_FALSE(printer.printsToPdf());
    EXPECT_TRUE(prompts.shown().empty()) << "no dialog, no message";

    const PdfText pdf = readPdf(out);
    ASSERT_EQ(pdf.pages.size(), 1u);
    EXPECT_GT(pdf.pages[0].width(), pdf.pages[0].height());
    const QRectF area = printer.canvas().printer().pageLayout().paintRect(QPageLayout::Point);
    const double half = std::round(std::round(area.width() * 20) / 2) / 20;
    const PdfWord* size = pdf.find(QStringLiteral("Size:"));
    ASSERT_TRUE(size);
    EXPECT_NEAR(size->xMin - area.left(), 0.4 * half, 1.0);
    for (const PdfWord& word : pdf.words)
        EXPECT_LT(word.xMax - area.left(), half + 1) << "the right half stays empty";
}

} // namespace
} // namespace vennic
