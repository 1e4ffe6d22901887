#pragma once

#include "listing/panerow.h"

#include <QStringList>

namespace vennic::test {

/// A row that carries only texts, as a saved listing gives them: `cells` fill the columns in
/// order (extra cells are left out) and the row is drawn in `color`.
PaneRow textRow(const QStringList& cells, uint32_t color = RowColor::Black);

} // namespace vennic::test
