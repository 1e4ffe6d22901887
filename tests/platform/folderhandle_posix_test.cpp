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
#include <filesystem>

using namespace vennic;
using vennic::test::TempFolder;

namespace {

struct FolderHandleTest : ::testing::Test {
    std::unique_ptr<FolderHandle> open(const std::string& relative)
    {
        return fs->OpenListedFolder(fs->GetFolder(tmp.pathOf(relative))->Identity());
    }
    void run(const std::string& shell)
    {
        ASSERT_EQ(std::system(("cd " + tmp.path() + " && " + shell).c_str()), 0);
    }

    TempFolder tmp;
    std::unique_ptr<FileSystem> fs = makeSystemFileSystem(nullptr);
};

} // namespace

TEST_F(FolderHandleTest, AFolderThatIsNoLongerTheListedOneIsNotOpened)
{
    tmp.fileWithContent("other/f.txt", "other's");
    tmp.fileWithContent("p2/left/f.txt", "other parent's");
    for (const char* change : {"mv p/left p/old && ln -s ../other p/left",        // a link
                               "mv p/left p/old && mkdir p/left",                 // made again
                               "mv p p.old && ln -s p2 p", "mv p/left p/gone"}) { // parent, gone
        SCOPED_TRACE(change);
        run("rm -rf p p.old && mkdir -p p/left");
        const FolderIdentity listed = fs->GetFolder(tmp.pathOf("p/left"))->Identity();
        run(change);
        EXPECT_EQ(fs->OpenListedFolder(listed), nullptr);
    }
    // A folder listed through a link is opened through it while it leads there.
    tmp.symlink("via", "other");
    EXPECT_NE(open("via"), nullptr);
}

TEST_F(FolderHandleTest, AnEntryThatIsNoLongerTheListedOneIsLeftAlone)
{
    tmp.fileWithContent("private.txt", "secret");
    tmp.folder("dst");
    for (const char* change : {"rm left/f.txt && ln -s ../private.txt left/f.txt",
                               "echo new > left/f.new && mv left/f.new left/f.txt"}) {
        SCOPED_TRACE(change);
        tmp.fileWithContent("left/f.txt", "shown");
        const EntryIdentity listed = identityOf(*open("left")->Look("f.txt"));
        run(change);
        const auto folder = open("left");
        EXPECT_FALSE(folder->CopyFile("f.txt", &listed, *open("dst"), true));
        EXPECT_FALSE(folder->SetAttributes("f.txt", &listed, Attr::ReadOnly));
        EXPECT_FALSE(folder->DeleteFile("f.txt", &listed, true));
        EXPECT_TRUE(TempFolder::exists(tmp.pathOf("left/f.txt")));
        EXPECT_FALSE(TempFolder::exists(tmp.pathOf("dst/f.txt")));
        EXPECT_EQ(TempFolder::modeOf(tmp.pathOf("private.txt")) & 0222, 0200u);
        run("rm left/f.txt");
    }
    // A link with no listing behind it is never followed into the copy.
    tmp.symlink("left/link.txt", tmp.pathOf("private.txt"));
    EXPECT_THROW(open("left")->CopyFile("link.txt", nullptr, *open("dst"), true), FsError);
    EXPECT_FALSE(TempFolder::exists(tmp.pathOf("dst/link.txt")));
}

TEST_F(FolderHandleTest, NamesPastTheLongestPathAreReachedThroughTheFolder)
{
    // The folder's path stays under the system's limit; with the file's name it passes it.
    std::string relative = "deep";
    while (tmp.pathOf(relative).size() < 3900)
        relative += "/" + std::string(200, 'd');
    tmp.folder(relative);
    tmp.folder("dst");
    const std::string name(250, 'n');
    run("cd " + relative + " && echo far > " + name);
    const auto folder = open(relative);
    const EntryIdentity listed = identityOf(*folder->Look(name));
    EXPECT_TRUE(folder->CopyFile(name, &listed, *open("dst"), true));
    EXPECT_EQ(TempFolder::readAll(tmp.pathOf("dst/" + name)), "far\n");
    EXPECT_TRUE(folder->SetAttributes(name, &listed, Attr::ReadOnly));
    EXPECT_TRUE(folder->DeleteFile(name, &listed, true));
    EXPECT_FALSE(folder->Look(name));
}

TEST_F(FolderHandleTest, ACopyKilledMidwayLeavesNothingOrAStaleTemporaryTheNextCopyRemoves)
{
    tmp.file("big.bin", 24 << 20);
    tmp.fileWithContent("dst/big.bin", "the old destination");
    const auto temporaries = [&] {
        return TempFolder::countNamesStartingWith(tmp.pathOf("dst"), kCopyTemporaryPrefix);
    };
    for (const bool unnamed : {true, false}) {
        // The child stops after its first block and is killed there.
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            CopyOptions options;
            options.unnamedTemporary = unnamed;
            options.afterBlock = [&](int64_t) {
                (void)!::write(ready[1], "x", 1);
                for (;;)
                    ::pause();
            };
            try {
                copyFileSafely(tmp.pathOf("big.bin"), tmp.pathOf("dst/big.bin"), true, options);
            } catch (...) {
            }
            ::_exit(0);
        }
        char byte = 0;
        EXPECT_EQ(::read(ready[0], &byte, 1), 1) << "the copy never wrote a block";
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ::close(ready[0]);
        ::close(ready[1]);
        EXPECT_EQ(TempFolder::readAll(tmp.pathOf("dst/big.bin")), "the old destination");
        EXPECT_EQ(temporaries(), unnamed ? 0 : 1) << unnamed;
    }
    // A temporary whose writer still runs keeps its lock, and stays; the stale one goes.
    const std::string live = tmp.fileWithContent(
        std::string("dst/") + kCopyTemporaryPrefix + "1-0-live" + kCopyTemporarySuffix, "");
    const int held = ::open(live.c_str(), O_WRONLY);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    ASSERT_EQ(::fcntl(held, F_OFD_SETLK, &lock), 0);
    CopyOptions named;
    named.unnamedTemporary = false;
    copyFileSafely(tmp.file("small.txt", 5), tmp.pathOf("dst/small.txt"), true, named);
    EXPECT_EQ(temporaries(), 1);
    EXPECT_TRUE(TempFolder::exists(live));
    ::close(held);
}
