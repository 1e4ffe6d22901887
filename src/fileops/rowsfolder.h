#pragma once

#include "platform/filesystem.h"

#include <QString>

#include <optional>
#include <vector>

namespace vennic {

class PathRules;

/// A file a listing read, as "DA" acts on it: its name and, when its stat worked, which entry
/// it was.
struct ListedFile {
    NativeString name;
    std::optional<EntryIdentity> identity;
};

/// The files of a folder as its listing read them: every file, whether the pane shows it or not.
std::vector<ListedFile> listedFiles(const std::vector<Entry>& files);

/// The folder a pane's rows belong to: the folder a listing read, or after opening a saved
/// listing the folder its path line names, as it was when the listing was opened. It keeps
/// only what identifies the folder, never anything open: a command opens the folder again
/// when it acts and checks that it is still this one.
class RowsFolder {
public:
    /// The rows belong to no folder: a failed listing, or a saved path line that names none.
    void clear();
    /// The rows belong to `folder` (none when they belong to no folder a command may act on)
    /// and were put in the pane while its path box read `shownText`. `files` are the folder's
    /// files as a listing read them; none after opening a saved listing.
    void set(std::optional<FolderIdentity> folder, QString shownText,
             std::vector<ListedFile> files = {});

    const std::optional<FolderIdentity>& folder() const { return m_folder; }
    /// The folder's path, when the rows belong to one.
    std::optional<NativeString> path() const;
    /// The path box's text when the rows were put in the pane: what a saved listing or a print
    /// names as their folder, whatever the box reads now.
    const QString& shownText() const { return m_shownText; }
    const std::vector<ListedFile>& files() const { return m_files; }

private:
    std::optional<FolderIdentity> m_folder;
    QString m_shownText;
    std::vector<ListedFile> m_files;
};

/// What a command may act on in one pane: the folder, or why not.
struct CommandFolder {
    std::optional<FolderIdentity> folder;
    QString refusal; ///< a full sentence for the user; empty when `folder` is set
};

/// Whether a command may act on the rows of a pane whose path box now reads `boxText`. A
/// command refuses rows that belong to no folder, and (unless `boxEditAllowed`) a path box
/// edited since the rows were put in the pane: the box then names a folder the pane does not
/// show. `pane` is "left" or "right".
CommandFolder commandFolder(const RowsFolder& rows, const QString& boxText, const QString& pane,
                            bool boxEditAllowed = false);

/// The folder a saved listing's path line names, when it may act as the folder of its rows: a
/// full path (not relative to the working folder) with no control character. Nothing otherwise.
std::optional<NativeString> savedListingFolder(const QString& pathLine, const PathRules& rules);

/// The message of a command whose pane's folder is no longer the one it listed.
QString noLongerListedMessage(const NativeString& path, const QString& pane);

/// Whether two full folder paths name one folder: the same path once "." and ".." parts and
/// trailing separators are taken out, or one folder reached two ways (a link).
bool sameFolder(const NativeString& a, const NativeString& b);

} // namespace vennic
