#pragma once

#include "platform/filesystem.h"
#include "platform/mountinfo.h"

#include <functional>
#include <memory>
#include <string>

namespace vennic {

/// Opens the drive whose mount point is `driveName` in `table`. Throws FsError 68 ("Device
/// unavailable") when no file system is mounted there. `folderOpener` gives the drive's root
/// folder object.
std::unique_ptr<Drive>
openPosixDrive(const NativeString& driveName, const MountTable& table,
               std::function<std::unique_ptr<Folder>(const NativeString&)> folderOpener);

/// The error for a failed volume-name write: the errno's number and a reason a user can act on
/// (missing rights, a name the file system refuses, a FAT or exFAT volume that is mounted, a
/// file system without labels, a read-only drive).
FsError volumeNameError(int err, const std::string& fsType);

/// Decodes the "\x20"-style escapes udev writes into the names of /dev/disk/by-label.
std::string decodeLabelEscapes(const std::string& name);

} // namespace vennic
