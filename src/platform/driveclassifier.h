#pragma once

#include "platform/mountentry.h"

#include <string>

namespace vennic {

/// Classifies mounts as drive types (the DriveKind values), reading /sys below an injectable
/// root so the rules can be checked on canned trees.
class DriveClassifier {
public:
    explicit DriveClassifier(std::string sysRoot = "/sys");
    int driveType(const MountEntry& mount) const;

private:
    /// The "removable" flag of the disk holding a block device, or nothing when the device
    /// is not a block device known below the /sys root.
    int blockDeviceKind(unsigned major, unsigned minor) const;

    std::string m_sysRoot;
};

} // namespace vennic
