#pragma once

#include <cstdint>
#include <string>

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

} // namespace vennic
