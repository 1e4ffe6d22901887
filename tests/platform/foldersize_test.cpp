// Folder sizes on real trees: what is summed, what is never followed or crossed, what happens
// with unreadable parts, and that the parallel walk gives exactly the serial result.
#include "platform/filesystem.h"

#if VENNIC_COUNT_STATS
#include "platform/posix/statcounter.h"
#endif

#include "support/asnobody.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <map>
#include <mutex>
#include <random>

using namespace vennic;
using vennic::test::TempFolder;

namespace {

class FolderSizeTest : public ::testing::Test {
protected:
    std::unique_ptr<Folder> folder(const std::string& relative = {})
    {
        return fs->GetFolder(tmp.pathOf(relative));
    }

    /// The sizes of every sub-folder of the temporary folder, by name.
    std::map<std::string, FolderSize> subFolderSizes(unsigned threads = 0)
    {
        auto parent = folder();
        const auto subFolders = parent->SubFolders();
        const auto sizes = parent->SubFolderSizes(subFolders, threads);
        std::map<std::string, FolderSize> map;
        for (size_t i = 0; i < subFolders.size(); ++i)
            map[subFolders[i].name] = sizes.at(i);
        return map;
    }

    TempFolder tmp;
    std::unique_ptr<FileSystem> fs = makeSystemFileSystem(nullptr);
};

std::string describe(const std::map<std::string, FolderSize>& sizes)
{
    static const char* states[] = {"Complete", "Partial", "Unreadable", "NotWalked", "Stopped"};
    std::string text;
    for (const auto& [name, size] : sizes)
        text += name + ":" + states[int(size.state)] + ":" + std::to_string(size.bytes) + " ";
    return text;
}

} // namespace

TEST_F(FolderSizeTest, SumsEveryFileBeneathAndNoFolderSizes)
{
    tmp.file("a/one", 100);
    tmp.file("a/b/two", 200);
    tmp.file("a/b/c/three", 300);
    tmp.folder("a/b/c/empty");
    tmp.fifo("a/b/pipe");
    tmp.folder("empty");
    tmp.file("top-level file is not in any sub-folder", 5000);

    const auto sizes = subFolderSizes();
    EXPECT_EQ(describe(sizes), "a:Complete:600 empty:Complete:0 ");
    const FolderSize own = folder("a")->Size();
    EXPECT_EQ(own.state, SizeState::Complete);
    EXPECT_EQ(own.bytes, 600);
}

TEST_F(FolderSizeTest, HardLinksCountOncePerNameAndLinksByTheirOwnSize)
{
    tmp.file("outside/big", 50000);
    tmp.file("a/data", 1000);
    tmp.hardLink("a/again", "a/data");
    tmp.hardLink("a/deeper/third", "a/data");
    tmp.symlink("a/tobig", "../outside/big"); // 14 bytes, never followed
    tmp.symlink("a/tofolder", "../outside");  // 10 bytes, never followed
    tmp.symlink("a/self", ".");               // a loop: 1 byte
    tmp.symlink("a/ping", "pong");            // a loop of two links: 4 + 4 bytes
    tmp.symlink("a/pong", "ping");

    const FolderSize size = folder("a")->Size();
    EXPECT_EQ(size.state, SizeState::Complete);
    EXPECT_EQ(size.bytes, 3 * 1000 + 14 + 10 + 1 + 4 + 4);
}

TEST_F(FolderSizeTest, LinkToAFolderIsNotWalked)
{
    tmp.file("real/data", 10);
    tmp.symlink("link", "real");
    const auto sizes = subFolderSizes();
    EXPECT_EQ(describe(sizes), "link:NotWalked:0 real:Complete:10 ");
}

TEST_F(FolderSizeTest, ParallelWalkEqualsSerialWalkOnARandomTree)
{
    std::mt19937 random(20261208);
    std::map<std::string, int64_t> expected;
    const char* tops[] = {"huge", "small", "medium", "tiny", "none"};
    for (const char* top : tops)
        expected[top] = 0;
    tmp.folder("none");
    // "huge" holds most of the tree so it has to spread over the workers.
    for (int i = 0; i < 3000; ++i) {
        const char* top = i % 10 < 7 ? "huge" : tops[1 + random() % 3];
        std::string path = top;
        const int depth = int(random() % 6);
        for (int d = 0; d < depth; ++d)
            path += "/d" + std::to_string(random() % 4);
        path += "/f" + std::to_string(i);
        const int64_t size = random() % 5000;
        tmp.file(path, size);
        expected[top] += size;
    }

    const auto serial = subFolderSizes(1);
    const auto parallel = subFolderSizes(4);
    for (const auto& [name, bytes] : expected) {
        EXPECT_EQ(serial.at(name).bytes, bytes) << name;
        EXPECT_EQ(serial.at(name).state, SizeState::Complete) << name;
    }
    EXPECT_EQ(describe(parallel), describe(serial));
}

TEST_F(FolderSizeTest, TreeDeeperThanPathMax)
{
    // Built relative to descriptors: the full path of the deepest folder is far past PATH_MAX.
    const std::string segment(200, 's');
    const int levels = PATH_MAX / 200 + 5;
    int fd = open(tmp.folder("deep").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    int64_t expected = 0;
    for (int level = 0; level < levels; ++level) {
        const int file = openat(fd, "f", O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(file, 0);
        ASSERT_EQ(ftruncate(file, level + 1), 0);
        close(file);
        expected += level + 1;
        ASSERT_EQ(mkdirat(fd, segment.c_str(), 0755), 0);
        const int next = openat(fd, segment.c_str(), O_RDONLY | O_DIRECTORY);
        close(fd);
        ASSERT_GE(next, 0);
        fd = next;
    }
    close(fd);

    const FolderSize size = subFolderSizes().at("deep");
    EXPECT_EQ(size.state, SizeState::Complete);
    EXPECT_EQ(size.bytes, expected);
}

TEST_F(FolderSizeTest, UnreadableAndPartlyUnreadableFoldersAsAnotherUser)
{
    tmp.file("open/f", 100);
    tmp.file("locked/f", 100);
    tmp.file("partly/readable/f", 100);
    tmp.file("partly/g", 10);
    tmp.file("partly/secret/f", 5000);
    tmp.file("partly/unsearchable/f", 7000);
    tmp.handOverTo(test::kNobodyUid, test::kNobodyGid);
    tmp.setMode("locked", 0);
    tmp.setMode("partly/secret", 0);
    tmp.setMode("partly/unsearchable", 0444); // names readable, nothing beneath them

    const auto result = test::runAsNobody([&] { return describe(subFolderSizes(2)); });
    ASSERT_TRUE(result.dropped) << "could not drop root's rights: " << result.reason;
    std::printf("ran as %s\n", result.how.c_str());
    ASSERT_TRUE(result.finished) << result.output;
    EXPECT_EQ(result.output, "locked:Unreadable:0 open:Complete:100 partly:Partial:110 ");
    // As root the same tree is read whole, so the difference above is the rights alone.
    EXPECT_EQ(describe(subFolderSizes(2)),
              "locked:Complete:100 open:Complete:100 partly:Complete:12110 ");
}

TEST_F(FolderSizeTest, PseudoFileSystemIsNotWalked)
{
    auto root = fs->GetFolder("/");
    std::vector<Entry> proc;
    for (const Entry& e : root->SubFolders())
        if (e.name == "proc")
            proc.push_back(e);
    if (proc.empty())
        GTEST_SKIP() << "no /proc on this machine";
    EXPECT_EQ(root->SubFolderSizes(proc).at(0).state, SizeState::NotWalked);
    EXPECT_EQ(fs->GetFolder("/proc")->Size().state, SizeState::NotWalked);
}

// Mounts file systems inside the tree in a private mount namespace of a forked child, so
// nothing is visible outside it, and reports the sizes through a pipe.
TEST_F(FolderSizeTest, WalkStaysOnItsFileSystemAndSkipsMountedPseudoFileSystems)
{
    tmp.file("a/f", 100);
    tmp.folder("a/mnt");
    tmp.folder("procmount");
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::fflush(nullptr);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        close(fds[0]);
        std::string text;
        if (unshare(CLONE_NEWNS) != 0 || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr))
            text = "skip: no private mount namespace";
        else if (mount("vennic", tmp.pathOf("a/mnt").c_str(), "tmpfs", 0, nullptr) != 0 ||
                 mount("proc", tmp.pathOf("procmount").c_str(), "proc", 0, nullptr) != 0)
            text = "skip: cannot mount";
        else {
            tmp.file("a/mnt/elsewhere", 4000);
            text = describe(subFolderSizes(2));
        }
        (void)!write(fds[1], text.data(), text.size());
        _exit(0);
    }
    close(fds[1]);
    std::string text;
    char buffer[512];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0)
        text.append(buffer, size_t(n));
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    if (text.rfind("skip:", 0) == 0)
        GTEST_SKIP() << text;
    EXPECT_EQ(text, "a:Complete:100 procmount:NotWalked:0 ");
}

/// The descriptors this process has open.
int openDescriptors()
{
    int count = 0;
    for (int fd = 0; fd < 4096; ++fd)
        if (fcntl(fd, F_GETFD) != -1)
            ++count;
    return count;
}

TEST_F(FolderSizeTest, AWalkReportsEachFolderOnceAsItEndsAndAStopEndsItWithNothingLeftOpen)
{
    for (int i = 0; i < 300; ++i)
        tmp.file("t" + std::to_string(i % 3) + "/d" + std::to_string(i % 7) + "/e" +
                     std::to_string(i % 11) + "/f" + std::to_string(i),
                 i);
    auto parent = folder();
    const auto subFolders = parent->SubFolders();
    const auto serial = parent->SubFolderSizes(subFolders, 1);

    // Every folder is told once, as the walk's own result gives it; the bytes add up.
    SizingProgress progress;
    std::mutex mutex;
    std::map<size_t, FolderSize> told;
    progress.finished = [&](size_t index, const FolderSize& size) {
        std::lock_guard lock(mutex);
        EXPECT_TRUE(told.emplace(index, size).second) << "told twice: " << index;
    };
    const auto sizes = parent->SubFolderSizes(subFolders, 2, &progress);
    ASSERT_EQ(told.size(), subFolders.size());
    int64_t sum = 0;
    for (size_t i = 0; i < sizes.size(); ++i) {
        EXPECT_EQ(told[i].bytes, serial[i].bytes);
        EXPECT_EQ(sizes[i].state, SizeState::Complete);
        sum += sizes[i].bytes;
    }
    EXPECT_EQ(progress.bytes.load(), sum);

    // Stopped once the first folder is done, the walk leaves the others Stopped with what it
    // had counted, and closes every folder it opened; stopped before it starts, it counts none.
    const int before = openDescriptors();
    SizingProgress stopped;
    stopped.finished = [&](size_t, const FolderSize&) { stopped.stop = true; };
    const auto partial = parent->SubFolderSizes(subFolders, 1, &stopped);
    EXPECT_EQ(openDescriptors(), before);
    ASSERT_EQ(partial.size(), serial.size());
    EXPECT_EQ(partial[0].state, SizeState::Complete);
    for (size_t i = 1; i < partial.size(); ++i) {
        EXPECT_EQ(partial[i].state, SizeState::Stopped);
        EXPECT_LE(partial[i].bytes, serial[i].bytes);
    }
    SizingProgress early;
    early.stop = true;
    for (const FolderSize& size : parent->SubFolderSizes(subFolders, 2, &early))
        EXPECT_EQ(size.state, SizeState::Stopped);
    EXPECT_EQ(openDescriptors(), before);
}

#if VENNIC_COUNT_STATS
TEST_F(FolderSizeTest, OneStatPerNameBeneath)
{
    for (int i = 0; i < 50; ++i)
        tmp.file("a/d" + std::to_string(i % 5) + "/f" + std::to_string(i), 1);
    auto parent = folder();
    const auto subFolders = parent->SubFolders();
    resetStatCallCount();
    parent->SubFolderSizes(subFolders, 2);
    // 50 files and 5 folders beneath "a", plus one look at "a" itself.
    EXPECT_EQ(statCallCount(), 50u + 5u + 1u);
}
#endif
