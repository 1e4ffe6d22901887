#include "fileops/rowsfolder.h"

#include "listing/nativetext.h"
#include "platform/controlchars.h"
#include "platform/pathrules.h"

#include <filesystem>

namespace vennic {

void RowsFolder::clear()
{
    m_folder.reset();
    m_shownText.clear();
}

void RowsFolder::set(std::optional<NativeString> folder, QString shownText)
{
    m_folder = std::move(folder);
    m_shownText = std::move(shownText);
}

CommandFolder commandFolder(const RowsFolder& rows, const QString& boxText, const QString& pane,
                            bool boxEditAllowed)
{
    const std::optional<NativeString>& folder = rows.folder();
    if (!folder)
        return {std::nullopt,
                QStringLiteral("The rows of the %1 pane belong to no folder of this machine that "
                               "a command may act on (a listing failed, or a saved listing "
                               "names none). List a folder in the pane first.")
                    .arg(pane)};
    if (folder->empty() || hasControlCharacter(*folder))
        return {std::nullopt,
                QStringLiteral("The folder of the %1 pane is empty or holds a control "
                               "character, so no command acts on it.")
                    .arg(pane)};
    if (!boxEditAllowed && boxText != rows.shownText())
        return {std::nullopt,
                QStringLiteral("The %1 pane's path box reads \"%2\", but the pane shows the "
                               "rows of \"%3\". Press Enter in the box to list the folder it "
                               "names, or put back \"%3\". Nothing was changed.")
                    .arg(pane, withVisibleControls(boxText),
                         withVisibleControls(nativeToQString(*folder)))};
    return {folder, {}};
}

std::optional<NativeString> savedListingFolder(const QString& pathLine, const PathRules& rules)
{
    if (pathLine.isEmpty() || hasControlCharacter(pathLine))
        return std::nullopt;
    const bool full = rules.style() == PathStyle::Windows
                          ? (pathLine.size() >= 3 && pathLine[1] == u':' &&
                             (pathLine[2] == u'\\' || pathLine[2] == u'/')) ||
                                pathLine.startsWith(QLatin1String("\\\\"))
                          : pathLine.startsWith(u'/');
    if (!full)
        return std::nullopt;
    try {
        return std::filesystem::path(pathLine.toStdU16String()).native();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool sameFolder(const NativeString& a, const NativeString& b)
{
    const auto normal = [](const NativeString& path) {
        std::filesystem::path p = std::filesystem::path(path).lexically_normal();
        // "/data/" and "/data" are one folder; the root keeps its separator.
        if (p.has_relative_path() && !p.has_filename())
            p = p.parent_path();
        return p;
    };
    if (normal(a) == normal(b))
        return true;
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

} // namespace vennic
