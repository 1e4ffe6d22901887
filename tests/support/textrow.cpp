#include "support/textrow.h"

namespace vennic::test {

PaneRow textRow(const QStringList& cells, uint32_t color)
{
    PaneRow row;
    row.texts = std::make_unique<RowTexts>();
    for (int c = 0; c < cells.size() && c < PaneColumnCount; ++c)
        row.texts->cells[size_t(c)] = cells[c];
    row.foreColor = color;
    return row;
}

} // namespace vennic::test
