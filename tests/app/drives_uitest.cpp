#include "app/mainform.h"

#include "support/scriptedprompts.h"
#include "support/sharedfilesystem.h"
#include "ui/driveinfo.h"
#include "ui/tavpanel.h"
#include "ui/vennicabout.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace vennic {
namespace {

using test::FakeFileSystem;

/// A main window on a fake file system with a fixed disk at "/" and a network share, the left
/// pane in a folder of the disk and the right pane in the share.
class DriveCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto& root = m_fake.drive("/");
        root.totalSize = 10'000'000'000;
        root.freeSpace = 1'234'567'890;
        root.availableSpace = 1'000'000'000;
        root.serialNumber = 0x1A2B3C;
        root.volumeName = "SYSTEM";
        auto& share = m_fake.addDrive("/mnt/team", DriveKind::Remote, "cifs", 4096, 0);
        share.shareName = "//server/team";
        share.serialNumber = -2;
        m_fake.addFile("/home/ann/notes.txt", 1);
        m_fake.addFile("/mnt/team/plan.txt", 1);
        m_form = std::make_unique<MainForm>(MainFormOptions{
            m_prompts, [this] { return std::make_unique<test::SharedFileSystem>(m_fake); }});
        // The drive dialog shows the drive of a pane's last listing, as its drive line does.
        m_form->setPanePath(0, "/home/ann");
        m_form->GetListing(0);
        m_form->setPanePath(1, "/mnt/team");
        m_form->GetListing(1);
        m_prompts->clear(); // the test's own current directory is not in the fake
    }

    FakeFileSystem m_fake;
    std::shared_ptr<test::ScriptedPrompts> m_prompts = std::make_shared<test::ScriptedPrompts>();
    std::unique_ptr<MainForm> m_form;
};

TEST_F(DriveCommands, ClickingADriveLineShowsOneModelessDialogRefilledByEitherPane)
{
    EXPECT_EQ(m_form->driveInfoForm(), nullptr);
    QTest::mouseClick(m_form->LVDrive[0], Qt::LeftButton);
    DriveInfo* dialog = m_form->driveInfoForm();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->DriveInfoPnl->panelCaption(), "Information for Drive /");
    EXPECT_EQ(dialog->VolLblTxt->text(), "SYSTEM");
    EXPECT_EQ(dialog->FreSpcLbl2->text(), "1,234,567,890");
    EXPECT_EQ(dialog->DskSpcPB->value(), 12);
    // The free share fills from the "Free" end and reads as a percentage.
    EXPECT_TRUE(dialog->DskSpcPB->invertedAppearance());
    EXPECT_EQ(dialog->DskSpcPB->text(), "12% free");

    // The right pane's drive refills the same dialog, "Set" disabled again after typing.
    QTest::keyClicks(dialog->VolLblTxt, "X");
    ASSERT_TRUE(dialog->VolNamSetBtn->isEnabled());
    QTest::mouseClick(m_form->LVDrive[1], Qt::LeftButton);
    EXPECT_EQ(m_form->driveInfoForm(), dialog);
    EXPECT_EQ(dialog->DriveInfoPnl->panelCaption(), "Information for Drive /mnt/team");
    EXPECT_EQ(dialog->DrvTypLbl2->text(), "Remote Media");
    EXPECT_EQ(dialog->SerNumLbl2->text(), "FFFFFFFE");
    EXPECT_EQ(dialog->DskSpcPB->value(), 0);
    EXPECT_FALSE(dialog->VolNamSetBtn->isEnabled());
    EXPECT_TRUE(m_form->isEnabled());
    EXPECT_TRUE(m_prompts->messages().isEmpty());
}

TEST_F(DriveCommands, TheDialogShowsTheDriveThePaneListedNotOneTypedInTheBox)
{
    // "Set" writes a volume name, so the dialog must be of the drive the drive line names.
    m_form->LVPATH[0]->setText(QStringLiteral("/mnt/team"));
    m_form->clearPaneNativePath(0);
    m_form->LVDrive_Click(0);
    ASSERT_NE(m_form->driveInfoForm(), nullptr);
    EXPECT_EQ(m_form->driveInfoForm()->DriveInfoPnl->panelCaption(), "Information for Drive /");
}

TEST_F(DriveCommands, SetWritesTheVolumeNameAndReportsAFailure)
{
    m_form->LVDrive_Click(0);
    DriveInfo* dialog = m_form->driveInfoForm();
    dialog->VolLblTxt->setText("DATA");
    m_fake.failOn(FakeFileSystem::Op::SetVolumeName, "/", FsErrorNumber::PermissionDenied);
    QTest::mouseClick(dialog->VolNamSetBtn, Qt::LeftButton);
    ASSERT_EQ(m_prompts->messages().size(), 1);
    EXPECT_TRUE(m_prompts->messages()[0].contains("Permission denied"));
    EXPECT_TRUE(dialog->VolNamSetBtn->isEnabled());
    EXPECT_TRUE(m_fake.volumeNamesWritten().empty());

    m_fake.clearFailures();
    QTest::mouseClick(dialog->VolNamSetBtn, Qt::LeftButton);
    EXPECT_EQ(m_fake.volumeNamesWritten(), std::vector<std::string>{"DATA"});
    EXPECT_FALSE(dialog->VolNamSetBtn->isEnabled());
    EXPECT_EQ(m_prompts->messages().size(), 1);
}

TEST_F(DriveCommands, PathThatNamesNoDriveGivesAMessageAndNoDialog)
{
    m_fake.failOn(FakeFileSystem::Op::GetDrive, "/mnt/team", FsErrorNumber::DeviceUnavailable);
    m_form->GetListing(1);
    m_prompts->clear();
    m_form->LVDrive_Click(1);
    EXPECT_EQ(m_form->driveInfoForm(), nullptr);
    ASSERT_EQ(m_prompts->messages().size(), 1);
    EXPECT_TRUE(m_prompts->messages()[0].contains("names no drive"));
}

TEST_F(DriveCommands, AboutShowsNameVersionAndDescription)
{
    ASSERT_TRUE(m_form->mAbout->isEnabled());
    m_form->mAbout->trigger();
    VennicAbout* about = m_form->aboutForm();
    ASSERT_TRUE(about && about->isVisible());
    EXPECT_EQ(about->ProgramName->text(), "Vennic");
    EXPECT_EQ(about->Version->text(), QStringLiteral("Version " VENNIC_VERSION));
    EXPECT_FALSE(about->Description->text().isEmpty());
    QTest::mouseClick(about->OKButton, Qt::LeftButton);
    EXPECT_FALSE(about->isVisible());
}

} // namespace
} // namespace vennic
