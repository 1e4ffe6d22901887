#pragma once

#include "fileops/failurelist.h"
#include "fileops/rowsfolder.h"
#include "platform/filesystem.h"

#include <QStringList>

#include <map>
#include <optional>
#include <set>
#include <vector>

namespace vennic {

class PaneList;
class PathRules;

class JobProgress;

/// What a copy or delete did: how many files it handled, every file it could not, and the
/// files it did not come to because it was stopped.
struct FileOpOutcome {
    int done = 0;
    FailureList failures;
    QStringList notDone;
    bool stopped = false;
};

/// A marked row as a command acts on it, taken from the pane's rows before the command runs,
/// so that the rows may be sorted or listed again meanwhile.
struct MarkedFile {
    QString shown; ///< the name as reports give it
    /// The name in the folder; nothing when the row names no file, and `refusal` says why.
    std::optional<NativeString> name;
    QString refusal;
    /// The entry the row was listed from; nothing for a saved listing's row, which must still
    /// show the file's size and modified time (`sizeText`, `modifiedText`).
    std::optional<EntryIdentity> identity;
    bool pinnedByTexts = false;
    QString sizeText;
    QString modifiedText;
    int64_t size = 0;
};

/// The rows of `rows` that carry `image`, in order; a folder row is refused with
/// `folderReason`.
std::vector<MarkedFile> markedFiles(const PaneList& rows, int image, const QString& folderReason,
                                    const PathRules& rules);
/// The copy-marked files of the left pane's rows, as copyMarkedFiles() takes them.
std::vector<MarkedFile> markedForCopy(const PaneList& rows, const PathRules& rules);
/// The delete-marked files of a pane's rows, as deleteMarkedFiles() takes them.
std::vector<MarkedFile> markedForDelete(const PaneList& rows, const PathRules& rules);

/// The reason given for a file whose name no longer leads to the entry the pane listed.
extern const QString ChangedSinceListed;

/// A marked file whose copy would replace a file of the destination folder.
struct Replacement {
    NativeString name;
    QString shownName;
    Entry copy;     ///< the marked file as it is now
    Entry replaced; ///< the destination's file of that name
};

/// The marked files (left copy marks) of `rows` whose copies would replace a file of
/// `destination` now, in the rows' order.
std::vector<Replacement> replacementsOf(const PaneList& rows, const FolderHandle& source,
                                        const FolderHandle& destination, const PathRules& rules);

/// The question Copy asks before it replaces files of `folder`: each file (up to ten, then how
/// many more) with both sizes and modified times, and a word where the replaced one is newer.
QString replacementQuestion(const std::vector<Replacement>& replacements, const QString& folder);

/// What Copy does with marked files whose copies would replace others.
struct CopyChoice {
    /// The files the user agreed to replace, by name; each only while it is the one shown.
    std::map<NativeString, Entry> replace;
    /// Marked files left out, because the user chose to keep the files they would replace.
    std::set<NativeString> skip;

    static CopyChoice replacing(const std::vector<Replacement>& replacements);
    static CopyChoice skipping(const std::vector<Replacement>& replacements);
};

/// Copies the file of every row of `rows` that carries the left pane's copy mark (image 9) from
/// the folder `source` into the folder `destination` under the same name. A file of that name
/// there is replaced only as `choice` allows; any other is refused and reported. Each row's
/// native name is used as it is. A row listed from its entry is copied only while its name
/// still leads to that entry; a row of a saved listing only while its file still has the size
/// and modified time the row shows. A folder row, a row that stands for nothing, a row whose
/// text is not a single plain name and a changed entry are skipped and reported; a failed copy
/// is reported and the walk goes on.
FileOpOutcome copyMarkedFiles(const PaneList& rows, FolderHandle& source, FolderHandle& destination,
                              const PathRules& rules, const CopyChoice& choice = {});
/// The same for files taken from the rows before. With `progress`, the copy reports as it goes
/// and ends when asked to: between files, or within a file, which is then left as it was.
FileOpOutcome copyMarkedFiles(const std::vector<MarkedFile>& files, FolderHandle& source,
                              FolderHandle& destination, const CopyChoice& choice,
                              JobProgress* progress);

/// Deletes, without forcing (a read-only file is refused), the file of every row of `rows` that
/// carries the delete mark (image 7), inside `folder`. Only rows of the list walked count, so a
/// file is deleted only when its own row carries the mark, and only while the row's name still
/// leads to the entry it was listed from (for a saved listing's row: a file of the row's size
/// and modified time). A symbolic link goes as a link. Folder rows, rows
/// that stand for nothing and changed entries are reported and never deleted; failures are
/// reported and the walk goes on.
FileOpOutcome deleteMarkedFiles(const PaneList& rows, FolderHandle& folder, const PathRules& rules);
/// The same for files taken from the rows before; `progress` as for copyMarkedFiles().
FileOpOutcome deleteMarkedFiles(const std::vector<MarkedFile>& files, FolderHandle& folder,
                                JobProgress* progress);

/// Deletes every one of `files` (the files a listing read in `folder`, whether a list shows
/// them or not) with forcing, so read-only files go too, each only while its name still leads
/// to the file that was listed. Files that came since are not touched, nor are sub-folders.
/// Failures are reported and the walk goes on.
FileOpOutcome deleteAllFiles(const std::vector<ListedFile>& files, FolderHandle& folder,
                             JobProgress* progress = nullptr);

} // namespace vennic
