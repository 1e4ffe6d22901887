#pragma once

#include "platform/filesystem.h"
#include "platform/pathrules.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace vennic {

/// The attributes of one folder or file as the attribute dialog shows and changes them: the
/// bits read, which of them the user may change, why the others are locked, and the write.
/// Only a file's changeable bits are ever written, all in one call, so a failed write cannot
/// leave the file half changed. A folder, and a symbolic link (which has no attributes of its
/// own), are shown and never written. On POSIX file systems only read-only can be stored.
class AttributeEdit {
public:
    AttributeEdit() = default;
    AttributeEdit(NativeString path, uint32_t present, bool folder,
                  PathStyle style = PathRules::nativeStyle());

    /// Reads the attributes of the folder or file at `path`. Throws FsError when the entry
    /// cannot be read.
    static AttributeEdit read(FileSystem& fileSystem, const NativeString& path, bool folder,
                              PathStyle style = PathRules::nativeStyle());

    const NativeString& path() const { return m_path; }
    uint32_t present() const { return m_present; }
    bool isFolder() const { return m_folder; }
    bool isLink() const { return m_present & Attr::Alias; }
    /// The bits the user may change: none for a folder or a link.
    uint32_t writable() const { return m_writable; }
    /// Why the box of `bit` cannot be changed (its tool tip); empty for a box that can.
    QString lockedReason(uint32_t bit) const;

    /// The attributes the ticked boxes ask for: the changeable bits as ticked, every other bit
    /// as it is now.
    uint32_t wanted(uint32_t ticked) const;
    /// Writes what the ticked boxes change, in one call, and returns the attributes read back.
    /// Nothing is written, and nothing returned, when they change nothing. Throws FsError when
    /// the write or the read-back fails.
    std::optional<uint32_t> write(FileSystem& fileSystem, uint32_t ticked) const;

private:
    NativeString m_path;
    uint32_t m_present = 0;
    uint32_t m_writable = 0;
    bool m_folder = false;
    PathStyle m_style = PathStyle::Posix;
};

} // namespace vennic
