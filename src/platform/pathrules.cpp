#include "platform/pathrules.h"

#include "platform/mountinfo.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace vennic {

namespace {

std::string realPath(const std::string& path)
{
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr),
                                                         &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

std::string currentFolder()
{
    std::unique_ptr<char, decltype(&std::free)> cwd(getcwd(nullptr, 0), &std::free);
    return cwd ? std::string(cwd.get()) : std::string("/");
}

/// The resolved form of a path, or of its longest existing ancestor when the path does not
/// exist, so a drive can be named for a folder about to be created.
std::string resolvedOrAncestor(std::string path)
{
    if (path.empty())
        return {};
    if (path.front() != '/')
        path = currentFolder() + "/" + path;
    while (true) {
        const std::string resolved = realPath(path);
        if (!resolved.empty())
            return resolved;
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
        const size_t slash = path.find_last_of('/');
        if (slash == std::string::npos || path == "/")
            return "/";
        path.erase(slash == 0 ? 1 : slash);
    }
}

bool isComponentPrefix(const std::string& prefix, const std::string& path)
{
    if (prefix == "/")
        return !path.empty() && path.front() == '/';
    return path.compare(0, prefix.size(), prefix) == 0 &&
           (path.size() == prefix.size() || path[prefix.size()] == '/');
}

} // namespace

PathStyle PathRules::nativeStyle()
{
#ifdef _WIN32
    return PathStyle::Windows;
#else
    return PathStyle::Posix;
#endif
}

PathRules::PathRules(PathStyle style, std::string mountInfoFile)
    : m_style(style), m_mountInfoFile(std::move(mountInfoFile))
{
}

NativeString PathRules::drivePart(const NativeString& path) const
{
    if (m_style == PathStyle::Windows)
        return path.substr(0, 2);
    if (path.empty())
        return {};
    const MountTable table = MountTable::read(m_mountInfoFile);
    const std::string resolved = resolvedOrAncestor(path);
    // The mount id names the file system exactly, even under bind mounts whose mount points
    // are not prefixes one would guess. It is trusted only when its mount point leads to the
    // resolved path, so a table read from elsewhere is never mixed with this system's ids.
    struct statx sx {};
    if (statx(AT_FDCWD, resolved.c_str(), AT_NO_AUTOMOUNT, STATX_MNT_ID, &sx) == 0 &&
        (sx.stx_mask & STATX_MNT_ID)) {
        const MountEntry* byId = table.byMountId(sx.stx_mnt_id);
        if (byId && isComponentPrefix(byId->mountPoint, resolved))
            return byId->mountPoint;
    }
    if (const MountEntry* byPrefix = table.byPathPrefix(resolved))
        return byPrefix->mountPoint;
    return "/";
}

NativeString PathRules::folderText(const NativeString& path) const
{
    const char sep = separator();
    if (!path.empty() && path.back() == sep)
        return path;
    return path + sep;
}

NativeString PathRules::upOneLevel(const NativeString& path) const
{
    const char sep = separator();
    if (m_style == PathStyle::Windows) {
        if (path.size() <= 3)
            return path;
        const size_t last = path.find_last_of(sep);
        if (last == NativeString::npos)
            return path;
        // A drive root ("C:\") keeps its separator.
        return last + 1 == 3 ? path.substr(0, last + 1) : path.substr(0, last);
    }
    NativeString trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == sep)
        trimmed.pop_back();
    const size_t last = trimmed.find_last_of(sep);
    if (last == NativeString::npos)
        return path;
    if (last == 0)
        return NativeString(1, sep);
    return trimmed.substr(0, last);
}

NativeString PathRules::driveRoot(const NativeString& drive) const
{
    if (m_style == PathStyle::Windows)
        return folderText(drive.substr(0, 2));
    return drive;
}

} // namespace vennic
