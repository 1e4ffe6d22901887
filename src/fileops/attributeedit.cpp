#include "fileops/attributeedit.h"

namespace vennic {

namespace {

constexpr uint32_t StorableBits = Attr::ReadOnly | Attr::Hidden | Attr::System | Attr::Archive;

} // namespace

AttributeEdit::AttributeEdit(NativeString path, uint32_t present, bool folder, PathStyle style)
    : m_path(std::move(path)), m_present(present), m_folder(folder), m_style(style)
{
    if (!m_folder && !isLink())
        m_writable = m_style == PathStyle::Windows ? StorableBits : Attr::ReadOnly;
}

AttributeEdit AttributeEdit::read(FileSystem& fileSystem, const NativeString& path, bool folder,
                                  PathStyle style)
{
    const uint32_t present =
        folder ? fileSystem.GetFolder(path)->Attributes() : fileSystem.GetFile(path)->Attributes();
    return AttributeEdit(path, present, folder, style);
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

std::optional<uint32_t> AttributeEdit::write(FileSystem& fileSystem, uint32_t ticked) const
{
    const uint32_t attributes = wanted(ticked);
    if (m_writable == 0 || attributes == m_present)
        return std::nullopt;
    fileSystem.GetFile(m_path)->SetAttributes(attributes);
    return fileSystem.GetFile(m_path)->Attributes();
}

} // namespace vennic
