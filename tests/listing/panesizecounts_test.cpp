// The two panes' folder-size counts on a fake file system whose walks the test holds: sizes go
// into the rows, one command shares a walk of one folder, and a stopped count says so.
#include "listing/panesizecounts.h"

#include "listing/panelist.h"
#include "listing/typenames.h"
#include "support/fakefilesystem.h"
#include "support/scriptedprompts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>

namespace vennic {
namespace {

using namespace std::chrono_literals;

/// "/data" holds the folders a (100 bytes), b (20) and c (3) and the file top.txt (1,000).
/// What the walks post waits in a queue the test runs, as the window's thread would.
class PaneSizeCountsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_fake.addFile("/data/a/one.bin", 100);
        m_fake.addFile("/data/b/two.bin", 20);
        m_fake.addFile("/data/c/three.bin", 3);
        m_fake.addFile("/data/top.txt", 1000);
        m_counts.setWait(0ms);
    }

    void start(int pane)
    {
        ListingRequest request;
        request.path = "/data";
        request.fexText = QStringLiteral("*.*");
        request.options.sizesLater = true;
        ListingResult result = runListing(request, m_fake, m_types, m_prompts);
        ASSERT_TRUE(result.folder);
        const FolderIdentity folder = result.folder->Identity();
        m_rows[size_t(pane)]->setRows(std::move(result.rows));
        m_counts.start(pane, result, std::shared_ptr<const Folder>(std::move(result.folder)),
                       folder);
    }
    /// Runs what the walks posted until pane `pane` ends its count.
    [[nodiscard]] bool ends(int pane)
    {
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (m_counts.counting(pane) && std::chrono::steady_clock::now() < deadline) {
            std::vector<std::function<void()>> posted;
            {
                std::lock_guard lock(m_mutex);
                posted.swap(m_posted);
            }
            for (auto& work : posted)
                work();
            std::this_thread::sleep_for(1ms);
        }
        return !m_counts.counting(pane);
    }
    int64_t sizeOf(int pane, const std::string& name) const
    {
        const PaneList& rows = *m_rows[size_t(pane)];
        for (int i = 0; i < rows.rowCount(); ++i)
            if (rows.row(i).nativeName == name)
                return rows.row(i).size;
        return -1;
    }
    int walks() const
    {
        const auto calls = m_fake.calls();
        return int(std::count(calls.begin(), calls.end(), "SubFolderSizes /data"));
    }

    test::FakeFileSystem m_fake;
    TypeNames m_types;
    test::ScriptedPrompts m_prompts;
    PaneList m_left{PaneColumnCount};
    PaneList m_right{PaneColumnCount};
    std::array<PaneList*, 2> m_rows{&m_left, &m_right};
    std::mutex m_mutex;
    std::vector<std::function<void()>> m_posted;
    QString m_lines[2];
    PaneSizeCounts m_counts{m_rows,
                            [this](std::function<void()> work) {
                                std::lock_guard lock(m_mutex);
                                m_posted.push_back(std::move(work));
                            },
                            [this](int pane, const QString& line) { m_lines[pane] = line; }};
};

TEST_F(PaneSizeCountsTest, SizesGoIntoTheRowsAndTheEndGivesTheCountLine)
{
    m_fake.holdSize("/data/a");
    start(0);
    EXPECT_TRUE(m_counts.counting(0));
    EXPECT_EQ(m_counts.progress(0)->folders, 3);
    m_fake.releaseSize("/data/a");
    ASSERT_TRUE(ends(0));
    EXPECT_EQ(sizeOf(0, "a"), 100);
    EXPECT_EQ(sizeOf(0, "c"), 3);
    EXPECT_EQ(m_lines[0], "1 Files, 3 Folders, 1,123 Bytes");
    EXPECT_FALSE(m_counts.progress(0));
}

TEST_F(PaneSizeCountsTest, OneCommandWalksAFolderBothPanesListOnceAndEndingOnePaneKeepsTheOther)
{
    m_fake.holdSize("/data/a");
    m_counts.beginCommand();
    start(0);
    start(1);
    m_counts.endCommand();
    m_counts.end(0);
    EXPECT_FALSE(m_counts.counting(0));
    EXPECT_TRUE(m_counts.counting(1));
    m_fake.releaseSize("/data/a");
    ASSERT_TRUE(ends(1));
    EXPECT_EQ(walks(), 1);
    EXPECT_EQ(sizeOf(1, "a"), 100);
    EXPECT_EQ(m_lines[1], "1 Files, 3 Folders, 1,123 Bytes");

    // Outside a command each pane walks for itself.
    start(0);
    start(1);
    ASSERT_TRUE(ends(0) && ends(1));
    EXPECT_EQ(walks(), 3);
}

TEST_F(PaneSizeCountsTest, AStoppedCountKeepsWhatWasCountedAndItsLineSaysSo)
{
    m_fake.holdSize("/data/a", 40);
    start(0);
    m_counts.stop(0);
    ASSERT_TRUE(ends(0));
    EXPECT_EQ(sizeOf(0, "a"), 40);
    EXPECT_EQ(m_lines[0],
              "1 Files, 3 Folders, 1,063 Bytes (counting stopped: folder sizes incomplete)");
}

} // namespace
} // namespace vennic
