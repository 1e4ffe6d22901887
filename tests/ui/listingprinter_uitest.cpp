#include "listing/listingtexts.h"
#include "listing/panelist.h"
#include "listing/typenames.h"
#include "output/listingpages.h"
#include "support/fakefilesystem.h"
#include "support/scriptedprompts.h"
#include "support/tempfolder.h"
#include "support/textrow.h"
#include "ui/listingprinter.h"
#include "ui/printercanvas.h"

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <algorithm>

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
        p->setPageSize(QPageSize(QPageSize::Letter)); // the printer's paper, not the default
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
    EXPECT_EQ(pdf.pages[0], QSizeF(792, 612)) << "Letter, landscape";
    const QRectF area = printer.canvas().printer().pageLayout().paintRect(QPageLayout::Point);
    const double half = std::round(std::round(area.width() * 20) / 2) / 20;
    const PdfWord* size = pdf.find(QStringLiteral("Size:"));
    ASSERT_TRUE(size);
    EXPECT_NEAR(size->xMin - area.left(), 0.4 * half, 1.0);
    for (const PdfWord& word : pdf.words)
        EXPECT_LT(word.xMax - area.left(), half + 1) << "the right half stays empty";
}

/// A pane of 40 rows as a reader finds them hard to print: long names, long type texts, sizes
/// of every length, dates with one- and two-digit days, a midnight without a time, folders
/// with and without a size, and every fourth row carrying only its texts, as an opened
/// listing's rows do.
class ReadablePrint : public ::testing::Test {
protected:
    /// What one row must show whole.
    struct Expected {
        QString namePrefix;
        QString type;
        QStringList size;
        QStringList date;
        QStringList time;
        QString attributes;
    };

    /// The words a text reads as: French sizes group their digits with a narrow blank.
    static QStringList wordsOf(const QString& text)
    {
        static const QRegularExpression blanks(QStringLiteral("\\s+"),
                                               QRegularExpression::UseUnicodePropertiesOption);
        return text.split(blanks, Qt::SkipEmptyParts);
    }

    void TearDown() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void fill(const QLocale& locale)
    {
        QLocale::setDefault(locale);
        list.setTextMaker(std::make_shared<ListingTexts>(types, locale));
        static const char* const suffixes[] = {".docx", ".tar.gz", ".xlsx",
                                               ".pptx", ".odt",    ".tar.bz2"};
        static const int64_t sizes[] = {5, 23456, 1234567, 98765432, 12345678901, 0, 987654321};
        std::vector<PaneRow> rows;
        for (int i = 0; i < 40; ++i) {
            PaneRow row;
            const QString name = QStringLiteral("r%1_quarterly_results_for_the_board_of_directors")
                                     .arg(i, 2, 10, QChar('0'));
            const bool folder = i % 10 == 0;
            row.nativeName = (folder ? name : name + QLatin1String(suffixes[i % 6])).toStdString();
            row.flags = folder ? PaneRow::Folder : 0;
            if (i == 10)
                row.flags |= PaneRow::SizeUnknown;
            row.typeIndex = folder ? TypeNames::FolderIndex : types.indexOf(row.nativeName);
            row.size = sizes[i % 7];
            const bool midnight = i == 5;
            row.created = std::chrono::system_clock::to_time_t(test::FakeFileSystem::localTime(
                2026, 12, 1 + i % 28, midnight ? 0 : (i * 7) % 24, midnight ? 0 : (i * 13) % 60,
                midnight ? 0 : 1 + (i * 17) % 59));
            row.attributes =
                folder ? Attr::Directory : Attr::Archive | (i % 3 ? 0 : Attr::ReadOnly);
            rows.push_back(std::move(row));
        }

        // Every fourth row takes the texts its listed self shows, as saving and opening give
        // them, with a type text longer than any the system gives.
        const DateTexts dates(locale);
        expected.clear();
        for (int i = 0; i < 40; ++i) {
            PaneRow& row = rows[size_t(i)];
            RowTexts cells;
            for (int c = 0; c < PaneColumnCount; ++c)
                cells.cells[size_t(c)] = list.textMaker()->cellText(row, c);
            if (i % 4 == 3) {
                cells.cells[ColType] =
                    QStringLiteral("Microsoft Excel 2007 macro-enabled template");
                row.texts = std::make_unique<RowTexts>(cells);
            }
            const QString created = cells.cells[ColCreated];
            const QString date = dates.date(row.created);
            EXPECT_TRUE(created.startsWith(date)) << created.toStdString();
            expected.push_back({cells.cells[ColName].left(4), cells.cells[ColType].trimmed(),
                                wordsOf(cells.cells[ColBytes]), wordsOf(date),
                                wordsOf(created.mid(date.size())), cells.cells[ColAttributes]});
        }
        list.setRows(std::move(rows));
        listing.rows = &list;
        listing.path = QStringLiteral("/home/ann/Reports");
        listing.count = QStringLiteral("4 Folders, 36 Files");
        listing.fontName = QStringLiteral("DejaVu Sans");
        listing.fontSize = 9;
    }

    enum Layout { Full, Small, PreviewPage };

    /// Prints the pane into `file` on `paper` and gives the printable area in points.
    QRectF print(const QString& file, QPageSize::PageSizeId paper, bool landscape, Layout layout)
    {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(file);
        printer->setPageSize(QPageSize(paper));
        // The preview lays its texts out at 1,440 dots per inch; so does this printer.
        if (layout == PreviewPage)
            printer->setResolution(1440);
        PrinterCanvas canvas(std::move(printer), QFont(listing.fontName));
        if (layout == Full)
            printFullPage(canvas, listing, landscape);
        else if (layout == Small)
            printSmallPage(canvas, listing, landscape);
        else {
            canvas.setOrientation(landscape ? Canvas::Landscape : Canvas::Portrait);
            drawPreviewPage(canvas, listing);
            canvas.EndDoc();
        }
        return canvas.printer().pageLayout().paintRect(QPageLayout::Point);
    }

    /// The words of each text line of each page, left to right.
    static std::vector<std::vector<PdfWord>> linesOf(const PdfText& pdf)
    {
        std::vector<PdfWord> words = pdf.words;
        const auto centre = [](const PdfWord& w) { return (w.yMin + w.yMax) / 2; };
        std::sort(words.begin(), words.end(), [&](const PdfWord& a, const PdfWord& b) {
            return a.page != b.page ? a.page < b.page : centre(a) < centre(b);
        });
        std::vector<std::vector<PdfWord>> lines;
        for (const PdfWord& word : words) {
            if (lines.empty() || lines.back().front().page != word.page ||
                std::abs(centre(lines.back().front()) - centre(word)) >
                    0.35 * (word.yMax - word.yMin))
                lines.emplace_back();
            lines.back().push_back(word);
        }
        for (auto& line : lines)
            std::sort(line.begin(), line.end(),
                      [](const PdfWord& a, const PdfWord& b) { return a.xMin < b.xMin; });
        return lines;
    }

    /// Checks a printed file as a reader would: no two words of a line overlap, and every
    /// row shows its size, date and time whole, at their columns, and its type whole or cut
    /// with "…". `width` is the width the columns are fractions of, `left` the printable
    /// area's left edge and `em` the rows' font size, all in points.
    void expectReadable(const PdfText& pdf, double left, double width, double em,
                        const std::string& what)
    {
        SCOPED_TRACE(what);
        int rowsFound = 0;
        for (const auto& line : linesOf(pdf)) {
            for (size_t i = 1; i < line.size(); ++i)
                EXPECT_LE(line[i - 1].xMax, line[i].xMin + 0.01)
                    << '"' << line[i - 1].text.toStdString() << "\" runs into \""
                    << line[i].text.toStdString() << '"';
            const auto row = std::find_if(expected.begin(), expected.end(), [&](const Expected& e) {
                return line.front().text.startsWith(e.namePrefix);
            });
            if (row == expected.end())
                continue;
            ++rowsFound;
            QStringList texts;
            for (const PdfWord& word : line)
                texts << word.text;
            const QStringList cells = row->size + row->date + row->time;
            const qsizetype sizeAt = texts.indexOf(cells.front(), 1);
            ASSERT_GT(sizeAt, 0) << texts.join(' ').toStdString();
            EXPECT_EQ(texts.mid(sizeAt, cells.size()), cells) << texts.join(' ').toStdString();
            EXPECT_EQ(texts.mid(sizeAt + cells.size()), QStringList(row->attributes))
                << texts.join(' ').toStdString();
            const QString type = texts.mid(1, sizeAt - 1).join(' ');
            // A type may be cut down to nothing where a long size needs its room.
            EXPECT_TRUE(type == row->type || type.isEmpty() ||
                        (type.endsWith(QChar(0x2026)) && row->type.startsWith(type.chopped(1))))
                << type.toStdString() << " for " << row->type.toStdString();

            const auto endOf = [&](qsizetype at) { return line[size_t(at)].xMax - left; };
            qsizetype at = sizeAt + row->size.size();
            if (!row->size.isEmpty())
                EXPECT_LE(endOf(at - 1), 0.49 * width + 0.1) << "the size's right edge";
            if (!row->size.isEmpty())
                EXPECT_GE(line[size_t(at)].xMin - line[size_t(at - 1)].xMax, em / 2 - 0.05)
                    << "half an em between the size and the date: "
                    << texts.join(' ').toStdString();
            at += row->date.size();
            if (!row->time.isEmpty())
                EXPECT_NEAR(endOf(at + row->time.size() - 1), 0.68 * width, 1.0)
                    << "times end at their right edge";
        }
        EXPECT_EQ(rowsFound, 40) << "every row is found by its name";
    }

    TempFolder tmp;
    TypeNames types;
    PaneList list{PaneColumnCount};
    PrintedListing listing;
    std::vector<Expected> expected;
};

TEST_F(ReadablePrint, NoTextRunsIntoAnotherInAnyLocalePaperOrLayout)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed to read the prints back";
    const std::pair<const char*, QLocale> locales[] = {
        {"en_US", QLocale(QLocale::English, QLocale::UnitedStates)},
        {"en_GB", QLocale(QLocale::English, QLocale::UnitedKingdom)},
        {"de_DE", QLocale(QLocale::German, QLocale::Germany)},
        {"fr_FR", QLocale(QLocale::French, QLocale::France)},
        {"C", QLocale::c()}};
    const std::pair<const char*, QPageSize::PageSizeId> papers[] = {{"Letter", QPageSize::Letter},
                                                                    {"A4", QPageSize::A4}};
    const std::pair<const char*, Layout> layouts[] = {
        {"full", Full}, {"small", Small}, {"preview", PreviewPage}};
    for (const auto& [localeName, locale] : locales) {
        fill(locale);
        for (const auto& [paperName, paper] : papers)
            for (bool landscape : {false, true})
                for (const auto& [layoutName, layout] : layouts) {
                    const std::string what = std::string(localeName) + ' ' + paperName +
                                             (landscape ? " landscape " : " portrait ") +
                                             layoutName;
                    const QString file = QString::fromStdString(tmp.pathOf("print.pdf"));
                    const QRectF area = print(file, paper, landscape, layout);
                    // VENNIC_TEST_PRINTS_TO names a folder that keeps each page to look at.
                    const QString keep = qEnvironmentVariable("VENNIC_TEST_PRINTS_TO");
                    if (!keep.isEmpty())
                        QFile::copy(file, keep + QLatin1Char('/') +
                                              QString::fromStdString(what).replace(' ', '-') +
                                              QLatin1String(".pdf"));
                    // The columns are fractions of the page width in whole twips, halved
                    // (and taken whole again) for the small print.
                    double width = std::round(area.width() * 20);
                    if (layout == Small)
                        width = std::round(width / 2);
                    expectReadable(readPdf(file), area.left(), width / 20,
                                   layout == Small ? 6 : listing.fontSize, what);
                }
    }
}

} // namespace
} // namespace vennic
