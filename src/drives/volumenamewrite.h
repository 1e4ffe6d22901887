#pragma once

#include "platform/filesystem.h"

#include <QString>

#include <optional>

namespace vennic {

/// Sets the volume name of the drive at `drivePath`. Returns nothing when the name was
/// written, else the message that tells the user why it was not. A name holding a control
/// character is refused before the drive is opened, so nothing is written.
std::optional<QString> writeVolumeName(FileSystem& fileSystem, const NativeString& drivePath,
                                       const QString& name);

/// The message for a volume-name write that failed: what failed, the system's reason when it
/// gave one, and the error's description and number.
QString volumeNameFailureText(const FsError& error);

} // namespace vennic
