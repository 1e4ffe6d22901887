#include "fileops/foldercomparison.h"

#include "listing/panelist.h"

#include <algorithm>
#include <memory>

namespace vennic {

namespace {

std::vector<NameOrder::Key> keysOf(const QStringList& names, const NameOrder& order)
{
    std::vector<NameOrder::Key> keys;
    keys.reserve(size_t(names.size()));
    for (const QString& name : names)
        keys.push_back(order.key(name));
    return keys;
}

} // namespace

ComparisonPlan planComparison(const QStringList& left, const QStringList& right,
                              const NameOrder& order)
{
    const std::vector<NameOrder::Key> leftKeys = keysOf(left, order);
    const std::vector<NameOrder::Key> rightKeys = keysOf(right, order);
    ComparisonPlan plan;
    const qsizetype leftCount = left.size();
    const qsizetype rightCount = right.size();
    plan.left.reserve(size_t(leftCount + rightCount));
    plan.right.reserve(size_t(leftCount + rightCount));
    qsizetype l = 0;
    qsizetype r = 0;
    while (l < leftCount || r < rightCount) {
        // A list that has run out comes after every name the other still has.
        int comparison = 0;
        if (l >= leftCount)
            comparison = 1;
        else if (r >= rightCount)
            comparison = -1;
        else
            comparison = leftKeys[size_t(l)].compare(rightKeys[size_t(r)]);

        if (comparison == 0) {
            plan.left.push_back(int(l++));
            plan.right.push_back(int(r++));
        } else if (comparison < 0) {
            // The left name has no partner: the right pane gets a blank row on this line.
            plan.left.push_back(int(l++));
            plan.right.push_back(-1);
        } else {
            plan.left.push_back(-1);
            plan.right.push_back(int(r++));
        }
    }
    return plan;
}

PaneRow blankComparisonRow()
{
    PaneRow row;
    row.largeImage = RowImage::LargeFile;
    row.smallImage = RowImage::SmallBlank;
    row.texts = std::make_unique<RowTexts>();
    row.texts->cells[ColName] = QStringLiteral(" ");
    row.flags = PaneRow::Placeholder;
    return row;
}

PaneRow copyOfRow(const PaneRow& row)
{
    PaneRow copy;
    copy.nativeName = row.nativeName;
    copy.size = row.size;
    copy.created = row.created;
    copy.accessed = row.accessed;
    copy.modified = row.modified;
    copy.device = row.device;
    copy.inode = row.inode;
    copy.birth = row.birth;
    copy.attributes = row.attributes;
    copy.foreColor = row.foreColor;
    copy.typeIndex = row.typeIndex;
    copy.smallImage = row.smallImage;
    copy.largeImage = row.largeImage;
    copy.flags = row.flags;
    if (row.texts)
        copy.texts = std::make_unique<RowTexts>(*row.texts);
    copy.toolTip = row.toolTip;
    return copy;
}

namespace {

QStringList namesOf(const PaneList& list)
{
    QStringList names;
    names.reserve(list.rowCount());
    for (int i = 0; i < list.rowCount(); ++i)
        names << list.cellText(i, ColName);
    return names;
}

/// The new rows of one list: its own rows where the plan names them, blank rows elsewhere.
std::vector<PaneRow> rowsOf(const PaneList& list, const std::vector<int>& line)
{
    std::vector<PaneRow> rows;
    rows.reserve(line.size());
    for (const int source : line)
        rows.push_back(source < 0 ? blankComparisonRow() : copyOfRow(list.row(source)));
    return rows;
}

/// Gives both rows of each line whose sizes or modified times differ a tool tip that says how:
/// lining up by name alone would hide what a person compares folders to find.
void markDifferences(PaneList& left, PaneList& right, const ComparisonPlan& plan)
{
    for (size_t i = 0; i < plan.left.size(); ++i) {
        if (plan.left[i] < 0 || plan.right[i] < 0)
            continue;
        const int row = int(i);
        const QString leftSize = left.cellText(row, ColBytes).trimmed();
        const QString rightSize = right.cellText(row, ColBytes).trimmed();
        const QString leftTime = left.cellText(row, ColModified);
        const QString rightTime = right.cellText(row, ColModified);
        if (leftSize == rightSize && leftTime == rightTime)
            continue;
        const auto tip = [](const QString& size, const QString& time, const QString& otherSize,
                            const QString& otherTime) {
            return QStringLiteral("Differs from the other pane's entry of this name: %1 Bytes, "
                                  "modified %2, against %3 Bytes, modified %4")
                .arg(size.isEmpty() ? QStringLiteral("0") : size, time,
                     otherSize.isEmpty() ? QStringLiteral("0") : otherSize, otherTime);
        };
        left.setToolTip(row, tip(leftSize, leftTime, rightSize, rightTime));
        right.setToolTip(row, tip(rightSize, rightTime, leftSize, leftTime));
    }
}

} // namespace

ComparisonPlan compareFolders(PaneList& left, PaneList& right, const NameOrder& order)
{
    left.setSorted(false);
    right.setSorted(false);
    ComparisonPlan plan = planComparison(namesOf(left), namesOf(right), order);
    // Both lists are built whole and set with one reset each: inserting rows one at a time
    // would move every later row for each insertion.
    // A list that gets no blank row is left exactly as it was, its selection included.
    const auto hasBlank = [](const std::vector<int>& line) {
        return std::find(line.begin(), line.end(), -1) != line.end();
    };
    const bool changeLeft = hasBlank(plan.left);
    const bool changeRight = hasBlank(plan.right);
    std::vector<PaneRow> leftRows;
    std::vector<PaneRow> rightRows;
    if (changeLeft)
        leftRows = rowsOf(left, plan.left);
    if (changeRight)
        rightRows = rowsOf(right, plan.right);
    if (changeLeft)
        left.setRows(std::move(leftRows));
    if (changeRight)
        right.setRows(std::move(rightRows));
    markDifferences(left, right, plan);
    return plan;
}

} // namespace vennic
