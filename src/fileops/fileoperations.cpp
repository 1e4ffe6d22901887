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

const QString ChangedSinceListed =
    QStringLiteral("changed since the pane listed it (its name now leads to another entry), so "
                   "it was left alone; list the pane again to see it as it is");

namespace {

const QString NotAName =
    QStringLiteral("not a single plain file name, so it was skipped (the command only works on "
                   "names inside the pane's folder)");
const QString ControlName =
    QStringLiteral("the name holds a control character, so it was not touched (the system would "
                   "act on another name than the one shown)");
const QString NotLookedAt =
    QStringLiteral("it could not be looked at when the pane was listed, so which file it is is "
                   "not known and it was left alone");
const QString Placeholder =
    QStringLiteral("the row stands for no file (a name not found, or a gap of a comparison), so "
                   "nothing was done");

/// Why a row names no entry.
QString whyNotAName(const PaneRow& row, const QString& text)
{
    if (row.isPlaceholder())
        return Placeholder;
    return hasControlCharacter(text) ? ControlName : NotAName;
}

/// Runs one file's step, which returns false for an entry that changed since it was listed;
/// that and any error are added to the failures, and the walk goes on.
template <typename Step> void runOne(const QString& name, FileOpOutcome& outcome, Step&& step)
{
    try {
        if (step())
            ++outcome.done;
        else
            outcome.failures.add(name, ChangedSinceListed);
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

/// The marked rows of `rows` that name an entry, each with its name and identity; the others
/// are reported as `folderReason` or why they name none.
template <typename Act>
FileOpOutcome actOnMarked(const PaneList& rows, int image, const QString& folderReason,
                          const PathRules& rules, Act&& act)
{
    FileOpOutcome outcome;
    for (const int i : rowsWithImage(rows, image)) {
        const QString text = rows.cellText(i, ColName);
        const QString name = reportName(text);
        const PaneRow& row = rows.row(i);
        if (isFolderRow(rows, i) && !row.isPlaceholder()) {
            outcome.failures.add(name, folderReason);
            continue;
        }
        const std::optional<NativeString> entryName = rowEntryName(row, text, rules);
        if (!entryName) {
            outcome.failures.add(name, whyNotAName(row, text));
            continue;
        }
        const std::optional<EntryIdentity> identity = row.identity();
        runOne(name, outcome, [&] { return act(*entryName, identity ? &*identity : nullptr); });
    }
    return outcome;
}

} // namespace

FileOpOutcome copyMarkedFiles(const PaneList& rows, FolderHandle& source, FolderHandle& destination,
                              const PathRules& rules)
{
    return actOnMarked(rows, RowImage::SmallCopyLeft,
                       QStringLiteral("a folder; only files are copied"), rules,
                       [&](const NativeString& name, const EntryIdentity* listed) {
                           return source.CopyFile(name, listed, destination, true);
                       });
}

FileOpOutcome deleteMarkedFiles(const PaneList& rows, FolderHandle& folder, const PathRules& rules)
{
    return actOnMarked(rows, RowImage::SmallDelete,
                       QStringLiteral("a folder; folders are never deleted"), rules,
                       [&](const NativeString& name, const EntryIdentity* listed) {
                           return folder.DeleteFile(name, listed, false);
                       });
}

FileOpOutcome deleteAllFiles(const std::vector<ListedFile>& files, FolderHandle& folder)
{
    FileOpOutcome outcome;
    for (const ListedFile& file : files) {
        const QString name = reportName(nativeToQString(file.name));
        if (!file.identity) {
            outcome.failures.add(name, NotLookedAt);
            continue;
        }
        runOne(name, outcome, [&] { return folder.DeleteFile(file.name, &*file.identity, true); });
    }
    return outcome;
}

} // namespace vennic
