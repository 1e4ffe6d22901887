// Copy, delete and attribute writes of the POSIX service on real files: what they keep, what
// they refuse, and that a failed copy never damages the destination.
#include "platform/filesystem.h"
#include "platform/posix/filecopy_posix.h"

#include "support/asnobody.h"
#include "support/errornumber.h"
#include "support/tempfolder.h"
#include "support/writelimit.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vennic;
using vennic::test::errorNumber;
using vennic::test::TempFolder;

namespace {

struct stat statOf(const std::string& path)
{
    struct stat st {};
    lstat(path.c_str(), &st);
    return st;
}

// Names in the folder that a copy left behind.
int temporaryFilesIn(const std::string& folder)
{
    return TempFolder::countNamesStartingWith(folder, ".vennic-copy-");
}

class FileOpsTest : public ::testing::Test {
protected:
    std::unique_ptr<File> file(const std::string& relative)
    {
        return fs->GetFile(tmp.pathOf(relative));
    }

    TempFolder tmp;
    std::unique_ptr<FileSystem> fs = makeSystemFileSystem(nullptr);
};

} // namespace

TEST_F(FileOpsTest, CopyKeepsContentModeAndModificationTimeButDropsSetUid)
{
    tmp.file("src/tool", 300000, 04755);
    const auto mtime = std::chrono::system_clock::time_point(std::chrono::seconds(1234567890)) +
                       std::chrono::microseconds(123456);
    tmp.setTimes("src/tool", mtime, mtime);
    tmp.folder("dst");

    file("src/tool")->Copy(tmp.pathOf("dst/tool"), true);

    EXPECT_EQ(TempFolder::readAll(tmp.pathOf("dst/tool")),
              TempFolder::readAll(tmp.pathOf("src/tool")));
    EXPECT_EQ(TempFolder::modeOf(tmp.pathOf("dst/tool")), 0755u);
    const struct stat copied = statOf(tmp.pathOf("dst/tool"));
    const struct stat original = statOf(tmp.pathOf("src/tool"));
    EXPECT_EQ(copied.st_mtim.tv_sec, original.st_mtim.tv_sec);
    EXPECT_EQ(copied.st_mtim.tv_nsec, original.st_mtim.tv_nsec);
    EXPECT_EQ(temporaryFilesIn(tmp.pathOf("dst")), 0);
}

TEST_F(FileOpsTest, CopyReplacesAnExistingFileOnlyWhenAllowed)
{
    tmp.fileWithContent("new.txt", "new content");
    tmp.fileWithContent("dst/old.txt", "old");
    EXPECT_EQ(errorNumber([&] { file("new.txt")->Copy(tmp.pathOf("dst/old.txt"), false); }), 58);
    EXPECT_EQ(TempFolder::readAll(tmp.pathOf("dst/old.txt")), "old");

    file("new.txt")->Copy(tmp.pathOf("dst/old.txt"), true);
    EXPECT_EQ(TempFolder::readAll(tmp.pathOf("dst/old.txt")), "new content");
    EXPECT_EQ(temporaryFilesIn(tmp.pathOf("dst")), 0);
}

TEST_F(FileOpsTest, CopyRefusesDestinationsItWouldDamage)
{
    tmp.fileWithContent("src.txt", "source");
    tmp.fileWithContent("target.txt", "target");
    tmp.symlink("link.txt", "target.txt");
    tmp.fileWithContent("readonly.txt", "kept", 0444);
    tmp.hardLink("samefile.txt", "src.txt");
    tmp.folder("afolder");

    auto source = file("src.txt");
    EXPECT_EQ(errorNumber([&] { source->Copy(tmp.pathOf("link.txt"), true); }), 75);
    EXPECT_EQ(TempFolder::readAll(tmp.pathOf("target.txt")), "target");
    EXPECT_TRUE(S_ISLNK(statOf(tmp.pathOf("link.txt")).st_mode));

    EXPECT_EQ(errorNumber([&] { source->Copy(tmp.pathOf("readonly.txt"), true); }), 70);
    EXPECT_EQ(TempFolder::readAll(tmp.pathOf("readonly.txt")), "kept");

    // The same file under another name, and under another spelling of its own path.
    EXPECT_EQ(errorNumber([&] { source->Copy(tmp.pathOf("samefile.txt"), true); }), 75);
    EXPECT_EQ(errorNumber([&] { source->Copy(tmp.pathOf("afolder/../src.txt"), true); }), 75);
    EXPECT_EQ(TempFolder::readAll(tmp.pathOf("src.txt")), "source");

    EXPECT_EQ(errorNumber([&] { source->Copy(tmp.pathOf("afolder"), true); }), 75);
    EXPECT_EQ(errorNumber([&] { source->Copy(tmp.pathOf("missing/x.txt"), true); }), 76);
    EXPECT_EQ(temporaryFilesIn(tmp.path()), 0);
}

TEST_F(FileOpsTest, CopyOfANamedPipeIsRefusedWithoutWaiting)
{
    tmp.fifo("pipe");
    EXPECT_EQ(errorNumber([&] { file("pipe")->Copy(tmp.pathOf("copy"), true); }), 75);
    EXPECT_FALSE(TempFolder::exists(tmp.pathOf("copy")));
}

TEST_F(FileOpsTest, FullDiskLeavesTheOldDestinationAndNoTemporaryFile)
{
    tmp.file("big", 256 * 1024);
    tmp.fileWithContent("dst/big", "the old destination");
    // A file-size limit makes every write past 16 KiB fail as a full disk would.
    const std::optional<int> number = test::runWithWriteLimit(16 * 1024, [&] {
        return errorNumber([&] { file("big")->Copy(tmp.pathOf("dst/big"), true); });
    });
    ASSERT_TRUE(number.has_value());
    EXPECT_EQ(*number, 61);
    EXPECT_EQ(TempFolder::readAll(tmp.pathOf("dst/big")), "the old destination");
    EXPECT_EQ(temporaryFilesIn(tmp.pathOf("dst")), 0);
}

TEST_F(FileOpsTest, ASparseFileStaysSparseAndReadsBackTheSame)
{
    // 64 MiB of which two short runs hold data, one at the very end.
    const std::string sparse = tmp.pathOf("sparse");
    const int fd = ::open(sparse.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::pwrite(fd, "head", 4, 0), 4);
    ASSERT_EQ(::pwrite(fd, "middle", 6, 32 << 20), 6);
    ASSERT_EQ(::pwrite(fd, "tail", 4, (64 << 20) - 4), 4);
    ::close(fd);
    file("sparse")->Copy(tmp.pathOf("copy"), true);
    EXPECT_EQ(TempFolder::readAll(tmp.pathOf("copy")), TempFolder::readAll(sparse));
    EXPECT_LE(statOf(tmp.pathOf("copy")).st_blocks, statOf(sparse).st_blocks + 64);
    EXPECT_LT(statOf(sparse).st_blocks * 512, 1 << 20) << "the file system keeps holes";
}

TEST_F(FileOpsTest, AFileThatChangesWhileItIsCopiedGivesNoCopy)
{
    tmp.file("growing", 20 << 20);
    tmp.fileWithContent("dst/growing", "the old destination");
    CopyOptions options;
    options.afterBlock = [&](int64_t) { tmp.fileWithContent("growing", "rewritten"); };
    EXPECT_THROW(copyFileSafely(tmp.pathOf("growing"), tmp.pathOf("dst/growing"), true, options),
                 FsError);
    EXPECT_EQ(TempFolder::readAll(tmp.pathOf("dst/growing")), "the old destination");
    EXPECT_EQ(temporaryFilesIn(tmp.pathOf("dst")), 0);
}

TEST_F(FileOpsTest, NameThatIsNotUtf8IsCopiedAndDeleted)
{
    const std::string name = "r\xe9sum\xe9.txt";
    tmp.fileWithContent(name, "bytes");
    file(name)->Copy(tmp.pathOf("copy-\xff"), true);
    EXPECT_EQ(TempFolder::readAll(tmp.pathOf("copy-\xff")), "bytes");
    file(name)->Delete(false);
    EXPECT_FALSE(TempFolder::exists(tmp.pathOf(name)));
}

TEST_F(FileOpsTest, DeleteRefusesReadOnlyFilesUnlessForced)
{
    tmp.file("readonly.txt", 1, 0444);
    auto readOnly = file("readonly.txt");
    EXPECT_EQ(errorNumber([&] { readOnly->Delete(false); }), 70);
    EXPECT_TRUE(TempFolder::exists(tmp.pathOf("readonly.txt")));
    readOnly->Delete(true);
    EXPECT_FALSE(TempFolder::exists(tmp.pathOf("readonly.txt")));
    EXPECT_EQ(errorNumber([&] { readOnly->Delete(true); }), 53);
}

TEST_F(FileOpsTest, DeletingALinkLeavesItsTarget)
{
    tmp.file("target.txt", 4, 0444);
    tmp.symlink("link", "target.txt");
    file("link")->Delete(false);
    EXPECT_FALSE(TempFolder::exists(tmp.pathOf("link")));
    EXPECT_TRUE(TempFolder::exists(tmp.pathOf("target.txt")));
}

TEST_F(FileOpsTest, DeleteRefusesAFolderPutInTheFilesPlace)
{
    tmp.file("name", 1);
    auto entry = file("name");
    unlink(tmp.pathOf("name").c_str());
    tmp.folder("name");
    EXPECT_EQ(errorNumber([&] { entry->Delete(true); }), 75);
    EXPECT_TRUE(TempFolder::exists(tmp.pathOf("name")));
}

TEST_F(FileOpsTest, ReadOnlyIsWrittenAsWriteBits)
{
    tmp.file("f.txt", 1, 0664);
    auto f = file("f.txt");
    f->SetAttributes(Attr::ReadOnly);
    EXPECT_EQ(TempFolder::modeOf(tmp.pathOf("f.txt")), 0444u);
    EXPECT_EQ(f->Attributes() & Attr::ReadOnly, Attr::ReadOnly);
    f->SetAttributes(0);
    EXPECT_EQ(TempFolder::modeOf(tmp.pathOf("f.txt")), 0644u);
    // Letters the file system keeps for itself may come back unchanged without an error.
    f->SetAttributes(Attr::Alias | Attr::Compressed | Attr::Directory);
    EXPECT_EQ(TempFolder::modeOf(tmp.pathOf("f.txt")), 0644u);
}

TEST_F(FileOpsTest, AttributesThatCannotBeStoredAreRefused)
{
    tmp.file(".hidden", 1, 0644);
    tmp.file("target", 1, 0644);
    tmp.symlink("link", "target");
    EXPECT_EQ(errorNumber([&] { file(".hidden")->SetAttributes(0); }), 75);
    EXPECT_EQ(errorNumber([&] { file("target")->SetAttributes(Attr::System); }), 75);
    EXPECT_EQ(errorNumber([&] { file("target")->SetAttributes(Attr::Archive); }), 75);
    EXPECT_EQ(errorNumber([&] { file("target")->SetAttributes(Attr::Hidden | Attr::ReadOnly); }),
              75);
    EXPECT_EQ(TempFolder::modeOf(tmp.pathOf("target")), 0644u);
    // Nothing is written through a link.
    EXPECT_EQ(errorNumber([&] { file("link")->SetAttributes(Attr::Alias | Attr::ReadOnly); }), 75);
    EXPECT_EQ(TempFolder::modeOf(tmp.pathOf("target")), 0644u);
}

TEST_F(FileOpsTest, UnchangedAttributesWriteNothing)
{
    // A file of another user: any chmod by nobody would fail, so only a call that writes
    // nothing succeeds.
    tmp.file("theirs.txt", 1, 0644);
    tmp.handOverTo(test::kNobodyUid, test::kNobodyGid);
    chown(tmp.pathOf("theirs.txt").c_str(), 0, 0);
    const auto result = test::runAsNobody([&] {
        auto f = makeSystemFileSystem(nullptr)->GetFile(tmp.pathOf("theirs.txt"));
        const int unchanged = errorNumber([&] { f->SetAttributes(0); });
        const int changed = errorNumber([&] { f->SetAttributes(Attr::ReadOnly); });
        return std::to_string(unchanged) + " " + std::to_string(changed);
    });
    ASSERT_TRUE(result.dropped) << "could not drop root's rights: " << result.reason;
    std::printf("ran as %s\n", result.how.c_str());
    ASSERT_TRUE(result.finished) << result.output;
    EXPECT_EQ(result.output, "0 70");
    EXPECT_EQ(TempFolder::modeOf(tmp.pathOf("theirs.txt")), 0644u);
}
