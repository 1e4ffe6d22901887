#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace vennic {

class PaneList;

/// The copy mark of a pane: image 9 (an arrow pointing right) in the left pane, image 10 (an
/// arrow pointing left) in the right pane. Only the left pane's copy marks are ever carried out.
int copyMark(int pane);

/// Puts `image` on every one of `selectedRows` as its small image; a row shows one small image,
/// so the new mark replaces whatever mark or picture it had. Returns the rows marked, in the
/// order given; none when no row is selected.
std::vector<int> markSelectedRows(PaneList& rows, const std::vector<int>& selectedRows, int image);

/// True for a row whose type text says it is a folder.
bool isFolderRow(const PaneList& rows, int row);

/// The small images rows had before a command marked them, so the marks can be taken off again.
using SavedImages = std::vector<std::pair<int, uint8_t>>;

/// Gives every file row (not a folder row) the delete mark and returns what they showed before.
SavedImages markFileRowsForDelete(PaneList& rows);
/// Takes the marks of markFileRowsForDelete() off again: each row that still carries the
/// delete mark gets back the image it had.
void restoreImages(PaneList& rows, const SavedImages& saved);

/// The rows whose small image is exactly `image`, in order.
std::vector<int> rowsWithImage(const PaneList& rows, int image);

} // namespace vennic
