#include "app/mainform.h"

#include "listing/getlisting.h"
#include "listing/panelist.h"
#include "listing/typenames.h"
#include "platform/mountwatcher.h"
#include "support/scriptedprompts.h"
#include "support/sharedfilesystem.h"
#include "ui/sizingstrip.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

namespace vennic {
namespace {

using test::FakeFileSystem;
using namespace std::chrono_literals;

/// A window on a fake file system whose folder walks the test holds and releases: "/data"
/// holds the folders a (100 bytes), b (20) and c (3) and the file top.txt (1,000).
class Sizing : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_fake.addFile("/data/a/one.bin", 100);
        m_fake.addFile("/data/b/two.bin", 20);
        m_fake.addFile("/data/c/three.bin", 3);
        m_fake.addFile("/data/top.txt", 1000);
        m_form = makeForm({});
    }
    void TearDown() override
    {
        // Walks still held end with the window.
        m_form.reset();
    }

    std::unique_ptr<MainForm> makeForm(MainFormOptions options)
    {
        options.prompts = m_prompts;
        options.fileSystemFactory = [this] {
            return std::make_unique<test::SharedFileSystem>(m_fake);
        };
        options.sizingWait = 0ms; // the rows show at once, as they do for a long count
        options.fileJobWait = std::chrono::minutes(1);
        auto form = std::make_unique<MainForm>(std::move(options));
        m_prompts->clear(); // the test's own current directory is not in the fake
        return form;
    }
    void list(int pane, const std::string& path)
    {
        m_form->setPanePath(pane, path);
        m_form->GetListing(pane);
    }
    QString sizeText(int pane, const std::string& name)
    {
        const PaneList& rows = *m_form->LV1Rows[size_t(pane)];
        for (int i = 0; i < rows.rowCount(); ++i)
            if (rows.row(i).nativeName == name)
                return rows.cellText(i, ColBytes).trimmed();
        ADD_FAILURE() << "no row " << name;
        return {};
    }
    const PaneRow* row(int pane, const std::string& name)
    {
        const PaneList& rows = *m_form->LV1Rows[size_t(pane)];
        for (int i = 0; i < rows.rowCount(); ++i)
            if (rows.row(i).nativeName == name)
                return &rows.row(i);
        return nullptr;
    }
    [[nodiscard]] bool sizingEnds(int pane)
    {
        return QTest::qWaitFor([&] { return !m_form->paneSizing(pane); }, 5000);
    }
    int walksOf(const std::string& path) const
    {
        const auto calls = m_fake.calls();
        return int(std::count(calls.begin(), calls.end(), "SubFolderSizes " + path));
    }

    FakeFileSystem m_fake;
    std::shared_ptr<test::ScriptedPrompts> m_prompts = std::make_shared<test::ScriptedPrompts>();
    std::unique_ptr<MainForm> m_form;
};

TEST_F(Sizing, RowsComeFirstSizesFillInAsTheirWalksEndAndTheEndMatchesASerialListing)
{
    m_fake.holdSize("/data/a");
    m_fake.holdSize("/data/b");
    list(0, "/data");

    // The rows are there before any size, with no count line and no progress yet.
    EXPECT_EQ(m_form->LV1Rows[0]->rowCount(), 4);
    EXPECT_TRUE(m_form->paneSizing(0));
    EXPECT_EQ(m_form->LVFC[0]->text(), QString());
    EXPECT_FALSE(m_form->SizeStrip[0]->isVisibleTo(m_form.get()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return sizeText(0, "c") == "3"; }, 5000));
    EXPECT_EQ(sizeText(0, "a"), "counting");
    EXPECT_EQ(row(0, "a")->toolTip, PendingSizeToolTip);

    // b ends before a: its size comes first, and the strip tells how far the count is.
    m_fake.releaseSize("/data/b");
    ASSERT_TRUE(QTest::qWaitFor([&] { return sizeText(0, "b") == "20"; }, 5000));
    EXPECT_EQ(sizeText(0, "a"), "counting");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return m_form->SizeStrip[0]->isVisibleTo(m_form.get()); }, 5000));
    EXPECT_EQ(m_form->SizeStrip[0]->barText(), "2 of 3");
    EXPECT_EQ(m_form->SizeStrip[0]->detailText(), "23 Bytes so far, counting a");
    EXPECT_EQ(m_form->LVFC[0]->text(), QString());

    m_fake.releaseSize("/data/a");
    ASSERT_TRUE(sizingEnds(0));
    EXPECT_FALSE(m_form->SizeStrip[0]->isVisibleTo(m_form.get()));
    EXPECT_EQ(m_form->LVFC[0]->text(), "1 Files, 3 Folders, 1,123 Bytes");

    // The rows, their order and texts are those of a listing that waited for every size.
    TypeNames types;
    ListingRequest request;
    request.path = "/data";
    request.filterExpression = m_form->FilterExpression->text();
    request.fexText = request.filterExpression;
    request.driveTypeNames = m_form->DriveTypeNames;
    const ListingResult serial = runListing(request, m_fake, types, *m_prompts);
    const PaneList& shown = *m_form->LV1Rows[0];
    ASSERT_EQ(size_t(shown.rowCount()), serial.rows.size());
    for (int i = 0; i < shown.rowCount(); ++i) {
        EXPECT_EQ(shown.row(i).nativeName, serial.rows[size_t(i)].nativeName);
        EXPECT_EQ(shown.row(i).size, serial.rows[size_t(i)].size);
        EXPECT_EQ(shown.row(i).flags, serial.rows[size_t(i)].flags);
        EXPECT_EQ(shown.row(i).toolTip, serial.rows[size_t(i)].toolTip);
    }
    EXPECT_EQ(m_form->LVFC[0]->text(), serial.countLine);
    EXPECT_TRUE(m_prompts->messages().isEmpty()) << m_prompts->messages().join('\n').toStdString();
}

TEST_F(Sizing, StopKeepsTheSizesCountedSoFarAndSaysTheyAreIncomplete)
{
    m_fake.holdSize("/data/a", 40);
    list(0, "/data");
    ASSERT_TRUE(QTest::qWaitFor([&] { return sizeText(0, "b") == "20"; }, 5000));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return m_form->SizeStrip[0]->isVisibleTo(m_form.get()); }, 5000));

    QTest::mouseClick(m_form->SizeStrip[0]->stopButton(), Qt::LeftButton);
    ASSERT_TRUE(sizingEnds(0));
    EXPECT_EQ(sizeText(0, "a"), QString::fromUtf8("\u226540"));
    EXPECT_TRUE(row(0, "a")->flags & PaneRow::SizeStopped);
    EXPECT_EQ(row(0, "a")->toolTip, StoppedSizeToolTip);
    // A click on the row keeps saying so beside its creation time.
    const int a = int(row(0, "a") - &m_form->LV1Rows[0]->row(0));
    m_form->LV1_ItemClick(0, a);
    EXPECT_TRUE(m_form->LV1Rows[0]->row(a).toolTip.endsWith(u'\n' + StoppedSizeToolTip));
    EXPECT_FALSE(row(0, "b")->flags & PaneRow::SizeStopped);
    EXPECT_EQ(m_form->LVFC[0]->text(),
              "1 Files, 3 Folders, 1,063 Bytes (counting stopped: folder sizes incomplete)");

    // Esc stops a count too, in whichever pane it runs.
    list(1, "/data");
    ASSERT_TRUE(m_form->paneSizing(1));
    m_form->show();
    m_form->activateWindow(); // not the drive panel, shown first
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == m_form.get(); }));
    QTest::keyClick(m_form.get(), Qt::Key_Escape);
    ASSERT_TRUE(sizingEnds(1));
    EXPECT_EQ(sizeText(1, "a"), QString::fromUtf8("\u226540"));
}

TEST_F(Sizing, CommandsOnAPaneStillCountingSayToWaitAndTheRestOfTheWindowWorks)
{
    m_fake.addFile("/other/x.txt", 5);
    m_fake.addFile("/data/gone.txt", 7);
    m_fake.holdSize("/data/a");
    list(0, "/data");
    list(1, "/other");
    ASSERT_TRUE(m_form->paneSizing(0));
    ASSERT_FALSE(m_form->paneSizing(1));
    m_form->ActivePane = 0;
    m_prompts->answerFile(QStringLiteral("/tmp/never.tav"));

    // What reads the sizes waits for them.
    m_form->M1Save_Click();
    m_form->PrinPrevBtn_Click();
    m_form->CompFldr_Click();
    m_form->RemBtn_Click();
    const QString wait = QStringLiteral("The left pane is still counting folder sizes. Wait for "
                                        "its count line, or press Esc to stop the count, and try "
                                        "again.");
    EXPECT_EQ(m_prompts->messages(), QStringList(4, wait));
    EXPECT_TRUE(m_prompts->fileRequests().empty());
    EXPECT_EQ(m_form->LV1Rows[1]->rowCount(), 1); // no comparison was made

    // A file command does not wait: the pane it changed is listed and counted again.
    ASSERT_NE(row(0, "gone.txt"), nullptr);
    for (int i = 0; i < m_form->LV1Rows[0]->rowCount(); ++i)
        if (m_form->LV1Rows[0]->row(i).nativeName == "gone.txt")
            m_form->LV1Rows[0]->setSmallImage(i, RowImage::SmallDelete);
    m_prompts->answerConfirm(true);
    m_form->DelBtn_Click();
    EXPECT_FALSE(m_fake.exists("/data/gone.txt"));
    EXPECT_EQ(row(0, "gone.txt"), nullptr);
    ASSERT_TRUE(m_form->paneSizing(0));

    // The rows shown sort while the count goes on, and stand sorted when it ends.
    const PaneList& rows = *m_form->LV1Rows[0];
    m_form->LV1_ColumnClick(0, ColBytes);
    ASSERT_EQ(rows.sortKey(), int(ColBytes));
    m_fake.releaseSize("/data/a");
    ASSERT_TRUE(sizingEnds(0));
    std::vector<int64_t> sizes;
    for (int i = 0; i < rows.rowCount(); ++i)
        sizes.push_back(rows.row(i).size);
    if (rows.sortOrder() == Qt::AscendingOrder)
        EXPECT_EQ(sizes, (std::vector<int64_t>{3, 20, 100, 1000}));
    else
        EXPECT_EQ(sizes, (std::vector<int64_t>{1000, 100, 20, 3}));
}

TEST_F(Sizing, ASecondListingOfAPaneStopsTheFirstCountAndStartsOver)
{
    m_fake.holdSize("/data/a", 7);
    list(0, "/data");
    ASSERT_TRUE(m_form->paneSizing(0));
    list(0, "/data");
    ASSERT_TRUE(m_form->paneSizing(0));
    EXPECT_EQ(sizeText(0, "a"), "counting"); // the stopped count left nothing behind

    m_fake.releaseSize("/data/a");
    ASSERT_TRUE(sizingEnds(0));
    EXPECT_EQ(walksOf("/data"), 2);
    EXPECT_EQ(sizeText(0, "a"), "100");
    EXPECT_EQ(m_form->LVFC[0]->text(), "1 Files, 3 Folders, 1,123 Bytes");
}

TEST_F(Sizing, BothPanesOfOneFolderAreReadAndWalkedOncePerRefresh)
{
    m_fake.holdSize("/data/a");
    m_form->setPanePath(0, "/data");
    m_form->setPanePath(1, "/data");
    m_form->Go1_Click();
    m_fake.releaseSize("/data/a");
    ASSERT_TRUE(sizingEnds(0));
    ASSERT_TRUE(sizingEnds(1));
    EXPECT_EQ(walksOf("/data"), 1);
    // One read serves both panes, and their rows are what two reads give.
    const auto calls = m_fake.calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "GetFolder /data"), 1);
    const PaneList& left = *m_form->LV1Rows[0];
    const PaneList& right = *m_form->LV1Rows[1];
    ASSERT_EQ(left.rowCount(), right.rowCount());
    for (int i = 0; i < left.rowCount(); ++i) {
        EXPECT_EQ(left.row(i).nativeName, right.row(i).nativeName);
        EXPECT_EQ(left.row(i).size, right.row(i).size);
        EXPECT_EQ(left.row(i).flags, right.row(i).flags);
        EXPECT_EQ(left.row(i).inode, right.row(i).inode);
    }
    for (int pane = 0; pane < 2; ++pane) {
        EXPECT_EQ(sizeText(pane, "a"), "100");
        EXPECT_EQ(m_form->LVFC[size_t(pane)]->text(), "1 Files, 3 Folders, 1,123 Bytes");
        EXPECT_TRUE(m_form->PaneRowsFolder[size_t(pane)].folder());
    }

    // Another refresh walks again; listing one pane alone walks for that pane alone.
    m_form->Go1_Click();
    ASSERT_TRUE(sizingEnds(0) && sizingEnds(1));
    EXPECT_EQ(walksOf("/data"), 2);
    m_form->GetListing(1);
    ASSERT_TRUE(sizingEnds(1));
    EXPECT_EQ(walksOf("/data"), 3);
}

TEST_F(Sizing, ClosingWhileCountingEndsTheCountAtOnce)
{
    m_fake.holdSize("/data/a");
    list(0, "/data");
    ASSERT_TRUE(m_form->paneSizing(0));
    const auto start = std::chrono::steady_clock::now();
    m_form->close();
    EXPECT_FALSE(m_form->paneSizing(0));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

TEST_F(Sizing, TheProgramsWindowIsPaintedBeforeItsPanesAreListed)
{
    m_form.reset();
    const size_t callsBefore = m_fake.calls().size();
    MainFormOptions options;
    options.listAfterFirstPaint = true;
    m_form = makeForm(std::move(options));
    const auto listed = [&] {
        const auto calls = m_fake.calls();
        return std::any_of(calls.begin() + std::ptrdiff_t(callsBefore), calls.end(),
                           [](const std::string& call) { return call.rfind("GetFolder", 0) == 0; });
    };
    EXPECT_FALSE(listed());
    m_form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form.get()));
    EXPECT_TRUE(QTest::qWaitFor(listed, 5000));
}

TEST_F(Sizing, AFileSystemMountedWhileTheProgramRunsJoinsBothDriveLists)
{
    const int before = m_form->DR1[0]->count();
    m_fake.addDrive("/media/stick", DriveKind::Removable, "vfat", 8000, 4000);
    Q_EMIT m_form->mountWatcher()->mountsChanged();
    for (QComboBox* drives : m_form->DR1) {
        ASSERT_EQ(drives->count(), before + 1);
        EXPECT_EQ(drives->itemText(before), "/media/stick");
    }
}

} // namespace
} // namespace vennic
