#pragma once

#include "fileops/failurelist.h"
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

/// Copies the file of every row of `rows` that carries the left pane's copy mark (image 9) from
/// `sourceFolder` into `destinationFolder` under the same name, replacing a file of that name.
/// Each row's native name is used, so names that are not UTF-8 are copied as they are. A folder
/// row, or a row whose text is not a single plain name, is skipped and reported; a failed copy
/// is reported and the walk goes on.
FileOpOutcome copyMarkedFiles(const PaneList& rows, const NativeString& sourceFolder,
                              const NativeString& destinationFolder, FileSystem& fileSystem,
                              const PathRules& rules);

/// Deletes, without forcing (a read-only file is refused), the file of every row of `rows` that
/// carries the delete mark (image 7), inside `folder`. Only rows of the list walked count, so a
/// file is deleted only when its own row carries the mark. A symbolic link goes as a link. A
/// folder row is reported and never deleted; failures are reported and the walk goes on.
FileOpOutcome deleteMarkedFiles(const PaneList& rows, const NativeString& folder,
                                FileSystem& fileSystem, const PathRules& rules);

/// Deletes every one of `files` (the files of `folder`, whether a list shows them or not) with
/// forcing, so read-only files go too. Sub-folders are not touched. Failures are reported and
/// the walk goes on.
FileOpOutcome deleteAllFiles(const std::vector<Entry>& files, const NativeString& folder,
                             FileSystem& fileSystem, const PathRules& rules);

} // namespace vennic
