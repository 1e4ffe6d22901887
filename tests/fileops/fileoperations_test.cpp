// Copy, delete and delete-all over the rows of a pane list, on real temporary folders: what they
// copy or delete, what they refuse, and that they go on past failures and report each one.
#include "fileops/fileoperations.h"

#include "listing/panelist.h"
#include "platform/pathrules.h"
#include "support/asnobody.h"
#include "support/fakefilesystem.h"
#include "support/openfolder.h"
#include "support/tempfolder.h"
#include "support/writelimit.h"

#include <gtest/gtest.h>

using namespace vennic;
using test::TempFolder;

namespace {

/// A row as a listing makes it: the native name beside its text; a name ending in "/" is a
/// folder row. `text` alone makes a row that carries only its text (as after "Open").
PaneRow row(const std::string& name, int image, const QString& text = {})
{
    PaneRow r;
    std::string native = name;
    const bool folder = !native.empty() && native.back() == '/';
    if (folder)
        native.pop_back();
    if (text.isNull())
        r.nativeName = native;
    r.texts = std::make_unique<RowTexts>();
    r.texts->cells[ColName] = text.isNull() ? QString::fromUtf8(native.c_str()) : text;
    r.texts->cells[ColType] = folder ? QStringLiteral(" File Folder") : QStringLiteral("File");
    r.flags = folder ? PaneRow::Folder : 0;
    r.smallImage = uint8_t(image);
    return r;
}

std::unique_ptr<PaneList> listOf(std::vector<PaneRow> rows)
{
    auto list = std::make_unique<PaneList>(7);
    list->setRows(std::move(rows));
    return list;
}

template <typename... Rows> std::unique_ptr<PaneList> listOf(Rows&&... rows)
{
    std::vector<PaneRow> all;
    (all.push_back(std::move(rows)), ...);
    return listOf(std::move(all));
}

int leftovers(const std::string& folder)
{
    return test::TempFolder::countNamesStartingWith(folder, ".vennic-copy-");
}

constexpr int Copy = RowImage::SmallCopyLeft;
constexpr int Del = RowImage::SmallDelete;

class FileOperations : public ::testing::Test {
protected:
    std::unique_ptr<FolderHandle> folder(const std::string& relative)
    {
        return test::openListed(*fs, tmp.pathOf(relative));
    }

    TempFolder tmp;
    std::unique_ptr<FileSystem> fs = makeSystemFileSystem(nullptr);
    PathRules rules{PathStyle::Posix};
};

} // namespace

TEST_F(FileOperations, CopyCarriesOutLeftCopyMarksOnlyAndReportsEverySkippedRow)
{
    tmp.fileWithContent("src/a.txt", "new a");
    tmp.fileWithContent("src/caf\xe9.txt", "bytes");
    tmp.fileWithContent("src/plain.txt", "plain");
    tmp.fileWithContent("src/right.txt", "right");
    tmp.folder("src/sub");
    tmp.fileWithContent("dst/a.txt", "old a");
    tmp.fileWithContent("x", "outside");
    auto rows = listOf(row("a.txt", Copy), row("caf\xe9.txt", Copy), row("missing.txt", Copy),
                       row("sub/", Copy), row("plain.txt", RowImage::SmallBlank),
                       row("right.txt", RowImage::SmallCopyRight), row("", Copy, "../x"),
                       row("", Copy, " "));

    const auto src = folder("src");
    const auto dst = folder("dst");
    const std::vector<Replacement> replacements = replacementsOf(*rows, *src, *dst, rules);
    ASSERT_EQ(replacements.size(), 1u);
    EXPECT_EQ(replacements[0].name, "a.txt");
    const FileOpOutcome outcome =
        copyMarkedFiles(*rows, *src, *dst, rules, CopyChoice::replacing(replacements));

    EXPECT_EQ(outcome.done, 2);
    EXPECT_EQ(TempFolder::readAll(tmp.pathOf("dst/a.txt")), "new a");
    EXPECT_EQ(TempFolder::readAll(tmp.pathOf("dst/caf\xe9.txt")), "bytes");
    EXPECT_FALSE(TempFolder::exists(tmp.pathOf("dst/plain.txt")));
    EXPECT_FALSE(TempFolder::exists(tmp.pathOf("dst/right.txt")));
    EXPECT_FALSE(TempFolder::exists(tmp.pathOf("dst/sub")));
    // "../x" never leaves the folders: the file beside them is neither read nor written.
    EXPECT_EQ(TempFolder::readAll(tmp.pathOf("x")), "outside");
    EXPECT_FALSE(TempFolder::exists(tmp.pathOf("dst/x")));
    EXPECT_EQ(outcome.failures.names(), QStringList({"missing.txt", "sub", "../x", "\" \""}));
    EXPECT_TRUE(outcome.failures.failures()[0].reason.startsWith("File not found53"));
    const QString message = outcome.failures.message("4 files could not be copied:");
    EXPECT_EQ(message.count(u'\n'), 4);
}

TEST_F(FileOperations, FolderTextsGetExactlyOneSeparator)
{
    test::FakeFileSystem fake;
    fake.addFile("/a.txt", 5);
    fake.addFolder("/dst");
    fake.addFile("/src/b.txt", 5);
    auto fromRoot = listOf(row("a.txt", Copy));
    EXPECT_EQ(copyMarkedFiles(*fromRoot, *test::openListed(fake, "/"),
                              *test::openListed(fake, "/dst/"), rules)
                  .done,
              1);
    auto intoRoot = listOf(row("b.txt", Copy));
    EXPECT_EQ(copyMarkedFiles(*intoRoot, *test::openListed(fake, "/src"),
                              *test::openListed(fake, "/"), rules)
                  .done,
              1);
    const std::vector<std::string> copies{"Copy /a.txt", "CopyTo /dst/a.txt", "Copy /src/b.txt",
                                          "CopyTo /b.txt"};
    std::vector<std::string> calls;
    for (const std::string& call : fake.calls())
        if (call.rfind("Copy", 0) == 0)
            calls.push_back(call);
    EXPECT_EQ(calls, copies);
}

TEST_F(FileOperations, CopyOntoItselfIsRefusedWhateverThePathSays)
{
    tmp.fileWithContent("dir/same.txt", "kept");
    tmp.symlink("alias", "dir");
    auto rows = listOf(row("same.txt", Copy));
    for (const std::string& destination : {"dir", "alias", "dir/../dir/"}) {
        const FileOpOutcome outcome =
            copyMarkedFiles(*rows, *folder("dir"), *folder(destination), rules);
        EXPECT_EQ(outcome.done, 0) << destination;
        EXPECT_EQ(outcome.failures.count(), 1) << destination;
        EXPECT_EQ(TempFolder::readAll(tmp.pathOf("dir/same.txt")), "kept");
    }
    EXPECT_EQ(leftovers(tmp.pathOf("dir")), 0);
}

TEST_F(FileOperations, CopyFailingPartWayLeavesTheOldDestinationAndGoesOn)
{
    tmp.file("src/first.txt", 100);
    tmp.file("src/big.bin", 256 * 1024);
    tmp.file("src/last.txt", 100);
    tmp.fileWithContent("dst/big.bin", "the old destination");
    auto rows = listOf(row("first.txt", Copy), row("big.bin", Copy), row("last.txt", Copy));
    // Every write past 16 KiB fails, as on a full disk.
    const std::optional<int> code = test::runWithWriteLimit(16 * 1024, [&] {
        const auto src = folder("src");
        const auto dst = folder("dst");
        const FileOpOutcome outcome =
            copyMarkedFiles(*rows, *src, *dst, rules,
                            CopyChoice::replacing(replacementsOf(*rows, *src, *dst, rules)));
        const bool reported = outcome.failures.count() == 1 &&
                              outcome.failures.failures()[0].name == "big.bin" &&
                              outcome.failures.failures()[0].reason.startsWith("Disk full61");
        return outcome.done * 10 + (reported ? 1 : 0);
    });
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 21);
    EXPECT_EQ(TempFolder::readAll(tmp.pathOf("dst/big.bin")), "the old destination");
    EXPECT_TRUE(TempFolder::exists(tmp.pathOf("dst/first.txt")));
    EXPECT_TRUE(TempFolder::exists(tmp.pathOf("dst/last.txt")));
    EXPECT_EQ(leftovers(tmp.pathOf("dst")), 0);
}

TEST_F(FileOperations, DestinationWithoutWritePermissionReportsEachFile)
{
    tmp.file("src/one.txt", 10);
    tmp.file("src/two.txt", 10);
    tmp.folder("dst");
    tmp.handOverTo(test::kNobodyUid, test::kNobodyGid);
    tmp.setMode("dst", 0555);
    auto rows = listOf(row("one.txt", Copy), row("two.txt", Copy));
    const auto result = test::runAsNobody([&] {
        auto system = makeSystemFileSystem(nullptr);
        const FileOpOutcome outcome =
            copyMarkedFiles(*rows, *test::openListed(*system, tmp.pathOf("src")),
                            *test::openListed(*system, tmp.pathOf("dst")), rules);
        return std::to_string(outcome.done) + " " +
               outcome.failures.message("failed:").toStdString();
    });
    ASSERT_TRUE(result.dropped) << "could not drop root's rights: " << result.reason;
    std::printf("ran as %s\n", result.how.c_str());
    ASSERT_TRUE(result.finished) << result.output;
    EXPECT_EQ(result.output.rfind("0 failed:\none.txt: Permission denied70", 0), 0u)
        << result.output;
    EXPECT_NE(result.output.find("\ntwo.txt: Permission denied70"), std::string::npos);
    EXPECT_FALSE(TempFolder::exists(tmp.pathOf("dst/one.txt")));
}

TEST_F(FileOperations, DeleteMarkedRefusesReadOnlyFilesAndFoldersAndDeletesLinksAsLinks)
{
    tmp.file("f/gone.txt", 1);
    tmp.file("f/caf\xe9.txt", 1);
    tmp.file("f/locked.txt", 1, 0444);
    tmp.file("f/kept.txt", 1);
    tmp.file("f/sub/inner.txt", 1);
    tmp.file("target.txt", 1);
    tmp.symlink("f/link.txt", "../target.txt");
    auto rows = listOf(row("gone.txt", Del), row("caf\xe9.txt", Del), row("locked.txt", Del),
                       row("kept.txt", Copy), row("sub/", Del), row("link.txt", Del),
                       row("", Del, "../target.txt"));

    const FileOpOutcome outcome = deleteMarkedFiles(*rows, *folder("f"), rules);

    EXPECT_EQ(outcome.done, 3);
    for (const char* gone : {"f/gone.txt", "f/caf\xe9.txt", "f/link.txt"})
        EXPECT_FALSE(TempFolder::exists(tmp.pathOf(gone))) << gone;
    for (const char* kept : {"f/locked.txt", "f/kept.txt", "f/sub/inner.txt", "target.txt"})
        EXPECT_TRUE(TempFolder::exists(tmp.pathOf(kept))) << kept;
    EXPECT_EQ(outcome.failures.names(), QStringList({"locked.txt", "sub", "../target.txt"}));
    EXPECT_TRUE(outcome.failures.failures()[0].reason.startsWith("Permission denied70"));
}

TEST_F(FileOperations, DeleteAllForcesReadOnlyFilesLeavesFoldersAndGoesOnPastFailures)
{
    tmp.file("f/a.txt", 1);
    tmp.file("f/README", 1, 0444);
    tmp.file("f/sub/inner.txt", 1);
    tmp.file("f/z.txt", 1);
    const std::vector<ListedFile> files = listedFiles(fs->GetFolder(tmp.pathOf("f"))->Files());
    ASSERT_EQ(files.size(), 3u);
    // One file goes away before its turn: that failure is reported, the rest still go.
    std::remove(tmp.pathOf("f/a.txt").c_str());

    const FileOpOutcome outcome = deleteAllFiles(files, *folder("f"));

    EXPECT_EQ(outcome.done, 2);
    EXPECT_EQ(outcome.failures.names(), QStringList({"a.txt"}));
    EXPECT_FALSE(TempFolder::exists(tmp.pathOf("f/README")));
    EXPECT_FALSE(TempFolder::exists(tmp.pathOf("f/z.txt")));
    EXPECT_TRUE(TempFolder::exists(tmp.pathOf("f/sub/inner.txt")));
}
