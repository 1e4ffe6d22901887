#include "fileops/fileoperations.h"

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

/// Acts on the marked rows of `rows` that name an entry, each with its name and the identity
/// the act must find under it; the others are reported as `folderReason` or why they name none.
template <typename Act>
FileOpOutcome actOnMarked(const PaneList& rows, int image, const QString& folderReason,
                          const FolderHandle& folder, const PathRules& rules, Act&& act)
{
    FileOpOutcome outcome;
    const RowCheck check;
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
        std::optional<EntryIdentity> identity = row.identity();
        if (!identity && row.nativeName.empty()) {
            // A saved listing's row acts on the file it shows, pinned as it is now.
            try {
                const std::optional<Entry> now = folder.Look(*entryName);
                if (const QString change = check.change(rows, i, now); !change.isEmpty()) {
                    outcome.failures.add(name, change);
                    continue;
                }
                identity = identityOf(*now);
            } catch (const FsError& error) {
                outcome.failures.add(name, error);
                continue;
            }
        }
        runOne(name, outcome, [&] { return act(*entryName, identity ? &*identity : nullptr); });
    }
    return outcome;
}

} // namespace

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
    // A file left out is neither done nor failed.
    int skipped = 0;
    FileOpOutcome outcome = actOnMarked(
        rows, RowImage::SmallCopyLeft, QStringLiteral("a folder; only files are copied"), source,
        rules, [&](const NativeString& name, const EntryIdentity* listed) {
            if (choice.skip.count(name)) {
                ++skipped;
                return true;
            }
            const auto agreed = choice.replace.find(name);
            if (agreed == choice.replace.end())
                return source.CopyFile(name, listed, destination, false);
            return source.CopyFile(name, listed, destination, true, &agreed->second);
        });
    outcome.done -= skipped;
    return outcome;
}

FileOpOutcome deleteMarkedFiles(const PaneList& rows, FolderHandle& folder, const PathRules& rules)
{
    return actOnMarked(rows, RowImage::SmallDelete,
                       QStringLiteral("a folder; folders are never deleted"), folder, rules,
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
