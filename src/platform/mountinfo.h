#pragma once

#include "platform/driveclassifier.h"
#include "platform/filesystem.h"
#include "platform/mountentry.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vennic {

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
    /// Follows a path from the root mount through the mounts stacked on each of its prefixes,
    /// as the kernel does, so overmounted entries are never the answer.
    const MountEntry* resolve(const std::string& path) const;
    const MountEntry* rootMount() const;
    void index();

    std::vector<MountEntry> m_entries;
    /// The index of the root mount in m_entries, or m_entries.size() when there is none.
    size_t m_root = 0;
    /// The last entry mounted on each (parent mount, mount point) pair.
    std::map<std::pair<uint64_t, std::string>, size_t> m_children;
};

/// File-system kinds that decide how a mount is treated.
bool isPseudoFileSystem(const std::string& fsType);
bool isNetworkFileSystem(const std::string& fsType);

/// The drives a user would pick: mounted file systems without pseudo file systems, bind mounts
/// of single files, snap images or duplicates. Built from the table alone, so no call can hang.
std::vector<DriveListEntry> userDrives(const MountTable& table, const DriveClassifier& classifier);

} // namespace vennic
