#include "listing/panelist.h"
#include "support/scriptedprompts.h"
#include "support/tempfolder.h"
#include "support/textrow.h"
#include "ui/listingprinter.h"
#include "ui/printercanvas.h"
#include "ui/printpreviewform.h"
#include "ui/printprogressform.h"
#include "ui/printrun.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace vennic {
namespace {

using test::ScriptedPrompts;
using test::TempFolder;

/// A long listing printed with no printer, paced so that its progress shows at once and each
/// slice draws only a few rows.
class LongPrint : public ::testing::Test {
public:
    void SetUp() override
    {
        fillRows();
        listing.rows = &list;
        listing.fontName = QStringLiteral("DejaVu Sans");
        printer.setPacing({std::chrono::milliseconds(0), std::chrono::milliseconds(1)});
    }

    void fillRows()
    {
        std::vector<PaneRow> rows;
        for (int i = 0; i < 3000; ++i)
            rows.push_back(test::textRow(
                {QStringLiteral("row%1").arg(i), QStringLiteral("File"), QStringLiteral("1,234"),
                 QStringLiteral("12/8/2026 7:29:42 AM"), QStringLiteral("A")}));
        list.setRows(std::move(rows));
    }

    /// Starts `command` and waits for its progress form to show how far it is.
    PrintProgressForm* startAndWait(const std::function<void()>& command)
    {
        command();
        EXPECT_TRUE(printer.run()) << "still running after its first slice";
        if (!printer.run())
            return nullptr;
        QSignalSpy progressed(printer.run(), &PrintRun::progressed);
        EXPECT_TRUE(progressed.wait(5000));
        return printer.run() ? printer.run()->progressForm() : nullptr;
    }

    /// Waits until the run under way has ended.
    void waitForEnd()
    {
        if (PrintRun* run = printer.run())
            QSignalSpy(run, &PrintRun::finished).wait(10000);
        EXPECT_FALSE(printer.run());
    }

    TempFolder tmp;
    ScriptedPrompts prompts;
    ListingPrinter printer{[] { return std::unique_ptr<QPrinter>(); }};
    PaneList list{PaneColumnCount};
    PrintedListing listing;
};

/// How one long command shows its progress and how it is ended.
struct LongCase {
    const char* name;
    std::function<void(LongPrint&)> start;
    std::function<bool(const QString&)> detailIsRight;
    std::function<void(LongPrint&, PrintProgressForm*)> end;
    std::function<void(LongPrint&)> afterEnd;
};

TEST_F(LongPrint, ShowsHowFarItIsAndEndsAsAsked)
{
    const QString pdf = QString::fromStdString(tmp.fileWithContent("listing.pdf", "before"));
    const QString newPdf = QString::fromStdString(tmp.pathOf("changed.pdf"));
    const LongCase cases[] = {
        {"Stop ends a PDF and leaves the named file as it was",
         [&](LongPrint& t) {
             t.prompts.answerFile(pdf);
             t.printer.printFull(t.prompts, t.listing, false);
         },
         [](const QString& d) {
             return d.startsWith(QStringLiteral("Printing page ")) &&
                    d.endsWith(QStringLiteral(" to \"listing.pdf\""));
         },
         [](LongPrint& t, PrintProgressForm* form) {
             // A second command waits for the first.
             t.printer.printSmall(t.prompts, t.listing, false);
             EXPECT_EQ(t.prompts.messages().size(), 1);
             t.prompts.clear();
             form->stopButton()->click();
         },
         [&](LongPrint& t) {
             EXPECT_TRUE(t.prompts.messages().isEmpty());
             EXPECT_FALSE(t.printer.canvas().jobOpen());
             QFile kept(pdf);
             ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
             EXPECT_EQ(kept.readAll(), QByteArray("before"));
             EXPECT_EQ(
                 QDir(QString::fromStdString(t.tmp.path())).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("listing.pdf")})
                 << "nothing half written is left beside it";
         }},
        {"rows that change stop the print and say so",
         [&](LongPrint& t) {
             t.prompts.answerFile(newPdf);
             t.printer.printRows(t.prompts, t.listing);
         },
         [](const QString& d) { return d.startsWith(QStringLiteral("Printing page ")); },
         [](LongPrint& t, PrintProgressForm*) { t.list.clear(); },
         [&](LongPrint& t) {
             ASSERT_EQ(t.prompts.messages().size(), 1);
             EXPECT_TRUE(t.prompts.messages()[0].contains(QStringLiteral("The list changed")));
             EXPECT_FALSE(QFile::exists(newPdf));
         }},
        {"Esc stops a preview, which shows what it has",
         [](LongPrint& t) { t.printer.showPreview(t.listing); },
         [](const QString& d) { return d == QStringLiteral("Drawing the preview"); },
         [](LongPrint& t, PrintProgressForm* form) {
             ASSERT_TRUE(t.printer.previewForm());
             EXPECT_FALSE(t.printer.previewForm()->isVisible()) << "shown when drawn";
             QTest::keyClick(form, Qt::Key_Escape);
         },
         [](LongPrint& t) {
             PrintPreviewForm* preview = t.printer.previewForm();
             ASSERT_TRUE(preview);
             EXPECT_TRUE(preview->isVisible());
             const QImage sheet = preview->sheet();
             int dark = 0;
             for (int y = 0; y < sheet.height() / 4; ++y)
                 for (int x = 0; x < sheet.width(); ++x)
                     dark += qGray(sheet.pixel(x, y)) < 128;
             EXPECT_GT(dark, 1000) << "the header and the first rows are on it";
         }},
    };
    for (const LongCase& c : cases) {
        SCOPED_TRACE(c.name);
        fillRows();
        PrintProgressForm* form = startAndWait([&] { c.start(*this); });
        ASSERT_TRUE(form);
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(form->windowModality(), Qt::WindowModal) << "the rows cannot change meanwhile";
        EXPECT_TRUE(form->barText().endsWith(QStringLiteral(" of 3000")))
            << form->barText().toStdString();
        EXPECT_TRUE(c.detailIsRight(form->detailText())) << form->detailText().toStdString();
        c.end(*this, form);
        waitForEnd();
        c.afterEnd(*this);
        prompts.clear();
    }

    // Run to its end, the print takes the name.
    prompts.answerFile(pdf);
    printer.printFull(prompts, listing, false);
    waitForEnd();
    QFile printed(pdf);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    EXPECT_TRUE(printed.readAll().startsWith("%PDF"));
}

} // namespace
} // namespace vennic
