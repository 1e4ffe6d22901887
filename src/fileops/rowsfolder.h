#pragma once

#include "platform/filesystem.h"

#include <QString>

#include <optional>

namespace vennic {

class PathRules;

/// The folder a pane's rows belong to: the folder a listing read, or after opening a saved
/// listing its path line once checked. File commands build their paths from it and each row's
/// native name, never from the path box's present text, which the user may have edited since.
class RowsFolder {
public:
    /// The rows belong to no folder: a failed listing, or a saved path line that names none.
    void clear();
    /// The rows belong to `folder` (none when they belong to no folder a command may act on)
    /// and were put in the pane while its path box read `shownText`.
    void set(std::optional<NativeString> folder, QString shownText);

    const std::optional<NativeString>& folder() const { return m_folder; }
    /// The path box's text when the rows were put in the pane: what a saved listing or a print
    /// names as their folder, whatever the box reads now.
    const QString& shownText() const { return m_shownText; }

private:
    std::optional<NativeString> m_folder;
    QString m_shownText;
};

/// What a command may act on in one pane: the folder, or why not.
struct CommandFolder {
    std::optional<NativeString> folder;
    QString refusal; ///< a full sentence for the user; empty when `folder` is set
};

/// Whether a command may act on the rows of a pane whose path box now reads `boxText`. A
/// command refuses rows that belong to no folder, a folder that is empty or holds a control
/// character, and (unless `boxEditAllowed`) a path box edited since the rows were put in the
/// pane: the box then names a folder the pane does not show. `pane` is "left" or "right".
CommandFolder commandFolder(const RowsFolder& rows, const QString& boxText, const QString& pane,
                            bool boxEditAllowed = false);

/// The folder a saved listing's path line names, when it may act as the folder of its rows: a
/// full path (not relative to the working folder) with no control character. Nothing otherwise.
std::optional<NativeString> savedListingFolder(const QString& pathLine, const PathRules& rules);

/// Whether two full folder paths name one folder: the same path once "." and ".." parts and
/// trailing separators are taken out, or one folder reached two ways (a link).
bool sameFolder(const NativeString& a, const NativeString& b);

} // namespace vennic
