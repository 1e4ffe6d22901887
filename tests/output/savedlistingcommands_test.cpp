#include "output/savedlistingcommands.h"

#include "platform/panelist.h"
#include "support/asnobody.h"
#include "support/scriptedprompts.h"
#include "support/tempfolder.h"
#include "support/textrow.h"

#include <QDir>
#include <QStringList>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

namespace vennic {
namespace {

using test::textRow;

using test::ScriptedPrompts;
using test::TempFolder;

/// Texts of listed rows: "<name>/<column>", with an empty "Attributes" text.
class NameColumnMaker : public RowTextMaker {
public:
    QString cellText(const PaneRow& row, int column) const override
    {
        if (column == ColAttributes)
            return {};
        return QString::fromStdString(row.nativeName) + QLatin1Char('/') + QString::number(column);
    }
};

PaneRow listedRow(const std::string& name)
{
    PaneRow row;
    row.nativeName = name;
    row.foreColor = RowColor::Blue;
    row.smallImage = RowImage::SmallFolder;
    return row;
}

std::unique_ptr<PaneList> paneOf(std::vector<PaneRow>&& rows, int columns = 7)
{
    auto pane = std::make_unique<PaneList>(columns);
    pane->setTextMaker(std::make_shared<NameColumnMaker>());
    pane->setRows(std::move(rows));
    return pane;
}

QString q(const std::string& path)
{
    return QString::fromStdString(path);
}

QStringList entriesOf(const std::string& folder)
{
    return QDir(q(folder)).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                     QDir::NoDotAndDotDot);
}

/// Runs `work` in a forked child whose files may not grow past `limit` bytes, with SIGXFSZ
/// ignored so a write past it fails with EFBIG as on a full disk. Returns the work's text.
std::string inChildWithFileLimit(rlim_t limit, const std::function<std::string()>& work)
{
    int fds[2];
    if (pipe(fds) != 0)
        return "pipe failed";
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{limit, limit};
        std::string out = setrlimit(RLIMIT_FSIZE, &rl) == 0 ? work() : "setrlimit failed";
        (void)!write(fds[1], out.data(), out.size());
        _exit(0);
    }
    close(fds[1]);
    std::string all;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0)
        all.append(buffer, size_t(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status))
        all += "(child died)";
    return all;
}

TEST(SavedListingCommands, SaveThenOpenIntoTheOtherPaneGivesTheSameTexts)
{
    TempFolder tmp;
    std::vector<PaneRow> rows;
    rows.push_back(listedRow("sub"));
    rows.push_back(textRow({"b.txt", "Text", "  7", "", "", "1/1/2020", "x", "ignored"}));
    rows.push_back(listedRow("a.txt"));
    const auto left = paneOf(std::move(rows));
    const QString file = q(tmp.pathOf("list.tav"));

    ScriptedPrompts prompts;
    SavedListingDialog dialog;
    prompts.answerFile(file);
    ASSERT_TRUE(saveListingAs(*left, QStringLiteral("/home/ann/"),
                              QStringLiteral("1 Folder 2 Files"), prompts, dialog));
    EXPECT_TRUE(prompts.messages().isEmpty());

    prompts.answerFile(file);
    auto opened = openListing(prompts, dialog);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->pathText, QStringLiteral("/home/ann/"));
    EXPECT_EQ(opened->countText, QStringLiteral("1 Folder 2 Files"));
    PaneList right(8);
    right.setRows(std::move(opened->rows));
    ASSERT_EQ(right.rowCount(), 3);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 7; ++c)
            EXPECT_EQ(right.cellText(r, c), left->cellText(r, c)) << r << "," << c;
        EXPECT_EQ(right.cellText(r, ColBytes2), QString());
        // Colours, images and native names do not come back.
        EXPECT_EQ(right.row(r).foreColor, RowColor::Black);
        EXPECT_EQ(right.row(r).smallImage, 0);
        EXPECT_TRUE(right.row(r).nativeName.empty());
    }

    // Both commands use the dialog's filters as written and offer the last chosen name.
    const auto& requests = prompts.fileRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].filter, QStringLiteral("Folder listing |*.tav"));
    EXPECT_TRUE(requests[0].initialFile.isEmpty());
    EXPECT_TRUE(requests[0].title.isEmpty());
    EXPECT_EQ(requests[1].filter, QStringLiteral("Saved folder listings *.tav|*.tav"));
    EXPECT_EQ(requests[1].initialFile, file);
}

TEST(SavedListingCommands, SavedFileHasExactlyTheseBytes)
{
    TempFolder tmp;
    std::vector<PaneRow> rows;
    rows.push_back(listedRow("d"));
    rows.push_back(textRow({"f", " File Folder", "", "", "", "", ""}));
    const auto pane = paneOf(std::move(rows), 8);
    const std::string file = tmp.pathOf("exact.tav");
    const auto result = writeListingFile(q(file), QStringLiteral("/p"), QStringLiteral("2"), *pane);
    ASSERT_TRUE(result.saved) << result.error.toStdString();
    EXPECT_EQ(TempFolder::readAll(file), std::string("/p\r\n2\r\n"
                                                     "d/0\x02"
                                                     "d/1\x02"
                                                     "d/2\x02"
                                                     "d/3\x02\x02"
                                                     "d/5\x02"
                                                     "d/6\r\n"
                                                     "f\x02 File Folder\x02\x02\x02\x02\x02\r\n"));
}

TEST(SavedListingCommands, EmptyPaneSavesTwoLinesAndOpensAsAnEmptyList)
{
    TempFolder tmp;
    const auto pane = paneOf({});
    const std::string file = tmp.pathOf("empty.tav");
    ASSERT_TRUE(writeListingFile(q(file), QStringLiteral("/e"), QStringLiteral("0"), *pane).saved);
    EXPECT_EQ(TempFolder::readAll(file), "/e\r\n0\r\n");
    const auto read = readListingFile(q(file));
    ASSERT_TRUE(read.listing);
    EXPECT_EQ(read.listing->countText, QStringLiteral("0"));
    EXPECT_TRUE(read.listing->rows.empty());
}

TEST(SavedListingCommands, NameIsUsedAsChosenAndAnOldFileIsReplacedWithoutAQuestion)
{
    TempFolder tmp;
    const std::string file = tmp.fileWithContent("listing", std::string(10000, 'o'), 0640);
    const auto pane = paneOf({});
    ScriptedPrompts prompts;
    SavedListingDialog dialog;
    prompts.answerFile(q(file));
    ASSERT_TRUE(saveListingAs(*pane, QStringLiteral("p"), QStringLiteral("c"), prompts, dialog));
    EXPECT_EQ(TempFolder::readAll(file), "p\r\nc\r\n");
    EXPECT_EQ(entriesOf(tmp.path()), QStringList{"listing"});
    ASSERT_EQ(prompts.shown().size(), 1u); // the save dialog, no question
    EXPECT_EQ(dialog.fileName, q(file));
}

TEST(SavedListingCommands, CancelledDialogsTouchNothing)
{
    TempFolder tmp;
    const std::string file = tmp.fileWithContent("keep.tav", "old");
    const auto pane = paneOf({});
    ScriptedPrompts prompts;
    SavedListingDialog dialog{q(file)};
    prompts.answerFile(std::nullopt);
    EXPECT_FALSE(saveListingAs(*pane, QStringLiteral("p"), QStringLiteral("c"), prompts, dialog));
    prompts.answerFile(std::nullopt);
    EXPECT_FALSE(openListing(prompts, dialog));
    EXPECT_EQ(TempFolder::readAll(file), "old");
    EXPECT_EQ(entriesOf(tmp.path()), QStringList{"keep.tav"});
    EXPECT_TRUE(prompts.messages().isEmpty());
    EXPECT_EQ(dialog.fileName, q(file));
}

TEST(SavedListingCommands, TextsWithLineBreaksAreSavedWithQuestionMarksAndCounted)
{
    TempFolder tmp;
    std::vector<PaneRow> rows;
    rows.push_back(textRow({"two\nlines",
                            "a\x02"
                            "b",
                            "ok"}));
    rows.push_back(textRow({"fine", "", "", "", "", "", "cr\r"}));
    const auto pane = paneOf(std::move(rows));
    const std::string file = tmp.pathOf("mended.tav");
    ScriptedPrompts prompts;
    SavedListingDialog dialog;
    prompts.answerFile(q(file));
    ASSERT_TRUE(
        saveListingAs(*pane, QStringLiteral("/odd\npath"), QStringLiteral("2"), prompts, dialog));
    ASSERT_EQ(prompts.messages().size(), 1);
    EXPECT_TRUE(prompts.messages()[0].startsWith(QStringLiteral("4 texts held a line break")))
        << prompts.messages()[0].toStdString();

    const auto read = readListingFile(q(file));
    ASSERT_TRUE(read.listing);
    EXPECT_EQ(read.listing->pathText, QStringLiteral("/odd?path"));
    ASSERT_EQ(read.listing->rows.size(), 2u);
    EXPECT_EQ(read.listing->rows[0].texts->cells[0], QStringLiteral("two?lines"));
    EXPECT_EQ(read.listing->rows[0].texts->cells[1], QStringLiteral("a?b"));
    EXPECT_EQ(read.listing->rows[1].texts->cells[6], QStringLiteral("cr?"));
}

TEST(SavedListingCommands, FilesThatAreNoListingAreReportedAndGiveNothing)
{
    TempFolder tmp;
    const std::vector<std::string> bad = {
        tmp.pathOf("missing.tav"),
        tmp.folder("folder.tav"),
        tmp.fileWithContent("empty.tav", ""),
        tmp.fileWithContent("one.tav", "/only/a/path\r\n"),
        tmp.fileWithContent("binary.tav", std::string("\x7f"
                                                      "ELF\x02\x01\x01\0\0\0",
                                                      10)),
        // A pipe with no writer would block a plain read for ever.
        tmp.fifo("pipe.tav"),
    };
    for (const std::string& file : bad) {
        ScriptedPrompts prompts;
        SavedListingDialog dialog;
        prompts.answerFile(q(file));
        EXPECT_FALSE(openListing(prompts, dialog)) << file;
        ASSERT_EQ(prompts.messages().size(), 1) << file;
        EXPECT_TRUE(prompts.messages()[0].contains(q(file)));
        EXPECT_TRUE(prompts.messages()[0].endsWith(QStringLiteral("left as it was.")));
    }
}

TEST(SavedListingCommands, MoreRowsThanASixteenBitCounterHolds)
{
    TempFolder tmp;
    std::vector<PaneRow> rows;
    for (int i = 0; i < 40000; ++i)
        rows.push_back(listedRow("f" + std::to_string(i)));
    const auto pane = paneOf(std::move(rows));
    const QString file = q(tmp.pathOf("big.tav"));
    ASSERT_TRUE(writeListingFile(file, QStringLiteral("p"), QStringLiteral("c"), *pane).saved);
    const auto read = readListingFile(file);
    ASSERT_TRUE(read.listing);
    ASSERT_EQ(read.listing->rows.size(), 40000u);
    EXPECT_EQ(read.listing->rows[32767].texts->cells[0], QStringLiteral("f32767/0"));
    EXPECT_EQ(read.listing->rows.back().texts->cells[6], QStringLiteral("f39999/6"));
}

TEST(SavedListingCommands, WithoutWritePermissionTheOldFileStaysAndNothingIsAdded)
{
    TempFolder tmp;
    tmp.folder("locked", 0555);
    const std::string inLocked = tmp.fileWithContent("locked/old.tav", "old listing", 0644);
    tmp.folder("open", 0755);
    const std::string readOnly = tmp.fileWithContent("open/ro.tav", "read-only listing", 0444);
    const std::string unreadable = tmp.fileWithContent("open/secret.tav", "p\r\nc\r\n", 0000);
    tmp.handOverTo(test::kNobodyUid, test::kNobodyGid);

    const auto result = test::runAsNobody([&] {
        const auto pane = paneOf({});
        std::string out;
        for (const std::string& file : {inLocked, readOnly}) {
            const auto saved =
                writeListingFile(q(file), QStringLiteral("p"), QStringLiteral("c"), *pane);
            out += (saved.saved ? "saved " : "refused ") + saved.error.toStdString() + "\n";
        }
        const auto read = readListingFile(q(unreadable));
        out += (read.listing ? "read " : "unread ") + read.error.toStdString() + "\n";
        return out;
    });
    ASSERT_TRUE(result.dropped) << result.reason;
    ASSERT_TRUE(result.finished) << result.output;
    const QStringList lines = q(result.output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << result.output;
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("refused Could not save"))) << result.output;
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("The existing file was left as it was.")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("the file is read-only"))) << result.output;
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("unread Could not open"))) << result.output;
    EXPECT_EQ(TempFolder::readAll(inLocked), "old listing");
    EXPECT_EQ(TempFolder::readAll(readOnly), "read-only listing");
    EXPECT_EQ(entriesOf(tmp.pathOf("locked")), QStringList{"old.tav"});
    EXPECT_EQ(entriesOf(tmp.pathOf("open")), (QStringList{"ro.tav", "secret.tav"}));
}

TEST(SavedListingCommands, AFullDiskLeavesTheOldFileAndNoTemporaryFile)
{
    TempFolder tmp;
    const std::string file = tmp.fileWithContent("full/old.tav", "old listing\r\n");
    const std::string output = inChildWithFileLimit(64 * 1024, [&] {
        std::vector<PaneRow> rows;
        for (int i = 0; i < 5000; ++i) // far more than 64 KiB of text
            rows.push_back(listedRow("file-" + std::to_string(i)));
        const auto pane = paneOf(std::move(rows));
        ScriptedPrompts prompts;
        SavedListingDialog dialog;
        prompts.answerFile(q(file));
        const bool saved =
            saveListingAs(*pane, QStringLiteral("p"), QStringLiteral("c"), prompts, dialog);
        return (saved ? "saved\n" : "failed\n") + prompts.messages().join('\n').toStdString();
    });
    EXPECT_EQ(output.substr(0, 7), "failed\n") << output;
    EXPECT_NE(output.find("Could not save the folder listing"), std::string::npos) << output;
    EXPECT_NE(output.find("The existing file was left as it was."), std::string::npos);
    EXPECT_TRUE(TempFolder::readAll(file) == "old listing\r\n") << "the old file was changed";
    EXPECT_EQ(entriesOf(tmp.pathOf("full")), QStringList{"old.tav"});
}

} // namespace
} // namespace vennic
