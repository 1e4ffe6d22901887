#pragma once

#include "fileops/failurelist.h"
#include "fileops/rowsfolder.h"
#include "platform/filesystem.h"

#include <vector>

namespace vennic {

class PaneList;
class PathRules;

/// What a copy or delete did: how many files it handled and every file it could not.
struct FileOpOutcome {
    int done = 0;
    FailureList failures;
};

/// The reason given for a file whose name no longer leads to the entry the pane listed.
extern const QString ChangedSinceListed;

/// Copies the file of every row of `rows` that carries the left pane's copy mark (image 9) from
/// the folder `source` into the folder `destination` under the same name, replacing a file of
/// that name. Each row's native name is used as it is. A row listed from its entry is copied
/// only while its name still leads to that entry. A folder row, a row that stands for nothing,
/// a row whose text is not a single plain name and a changed entry are skipped and reported;
/// a failed copy is reported and the walk goes on.
FileOpOutcome copyMarkedFiles(const PaneList& rows, FolderHandle& source, FolderHandle& destination,
                              const PathRules& rules);

/// Deletes, without forcing (a read-only file is refused), the file of every row of `rows` that
/// carries the delete mark (image 7), inside `folder`. Only rows of the list walked count, so a
/// file is deleted only when its own row carries the mark, and only while the row's name still
/// leads to the entry it was listed from. A symbolic link goes as a link. Folder rows, rows
/// that stand for nothing and changed entries are reported and never deleted; failures are
/// reported and the walk goes on.
FileOpOutcome deleteMarkedFiles(const PaneList& rows, FolderHandle& folder, const PathRules& rules);

/// Deletes every one of `files` (the files a listing read in `folder`, whether a list shows
/// them or not) with forcing, so read-only files go too, each only while its name still leads
/// to the file that was listed. Files that came since are not touched, nor are sub-folders.
/// Failures are reported and the walk goes on.
FileOpOutcome deleteAllFiles(const std::vector<ListedFile>& files, FolderHandle& folder);

} // namespace vennic
