#include "fileops/fileoperations.h"

#include "fileops/rowmarks.h"
#include "listing/listinteraction.h"
#include "listing/nativetext.h"
#include "platform/controlchars.h"
#include "platform/panelist.h"
#include "platform/pathrules.h"

#include <exception>
#include <optional>

namespace vennic {

namespace {

const QString NotAName =
    QStringLiteral("not a single plain file name, so it was skipped (the command only works on "
                   "names inside the pane's folder)");
const QString NoFolder =
    QStringLiteral("the pane names no folder (an empty one, or one holding a control character)");
const QString ControlName =
    QStringLiteral("the name holds a control character, so it was not touched (the system would "
                   "act on another name than the one shown)");

bool usableFolder(const NativeString& folder)
{
    return !folder.empty() && !hasControlCharacter(folder);
}

QString whyNotAName(const PaneRow& row, const QString& text)
{
    return hasControlCharacter(text) || hasControlCharacter(row.nativeName) ? ControlName
                                                                            : NotAName;
}

/// Runs one file's step; an error is added to the failures and the walk goes on.
template <typename Step> void runOne(const QString& name, FileOpOutcome& outcome, Step&& step)
{
    try {
        step();
        ++outcome.done;
    } catch (const FsError& error) {
        outcome.failures.add(name, error);
    } catch (const std::exception& error) {
        outcome.failures.add(name, QString::fromLocal8Bit(error.what()));
    }
}

/// The display name of a row for a report: its text, or " " quoted so a blank row is seen.
QString reportName(const QString& text)
{
    if (text.trimmed().isEmpty())
        return QLatin1Char('"') + text + QLatin1Char('"');
    return withVisibleControls(text);
}

} // namespace

FileOpOutcome copyMarkedFiles(const PaneList& rows, const NativeString& sourceFolder,
                              const NativeString& destinationFolder, FileSystem& fileSystem,
                              const PathRules& rules)
{
    FileOpOutcome outcome;
    for (const int i : rowsWithImage(rows, RowImage::SmallCopyLeft)) {
        const QString text = rows.cellText(i, ColName);
        const QString name = reportName(text);
        if (isFolderRow(rows, i)) {
            outcome.failures.add(name, QStringLiteral("a folder; only files are copied"));
            continue;
        }
        if (!usableFolder(sourceFolder) || !usableFolder(destinationFolder)) {
            outcome.failures.add(name, NoFolder);
            continue;
        }
        const PaneRow& row = rows.row(i);
        const std::optional<NativeString> source = rowEntryPath(row, text, sourceFolder, rules);
        const std::optional<NativeString> destination =
            rowEntryPath(row, text, destinationFolder, rules);
        if (!source || !destination) {
            outcome.failures.add(name, whyNotAName(row, text));
            continue;
        }
        runOne(name, outcome, [&] { fileSystem.GetFile(*source)->Copy(*destination, true); });
    }
    return outcome;
}

FileOpOutcome deleteMarkedFiles(const PaneList& rows, const NativeString& folder,
                                FileSystem& fileSystem, const PathRules& rules)
{
    FileOpOutcome outcome;
    for (const int i : rowsWithImage(rows, RowImage::SmallDelete)) {
        const QString text = rows.cellText(i, ColName);
        const QString name = reportName(text);
        if (isFolderRow(rows, i)) {
            outcome.failures.add(name, QStringLiteral("a folder; folders are never deleted"));
            continue;
        }
        if (!usableFolder(folder)) {
            outcome.failures.add(name, NoFolder);
            continue;
        }
        const std::optional<NativeString> path = rowEntryPath(rows.row(i), text, folder, rules);
        if (!path) {
            outcome.failures.add(name, whyNotAName(rows.row(i), text));
            continue;
        }
        runOne(name, outcome, [&] { fileSystem.GetFile(*path)->Delete(false); });
    }
    return outcome;
}

FileOpOutcome deleteAllFiles(const std::vector<Entry>& files, const NativeString& folder,
                             FileSystem& fileSystem, const PathRules& rules)
{
    FileOpOutcome outcome;
    const NativeString folderText = rules.folderText(folder);
    for (const Entry& entry : files) {
        if (entry.isFolder)
            continue;
        if (hasControlCharacter(entry.name)) {
            outcome.failures.add(reportName(nativeToQString(entry.name)), ControlName);
            continue;
        }
        runOne(reportName(nativeToQString(entry.name)), outcome,
               [&] { fileSystem.GetFile(folderText + entry.name)->Delete(true); });
    }
    return outcome;
}

} // namespace vennic
