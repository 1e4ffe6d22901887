#include "output/savedlistingcommands.h"

#include "listing/panelist.h"
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

#include <chrono>
#include <csignal>
#include <cstdio>
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

/// Runs `work` in a forked child with one resource limit set (worked out in the child by
/// `limit`) and returns the work's text.
std::string inChildWithLimit(int resource, const std::function<rlim_t()>& limit,
                             const std::function<std::string()>& work)
{
    int fds[2];
    if (pipe(fds) != 0)
        return "pipe failed";
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        signal(SIGXFSZ, SIG_IGN);
        const rlim_t value = limit();
        const rlimit rl{value, value};
        std::string out = setrlimit(resource, &rl) == 0 ? work() : "setrlimit failed";
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

/// Runs `work` in a forked child whose files may not grow past `limit` bytes, with SIGXFSZ
/// ignored so a write past it fails with EFBIG as on a full disk. Returns the work's text.
std::string inChildWithFileLimit(rlim_t limit, const std::function<std::string()>& work)
{
    return inChildWithLimit(
        RLIMIT_FSIZE, [limit] { return limit; }, work);
}

/// Runs `work` in a forked child that may map only `extra` more bytes of memory than it has
/// when it starts, so a large allocation fails as on a machine out of memory.
std::string inChildWithMemoryLimit(rlim_t extra, const std::function<std::string()>& work)
{
    return inChildWithLimit(
        RLIMIT_AS,
        [extra] {
            long pages = 0;
            if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
                if (std::fscanf(statm, "%ld", &pages) != 1)
                    pages = 0;
                std::fclose(statm);
            }
            return rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + extra;
        },
        work);
}

/// Opens `file` through the command as the window does: the pane takes the rows only when a
/// listing comes back. Returns the messages told.
QStringList openInto(PaneList& pane, const std::string& file, const SavedListingLimits& limits)
{
    ScriptedPrompts prompts;
    SavedListingDialog dialog;
    prompts.answerFile(q(file));
    if (std::optional<SavedListing> listing = openListing(prompts, dialog, limits))
        pane.setRows(std::move(listing->rows));
    return prompts.messages();
}

/// A listing file of a path line, an empty count line and `rows` rows of empty fields but the
/// name.
std::string listingFile(TempFolder& tmp, const std::string& name, int rows)
{
    std::string content = "/p\r\n\r\n";
    for (int i = 0; i < rows; ++i)
        content += "row" + std::to_string(i) + "\x02\x02\x02\x02\x02\x02\r\n";
    return tmp.fileWithContent(name, content);
}

/// A pane of listed rows with these names.
std::unique_ptr<PaneList> paneNamed(std::initializer_list<const char*> names)
{
    std::vector<PaneRow> rows;
    for (const char* name : names)
        rows.push_back(listedRow(name));
    return paneOf(std::move(rows));
}

QStringList namesOf(const PaneList& pane)
{
    QStringList names;
    for (int i = 0; i < pane.rowCount(); ++i)
        names << pane.cellText(i, ColName);
    return names;
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
                              QStringLiteral("2 Files, 1 Folders, 12 Bytes"), prompts, dialog));
    EXPECT_TRUE(prompts.messages().isEmpty());

    prompts.answerFile(file);
    auto opened = openListing(prompts, dialog);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->pathText, QStringLiteral("/home/ann/"));
    EXPECT_EQ(opened->countText, QStringLiteral("2 Files, 1 Folders, 12 Bytes"));
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

    // Both commands name the file type alike; the save offers the folder's name in the
    // user's home, and the open the file chosen last.
    const auto& requests = prompts.fileRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].filter, QStringLiteral("Folder listing |*.tav"));
    EXPECT_EQ(requests[0].initialFile, QDir::home().filePath("ann.tav"));
    EXPECT_TRUE(requests[0].title.isEmpty());
    EXPECT_EQ(requests[1].filter, requests[0].filter);
    EXPECT_EQ(requests[1].initialFile, file);
}

TEST(SavedListingCommands, SaveOffersTheFoldersNameInTheFolderUsedLast)
{
    const struct {
        const char *path, *last, *offered;
    } cases[] = {
        {"/home/ann/Data/", "", "/home/ann/Data.tav"},
        {"/srv/Data", "/mnt/usb/old.tav", "/mnt/usb/Data.tav"},
        {"/", "", "/home/ann/root.tav"},
        {"/tmp/a\x01"
         "b",
         "", "/home/ann/a_b.tav"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(proposedListingFile(QString::fromUtf8(c.path), QString::fromUtf8(c.last),
                                      QStringLiteral("/home/ann")),
                  QString::fromUtf8(c.offered))
            << c.path;
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
    ASSERT_TRUE(writeListingFile(q(file), QStringLiteral("/e"),
                                 QStringLiteral("0 Files, 0 Folders,  Bytes"), *pane)
                    .saved);
    EXPECT_EQ(TempFolder::readAll(file), "/e\r\n0 Files, 0 Folders,  Bytes\r\n");
    const auto read = readListingFile(q(file));
    ASSERT_TRUE(read.listing);
    EXPECT_EQ(read.listing->countText, QStringLiteral("0 Files, 0 Folders,  Bytes"));
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
    ASSERT_TRUE(saveListingAs(*pane, QStringLiteral("/odd\npath"),
                              QStringLiteral("2 Files, 0 Folders, 9 Bytes"), prompts, dialog));
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
        // Any file of two lines or more is no listing without its count line and its fields.
        tmp.fileWithContent("garbage.tav", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\r\nmore\r\n"),
        tmp.fileWithContent("short.tav",
                            "/p\r\n1 Files, 0 Folders, 5 Bytes\r\n"
                            "a.txt\x02Text\x02 5\x02\x02\x02\x02\r\nb.txt\x02Text\r\n"),
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
    ScriptedPrompts prompts;
    SavedListingDialog dialog;
    tmp.fileWithContent("long.tav", "/p\r\n\r\n" + std::string(40000, 'x') + "\r\n");
    for (const char* file : {"garbage.tav", "short.tav", "long.tav"}) {
        prompts.answerFile(q(tmp.pathOf(file)));
        openListing(prompts, dialog);
    }
    EXPECT_TRUE(prompts.messages()[0].contains("its line 2 is not a count line"));
    EXPECT_TRUE(prompts.messages()[1].contains("its line 4 does not hold the seven fields"));
    EXPECT_TRUE(prompts.messages()[2].contains("its line 3 holds a text longer than 32,768 bytes"))
        << prompts.messages()[2].toStdString();
}

TEST(SavedListingCommands, MoreRowsThanASixteenBitCounterHolds)
{
    TempFolder tmp;
    std::vector<PaneRow> rows;
    for (int i = 0; i < 40000; ++i)
        rows.push_back(listedRow("f" + std::to_string(i)));
    const auto pane = paneOf(std::move(rows));
    const QString file = q(tmp.pathOf("big.tav"));
    ASSERT_TRUE(writeListingFile(file, QStringLiteral("p"), QString(), *pane).saved);
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

TEST(SavedListingCommands, AFileLargerThanTheByteLimitIsRefusedUnread)
{
    TempFolder tmp;
    // A sparse file: past the real limit of 256 MiB without writing a byte of it.
    const std::string huge = tmp.file("huge.tav");
    ASSERT_EQ(truncate(huge.c_str(), off_t(300) << 20), 0);
    auto pane = paneNamed({"kept"});
    const auto start = std::chrono::steady_clock::now();
    QStringList messages = openInto(*pane, huge, {});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1))
        << "the size is looked at before anything is read";
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("Could not open the folder listing \"%1\": it is larger "
                                          "than 256 MiB, more than any folder listing holds. "
                                          "The list was left as it was.")
                               .arg(q(huge)));
    EXPECT_EQ(namesOf(*pane), QStringList{"kept/0"});

    // The limit itself is allowed; one byte more is not.
    SavedListingLimits limits;
    limits.maxFileBytes = 100;
    const std::string exact = tmp.fileWithContent("exact.tav", "/p\r\n\r\n" + std::string(88, 'x') +
                                                                   std::string(6, '\x02'));
    const std::string over = tmp.fileWithContent("over.tav", "/p\r\n\r\n" + std::string(89, 'x') +
                                                                 std::string(6, '\x02'));
    EXPECT_TRUE(openInto(*pane, exact, limits).isEmpty());
    EXPECT_EQ(pane->rowCount(), 1);
    EXPECT_EQ(pane->cellText(0, ColName), QString(88, QLatin1Char('x')));
    messages = openInto(*pane, over, limits);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(q(over)));
    EXPECT_TRUE(messages[0].contains(QStringLiteral("larger than 100 bytes")))
        << messages[0].toStdString();
    EXPECT_EQ(pane->cellText(0, ColName), QString(88, QLatin1Char('x')));
}

TEST(SavedListingCommands, AFileWithMoreRowsThanTheLimitIsRefusedAndThePaneStays)
{
    TempFolder tmp;
    SavedListingLimits limits;
    limits.maxRows = 5;
    auto pane = paneNamed({"a", "b"});
    EXPECT_TRUE(openInto(*pane, listingFile(tmp, "five.tav", 5), limits).isEmpty());
    EXPECT_EQ(pane->rowCount(), 5);

    pane = paneNamed({"a", "b"});
    const std::string six = listingFile(tmp, "six.tav", 6);
    const QStringList messages = openInto(*pane, six, limits);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("Could not open the folder listing \"%1\": it holds more "
                                          "than 5 rows, more than any folder listing holds. The "
                                          "list was left as it was.")
                               .arg(q(six)));
    EXPECT_EQ(namesOf(*pane), (QStringList{"a/0", "b/0"}));
    const ReadListingResult read = readListingFile(q(six), limits);
    EXPECT_FALSE(read.listing);
    EXPECT_EQ(read.error, messages[0]);
}

TEST(SavedListingCommands, AFileOfOnlyLineEndsIsRefusedWithoutBuildingRows)
{
    // 4 Mi empty lines once became 4 Mi rows and more than a gigabyte; now they are counted
    // and refused under the real limits, within a memory far too small to hold those rows.
    TempFolder tmp;
    const std::string file = tmp.fileWithContent("ends.tav", std::string(size_t(4) << 20, '\n'));
    const std::string output = inChildWithMemoryLimit(rlim_t(96) << 20, [&] {
        auto pane = paneNamed({"kept"});
        const QStringList messages = openInto(*pane, file, {});
        return (messages.join('\n') + u'|' + namesOf(*pane).join(',')).toStdString();
    });
    EXPECT_EQ(output, QStringLiteral("Could not open the folder listing \"%1\": it holds more than "
                                     "2,000,000 rows, more than any folder listing holds. The list "
                                     "was left as it was.|kept/0")
                          .arg(q(file))
                          .toStdString());
}

TEST(SavedListingCommands, RunningOutOfMemoryIsReportedAndThePaneStays)
{
    // Within both limits, but more rows than a child with little memory to spare can build.
    TempFolder tmp;
    std::string content = "/p\r\n\r\n";
    for (int i = 0; i < 200000; ++i)
        content += "name-" + std::to_string(i) + "\x02Text\x02  1\x02x\x02y\x02z\x02w\r\n";
    const std::string file = tmp.fileWithContent("many.tav", content);
    const std::string output = inChildWithMemoryLimit(rlim_t(48) << 20, [&] {
        auto pane = paneNamed({"kept"});
        const QStringList messages = openInto(*pane, file, {});
        return (messages.join('\n') + u'|' + namesOf(*pane).join(',')).toStdString();
    });
    EXPECT_EQ(output,
              QStringLiteral("Could not open the folder listing \"%1\": there is not "
                             "enough memory to read it. The list was left as it was.|kept/0")
                  .arg(q(file))
                  .toStdString());
    // With the memory it needs the same file opens.
    const ReadListingResult read = readListingFile(q(file));
    ASSERT_TRUE(read.listing) << read.error.toStdString();
    EXPECT_EQ(read.listing->rows.size(), 200000u);
}

} // namespace
} // namespace vennic
