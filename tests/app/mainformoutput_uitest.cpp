#include "support/formfixture.h"
#include "support/textrow.h"
#include "ui/listingprinter.h"
#include "ui/printercanvas.h"
#include "ui/printerformatfrm.h"
#include "ui/printprogressform.h"
#include "ui/tavbutton.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

namespace vennic {
namespace {

class MainFormOutputTest : public test::FormFixture {
protected:
    void prepare() override
    {
        m_tmp.file("sub/inner.bin", 100);
        m_tmp.file("one.txt", 10);
        m_tmp.file("two.dat", 1234);
    }
};

TEST_F(MainFormOutputTest, SavedListingOpensIntoTheOtherPaneWithTheSameTexts)
{
    m_form->ActivePane = 0;
    m_prompts->answerFile(path("left.tav"));
    m_form->M1Save_Click();
    ASSERT_TRUE(QFile::exists(path("left.tav")));

    m_form->ActivePane = 1;
    m_prompts->answerFile(path("left.tav"));
    m_form->M1Open_Click();
    EXPECT_TRUE(m_prompts->messages().isEmpty()) << m_prompts->messages().join('\n').toStdString();

    ASSERT_EQ(rows(1).rowCount(), rows(0).rowCount());
    for (int i = 0; i < rows(0).rowCount(); ++i)
        for (int c = 0; c < 7; ++c)
            EXPECT_EQ(rows(1).cellText(i, c), rows(0).cellText(i, c)) << i << ' ' << c;
    EXPECT_EQ(m_form->LVPATH[1]->text(), m_form->LVPATH[0]->text());
    EXPECT_EQ(m_form->LVFC[1]->text(), m_form->LVFC[0]->text());
    // The rows no longer come from a listing; they belong to the folder the saved path names.
    EXPECT_FALSE(m_form->PaneListed[1]);
    EXPECT_TRUE(m_form->PaneListed[0]);
    EXPECT_EQ(m_form->PaneRowsFolder[1].path(), m_form->PaneRowsFolder[0].path());
    // The pane says it shows a saved listing, and which, until it is listed again.
    EXPECT_TRUE(m_form->LVPATH[1]->toolTip().contains(path("left.tav")));
    EXPECT_NE(m_form->LVPATH[1]->palette().color(QPalette::Base),
              m_form->LVPATH[0]->palette().color(QPalette::Base));
    m_form->GetListing(1);
    EXPECT_TRUE(m_form->LVPATH[1]->toolTip().isEmpty());
    EXPECT_EQ(m_form->LVPATH[1]->palette().color(QPalette::Base),
              m_form->LVPATH[0]->palette().color(QPalette::Base));
    // The dialog offers the file chosen last.
    EXPECT_EQ(m_prompts->fileRequests().back().initialFile, path("left.tav"));
}

TEST_F(MainFormOutputTest, CancelledOpenLeavesThePaneAsItWas)
{
    const int before = rows(0).rowCount();
    m_form->ActivePane = 0;
    m_form->M1Open_Click();
    EXPECT_EQ(rows(0).rowCount(), before);
    EXPECT_TRUE(m_form->PaneListed[0]);
}

TEST_F(MainFormOutputTest, PrintsIntoANamedPdfWithoutAPrinterAndNothingWhenCancelled)
{
    m_form->setPrinterProvider([] { return std::unique_ptr<QPrinter>(); });
    m_form->PrinBtn_Click(); // the file dialog is cancelled
    EXPECT_FALSE(QFile::exists(path("full.pdf")));

    m_prompts->answerFile(path("full.pdf"));
    m_form->PrinBtn_Click();
    EXPECT_GT(QFileInfo(path("full.pdf")).size(), 0);

    m_prompts->answerFile(path("small.pdf"));
    m_form->M1PrintCompact_Click();
    EXPECT_GT(QFileInfo(path("small.pdf")).size(), 0);
    EXPECT_TRUE(m_prompts->messages().isEmpty()) << m_prompts->messages().join('\n').toStdString();
}

TEST_F(MainFormOutputTest, PrintSetupChoiceTakesEveryPrintAfterIt)
{
    m_form->setPrinterProvider([] { return std::unique_ptr<QPrinter>(); });
    ASSERT_TRUE(m_form->printer().printsToPdf());
    EXPECT_EQ(m_form->M1PrintSetup->text(), QStringLiteral("Print Set&up..."));
    int asked = 0;
    bool accept = false;
    const QString chosen = path("chosen.pdf");
    m_form->printer().setSetupDialog([&](QPrinter& printer, QWidget* parent) {
        ++asked;
        EXPECT_EQ(parent, m_form.get());
        if (!accept)
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(chosen);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        return true;
    });

    m_form->M1PrintSetup->trigger(); // cancelled: prints still ask for a file
    EXPECT_TRUE(m_form->printer().printsToPdf());
    accept = true;
    m_form->M1PrintSetup->trigger();
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(m_form->printer().printsToPdf());
    EXPECT_EQ(m_form->printer().canvas().printer().pageLayout().pageSize().id(), QPageSize::Letter);

    m_form->PrinBtn_Click();
    EXPECT_GT(QFileInfo(chosen).size(), 0);
    QFile::remove(chosen);
    m_form->M1PrintCompact_Click();
    EXPECT_GT(QFileInfo(chosen).size(), 0);
    EXPECT_TRUE(m_prompts->shown().empty()) << "no file dialog, no message";
}

TEST_F(MainFormOutputTest, EscInTheWindowStopsALongPrint)
{
    std::vector<PaneRow> many;
    for (int i = 0; i < 3000; ++i)
        many.push_back(test::textRow({QStringLiteral("row%1").arg(i), QStringLiteral("File"),
                                      QStringLiteral("1"), QString(), QStringLiteral("A")}));
    rows(0).setRows(std::move(many));
    m_form->ActivePane = 0;
    m_form->setPrinterProvider([] { return std::unique_ptr<QPrinter>(); });
    m_form->printer().setPacing({std::chrono::milliseconds(0), std::chrono::milliseconds(1)});
    m_prompts->answerFile(path("long.pdf"));
    m_form->PrinBtn_Click();
    PrintRun* run = m_form->printer().run();
    ASSERT_TRUE(run);
    QSignalSpy finished(run, &PrintRun::finished);
    ASSERT_TRUE(QSignalSpy(run, &PrintRun::progressed).wait(5000));
    ASSERT_TRUE(run->progressForm());
    QTest::keyClick(run->progressForm(), Qt::Key_Escape);
    EXPECT_EQ(finished.size(), 1) << "Esc reaches the print, not the window's own Esc";
    EXPECT_FALSE(QFile::exists(path("long.pdf")));
}

TEST_F(MainFormOutputTest, PrinterFormatShowsAndSetsTheOrientationButton)
{
    m_form->PO->setLatched(true);
    m_form->M1PrinterFormat_Click();
    PrinterFormatFrm* form = m_form->printerFormatForm();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->PO(), m_form->PO);
}

} // namespace
} // namespace vennic
