#include "platform/posix/drive_posix.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <future>
#include <linux/fs.h>
#include <mutex>
#include <sys/ioctl.h>
#include <sys/statvfs.h>
#include <thread>
#include <unistd.h>

namespace vennic {

namespace {

/// How long a network file system may take to answer before its drive counts as not ready.
constexpr std::chrono::milliseconds networkTimeout{2000};

/// The sizes and identity of a mounted file system, as one statvfs call gives them.
struct SpaceInfo {
    bool ready = false;
    int64_t total = 0;
    int64_t free = 0;
    int64_t available = 0;
    int32_t serial = 0;
};

SpaceInfo statSpace(const std::string& mountPoint)
{
    SpaceInfo info;
    struct statvfs sv {};
    if (statvfs(mountPoint.c_str(), &sv) != 0)
        return info;
    const auto unit = static_cast<int64_t>(sv.f_frsize);
    info.ready = true;
    info.total = static_cast<int64_t>(sv.f_blocks) * unit;
    info.free = static_cast<int64_t>(sv.f_bfree) * unit;
    info.available = static_cast<int64_t>(sv.f_bavail) * unit;
    info.serial = static_cast<int32_t>(static_cast<uint32_t>(sv.f_fsid & 0xFFFFFFFFu));
    return info;
}

/// Asks a network file system on a thread of its own: a server that does not answer keeps
/// that thread, never the caller. The thread is detached and ends whenever the call returns.
SpaceInfo statSpaceWithTimeout(const std::string& mountPoint)
{
    std::packaged_task<SpaceInfo()> task([mountPoint] { return statSpace(mountPoint); });
    std::future<SpaceInfo> result = task.get_future();
    try {
        std::thread(std::move(task)).detach();
    } catch (const std::system_error&) {
        return {};
    }
    if (result.wait_for(networkTimeout) != std::future_status::ready)
        return {};
    return result.get();
}

std::string realPath(const std::string& path)
{
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr),
                                                         &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

/// The label through the file system itself; empty when it keeps none or cannot say.
std::string labelByIoctl(const std::string& mountPoint)
{
    const int fd = open(mountPoint.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return {};
    char label[FSLABEL_MAX] = {};
    const int rc = ioctl(fd, FS_IOC_GETFSLABEL, label);
    close(fd);
    if (rc != 0)
        return {};
    label[FSLABEL_MAX - 1] = '\0';
    return label;
}

/// The label udev found for the mount's device, from the links in /dev/disk/by-label.
std::string labelByUdev(const std::string& source)
{
    if (source.rfind("/dev/", 0) != 0)
        return {};
    const std::string device = realPath(source);
    if (device.empty())
        return {};
    const std::string folder = "/dev/disk/by-label";
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return {};
    std::string label;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        if (realPath(folder + "/" + name) == device) {
            label = decodeLabelEscapes(name);
            break;
        }
    }
    closedir(dir);
    return label;
}

/// A mounted file system as a drive. Sizes and the label are read on first use, once, so
/// opening a drive to name it costs nothing and a slow network server is asked only when needed.
class PosixDrive : public Drive {
public:
    PosixDrive(MountEntry mount,
               std::function<std::unique_ptr<Folder>(const NativeString&)> folderOpener)
        : m_mount(std::move(mount)), m_folderOpener(std::move(folderOpener)),
          m_network(isNetworkFileSystem(m_mount.fsType)),
          m_driveType(DriveClassifier("/sys").driveType(m_mount))
    {
    }

    NativeString DriveLetter() const override { return m_mount.mountPoint; }
    int DriveType() const override { return m_driveType; }
    std::string FileSystem() const override { return m_mount.fsType; }
    int64_t TotalSize() const override { return readySpace().total; }
    int64_t FreeSpace() const override { return readySpace().free; }
    int64_t AvailableSpace() const override { return readySpace().available; }
    int32_t SerialNumber() const override { return readySpace().serial; }
    std::string ShareName() const override { return m_network ? m_mount.source : std::string(); }
    NativeString Path() const override { return m_mount.mountPoint; }
    bool IsReady() const override { return space().ready; }

    /// The space figures of a drive that answered; one that did not is "Disk not ready", so a
    /// listing stops there instead of waiting on its folders.
    const SpaceInfo& readySpace() const
    {
        const auto& figures = space();
        if (!figures.ready)
            throw FsError(FsErrorNumber::DiskNotReady, m_mount.mountPoint + " did not answer");
        return figures;
    }

    std::unique_ptr<Folder> RootFolder() const override
    {
        if (!m_folderOpener)
            return nullptr;
        NativeString root = m_mount.mountPoint;
        if (root.empty() || root.back() != '/')
            root += '/';
        return m_folderOpener(root);
    }

    std::string VolumeName() const override
    {
        std::call_once(m_labelOnce, [this] {
            // A network file system has no label here, and opening its mount point could hang.
            if (m_network)
                return;
            m_label = labelByIoctl(m_mount.mountPoint);
            if (m_label.empty())
                m_label = labelByUdev(m_mount.source);
        });
        return m_label;
    }

    void SetVolumeName(const std::string& name) override
    {
        if (m_network)
            throw volumeNameError(EOPNOTSUPP, m_mount.fsType);
        if (name.size() >= FSLABEL_MAX)
            throw volumeNameError(EINVAL, m_mount.fsType);
        const int fd = open(m_mount.mountPoint.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            throw volumeNameError(errno, m_mount.fsType);
        char label[FSLABEL_MAX] = {};
        std::memcpy(label, name.data(), name.size());
        const int rc = ioctl(fd, FS_IOC_SETFSLABEL, label);
        const int err = errno;
        close(fd);
        if (rc != 0)
            throw volumeNameError(err, m_mount.fsType);
        VolumeName();
        m_label = name;
    }

private:
    const SpaceInfo& space() const
    {
        std::call_once(m_spaceOnce, [this] {
            m_space = m_network ? statSpaceWithTimeout(m_mount.mountPoint)
                                : statSpace(m_mount.mountPoint);
        });
        return m_space;
    }

    MountEntry m_mount;
    std::function<std::unique_ptr<Folder>(const NativeString&)> m_folderOpener;
    bool m_network;
    int m_driveType;
    mutable std::once_flag m_spaceOnce;
    mutable SpaceInfo m_space;
    mutable std::once_flag m_labelOnce;
    mutable std::string m_label;
};

} // namespace

std::unique_ptr<Drive>
openPosixDrive(const NativeString& driveName, const MountTable& table,
               std::function<std::unique_ptr<Folder>(const NativeString&)> folderOpener)
{
    const MountEntry* mount = table.byMountPoint(driveName);
    if (!mount)
        throw FsError(FsErrorNumber::DeviceUnavailable, driveName);
    return std::make_unique<PosixDrive>(*mount, std::move(folderOpener));
}

FsError volumeNameError(int err, const std::string& fsType)
{
    std::string reason;
    switch (err) {
    case EPERM:
    case EACCES:
        reason = "Changing the volume name needs administrator rights.";
        break;
    case EINVAL:
    case ERANGE:
        reason = "The file system does not accept this name.";
        break;
    case ENOTTY:
    case EOPNOTSUPP:
    case ENOSYS:
        if (fsType == "vfat" || fsType == "msdos" || fsType == "exfat")
            reason = "A FAT or exFAT volume cannot be relabelled while it is mounted.";
        else
            reason = "This file system does not support changing its volume name.";
        break;
    case EROFS:
        reason = "The drive is read-only.";
        break;
    default:
        reason = std::strerror(err);
        break;
    }
    return FsError::fromErrno(err, true, reason);
}

std::string decodeLabelEscapes(const std::string& name)
{
    auto hexValue = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    std::string out;
    out.reserve(name.size());
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
            const int high = hexValue(name[i + 2]), low = hexValue(name[i + 3]);
            if (high >= 0 && low >= 0) {
                out.push_back(static_cast<char>(high * 16 + low));
                i += 3;
                continue;
            }
        }
        out.push_back(name[i]);
    }
    return out;
}

} // namespace vennic
