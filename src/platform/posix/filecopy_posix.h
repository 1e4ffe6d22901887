#pragma once

#include "platform/filesystem.h"

namespace vennic {

/// Copies the file `source` to `destination` (a full file path) without ever damaging the
/// destination: the bytes go to a hidden temporary file in the destination folder, created
/// with the source's permission bits (set-user/group-id dropped) and modification time, flushed
/// to disk and renamed over the destination. On any failure the temporary file is removed and
/// an existing destination is left as it was.
///
/// Refused with an FsError and a detail: a source that is not a regular file, a destination
/// that is a folder, a symbolic link or read-only (70), the same file as the source (same
/// device and inode, whatever the path texts), an existing destination without `overwrite`
/// (58). A full disk or a file-size limit gives 61.
void copyFileSafely(const NativeString& source, const NativeString& destination, bool overwrite);

} // namespace vennic
