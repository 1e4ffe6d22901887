#include "listing/getlisting.h"
#include "listing/listingtexts.h"
#include "listing/typenames.h"
#include "support/asnobody.h"
#include "support/fakefilesystem.h"
#include "support/scriptedprompts.h"
#include "support/tempfolder.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <map>

#include <atomic>
#include <stdexcept>
#include <thread>

#include <ostream>

/// Shows texts as text when an expectation fails.
static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

using namespace vennic;
using vennic::test::FakeFileSystem;
using vennic::test::ScriptedPrompts;

namespace {

const QStringList DriveTypeNames = {"Unknown",      "Removable Media", "Fixed Disk",
                                    "Remote Media", "CDRom",           "RAMDisk"};

/// A listing of the fake file system, read back through the texts the pane shows.
class Listing : public ::testing::Test {
protected:
    ListingResult list(const NativeString& path, const QString& filter = "*.*",
                       const QString& fex = "*.*", ListingOptions options = {})
    {
        ListingRequest request;
        request.path = path;
        request.filterExpression = filter;
        request.fexText = fex;
        request.options = options;
        request.driveTypeNames = DriveTypeNames;
        return runListing(request, fs, types, prompts);
    }

    QString cell(const ListingResult& result, size_t row, int column) const
    {
        return texts.cellText(result.rows.at(row), column);
    }

    QStringList names(const ListingResult& result) const
    {
        QStringList list;
        for (const PaneRow& row : result.rows)
            list << texts.cellText(row, ColName);
        return list;
    }

    FakeFileSystem fs;
    TypeNames types;
    ListingTexts texts{types};
    ScriptedPrompts prompts;
};

} // namespace

TEST_F(Listing, FoldersFirstThenFilesInTheSystemsOrder)
{
    fs.addFile("/data/zeta.txt", 10);
    fs.addFolder("/data/Beta");
    fs.addFile("/data/alpha.txt", 20);
    fs.addFolder("/data/Alpha");
    fs.addFile("/data/Beta/inner.bin", 5);
    const ListingResult result = list("/data");
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(names(result), QStringList({"Beta", "Alpha", "zeta.txt", "alpha.txt"}));
    EXPECT_EQ(result.countLine, "2 Files, 2 Folders, 35 Bytes");
    EXPECT_TRUE(prompts.messages().isEmpty());
    ASSERT_TRUE(result.drive && result.folder);
    EXPECT_EQ(result.folder->Path(), "/data");
}

TEST_F(Listing, RowsShowWhatTheUserSees)
{
    fs.addFolder("/data/Docs").attributes = Attr::Directory | Attr::Hidden;
    fs.addFile("/data/Docs/a.txt", 1234567);
    Entry& file = fs.addFile("/data/notes.xyzq", 4096);
    file.attributes = Attr::ReadOnly;
    file.modified = FakeFileSystem::localTime(2026, 12, 10, 13, 0, 0);
    const ListingResult result = list("/data");
    ASSERT_EQ(result.rows.size(), 2u);

    const PaneRow& folder = result.rows[0];
    EXPECT_EQ(cell(result, 0, ColType), " File Folder");
    EXPECT_EQ(cell(result, 0, ColBytes), "      1,234,567");
    EXPECT_EQ(cell(result, 0, ColBytes2), "      1,234,567");
    EXPECT_EQ(cell(result, 0, ColCreated), "12/8/2026 7:29:42 AM");
    EXPECT_EQ(cell(result, 0, ColAttributes), "HD");
    EXPECT_EQ(cell(result, 0, ColAccessed), "12/8/2026 7:29:42 AM");
    EXPECT_EQ(folder.foreColor, RowColor::Blue);
    EXPECT_EQ(folder.largeImage, RowImage::LargeFolder);
    EXPECT_EQ(folder.smallImage, RowImage::SmallFolder);

    const PaneRow& row = result.rows[1];
    EXPECT_EQ(cell(result, 1, ColType), "XYZQ File");
    EXPECT_EQ(cell(result, 1, ColBytes), "          4,096");
    EXPECT_EQ(cell(result, 1, ColBytes2), "");
    EXPECT_EQ(cell(result, 1, ColAttributes), "R");
    EXPECT_EQ(cell(result, 1, ColModified), "12/10/2026 1:00:00 PM");
    EXPECT_EQ(row.foreColor, RowColor::Black);
    EXPECT_EQ(row.largeImage, RowImage::LargeFile);
    EXPECT_EQ(row.smallImage, RowImage::SmallBlank);
    EXPECT_EQ(result.countLine, "1 Files, 1 Folders, 1,238,663 Bytes");
}

TEST_F(Listing, DriveLine)
{
    fs.addDrive("/mnt/disk", DriveKind::Fixed, "NTFS", 40015953920, 12345678);
    fs.addFolder("/mnt/disk/data");
    const ListingResult result = list("/mnt/disk/data");
    EXPECT_EQ(result.driveLine,
              "Fixed Disk  NTFS  40,015,953,920 Total size  12,345,678 Bytes free");
    fs.addDrive("/mnt/full", DriveKind::Removable, "vfat", 0, 0);
    EXPECT_EQ(list("/mnt/full").driveLine, "Removable Media  vfat   Total size   Bytes free");
}

TEST_F(Listing, DefaultPatternNeedsADot)
{
    fs.addFile("/data/README", 5);
    fs.addFile("/data/notes.txt", 5);
    EXPECT_EQ(names(list("/data")), QStringList({"notes.txt"}));
    const ListingResult all = list("/data", "", "");
    EXPECT_EQ(names(all), QStringList({"README", "notes.txt"}));
    EXPECT_EQ(all.history, QStringList({"*.*", "*.txt"}));
}

TEST_F(Listing, HistoryKeepsFirstSpellingOfEachExtension)
{
    fs.addFile("/data/Photo.JPG");
    fs.addFile("/data/photo.jpg");
    fs.addFile("/data/archive.tar.gz");
    fs.addFile("/data/README");
    fs.addFile("/data/old.TAR.GZ");
    const ListingResult result = list("/data");
    EXPECT_EQ(result.history, QStringList({"*.*", "*.JPG", "*.tar.gz"}));
}

TEST_F(Listing, HistoryComesFromNamesTheFilterBoxLetsThrough)
{
    fs.addFile("/data/a.txt");
    fs.addFile("/data/b.log");
    fs.addFile("/data/c.doc");
    // The combo's pattern drops b.log from the rows but not from the history; the filter box
    // keeps c.doc out of both.
    const ListingResult result = list("/data", "[ab]*", "*.txt");
    EXPECT_EQ(names(result), QStringList({"a.txt"}));
    EXPECT_EQ(result.history, QStringList({"*.*", "*.txt", "*.log"}));
    EXPECT_EQ(list("/data/", "", "").history.first(), "*.*");
}

TEST_F(Listing, EmptyFolderAndZeroSizes)
{
    fs.addFolder("/empty");
    const ListingResult empty = list("/empty");
    EXPECT_EQ(empty.countLine, "0 Files, 0 Folders, 0 Bytes");
    EXPECT_TRUE(empty.rows.empty());
    EXPECT_EQ(empty.history, QStringList({"*.*"}));

    fs.addFile("/zero/nothing.txt", 0);
    fs.addFolder("/zero/Sub");
    const ListingResult zero = list("/zero");
    EXPECT_EQ(cell(zero, 0, ColBytes), QString(15, QLatin1Char(' ')));
    EXPECT_EQ(cell(zero, 1, ColBytes), QString(15, QLatin1Char(' ')));
    EXPECT_EQ(zero.countLine, "1 Files, 1 Folders, 0 Bytes");
}

TEST_F(Listing, CreatedAtStartOf1980ShowsABlank)
{
    fs.addFile("/data/a.txt").created = FakeFileSystem::localTime(1980, 1, 1);
    fs.addFile("/data/b.txt").created = FakeFileSystem::localTime(1980, 1, 1, 0, 0, 1);
    fs.addFile("/data/c.txt").created = FakeFileSystem::localTime(1980, 1, 2);
    fs.addFolder("/data/Old").created = FakeFileSystem::localTime(1980, 1, 1);
    const ListingResult result = list("/data");
    EXPECT_EQ(cell(result, 0, ColCreated), "1/1/1980");
    EXPECT_EQ(cell(result, 1, ColCreated), " ");
    EXPECT_EQ(cell(result, 2, ColCreated), "1/1/1980 12:00:01 AM");
    EXPECT_EQ(cell(result, 3, ColCreated), "1/2/1980");
}

TEST_F(Listing, CdfsDriveLeavesAccessedAndModifiedEmpty)
{
    fs.addDrive("/media/cd", DriveKind::CdRom, "cdfs", 700000000, 0);
    fs.addFolder("/media/cd/Sub");
    fs.addFile("/media/cd/track.txt", 3);
    const ListingResult result = list("/media/cd");
    ASSERT_EQ(result.rows.size(), 2u);
    for (size_t row = 0; row < 2; ++row) {
        EXPECT_EQ(cell(result, row, ColAccessed), "");
        EXPECT_EQ(cell(result, row, ColModified), "");
        EXPECT_EQ(cell(result, row, ColCreated), "12/8/2026 7:29:42 AM");
    }
    // Optical discs as Linux names them keep their dates.
    fs.addDrive("/media/dvd", DriveKind::CdRom, "iso9660", 1, 0);
    fs.addFile("/media/dvd/a.txt");
    EXPECT_EQ(cell(list("/media/dvd"), 0, ColModified), "12/8/2026 7:29:42 AM");
}

TEST_F(Listing, NoFoldersAndNoFiles)
{
    fs.addFolder("/data/Sub");
    fs.addFile("/data/Sub/big.bin", 1000);
    fs.addFile("/data/small.txt", 7);
    ListingOptions noFolders;
    noFolders.showFolders = false;
    const ListingResult files = list("/data", "*.*", "*.*", noFolders);
    EXPECT_EQ(names(files), QStringList({"small.txt"}));
    EXPECT_EQ(files.countLine, "1 Files, 0 Folders, 7 Bytes");

    ListingOptions noFiles;
    noFiles.showFiles = false;
    const ListingResult folders = list("/data", "*.*", "*.*", noFiles);
    EXPECT_EQ(names(folders), QStringList({"Sub"}));
    EXPECT_EQ(folders.countLine, "0 Files, 1 Folders, 1,000 Bytes");
    EXPECT_EQ(folders.history, QStringList({"*.*"}));
}

TEST_F(Listing, UnknownAndPartialFolderSizes)
{
    fs.addFolder("/data/A");
    fs.addFile("/data/A/x.bin", 500);
    fs.addFolder("/data/B");
    fs.addFolder("/data/C");
    fs.addFolder("/data/D");
    fs.setFolderSize("/data/B", {0, SizeState::Unreadable});
    fs.setFolderSize("/data/C", {300, SizeState::Partial});
    fs.failOn(FakeFileSystem::Op::FolderSize, "/data/D", FsErrorNumber::PermissionDenied);
    const ListingResult result = list("/data");
    ASSERT_EQ(result.rows.size(), 4u);
    EXPECT_EQ(cell(result, 0, ColBytes), "            500");
    // An unreadable size says so (it is not the previous row's) and adds nothing; a partial
    // one says it is at least that.
    EXPECT_EQ(cell(result, 1, ColBytes), "unreadable");
    EXPECT_EQ(cell(result, 1, ColBytes2), "unreadable");
    EXPECT_EQ(cell(result, 2, ColBytes), QString::fromUtf8("           \u2265300"));
    EXPECT_EQ(result.rows[2].toolTip, "Size of readable parts only");
    EXPECT_TRUE(result.rows[0].toolTip.isEmpty());
    EXPECT_EQ(cell(result, 3, ColBytes), "unreadable");
    EXPECT_EQ(result.countLine, "0 Files, 4 Folders, 800 Bytes");
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST_F(Listing, FolderPassSkipsItsErrorsSilently)
{
    fs.addFolder("/data/A");
    fs.addFile("/data/f.txt", 2);
    fs.failOn(FakeFileSystem::Op::SubFolderSizes, "/data", FsErrorNumber::DeviceIoError);
    ListingResult result = list("/data");
    EXPECT_EQ(names(result), QStringList({"A", "f.txt"}));
    EXPECT_EQ(cell(result, 0, ColBytes), "unreadable");
    EXPECT_TRUE(result.finished);

    fs.failOn(FakeFileSystem::Op::SubFolders, "/data", FsErrorNumber::PermissionDenied);
    result = list("/data");
    EXPECT_EQ(names(result), QStringList({"f.txt"}));
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_EQ(result.countLine, "1 Files, 0 Folders, 2 Bytes");
}

TEST_F(Listing, CompressedFilesAreBlue)
{
    fs.addFile("/data/packed.txt").attributes = Attr::Compressed;
    fs.addFile("/data/plain.txt");
    const ListingResult result = list("/data");
    EXPECT_EQ(result.rows[0].foreColor, RowColor::Blue);
    EXPECT_EQ(cell(result, 0, ColAttributes), "C");
    EXPECT_EQ(result.rows[1].foreColor, RowColor::Black);
}

TEST_F(Listing, MissingFolderStopsWithItsNumber)
{
    const ListingResult result = list("/nowhere");
    EXPECT_EQ(prompts.messages(), QStringList({"Path not found76"}));
    EXPECT_FALSE(result.finished);
    EXPECT_FALSE(result.folder);
    EXPECT_TRUE(result.rows.empty());
    EXPECT_TRUE(result.countLine.isEmpty());
    EXPECT_EQ(result.driveLine, "Fixed Disk  ext4   Total size   Bytes free");
    EXPECT_EQ(result.history, QStringList({"*.*"}));
}

TEST_F(Listing, DriveThatIsNotReadyStopsAtTheDriveLine)
{
    fs.addDrive("/mnt/net", DriveKind::Remote, "cifs").ready = false;
    const ListingResult result = list("/mnt/net");
    EXPECT_EQ(prompts.messages(), QStringList({"Disk not ready71"}));
    EXPECT_TRUE(result.driveLine.isEmpty());
    EXPECT_FALSE(result.finished);
}

TEST_F(Listing, AccessDeniedIsReportedAndTheListingGoesOn)
{
    fs.addFolder("/data/Secret/Sub");
    fs.addFile("/data/Secret/hidden.txt", 3);
    fs.failOn(FakeFileSystem::Op::Files, "/data/Secret", FsErrorNumber::PermissionDenied);
    const ListingResult result = list("/data/Secret/");
    EXPECT_EQ(prompts.messages(), QStringList({"Access was denied to information about Secret"}));
    EXPECT_EQ(names(result), QStringList({"Sub"}));
    // The count covers what could be counted, and says the files are missing from it.
    EXPECT_EQ(result.countLine, "0 Files, 1 Folders, 0 Bytes" + IncompleteCountNote);
    EXPECT_TRUE(result.finished);

    prompts.clear();
    fs.failOn(FakeFileSystem::Op::GetFolder, "/", FsErrorNumber::PermissionDenied);
    const ListingResult root = list("/");
    EXPECT_EQ(prompts.messages(), QStringList({"Access was denied to information about /"}));
    EXPECT_EQ(root.countLine, "0 Files, 0 Folders, 0 Bytes");
}

TEST_F(Listing, EntriesThatCouldNotBeLookedAtShowOnlyTheirNames)
{
    fs.addFile("/data/known.txt", 7);
    Entry& file = fs.addFile("/data/blind.txt", 500);
    file.statFailed = true;
    file.modified = file.accessed = file.created = FileTime{};
    fs.addFolder("/data/Sub").statFailed = true;
    fs.addFile("/data/Sub/inner.bin", 300);
    fs.addFolder("/data/Open");
    const ListingResult result = list("/data");
    ASSERT_EQ(names(result), QStringList({"Sub", "Open", "known.txt", "blind.txt"}));
    for (const size_t row : {size_t(0), size_t(3)}) {
        EXPECT_TRUE(result.rows[row].flags & PaneRow::Unknown) << row;
        for (int column = ColType; column < PaneColumnCount; ++column)
            EXPECT_EQ(cell(result, row, column), QString()) << row << " column " << column;
    }
    EXPECT_TRUE(result.rows[0].isFolder());
    EXPECT_EQ(cell(result, 1, ColType), " File Folder");
    EXPECT_EQ(cell(result, 2, ColBytes), "              7");
    // Neither the file's 500 bytes nor the folder's 300 are known to the listing.
    EXPECT_EQ(result.countLine, "2 Files, 2 Folders, 7 Bytes");
    EXPECT_EQ(prompts.messages(), QStringList({"Access was denied to information about data"}));
    EXPECT_TRUE(result.finished);

    // Without such entries there is no message.
    prompts.clear();
    list("/data/Sub");
    EXPECT_TRUE(prompts.messages().isEmpty());
}

TEST_F(Listing, CountsPassSixteenBits)
{
    for (int i = 0; i < 40000; ++i)
        fs.addFile("/many/f" + std::to_string(i) + ".dat", 1);
    for (int i = 0; i < 33000; ++i)
        fs.addFolder("/many/d" + std::to_string(i));
    const ListingResult result = list("/many");
    EXPECT_EQ(result.rows.size(), 73000u);
    EXPECT_EQ(result.countLine, "40000 Files, 33000 Folders, 40,000 Bytes");
}

TEST_F(Listing, FolderSizesWaitThroughTheGivenWait)
{
    fs.addFolder("/data/A");
    int waits = 0;
    ListingRequest request;
    request.path = "/data";
    request.driveTypeNames = DriveTypeNames;
    const ListingResult result =
        runListing(request, fs, types, prompts, [&](const std::function<void()>& work) {
            ++waits;
            work();
        });
    EXPECT_EQ(waits, 1);
    EXPECT_EQ(result.rows.size(), 1u);
}

TEST(KeepingPainted, RunsWorkElsewhereWhileEventsAreHandled)
{
    const auto caller = std::this_thread::get_id();
    std::atomic<bool> release = false;
    std::thread::id worker;
    bool timerFired = false;
    // The timer fires only while the caller's thread handles events during the wait, and it is
    // what lets the work finish.
    QTimer::singleShot(0, [&] {
        timerFired = true;
        release = true;
    });
    runKeepingPainted([&] {
        worker = std::this_thread::get_id();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!release && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
    });
    EXPECT_TRUE(timerFired);
    EXPECT_NE(worker, caller);
}

TEST(KeepingPainted, RethrowsOnTheCallingThread)
{
    EXPECT_THROW(runKeepingPainted([] { throw FsError(FsErrorNumber::DeviceIoError); }), FsError);
    EXPECT_THROW(runKeepingPainted([] { throw std::logic_error("x"); }), std::logic_error);
}

namespace {

ListingResult listReal(const std::string& path, FileSystem& fileSystem, TypeNames& types,
                       Prompts& prompts, const QString& pattern = "*.*")
{
    ListingRequest request;
    request.path = path;
    request.filterExpression = pattern;
    request.fexText = pattern;
    request.driveTypeNames = DriveTypeNames;
    return runListing(request, fileSystem, types, prompts);
}

} // namespace

TEST_F(Listing, RealFolderGivesTheSameTextsAsTheFake)
{
    // The same tree on disk and in the fake: every cell the two can agree on reads the same.
    vennic::test::TempFolder tmp;
    const auto when = FakeFileSystem::localTime(2026, 12, 8, 7, 29, 42);
    tmp.file("Sub/inner.bin", 10);
    tmp.file("report.txt", 1234);
    tmp.file("caf\xe9.dat", 0, 0444);
    tmp.file("README", 3);
    for (const char* name : {"Sub/inner.bin", "Sub", "report.txt", "caf\xe9.dat"})
        tmp.setTimes(name, when, when);
    const auto real = makeSystemFileSystem(types.namer());
    const ListingResult onDisk = listReal(tmp.path(), *real, types, prompts);
    EXPECT_TRUE(onDisk.finished);
    EXPECT_TRUE(prompts.messages().isEmpty());

    fs.addFile("/t/Sub/inner.bin", 10);
    fs.addFile("/t/report.txt", 1234);
    fs.addFile("/t/caf\xe9.dat", 0).attributes = Attr::ReadOnly;
    fs.addFile("/t/README", 3);
    const ListingResult faked = list("/t");

    // The system gives names in its own order; compare rows by name.
    ASSERT_EQ(onDisk.rows.size(), 3u);
    ASSERT_EQ(faked.rows.size(), 3u);
    EXPECT_EQ(onDisk.countLine, "2 Files, 1 Folders, 1,244 Bytes");
    EXPECT_EQ(onDisk.countLine, faked.countLine);
    EXPECT_EQ(onDisk.history.first(), "*.*");
    EXPECT_EQ(QSet<QString>(onDisk.history.begin(), onDisk.history.end()),
              QSet<QString>(faked.history.begin(), faked.history.end()));
    for (const PaneRow& row : faked.rows) {
        const auto same =
            std::find_if(onDisk.rows.begin(), onDisk.rows.end(),
                         [&](const PaneRow& r) { return r.nativeName == row.nativeName; });
        ASSERT_NE(same, onDisk.rows.end()) << texts.cellText(row, ColName).toStdString();
        for (int column : {ColName, ColType, ColBytes, ColAttributes, ColModified, ColBytes2})
            EXPECT_EQ(texts.cellText(*same, column), texts.cellText(row, column))
                << texts.cellText(row, ColName).toStdString() << " column " << column;
        EXPECT_EQ(same->foreColor, row.foreColor);
        EXPECT_EQ(same->flags, row.flags);
    }
}

TEST_F(Listing, ARealLinkSaysWhereItPointsWithoutBeingFollowed)
{
    vennic::test::TempFolder tmp;
    tmp.file("target.txt", 5);
    tmp.folder("dir");
    tmp.symlink("file-link.txt", "target.txt");
    tmp.symlink("dir-link", "dir");
    tmp.symlink("dangling.txt", "gone/away");
    const auto real = makeSystemFileSystem(types.namer());
    const ListingResult result = listReal(tmp.path(), *real, types, prompts);
    std::map<std::string, QString> tips;
    for (const PaneRow& row : result.rows)
        tips[row.nativeName] = row.toolTip;
    EXPECT_EQ(tips["file-link.txt"], "Link to target.txt");
    EXPECT_EQ(tips["dangling.txt"], "Link to gone/away");
    EXPECT_TRUE(tips["dir-link"].startsWith("Link to dir")) << tips["dir-link"].toStdString();
    EXPECT_TRUE(tips["target.txt"].isEmpty());

    // A folder link's size line comes after the link's own.
    PaneRow folderLink;
    folderLink.toolTip = "Link to dir\n" + PendingSizeToolTip;
    setFolderRowSize(folderLink, FolderSize{7, SizeState::Partial});
    EXPECT_EQ(folderLink.toolTip, "Link to dir\n" + PartialSizeToolTip);
}

TEST_F(Listing, RealFolderWithoutReadRightIsReported)
{
    vennic::test::TempFolder tmp;
    tmp.file("Locked/inside.txt", 5);
    tmp.handOverTo(vennic::test::kNobodyUid, vennic::test::kNobodyGid);
    tmp.setMode("Locked", 0000);
    const std::string locked = tmp.pathOf("Locked");
    const auto outcome = vennic::test::runAsNobody([&] {
        TypeNames childTypes;
        ScriptedPrompts childPrompts;
        const auto real = makeSystemFileSystem(childTypes.namer());
        ListingRequest request;
        request.path = locked;
        request.filterExpression = request.fexText = "*.*";
        request.driveTypeNames = DriveTypeNames;
        const ListingResult result = runListing(request, *real, childTypes, childPrompts,
                                                [](const std::function<void()>& work) { work(); });
        return (childPrompts.messages().join("|") + "|" + QString::number(result.rows.size()))
            .toStdString();
    });
    ASSERT_TRUE(outcome.dropped) << outcome.reason;
    ASSERT_TRUE(outcome.finished) << outcome.output;
    EXPECT_EQ(outcome.output, "Access was denied to information about Locked|0") << outcome.how;
}

TEST_F(Listing, RealFolderThatCanBeReadButNotSearchedShowsNamesAndOneMessage)
{
    vennic::test::TempFolder tmp;
    tmp.file("Shut/inside.txt", 5);
    tmp.folder("Shut/sub");
    tmp.handOverTo(vennic::test::kNobodyUid, vennic::test::kNobodyGid);
    tmp.setMode("Shut", 0444);
    const std::string shut = tmp.pathOf("Shut");
    const auto outcome = vennic::test::runAsNobody([&] {
        TypeNames childTypes;
        ListingTexts childTexts(childTypes);
        ScriptedPrompts childPrompts;
        const auto real = makeSystemFileSystem(childTypes.namer());
        ListingRequest request;
        request.path = shut;
        request.filterExpression = request.fexText = "*.*";
        request.driveTypeNames = DriveTypeNames;
        const ListingResult result = runListing(request, *real, childTypes, childPrompts,
                                                [](const std::function<void()>& work) { work(); });
        // Every cell of every row, "|" between cells and lines between rows.
        QStringList lines = childPrompts.messages();
        lines << result.countLine;
        for (const PaneRow& row : result.rows) {
            QStringList cells;
            for (int column = 0; column < PaneColumnCount; ++column)
                cells << childTexts.cellText(row, column);
            lines << cells.join('|') + (row.isFolder() ? " folder" : " file");
        }
        return lines.join('\n').toStdString();
    });
    ASSERT_TRUE(outcome.dropped) << outcome.reason;
    ASSERT_TRUE(outcome.finished) << outcome.output;
    std::printf("ran as %s\n", outcome.how.c_str());
    EXPECT_EQ(outcome.output, "Access was denied to information about Shut\n"
                              "1 Files, 1 Folders, 0 Bytes\n"
                              "sub||||||| folder\n"
                              "inside.txt||||||| file");
}
