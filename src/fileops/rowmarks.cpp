#include "fileops/rowmarks.h"

#include "listing/listinteraction.h"
#include "listing/panelist.h"

namespace vennic {

int copyMark(int pane)
{
    return RowImage::SmallCopyLeft + (pane == 0 ? 0 : 1);
}

std::vector<int> markSelectedRows(PaneList& rows, const std::vector<int>& selectedRows, int image)
{
    std::vector<int> marked;
    for (const int row : selectedRows) {
        if (row >= 0 && row < rows.rowCount()) {
            rows.setSmallImage(row, image);
            marked.push_back(row);
        }
    }
    return marked;
}

bool isFolderRow(const PaneList& rows, int row)
{
    return rows.row(row).isFolder() || isFolderTypeText(rows.cellText(row, ColType));
}

SavedImages markFileRowsForDelete(PaneList& rows)
{
    SavedImages saved;
    for (int row = 0; row < rows.rowCount(); ++row) {
        if (isFolderRow(rows, row))
            continue;
        saved.emplace_back(row, rows.row(row).smallImage);
        rows.setSmallImage(row, RowImage::SmallDelete);
    }
    return saved;
}

void restoreImages(PaneList& rows, const SavedImages& saved)
{
    for (const auto& [row, image] : saved)
        if (row < rows.rowCount() && rows.row(row).smallImage == RowImage::SmallDelete)
            rows.setSmallImage(row, image);
}

std::vector<int> rowsWithImage(const PaneList& rows, int image)
{
    std::vector<int> found;
    for (int row = 0; row < rows.rowCount(); ++row)
        if (rows.row(row).smallImage == image)
            found.push_back(row);
    return found;
}

} // namespace vennic
