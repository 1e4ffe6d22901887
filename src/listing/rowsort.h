#pragma once

#include <Qt>

#include <vector>

namespace vennic {

class PaneList;

/// The order of a pane's rows sorted by one column, for PaneList::reorder. The texts stay as
/// displayed, but "Bytes" columns sort by their number and date columns by their time: listed
/// rows by their raw values, rows that carry only texts by parsing them in the current locale,
/// with texts that do not parse after the rest. Other columns sort as text in the one name
/// order (NameOrder: the locale's collation without regard to case), the order the folder
/// comparison walks in. Empty cells come first in ascending order and last in descending order, so
/// blank rows gather at one end. Equal keys keep their present order. A large list makes its
/// keys and sorts on several threads; the order is the same as on one.
std::vector<int> sortOrder(const PaneList& list, int column, Qt::SortOrder order);

} // namespace vennic
