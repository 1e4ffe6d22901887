// A listed folder opened again for a command: it must be the very folder that was listed, and
// every act must reach the very entry that was listed, whatever another process did meanwhile.
#include "platform/filesystem.h"
#include "platform/posix/filecopy_posix.h"

#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

using namespace vennic;
using vennic::test::TempFolder;

namespace {

int temporariesIn(const std::string& folder)
{
    return TempFolder::countNamesStartingWith(folder, kCopyTemporaryPrefix);
}

class FolderHandleTest : public ::testing::Test {
public:
    void SetUp() override
    {
        tmp.fileWithContent("p/left/f.txt", "shown");
        tmp.fileWithContent("other/f.txt", "other's");
        tmp.fileWithContent("p2/left/f.txt", "other parent's");
        tmp.fileWithContent("private.txt", "secret");
        tmp.folder("dst");
    }
    FolderIdentity identity(const std::string& relative)
    {
        return fs->GetFolder(tmp.pathOf(relative))->Identity();
    }
    std::unique_ptr<FolderHandle> open(const std::string& relative)
    {
        return fs->OpenListedFolder(identity(relative));
    }
    void rename(const std::string& from, const std::string& to)
    {
        ASSERT_EQ(::rename(tmp.pathOf(from).c_str(), tmp.pathOf(to).c_str()), 0) << from;
    }

    TempFolder tmp;
    std::unique_ptr<FileSystem> fs = makeSystemFileSystem(nullptr);
};

} // namespace

TEST_F(FolderHandleTest, AFolderThatIsNoLongerTheListedOneIsNotOpened)
{
    const struct {
        const char* what;
        std::function<void(FolderHandleTest&)> change;
    } cases[] = {
        {"swapped for a link",
         [](FolderHandleTest& t) {
             t.rename("p/left", "p/left.old");
             t.tmp.symlink("p/left", "../other");
         }},
        {"made again",
         [](FolderHandleTest& t) {
             t.rename("p/left", "p/left.old");
             t.tmp.fileWithContent("p/left/f.txt", "new");
         }},
        {"parent swapped",
         [](FolderHandleTest& t) {
             t.rename("p", "p.old");
             t.tmp.symlink("p", "p2");
         }},
        {"removed", [](FolderHandleTest& t) { t.rename("p/left", "p/gone"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(tmp.pathOf("p"));
        std::filesystem::remove_all(tmp.pathOf("p.old"));
        tmp.fileWithContent("p/left/f.txt", "shown");
        const FolderIdentity listed = identity("p/left");
        c.change(*this);
        EXPECT_EQ(fs->OpenListedFolder(listed), nullptr);
    }
    // A folder listed through a link is opened through it while it leads there.
    tmp.symlink("via", "other");
    EXPECT_NE(open("via"), nullptr);
}

TEST_F(FolderHandleTest, AnEntryThatIsNoLongerTheListedOneIsLeftAlone)
{
    const auto listedEntry = [&] { return identityOf(*open("p/left")->Look("f.txt")); };
    const auto swapForLink = [&] {
        std::remove(tmp.pathOf("p/left/f.txt").c_str());
        tmp.symlink("p/left/f.txt", tmp.pathOf("private.txt"));
    };
    const auto makeAgain = [&] {
        tmp.fileWithContent("p/left/f.new", "new");
        rename("p/left/f.new", "p/left/f.txt");
    };
    for (const std::function<void()>& change :
         {std::function<void()>(swapForLink), std::function<void()>(makeAgain)}) {
        tmp.fileWithContent("p/left/f.txt", "shown");
        std::remove(tmp.pathOf("dst/f.txt").c_str());
        const EntryIdentity listed = listedEntry();
        change();
        const auto folder = open("p/left");
        const auto destination = open("dst");
        EXPECT_FALSE(folder->CopyFile("f.txt", &listed, *destination, true));
        EXPECT_FALSE(folder->SetAttributes("f.txt", &listed, Attr::ReadOnly));
        EXPECT_FALSE(folder->DeleteFile("f.txt", &listed, true));
        EXPECT_TRUE(TempFolder::exists(tmp.pathOf("p/left/f.txt")));
        EXPECT_FALSE(TempFolder::exists(tmp.pathOf("dst/f.txt")));
        EXPECT_EQ(TempFolder::modeOf(tmp.pathOf("private.txt")) & 0222, 0200u);
        std::remove(tmp.pathOf("p/left/f.txt").c_str());
    }
    // A link with no listing behind it is never followed into the copy.
    tmp.symlink("p/left/link.txt", tmp.pathOf("private.txt"));
    EXPECT_THROW(open("p/left")->CopyFile("link.txt", nullptr, *open("dst"), true), FsError);
    EXPECT_FALSE(TempFolder::exists(tmp.pathOf("dst/link.txt")));
}

TEST_F(FolderHandleTest, NamesPastTheLongestPathAreReachedThroughTheFolder)
{
    // The folder's path stays under the system's limit; with the file's name it passes it.
    std::string relative = "deep";
    while (tmp.pathOf(relative).size() < 3900)
        relative += "/" + std::string(200, 'd');
    tmp.folder(relative);
    const std::string name(250, 'n');
    ASSERT_GT(tmp.pathOf(relative + "/" + name).size(), 4096u);
    const int dir = ::open(tmp.pathOf(relative).c_str(), O_RDONLY | O_DIRECTORY);
    const int file = ::openat(dir, name.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::write(file, "far", 3), 3);
    ::close(file);
    ::close(dir);
    const auto folder = open(relative);
    ASSERT_NE(folder, nullptr);
    const EntryIdentity listed = identityOf(*folder->Look(name));
    const auto destination = open("dst");
    EXPECT_TRUE(folder->CopyFile(name, &listed, *destination, true));
    EXPECT_EQ(TempFolder::readAll(tmp.pathOf("dst/" + name)), "far");
    EXPECT_TRUE(folder->SetAttributes(name, &listed, Attr::ReadOnly));
    EXPECT_TRUE(folder->DeleteFile(name, &listed, true));
    EXPECT_FALSE(folder->Look(name));
}

namespace {

/// Starts a copy in a child that stops after its first block, kills the child there, and
/// returns the child's end.
int killCopyMidway(const std::string& source, const std::string& destination, bool unnamed)
{
    int ready[2];
    if (::pipe(ready) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        CopyOptions options;
        options.unnamedTemporary = unnamed;
        options.afterBlock = [&](int64_t) {
            const char byte = 1;
            (void)!::write(ready[1], &byte, 1);
            for (;;)
                ::pause();
        };
        try {
            copyFileSafely(source, destination, true, options);
        } catch (...) {
        }
        ::_exit(0);
    }
    ::close(ready[1]);
    char byte = 0;
    const bool stopped = ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    return stopped && WIFSIGNALED(status) ? WTERMSIG(status) : -1;
}

} // namespace

TEST_F(FolderHandleTest, ACopyKilledMidwayLeavesNothingOrAStaleTemporaryTheNextCopyRemoves)
{
    tmp.file("big.bin", 24 << 20);
    tmp.fileWithContent("dst/big.bin", "the old destination");
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed" : "named");
        ASSERT_EQ(killCopyMidway(tmp.pathOf("big.bin"), tmp.pathOf("dst/big.bin"), unnamed),
                  SIGKILL);
        EXPECT_EQ(TempFolder::readAll(tmp.pathOf("dst/big.bin")), "the old destination");
        EXPECT_EQ(temporariesIn(tmp.pathOf("dst")), unnamed ? 0 : 1);
    }
    // A temporary whose writer still runs keeps its lock, and stays.
    const std::string live = tmp.fileWithContent(
        std::string("dst/") + kCopyTemporaryPrefix + "1-0-live" + kCopyTemporarySuffix, "");
    const int held = ::open(live.c_str(), O_WRONLY);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    ASSERT_EQ(::fcntl(held, F_OFD_SETLK, &lock), 0);
    CopyOptions named;
    named.unnamedTemporary = false;
    tmp.fileWithContent("small.txt", "small");
    copyFileSafely(tmp.pathOf("small.txt"), tmp.pathOf("dst/small.txt"), true, named);
    EXPECT_EQ(temporariesIn(tmp.pathOf("dst")), 1) << "only the stale one went";
    EXPECT_TRUE(TempFolder::exists(live));
    ::close(held);
}
