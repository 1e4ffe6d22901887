#pragma once

#include "platform/filesystem.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdint>

namespace vennic {

#ifdef STATX_MNT_ID
constexpr unsigned kStatxMountId = STATX_MNT_ID;
#else
constexpr unsigned kStatxMountId = 0x1000U;
#endif

/// What one statx of a listed entry asks for: everything a row shows, in one call.
constexpr unsigned kEntryStatxMask = STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_ATIME |
                                     STATX_MTIME | STATX_BTIME | STATX_INO | kStatxMountId;

/// A statx time as a FileTime.
FileTime fileTimeOf(const struct statx_timestamp& t);
/// The birth time when the file system gave a non-zero one, else the modification time.
FileTime createdTimeOf(const struct statx& st);
/// The device number of an entry.
uint64_t deviceOf(const struct statx& st);
/// The attribute bits of an entry from its name and its (not followed) statx: R when the owner
/// may not write, H for a name beginning with ".", S for a device, FIFO or socket, D for a
/// folder or a link to one, a for a symbolic link, C when the file system reports compression.
uint32_t attributesOf(const char* name, const struct statx& st, bool linkToFolder);
/// True when the symbolic link `name` in the folder `dirFd` leads to a folder. Costs one statx
/// that follows the link; the link's target is never opened.
bool linkLeadsToFolder(int dirFd, const char* name);
/// The name of a changed attribute bit a POSIX file system has no place for (hidden, system or
/// archive), for a message; nothing when every changed bit can be stored.
const char* unstorableAttribute(uint32_t changed);
/// The entry of a name and its statx (not followed).
Entry entryFromStatx(const char* name, const struct statx& st, bool linkToFolder);

} // namespace vennic
