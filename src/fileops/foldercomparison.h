#pragma once

#include "listing/nameorder.h"
#include "listing/panerow.h"

#include <QStringList>

#include <vector>

namespace vennic {

class PaneList;

/// The lines of two compared panes: on each line the row each pane shows there, given as its
/// position before the comparison, or -1 for a blank row the comparison puts in. Both lists
/// have the same length.
struct ComparisonPlan {
    std::vector<int> left;
    std::vector<int> right;
};

/// The merge walk over two lists of names, one line at a time, in the one name order that
/// sorting by name uses, so that panes sorted by name line up. Names the order finds equal
/// share a line; where the left name comes first, the right pane gets a blank row on that
/// line, and where it comes after, the left pane does. A list that has run out counts as
/// coming after every name while the other still has one, and the walk ends when neither has.
/// Each name's collation key is made once; the walk is linear in the names.
ComparisonPlan planComparison(const QStringList& left, const QStringList& right,
                              const NameOrder& order = NameOrder());

/// The row a comparison puts in: the text " ", large image 1, small image 4, no other cells.
PaneRow blankComparisonRow();
/// A copy of a row with everything it carries.
PaneRow copyOfRow(const PaneRow& row);

/// Lines two pane lists up by name: switches automatic sorting off in both, walks their row
/// texts as planComparison() does and gives each list its new rows with one model reset.
/// Both lists must stand in name order. Nothing else of a row changes, but that both rows of a
/// line whose sizes or modified times differ get a tool tip that says so. Returns the plan it
/// applied.
ComparisonPlan compareFolders(PaneList& left, PaneList& right,
                              const NameOrder& order = NameOrder());

} // namespace vennic
