#pragma once

#include "platform/filesystem.h"

namespace vennic {

/// Opens a file with the desktop's default application, without a shell. The window's
/// implementation asks the desktop; tests install one of their own.
class FileLauncher {
public:
    virtual ~FileLauncher() = default;
    /// Starts the default application on the file at a full native path. False when no
    /// launcher is there or it could not be started.
    virtual bool open(const NativeString& path) = 0;
};

} // namespace vennic
