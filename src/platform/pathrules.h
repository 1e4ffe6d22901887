#pragma once

#include "platform/filesystem.h"

#include <string>

namespace vennic {

enum class PathStyle { Windows, Posix };

/// Every rule that turns one path into another, for both path styles, so each style's rules
/// are tested on any machine.
class PathRules {
public:
    /// The rules of the system Vennic runs on.
    static PathStyle nativeStyle();

    explicit PathRules(PathStyle style = nativeStyle(),
                       std::string mountInfoFile = "/proc/self/mountinfo");

    PathStyle style() const { return m_style; }
    char separator() const { return m_style == PathStyle::Windows ? '\\' : '/'; }

    /// The drive part of a path. Windows: its first two characters ("C:"). POSIX: the mount
    /// point of the file system holding the path, found by the path's mount id in the mount
    /// table, else by the longest mount-point prefix of the resolved path.
    NativeString drivePart(const NativeString& path) const;
    /// The path with the separator appended when it does not end in one.
    NativeString folderText(const NativeString& path) const;
    /// One folder up. Windows: a path of three characters or fewer stays; otherwise characters
    /// are removed up to and including the last "\", which a drive root keeps. POSIX: a
    /// trailing "/" is dropped first, then the same walk with "/", and "/" stays. A path longer
    /// than a root with no separator stays as it is.
    NativeString upOneLevel(const NativeString& path) const;
    /// The root of a drive as listed when the drive is picked ("C:\" or the mount point).
    NativeString driveRoot(const NativeString& drive) const;

private:
    PathStyle m_style;
    std::string m_mountInfoFile;
};

} // namespace vennic
