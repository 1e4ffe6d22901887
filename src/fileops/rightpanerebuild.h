#pragma once

#include "listing/panerow.h"
#include "platform/filesystem.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vennic {

class PaneList;
class PathRules;
class TypeNames;

/// The right pane rebuilt from the left pane's names ("R").
struct RebuildResult {
    /// One row per row of the left list, in its order.
    std::vector<PaneRow> rows;
    /// "<files> Files, <folders> Folders, <bytes> Bytes" of the entries found.
    QString countLine;
    /// Texts of left rows that are not single plain names: they were not looked up.
    QStringList skipped;
};

/// For each row of `left` in order, looks for an entry of the same name in `rightFolder`:
/// a file found gives a row with its name, type and size; a folder found gives a folder row
/// with its name, type and total size; a name not there gives a row with the text "--". A blank
/// row of a comparison stays a blank row. Each left row's native name is looked up, so names
/// that are not UTF-8 are found. The folder is read once, so the work is linear in the rows.
/// Throws FsError when the folder cannot be read.
RebuildResult rebuildFromNames(const PaneList& left, const Folder& rightFolder, TypeNames& types,
                               const PathRules& rules);

} // namespace vennic
