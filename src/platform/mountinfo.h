#pragma once

#include "platform/filesystem.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vennic {

/// One line of the kernel's mount table (/proc/self/mountinfo), escapes such as "\040" decoded.
struct MountEntry {
    uint64_t mountId = 0;
    uint64_t parentId = 0;
    unsigned major = 0;
    unsigned minor = 0;
    std::string root;       ///< the path within the file system that is mounted
    std::string mountPoint; ///< where it is mounted
    std::string fsType;     ///< such as "ext4", "fuse.sshfs"
    std::string source;     ///< such as "/dev/sda1", "server:/export"
    std::string superOptions;
};

/// The mount table, read from a file (injectable for tests), and what follows from it.
class MountTable {
public:
    /// Reads the table; an unreadable file gives an empty table.
    static MountTable read(const std::string& mountInfoFile = "/proc/self/mountinfo");
    static MountTable parse(const std::string& text);

    const std::vector<MountEntry>& entries() const { return m_entries; }
    /// The visible mount with this id, if any.
    const MountEntry* byMountId(uint64_t id) const;
    /// The mount whose mount point is the longest prefix of an absolute, resolved path.
    const MountEntry* byPathPrefix(const std::string& path) const;
    /// The mount whose mount point is exactly this path (the last one mounted there).
    const MountEntry* byMountPoint(const std::string& path) const;

private:
    std::vector<MountEntry> m_entries;
};

/// File-system kinds that decide how a mount is treated.
bool isPseudoFileSystem(const std::string& fsType);
bool isNetworkFileSystem(const std::string& fsType);

/// Classifies mounts as drive types, reading /sys below an injectable root.
class DriveClassifier {
public:
    explicit DriveClassifier(std::string sysRoot = "/sys");
    int driveType(const MountEntry& mount) const;

private:
    std::string m_sysRoot;
};

/// The drives a user would pick: mounted file systems without pseudo file systems, bind mounts
/// of single files, snap images or duplicates. Built from the table alone, so no call can hang.
std::vector<DriveListEntry> userDrives(const MountTable& table, const DriveClassifier& classifier);

} // namespace vennic
