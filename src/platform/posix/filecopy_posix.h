#pragma once

#include "platform/filesystem.h"

#include <sys/stat.h>

#include <functional>

namespace vennic {

/// How a copy writes its file. The defaults are what the program uses.
struct CopyOptions {
    /// Writes into an unnamed file (O_TMPFILE) that gets its name only once it is whole, where
    /// the file system offers one. Off, or where it is not offered, a hidden temporary of the
    /// program's own naming is written, and stale ones whose writer is gone are removed first.
    bool unnamedTemporary = true;
    /// Where several copies go into one folder: set once its stale temporaries were removed,
    /// so the next copy does not look for them again.
    bool* staleRemoved = nullptr;
    /// With overwrite: the only file the copy may replace, as the user saw it (entry, size and
    /// modified time); another one found under the name is refused (58).
    const Entry* replacing = nullptr;
    /// Called after each block written, with the bytes copied so far.
    std::function<void(int64_t bytes)> afterBlock;
};

/// The name prefix and suffix of the program's own temporary files.
constexpr const char* kCopyTemporaryPrefix = ".vennic-copy-";
constexpr const char* kCopyTemporarySuffix = ".tmp";

/// Copies the open regular file `from` (whose fstat is `sourceStat`) into the folder `toDir` as
/// `name`, without ever damaging the destination: the bytes go to a temporary file in that
/// folder with the source's permission bits (set-user/group-id dropped) and modification time,
/// are flushed to disk, and only then take the name, replacing a file of that name in one
/// step. A copy killed midway leaves nothing under the real name, and nothing at all where the
/// file system offers unnamed files. `shownDestination` names the destination in messages.
///
/// Refused with an FsError and a detail: a destination that is a folder, a symbolic link or
/// read-only (70), the same file as the source (same device and inode), an existing
/// destination without `overwrite` (58). A full disk or a file-size limit gives 61.
void copyOpenFile(int from, const struct stat& sourceStat, const NativeString& shownSource,
                  int toDir, const NativeString& name, const NativeString& shownDestination,
                  bool overwrite, const CopyOptions& options = {});

/// Copies the file `source` to `destination` (full paths) as copyOpenFile() does. The source
/// path is followed as it stands; devices, pipes and sockets are refused without being opened.
void copyFileSafely(const NativeString& source, const NativeString& destination, bool overwrite,
                    const CopyOptions& options = {});

/// Removes from the folder `dirFd` every temporary file of the program's own naming whose
/// writer is gone (no process holds its lock). Returns how many went.
int removeStaleCopyTemporaries(int dirFd);

} // namespace vennic
