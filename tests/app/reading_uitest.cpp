// A folder read on its worker while the window goes on: the strip that says how many entries
// were read, Stop with the rows read so far, what is typed meanwhile, and a second listing.
#include "app/mainform.h"

#include "listing/getlisting.h"
#include "listing/panelist.h"
#include "support/scriptedprompts.h"
#include "support/sharedfilesystem.h"
#include "ui/sizingstrip.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace vennic {
namespace {

/// A window on a fake file system whose folder "/big" holds ten files; its read can be held.
class Reading : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 10; ++i)
            m_fake.addFile("/big/f" + std::to_string(i) + ".txt", 1);
        MainFormOptions options;
        options.prompts = m_prompts;
        options.fileSystemFactory = [this] {
            return std::make_unique<test::SharedFileSystem>(m_fake);
        };
        m_form = std::make_unique<MainForm>(std::move(options));
        m_form->setPanePath(0, "/big");
    }
    void TearDown() override { m_form.reset(); }
    /// Runs `act` on the window's thread once the held read of "/big" is under way.
    void whileRead(std::function<void()> act)
    {
        m_fake.holdRead("/big", 4);
        QTimer::singleShot(300, m_form.get(), std::move(act));
        // However the test goes, the read ends.
        QTimer::singleShot(8000, m_form.get(), [this] { m_fake.releaseRead("/big"); });
    }
    int rowCount() const { return m_form->LV1Rows[0]->rowCount(); }

    test::FakeFileSystem m_fake;
    std::shared_ptr<test::ScriptedPrompts> m_prompts = std::make_shared<test::ScriptedPrompts>();
    std::unique_ptr<MainForm> m_form;
};

TEST_F(Reading, StopKeepsTheEntriesReadSoFarAndSaysTheListingIsIncomplete)
{
    QString barDuring;
    whileRead([&] {
        SizingStrip& strip = *m_form->JobStrip[0];
        barDuring = strip.isHidden() ? QString() : strip.barText();
        strip.stopButton()->click();
    });
    m_form->GetListing(0);
    EXPECT_EQ(barDuring, "4 entries");
    EXPECT_EQ(rowCount(), 4);
    EXPECT_EQ(m_form->LVFC[0]->text(), countLineText(4, 0, 4) + StoppedReadCountNote);
    EXPECT_TRUE(m_form->JobStrip[0]->isHidden());
    // Part of the folder is no listing of it for "DA".
    EXPECT_FALSE(m_form->PaneListed[0]);
}

TEST_F(Reading, WhatIsTypedDuringTheReadStaysWhereItWasTyped)
{
    whileRead([&] {
        QApplication::postEvent(m_form->FilterExpression,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Q, {}, "q"));
        QTimer::singleShot(50, m_form.get(), [this] { m_fake.releaseRead("/big"); });
    });
    const QString before = m_form->FilterExpression->text();
    m_form->GetListing(0);
    EXPECT_EQ(rowCount(), 10);
    EXPECT_EQ(m_form->FilterExpression->text(), before + "q");
}

TEST_F(Reading, BothPanesOfARefreshUseThePatternsItBeganWith)
{
    m_form->setPanePath(1, "/big");
    whileRead([&] {
        m_form->FilterExpression->setText("f1*");
        QTimer::singleShot(50, m_form.get(), [this] { m_fake.releaseRead("/big"); });
    });
    m_form->Go1_Click();
    EXPECT_EQ(rowCount(), 10);
    EXPECT_EQ(m_form->LV1Rows[1]->rowCount(), 10) << "the right pane took the left one's read";
    EXPECT_EQ(m_form->FilterExpression->text(), "f1*");
}

TEST_F(Reading, ASecondListingOfThePaneStopsTheFirstAndListsItWhole)
{
    whileRead([&] { m_form->GetListing(0); });
    m_form->GetListing(0);
    EXPECT_EQ(rowCount(), 10);
    EXPECT_EQ(m_form->LVFC[0]->text(), countLineText(10, 0, 10));
}

} // namespace
} // namespace vennic
