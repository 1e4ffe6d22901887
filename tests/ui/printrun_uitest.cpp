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
protected:
    void SetUp() override
    {
        std::vector<PaneRow> rows;
        for (int i = 0; i < 3000; ++i)
            rows.push_back(test::textRow(
                {QStringLiteral("row%1").arg(i), QStringLiteral("File"), QStringLiteral("1,234"),
                 QStringLiteral("12/8/2026 7:29:42 AM"), QStringLiteral("A")}));
        list.setRows(std::move(rows));
        listing.rows = &list;
        listing.fontName = QStringLiteral("DejaVu Sans");
        printer.setPacing({std::chrono::milliseconds(0), std::chrono::milliseconds(1)});
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

TEST_F(LongPrint, ShowsRowsAndPageAndAStoppedPdfLeavesTheNamedFileAsItWas)
{
    const QString pdf = QString::fromStdString(tmp.fileWithContent("listing.pdf", "before"));
    prompts.answerFile(pdf);
    PrintProgressForm* form = startAndWait([&] { printer.printFull(prompts, listing, false); });
    ASSERT_TRUE(form);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->windowModality(), Qt::WindowModal) << "the rows cannot change meanwhile";
    EXPECT_TRUE(form->barText().endsWith(QStringLiteral(" of 3000")))
        << form->barText().toStdString();
    EXPECT_TRUE(form->detailText().startsWith(QStringLiteral("Printing page ")));
    EXPECT_TRUE(form->detailText().endsWith(QStringLiteral(" to \"listing.pdf\"")));

    // A second command waits for the first.
    printer.printSmall(prompts, listing, false);
    EXPECT_EQ(prompts.messages().size(), 1);
    prompts.clear();

    form->stopButton()->click();
    waitForEnd();
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_FALSE(printer.canvas().jobOpen());
    QFile kept(pdf);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("before"));
    EXPECT_EQ(QDir(QString::fromStdString(tmp.path())).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("listing.pdf")})
        << "nothing half written is left beside it";

    // Run to its end, the print takes the name.
    prompts.answerFile(pdf);
    printer.printFull(prompts, listing, false);
    waitForEnd();
    kept.close();
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_TRUE(kept.readAll().startsWith("%PDF"));
}

TEST_F(LongPrint, RowsThatChangeStopThePrintAndSaySo)
{
    prompts.answerFile(QString::fromStdString(tmp.pathOf("listing.pdf")));
    ASSERT_TRUE(startAndWait([&] { printer.printRows(prompts, listing); }));
    list.clear();
    waitForEnd();
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages()[0].contains(QStringLiteral("The list changed")));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(tmp.pathOf("listing.pdf"))));
}

TEST_F(LongPrint, EscStopsAPreviewWhichShowsWhatItHas)
{
    PrintProgressForm* form = startAndWait([&] { printer.showPreview(listing); });
    ASSERT_TRUE(form);
    EXPECT_EQ(form->detailText(), QStringLiteral("Drawing the preview"));
    ASSERT_FALSE(printer.previewForm()->isVisible()) << "shown when drawn";
    QTest::keyClick(form, Qt::Key_Escape);
    waitForEnd();
    PrintPreviewForm* preview = printer.previewForm();
    ASSERT_TRUE(preview);
    EXPECT_TRUE(preview->isVisible());
    const QImage sheet = preview->sheet();
    int dark = 0;
    for (int y = 0; y < sheet.height() / 4; ++y)
        for (int x = 0; x < sheet.width(); ++x)
            dark += qGray(sheet.pixel(x, y)) < 128;
    EXPECT_GT(dark, 1000) << "the header and the first rows are on it";
}

} // namespace
} // namespace vennic
