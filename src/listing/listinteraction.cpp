#include "listing/listinteraction.h"

#include "listing/controlchars.h"
#include "platform/pathrules.h"

#include <filesystem>

namespace vennic {

QString viewerCaption(const QString& typeText)
{
    const QString type = typeText.toUpper();
    if (type == QLatin1String("DWG"))
        return QStringLiteral("AutoCAD");
    if (type == QLatin1String("BMP") || type == QLatin1String("GIF"))
        return QStringLiteral("Paint");
    return QStringLiteral("UnKnown");
}

bool isFolderTypeText(const QString& typeText)
{
    return typeText.startsWith(u' ');
}

RowMark toggledMark(uint32_t foreColor)
{
    if (foreColor == RowColor::Red)
        return {RowColor::Black, RowImage::SmallClicked};
    return {RowColor::Red, std::nullopt};
}

std::optional<NativeString> rowEntryName(const PaneRow& row, const QString& text,
                                         const PathRules& rules)
{
    if (row.isPlaceholder())
        return std::nullopt;
    if (!row.nativeName.empty()) {
        // A name the folder's own listing gave goes to the system as it is, control bytes and
        // all; only what no single entry could be called is refused.
        const NativeString& name = row.nativeName;
        if (name == "." || name == ".." || name.find('/') != NativeString::npos ||
            name.find('\0') != NativeString::npos)
            return std::nullopt;
        return name;
    }
    if (text.isEmpty() || text == QLatin1String(" ") || text == QLatin1String(".") ||
        text == QLatin1String("..") || text.contains(u'/') || hasControlCharacter(text) ||
        (rules.style() == PathStyle::Windows && (text.contains(u'\\') || text.contains(u':'))))
        return std::nullopt;
    try {
        // The path type spells UTF-16 the system's way (UTF-8 on POSIX).
        NativeString name = std::filesystem::path(text.toStdU16String()).native();
        if (name.empty() || hasControlCharacter(name))
            return std::nullopt;
        return name;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<NativeString> rowEntryPath(const PaneRow& row, const QString& text,
                                         const NativeString& folder, const PathRules& rules)
{
    // U+0000 ends a path at the system calls, so a folder holding one would be another.
    if (folder.empty() || folder.find('\0') != NativeString::npos)
        return std::nullopt;
    const std::optional<NativeString> name = rowEntryName(row, text, rules);
    if (!name)
        return std::nullopt;
    return rules.folderText(folder) + *name;
}

} // namespace vennic
