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
    AttributeEdit(NativeString name, uint32_t present, bool folder,
                  PathStyle style = PathRules::nativeStyle(),
                  std::optional<EntryIdentity> listed = std::nullopt);

    /// Reads the attributes of the entry `name` of `folder` (a link as the link itself).
    /// Nothing when the name no longer leads to the `listed` entry. Throws FsError when the
    /// entry is missing or cannot be read.
    static std::optional<AttributeEdit> read(const FolderHandle& folder, const NativeString& name,
                                             std::optional<EntryIdentity> listed, bool isFolder,
                                             PathStyle style = PathRules::nativeStyle());

    /// The entry's name in its folder.
    const NativeString& name() const { return m_name; }
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
    struct Written {
        /// False when the name no longer led to the entry that was read: nothing was written.
        bool stillListed = true;
        /// The attributes read back; nothing when the boxes changed nothing.
        std::optional<uint32_t> attributes;
    };
    /// Writes what the ticked boxes change to the entry of `folder` that was read, in one call,
    /// and reads the attributes back. Nothing is written when they change nothing, or when the
    /// name now leads to another entry. Throws FsError when the write or the read-back fails.
    Written write(FolderHandle& folder, uint32_t ticked) const;

private:
    NativeString m_name;
    std::optional<EntryIdentity> m_listed;
    uint32_t m_present = 0;
    uint32_t m_writable = 0;
    bool m_folder = false;
    PathStyle m_style = PathStyle::Posix;
};

} // namespace vennic
