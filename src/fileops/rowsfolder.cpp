#include "fileops/rowsfolder.h"

#include "listing/controlchars.h"
#include "listing/nativetext.h"
#include "platform/pathrules.h"

#include <filesystem>

namespace vennic {

std::vector<ListedFile> listedFiles(const std::vector<Entry>& files)
{
    std::vector<ListedFile> listed;
    listed.reserve(files.size());
    for (const Entry& entry : files) {
        if (entry.isFolder)
            continue;
        listed.push_back(
            {entry.name, entry.statFailed ? std::nullopt : std::optional(identityOf(entry))});
    }
    return listed;
}

void RowsFolder::clear()
{
    m_folder.reset();
    m_shownText.clear();
    m_files.clear();
    m_files.shrink_to_fit();
}

void RowsFolder::set(std::optional<FolderIdentity> folder, QString shownText,
                     std::vector<ListedFile> files)
{
    m_folder = std::move(folder);
    m_shownText = std::move(shownText);
    m_files = std::move(files);
}

std::optional<NativeString> RowsFolder::path() const
{
    if (!m_folder)
        return std::nullopt;
    return m_folder->path;
}

CommandFolder commandFolder(const RowsFolder& rows, const QString& boxText, const QString& pane,
                            bool boxEditAllowed)
{
    const std::optional<FolderIdentity>& folder = rows.folder();
    if (!folder)
        return {std::nullopt,
                QStringLiteral("The rows of the %1 pane belong to no folder of this machine that "
                               "a command may act on (a listing failed, or a saved listing "
                               "names none). List a folder in the pane first.")
                    .arg(pane)};
    // A listed folder's path came from the system or from a box that was checked before it
    // was listed, so a control character in it is the folder's own name.
    if (folder->path.empty())
        return {std::nullopt,
                QStringLiteral("The folder of the %1 pane is empty, so no command acts on it.")
                    .arg(pane)};
    if (!boxEditAllowed && boxText != rows.shownText())
        return {std::nullopt,
                QStringLiteral("The %1 pane's path box reads \"%2\", but the pane shows the "
                               "rows of \"%3\". Press Enter in the box to list the folder it "
                               "names, or put back \"%3\". Nothing was changed.")
                    .arg(pane, withVisibleControls(boxText),
                         withVisibleControls(nativeToQString(folder->path)))};
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

QString noLongerListedMessage(const NativeString& path, const QString& pane)
{
    return QStringLiteral("%1 is no longer the folder the pane lists; list it again. (The %2 "
                          "pane's folder was removed, renamed, made again or swapped for a link "
                          "since it was listed.) Nothing was changed.")
        .arg(withVisibleControls(nativeToQString(path)), pane);
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
