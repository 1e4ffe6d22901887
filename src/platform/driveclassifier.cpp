#include "platform/driveclassifier.h"

#include "platform/filesystem.h"
#include "platform/mountinfo.h"

#include <cstdlib>
#include <fstream>
#include <memory>
#include <unordered_set>

namespace vennic {

namespace {

/// Disk-backed file systems that may sit on no block device of their own (a pool, a
/// subvolume, a layered or host-shared tree): they are still fixed storage.
bool isLocalStorageFileSystem(const std::string& fsType)
{
    static const std::unordered_set<std::string> local = {
        "ext2",       "ext3",           "ext4",         "xfs",           "btrfs",        "zfs",
        "overlay",    "aufs",           "f2fs",         "jfs",           "reiserfs",     "vfat",
        "msdos",      "exfat",          "ntfs",         "ntfs3",         "fuseblk",      "hfs",
        "hfsplus",    "apfs",           "bcachefs",     "nilfs2",        "squashfs",     "erofs",
        "ufs",        "minix",          "virtiofs",     "fuse.mergerfs", "fuse.unionfs", "ecryptfs",
        "fuse.encfs", "fuse.gocryptfs", "fuse.ntfs-3g", "fuse.bindfs"};
    return local.count(fsType) != 0;
}

std::string realPath(const std::string& path)
{
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr),
                                                         &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

bool fileExists(const std::string& path)
{
    std::ifstream in(path);
    return static_cast<bool>(in);
}

} // namespace

DriveClassifier::DriveClassifier(std::string sysRoot) : m_sysRoot(std::move(sysRoot)) {}

int DriveClassifier::blockDeviceKind(unsigned major, unsigned minor) const
{
    // <sys>/dev/block/<major>:<minor> links to the device's folder; a partition's folder holds a
    // "partition" file and sits inside the folder of its disk, which carries "removable".
    const std::string link =
        m_sysRoot + "/dev/block/" + std::to_string(major) + ":" + std::to_string(minor);
    std::string device = realPath(link);
    if (device.empty())
        return -1;
    if (fileExists(device + "/partition")) {
        const size_t slash = device.find_last_of('/');
        if (slash != std::string::npos && slash > 0)
            device.erase(slash);
    }
    std::ifstream removable(device + "/removable");
    int flag = 0;
    if (removable >> flag && flag == 1)
        return DriveKind::Removable;
    return DriveKind::Fixed;
}

int DriveClassifier::driveType(const MountEntry& mount) const
{
    if (isNetworkFileSystem(mount.fsType))
        return DriveKind::Remote;
    if (mount.fsType == "iso9660" || mount.fsType == "udf")
        return DriveKind::CdRom;
    if (mount.fsType == "tmpfs" || mount.fsType == "ramfs")
        return DriveKind::RamDisk;
    if (isPseudoFileSystem(mount.fsType))
        return DriveKind::Unknown;
    // Major 0 is the kernel's number for file systems without a device.
    if (mount.major != 0) {
        const int kind = blockDeviceKind(mount.major, mount.minor);
        if (kind >= 0)
            return kind;
    }
    if (isLocalStorageFileSystem(mount.fsType))
        return DriveKind::Fixed;
    return DriveKind::Unknown;
}

} // namespace vennic
