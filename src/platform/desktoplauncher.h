#pragma once

#include "platform/filelauncher.h"

namespace vennic {

/// Opens files through the desktop services (on Linux the desktop's own opener, started from
/// an argument list).
class DesktopLauncher : public FileLauncher {
public:
    bool open(const NativeString& path) override;
};

} // namespace vennic
