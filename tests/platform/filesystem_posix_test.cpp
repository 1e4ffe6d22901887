// The POSIX file-system service on real temporary folders: what a folder lists and with which
// values, and how missing or inaccessible paths are reported.
#include "platform/filesystem.h"

#include "support/asnobody.h"
#include "support/errornumber.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <map>

using namespace vennic;
using vennic::test::errorNumber;
using vennic::test::TempFolder;

namespace {

std::map<std::string, Entry> byName(const std::vector<Entry>& entries)
{
    std::map<std::string, Entry> map;
    for (const Entry& e : entries)
        map[e.name] = e;
    return map;
}

std::vector<std::string> namesOf(const std::vector<Entry>& entries)
{
    std::vector<std::string> names;
    for (const Entry& e : entries)
        names.push_back(e.name);
    return names;
}

FileTime at(int64_t seconds, int64_t nanoseconds = 0)
{
    return FileTime(std::chrono::duration_cast<FileTime::duration>(
        std::chrono::seconds(seconds) + std::chrono::nanoseconds(nanoseconds)));
}

class PosixFileSystemTest : public ::testing::Test {
protected:
    TempFolder tmp;
    std::unique_ptr<FileSystem> fs = makeSystemFileSystem(nullptr);
};

} // namespace

TEST_F(PosixFileSystemTest, ListsEveryKindOfEntryWithItsAttributeBits)
{
    tmp.file("plain.txt", 10);
    tmp.file(".hidden", 3);
    tmp.file("readonly.txt", 5, 0444);
    tmp.fifo("pipe");
    tmp.folder("sub");
    tmp.folder(".config");
    tmp.symlink("linkdir", "sub");
    tmp.symlink("dangling", "nowhere");
    tmp.symlink("linkfile", "plain.txt");

    auto folder = fs->GetFolder(tmp.path());
    const auto folders = byName(folder->SubFolders());
    const auto files = byName(folder->Files());

    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders.at("sub").attributes, Attr::Directory);
    EXPECT_EQ(folders.at(".config").attributes, Attr::Hidden | Attr::Directory);
    const Entry& linkDir = folders.at("linkdir");
    EXPECT_TRUE(linkDir.isFolder);
    EXPECT_TRUE(linkDir.isSymlink);
    EXPECT_EQ(linkDir.attributes, Attr::Directory | Attr::Alias);

    ASSERT_EQ(files.size(), 6u);
    EXPECT_EQ(files.at("plain.txt").attributes, 0u);
    EXPECT_EQ(files.at("plain.txt").size, 10);
    EXPECT_EQ(files.at(".hidden").attributes, Attr::Hidden);
    EXPECT_EQ(files.at("readonly.txt").attributes, Attr::ReadOnly);
    // Reading the attributes of a named pipe must not open it: that would block here.
    EXPECT_EQ(files.at("pipe").attributes, Attr::System);
    EXPECT_EQ(files.at("dangling").attributes, Attr::Alias);
    EXPECT_TRUE(files.at("dangling").isSymlink);
    EXPECT_FALSE(files.at("dangling").isFolder);
    // A link is listed by its own values, not those of its target.
    EXPECT_EQ(files.at("linkfile").attributes, Attr::Alias);
    EXPECT_EQ(files.at("linkfile").size, 9); // the length of "plain.txt"
}

TEST_F(PosixFileSystemTest, EntriesKeepTheOrderTheSystemGives)
{
    for (const char* name : {"m", "c", "x", "a", "q", "b", "z", "k"}) {
        tmp.folder(std::string("d") + name);
        tmp.file(std::string("f") + name, 1);
    }
    std::vector<std::string> systemFolders;
    std::vector<std::string> systemFiles;
    for (const std::string& name : TempFolder::namesIn(tmp.path()))
        (name[0] == 'd' ? systemFolders : systemFiles).push_back(name);

    auto folder = fs->GetFolder(tmp.path());
    EXPECT_EQ(namesOf(folder->SubFolders()), systemFolders);
    EXPECT_EQ(namesOf(folder->Files()), systemFiles);
}

TEST_F(PosixFileSystemTest, EntryTimesComeFromOneStat)
{
    tmp.file("old.txt", 1);
    tmp.setTimes("old.txt", at(1000000000, 250), at(1100000000, 500));
    struct statx st {};
    ASSERT_EQ(statx(AT_FDCWD, tmp.pathOf("old.txt").c_str(), 0, STATX_BTIME | STATX_MTIME, &st), 0);
    const bool hasBirth = (st.stx_mask & STATX_BTIME) && st.stx_btime.tv_sec != 0;
    const FileTime expectedCreated =
        hasBirth ? at(st.stx_btime.tv_sec, st.stx_btime.tv_nsec) : at(1100000000, 500);

    const Entry entry = fs->GetFolder(tmp.path())->Files().at(0);
    EXPECT_EQ(entry.accessed, at(1000000000, 250));
    EXPECT_EQ(entry.modified, at(1100000000, 500));
    EXPECT_EQ(entry.created, expectedCreated);

    auto file = fs->GetFile(tmp.pathOf("old.txt"));
    EXPECT_EQ(file->DateLastModified(), at(1100000000, 500));
    EXPECT_EQ(file->DateCreated(), expectedCreated);
}

TEST_F(PosixFileSystemTest, EntriesAreReadOnceAndKept)
{
    tmp.file("first.txt", 1);
    auto folder = fs->GetFolder(tmp.path());
    ASSERT_EQ(folder->Files().size(), 1u);
    tmp.file("second.txt", 1);
    tmp.folder("later");
    EXPECT_EQ(folder->Files().size(), 1u);
    EXPECT_TRUE(folder->SubFolders().empty());
    EXPECT_EQ(fs->GetFolder(tmp.path())->Files().size(), 2u);
}

TEST_F(PosixFileSystemTest, NameThatIsNotUtf8IsListedAndFound)
{
    const std::string name = "caf\xe9-\xff.txt";
    tmp.file(name, 7);
    auto folder = fs->GetFolder(tmp.path());
    ASSERT_EQ(folder->Files().size(), 1u);
    EXPECT_EQ(folder->Files()[0].name, name);

    auto file = fs->GetFile(tmp.pathOf(name));
    EXPECT_EQ(file->Name(), name);
    EXPECT_EQ(file->Size(), 7);
    EXPECT_TRUE(fs->FileExists(tmp.pathOf(name)));
}

TEST_F(PosixFileSystemTest, FolderObjectDescribesItself)
{
    tmp.folder(".cache/inner", 0555);
    auto folder = fs->GetFolder(tmp.pathOf(".cache/"));
    EXPECT_EQ(folder->Name(), ".cache");
    EXPECT_EQ(folder->Type(), "File Folder");
    EXPECT_EQ(folder->Attributes(), Attr::Hidden | Attr::Directory);
    EXPECT_EQ(fs->GetFolder(tmp.pathOf(".cache/inner"))->Attributes(),
              Attr::ReadOnly | Attr::Directory);

    tmp.symlink("via", ".cache");
    auto throughLink = fs->GetFolder(tmp.pathOf("via"));
    EXPECT_EQ(throughLink->Attributes(), Attr::Directory | Attr::Alias);
    EXPECT_EQ(throughLink->SubFolders().size(), 1u);
}

TEST_F(PosixFileSystemTest, FileTypeComesFromTheNamer)
{
    tmp.file("notes.txt", 1);
    EXPECT_EQ(fs->GetFile(tmp.pathOf("notes.txt"))->Type(), "File");
    auto named = makeSystemFileSystem([](const NativeString& name) { return "kind of " + name; });
    EXPECT_EQ(named->GetFile(tmp.pathOf("notes.txt"))->Type(), "kind of notes.txt");
}

TEST_F(PosixFileSystemTest, MissingPathsAndWrongKindsAreReported)
{
    tmp.file("file.txt", 1);
    tmp.folder("folder");
    tmp.symlink("tofolder", "folder");
    tmp.symlink("dangling", "nowhere");

    EXPECT_EQ(errorNumber([&] { fs->GetFolder(tmp.pathOf("missing")); }), 76);
    EXPECT_EQ(errorNumber([&] { fs->GetFolder(tmp.pathOf("file.txt")); }), 76);
    EXPECT_EQ(errorNumber([&] { fs->GetFolder(""); }), 76);
    EXPECT_EQ(errorNumber([&] { fs->GetFile(tmp.pathOf("missing")); }), 53);
    EXPECT_EQ(errorNumber([&] { fs->GetFile(tmp.pathOf("folder")); }), 53);
    EXPECT_EQ(errorNumber([&] { fs->GetFile(tmp.pathOf("tofolder")); }), 53);

    EXPECT_TRUE(fs->FileExists(tmp.pathOf("file.txt")));
    EXPECT_TRUE(fs->FileExists(tmp.pathOf("dangling")));
    EXPECT_FALSE(fs->FileExists(tmp.pathOf("folder")));
    EXPECT_FALSE(fs->FileExists(tmp.pathOf("tofolder")));
    EXPECT_FALSE(fs->FileExists(tmp.pathOf("missing")));
}

TEST_F(PosixFileSystemTest, FolderBehindADeniedFolderGivesPermissionDenied)
{
    tmp.folder("closed/inner");
    tmp.handOverTo(0, 0);
    tmp.setMode("closed", 0700);
    const auto result = test::runAsNobody([&] {
        const int getFolder = errorNumber(
            [&] { makeSystemFileSystem(nullptr)->GetFolder(tmp.pathOf("closed/inner")); });
        const int listClosed =
            errorNumber([&] { makeSystemFileSystem(nullptr)->GetFolder(tmp.pathOf("closed")); });
        return std::to_string(getFolder) + " " + std::to_string(listClosed);
    });
    ASSERT_TRUE(result.dropped) << "could not drop root's rights: " << result.reason;
    std::printf("ran as %s\n", result.how.c_str());
    ASSERT_TRUE(result.finished) << result.output;
    EXPECT_EQ(result.output, "70 70");
}

TEST_F(PosixFileSystemTest, DriveOfATemporaryFolderIsItsMountPoint)
{
    const NativeString drive = fs->DrivePart(tmp.path());
    ASSERT_FALSE(drive.empty());
    EXPECT_EQ(tmp.path().rfind(drive, 0), 0u) << drive;
    auto opened = fs->GetDrive(drive);
    EXPECT_EQ(opened->Path(), drive);
    EXPECT_EQ(errorNumber([&] { fs->GetDrive(tmp.pathOf("not-a-mount")); }), 68);
    EXPECT_FALSE(fs->Drives().empty());
}
