#include "fileops/attributeedit.h"

namespace vennic {

namespace {

constexpr uint32_t StorableBits = Attr::ReadOnly | Attr::Hidden | Attr::System | Attr::Archive;

} // namespace

AttributeEdit::AttributeEdit(NativeString name, uint32_t present, bool folder, PathStyle style,
                             std::optional<EntryIdentity> listed)
    : m_name(std::move(name)), m_listed(listed), m_present(present), m_folder(folder),
      m_style(style)
{
    if (!m_folder && !isLink())
        m_writable = m_style == PathStyle::Windows ? StorableBits : Attr::ReadOnly;
}

std::optional<AttributeEdit> AttributeEdit::read(const FolderHandle& folder,
                                                 const NativeString& name,
                                                 std::optional<EntryIdentity> listed, bool isFolder,
                                                 PathStyle style)
{
    const std::optional<Entry> entry = folder.Look(name);
    if (!entry)
        throw FsError(FsErrorNumber::FileNotFound);
    if (listed && identityOf(*entry) != *listed)
        return std::nullopt;
    // The write goes to the entry that was read, even for a row that carries only its texts.
    return AttributeEdit(name, entry->attributes, isFolder, style, identityOf(*entry));
}

QString AttributeEdit::lockedReason(uint32_t bit) const
{
    if (m_writable & bit)
        return {};
    if (m_folder)
        return QStringLiteral("A folder's attributes are shown only; nothing is written.");
    if (isLink())
        return QStringLiteral("A symbolic link has no attributes of its own; nothing is "
                              "written to it or through it.");
    switch (bit) {
    case Attr::Hidden:
        return QStringLiteral("This file system keeps no hidden attribute: a name that begins "
                              "with \".\" is hidden.");
    case Attr::System:
        return QStringLiteral("This file system keeps no system attribute: devices, pipes and "
                              "sockets show it.");
    case Attr::Archive:
        return QStringLiteral("This file system keeps no archive attribute.");
    case Attr::Volume:
        return QStringLiteral("Shown only: only a drive's volume label has this attribute.");
    case Attr::Directory:
        return QStringLiteral("Shown only: folders have this attribute.");
    case Attr::Alias:
        return QStringLiteral("Shown only: symbolic links and shortcuts have this attribute.");
    case Attr::Compressed:
        return QStringLiteral("Shown only: the file system sets this for compressed files.");
    default:
        return QStringLiteral("Shown only.");
    }
}

uint32_t AttributeEdit::wanted(uint32_t ticked) const
{
    return (m_present & ~m_writable) | (ticked & m_writable);
}

AttributeEdit::Written AttributeEdit::write(FolderHandle& folder, uint32_t ticked) const
{
    const uint32_t attributes = wanted(ticked);
    if (m_writable == 0 || attributes == m_present)
        return {};
    const EntryIdentity* listed = m_listed ? &*m_listed : nullptr;
    if (!folder.SetAttributes(m_name, listed, attributes))
        return {false, std::nullopt};
    const std::optional<Entry> now = folder.Look(m_name);
    if (!now)
        throw FsError(FsErrorNumber::FileNotFound);
    return {true, now->attributes};
}

} // namespace vennic
