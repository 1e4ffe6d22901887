#include "fileops/fileoperations.h"

#include "fileops/filejob.h"
#include "fileops/rowcheck.h"
#include "fileops/rowmarks.h"
#include "listing/controlchars.h"
#include "listing/listingtexts.h"
#include "listing/listinteraction.h"
#include "listing/nativetext.h"
#include "listing/panelist.h"
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
/// that and any error are added to the failures, and the walk goes on. A step stopped midway
/// leaves its file, and those after it, not done.
template <typename Step> void runOne(const QString& name, FileOpOutcome& outcome, Step&& step)
{
    try {
        if (step())
            ++outcome.done;
        else
            outcome.failures.add(name, ChangedSinceListed);
    } catch (const JobStopped&) {
        outcome.stopped = true;
        outcome.notDone << name;
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

/// Walks `count` files with `progress`, each through `one(i)`; once a stop is asked, the
/// files not come to are listed as not done.
template <typename One>
FileOpOutcome walkFiles(size_t count, JobProgress* progress,
                        const std::function<QString(size_t)>& nameOf, One&& one)
{
    FileOpOutcome outcome;
    for (size_t i = 0; i < count; ++i) {
        if (progress && (progress->stop || outcome.stopped)) {
            outcome.stopped = true;
            outcome.notDone << nameOf(i);
            continue;
        }
        if (progress)
            progress->setCurrent(nameOf(i));
        one(i, outcome);
        if (progress)
            ++progress->filesDone;
    }
    return outcome;
}

/// Acts on the marked files that name an entry, each with its name and the identity the act
/// must find under it; the others are reported with their refusals.
template <typename Act>
FileOpOutcome actOnMarked(const std::vector<MarkedFile>& files, const FolderHandle& folder,
                          JobProgress* progress, Act&& act)
{
    const RowCheck check;
    return walkFiles(
        files.size(), progress, [&](size_t i) { return files[i].shown; },
        [&](size_t i, FileOpOutcome& outcome) {
            const MarkedFile& file = files[i];
            if (!file.name) {
                outcome.failures.add(file.shown, file.refusal);
                return;
            }
            std::optional<EntryIdentity> identity = file.identity;
            if (file.pinnedByTexts) {
                // A saved listing's row acts on the file it shows, pinned as it is now.
                try {
                    const std::optional<Entry> now = folder.Look(*file.name);
                    if (const QString change = check.change(file.sizeText, file.modifiedText, now);
                        !change.isEmpty()) {
                        outcome.failures.add(file.shown, change);
                        return;
                    }
                    identity = identityOf(*now);
                } catch (const FsError& error) {
                    outcome.failures.add(file.shown, error);
                    return;
                }
            }
            runOne(file.shown, outcome,
                   [&] { return act(file, *file.name, identity ? &*identity : nullptr); });
        });
}

} // namespace

std::vector<MarkedFile> markedFiles(const PaneList& rows, int image, const QString& folderReason,
                                    const PathRules& rules)
{
    std::vector<MarkedFile> files;
    for (const int i : rowsWithImage(rows, image)) {
        const QString text = rows.cellText(i, ColName);
        const PaneRow& row = rows.row(i);
        MarkedFile file;
        file.shown = reportName(text);
        file.size = row.size;
        if (isFolderRow(rows, i) && !row.isPlaceholder()) {
            file.refusal = folderReason;
        } else if (std::optional<NativeString> name = rowEntryName(row, text, rules)) {
            file.name = std::move(*name);
            file.identity = row.identity();
            file.pinnedByTexts = !file.identity && row.nativeName.empty();
            if (file.pinnedByTexts) {
                file.sizeText = rows.cellText(i, ColBytes);
                file.modifiedText = rows.cellText(i, ColModified);
            }
        } else {
            file.refusal = whyNotAName(row, text);
        }
        files.push_back(std::move(file));
    }
    return files;
}

std::vector<MarkedFile> markedForCopy(const PaneList& rows, const PathRules& rules)
{
    return markedFiles(rows, RowImage::SmallCopyLeft,
                       QStringLiteral("a folder; only files are copied"), rules);
}

std::vector<MarkedFile> markedForDelete(const PaneList& rows, const PathRules& rules)
{
    return markedFiles(rows, RowImage::SmallDelete,
                       QStringLiteral("a folder; folders are never deleted"), rules);
}

std::vector<Replacement> replacementsOf(const PaneList& rows, const FolderHandle& source,
                                        const FolderHandle& destination, const PathRules& rules)
{
    std::vector<Replacement> found;
    for (const int i : rowsWithImage(rows, RowImage::SmallCopyLeft)) {
        if (isFolderRow(rows, i))
            continue;
        const QString text = rows.cellText(i, ColName);
        const std::optional<NativeString> name = rowEntryName(rows.row(i), text, rules);
        if (!name)
            continue;
        try {
            std::optional<Entry> copy = source.Look(*name);
            std::optional<Entry> replaced = destination.Look(*name);
            // Only a plain file is replaced; a folder or link there is refused by the copy, and
            // a file is never its own copy.
            if (!copy || !replaced || replaced->isFolder || replaced->isSymlink ||
                (copy->device == replaced->device && copy->inode == replaced->inode))
                continue;
            found.push_back({*name, reportName(text), std::move(*copy), std::move(*replaced)});
        } catch (const FsError&) {
            // The copy itself reports what cannot be looked at.
        }
    }
    return found;
}

QString replacementQuestion(const std::vector<Replacement>& replacements, const QString& folder)
{
    constexpr size_t MaxNamed = 10;
    const DateTexts dates;
    const auto seconds = [](FileTime time) {
        return std::chrono::floor<std::chrono::seconds>(time.time_since_epoch()).count();
    };
    const auto bytes = [](int64_t size) {
        return size == 0 ? QStringLiteral("0 Bytes") : numberText(double(size)) + " Bytes";
    };
    QString text = replacements.size() == 1
                       ? QStringLiteral("1 marked file would replace a file of %1:").arg(folder)
                       : QStringLiteral("%1 marked files would replace files of %2:")
                             .arg(replacements.size())
                             .arg(folder);
    for (size_t i = 0; i < replacements.size() && i < MaxNamed; ++i) {
        const Replacement& r = replacements[i];
        text += QStringLiteral("\n%1: the copy (%2, %3) replaces %4, %5")
                    .arg(r.shownName, bytes(r.copy.size), dates.text(seconds(r.copy.modified)),
                         bytes(r.replaced.size), dates.text(seconds(r.replaced.modified)));
        // Newer as the times show it: within the same second neither is.
        if (seconds(r.replaced.modified) > seconds(r.copy.modified))
            text += QStringLiteral(", which is newer");
    }
    if (replacements.size() > MaxNamed)
        text += QStringLiteral("\nand %1 more").arg(replacements.size() - MaxNamed);
    text += QStringLiteral("\n\nReplace them, skip them and copy the rest, or cancel and copy "
                           "nothing?");
    return text;
}

CopyChoice CopyChoice::replacing(const std::vector<Replacement>& replacements)
{
    CopyChoice choice;
    for (const Replacement& r : replacements)
        choice.replace.emplace(r.name, r.replaced);
    return choice;
}

CopyChoice CopyChoice::skipping(const std::vector<Replacement>& replacements)
{
    CopyChoice choice;
    for (const Replacement& r : replacements)
        choice.skip.insert(r.name);
    return choice;
}

FileOpOutcome copyMarkedFiles(const PaneList& rows, FolderHandle& source, FolderHandle& destination,
                              const PathRules& rules, const CopyChoice& choice)
{
    return copyMarkedFiles(markedForCopy(rows, rules), source, destination, choice, nullptr);
}

FileOpOutcome copyMarkedFiles(const std::vector<MarkedFile>& files, FolderHandle& source,
                              FolderHandle& destination, const CopyChoice& choice,
                              JobProgress* progress)
{
    // A file left out is neither done nor failed.
    int skipped = 0;
    int64_t bytesBefore = 0;
    FileOpOutcome outcome = actOnMarked(
        files, source, progress,
        [&](const MarkedFile& file, const NativeString& name, const EntryIdentity* listed) {
            if (choice.skip.count(name)) {
                ++skipped;
                return true;
            }
            CopyBlockHook afterBlock;
            if (progress) {
                afterBlock = [progress, bytesBefore](int64_t bytes) {
                    progress->bytesDone = bytesBefore + bytes;
                    if (progress->stop)
                        throw JobStopped{};
                };
                bytesBefore += file.size;
            }
            const auto agreed = choice.replace.find(name);
            const bool copied =
                agreed == choice.replace.end()
                    ? source.CopyFile(name, listed, destination, false, nullptr, afterBlock)
                    : source.CopyFile(name, listed, destination, true, &agreed->second, afterBlock);
            if (progress)
                progress->bytesDone = bytesBefore;
            return copied;
        });
    outcome.done -= skipped;
    return outcome;
}

FileOpOutcome deleteMarkedFiles(const PaneList& rows, FolderHandle& folder, const PathRules& rules)
{
    return deleteMarkedFiles(markedForDelete(rows, rules), folder, nullptr);
}

FileOpOutcome deleteMarkedFiles(const std::vector<MarkedFile>& files, FolderHandle& folder,
                                JobProgress* progress)
{
    return actOnMarked(
        files, folder, progress,
        [&](const MarkedFile&, const NativeString& name, const EntryIdentity* listed) {
            return folder.DeleteFile(name, listed, false);
        });
}

FileOpOutcome deleteAllFiles(const std::vector<ListedFile>& files, FolderHandle& folder,
                             JobProgress* progress)
{
    return walkFiles(
        files.size(), progress,
        [&](size_t i) { return reportName(nativeToQString(files[i].name)); },
        [&](size_t i, FileOpOutcome& outcome) {
            const ListedFile& file = files[i];
            const QString name = reportName(nativeToQString(file.name));
            if (!file.identity) {
                outcome.failures.add(name, NotLookedAt);
                return;
            }
            runOne(name, outcome,
                   [&] { return folder.DeleteFile(file.name, &*file.identity, true); });
        });
}

} // namespace vennic
