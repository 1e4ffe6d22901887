#pragma once

#include "listing/panerow.h"
#include "platform/filesystem.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace vennic {

class PathRules;

/// The caption of the View submenu's third item for a row's type text: "DWG" gives
/// "AutoCAD", "BMP" or "GIF" give "Paint", anything else "UnKnown" (compared in upper case).
QString viewerCaption(const QString& typeText);

/// True for a folder row's type text, which begins with a blank.
bool isFolderTypeText(const QString& typeText);

/// A row's click mark after one more click: a red row turns black and takes the clicked mark
/// (small image 8); any other row turns red and keeps its image.
struct RowMark {
    uint32_t foreColor = RowColor::Red;
    std::optional<int> smallImage;
};
RowMark toggledMark(uint32_t foreColor);

/// The native name of a row's entry. A listed row uses the entry's native name as the system
/// gave it, so names that are not UTF-8 or hold control bytes are reached; a row that carries
/// only texts uses its text, and only when that is a single plain name (not empty, no
/// separator, not "." or "..", not the blank row " ", no control character). Nothing for a row
/// that stands for no entry, and nothing for any other row.
std::optional<NativeString> rowEntryName(const PaneRow& row, const QString& text,
                                         const PathRules& rules);

/// The full native path of a row's entry inside `folder`, from rowEntryName(). Nothing when
/// the row names no entry, and nothing when `folder` is empty (a path is never made relative to
/// the working folder) or holds U+0000.
std::optional<NativeString> rowEntryPath(const PaneRow& row, const QString& text,
                                         const NativeString& folder, const PathRules& rules);

} // namespace vennic
