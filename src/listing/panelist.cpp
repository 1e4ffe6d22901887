#include "listing/panelist.h"

#include "listing/controlchars.h"

#include <QColor>
#include <QTextDocument>

#include <algorithm>

namespace vennic {

namespace {

const char* const ColumnTitles[PaneColumnCount] = {"Name",       "Type",     "Bytes",    "Created",
                                                   "Attributes", "Accessed", "Modified", "Bytes"};

Qt::Alignment alignmentOf(bool right)
{
    return (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

} // namespace

PaneList::PaneList(int columnCount, QObject* parent)
    : QAbstractTableModel(parent), m_columns(std::clamp(columnCount, 1, int(PaneColumnCount)))
{
    m_rightAligned[ColBytes] = true;
    m_rightAligned[ColAttributes] = true;
    m_rightAligned[ColBytes2] = true;
}

PaneList::~PaneList() = default;

int PaneList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int PaneList::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QColor PaneList::colorFromBgr(uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

QString PaneList::cellText(int row, int column) const
{
    if (!validRow(row) || column < 0 || column >= PaneColumnCount)
        return {};
    const PaneRow& r = m_rows[size_t(row)];
    if (r.texts)
        return r.texts->cells[size_t(column)];
    return m_textMaker ? m_textMaker->cellText(r, column) : QString();
}

RowTexts PaneList::rowTexts(int row) const
{
    RowTexts texts;
    for (int c = 0; c < PaneColumnCount; ++c)
        texts.cells[size_t(c)] = cellText(row, c);
    return texts;
}

QVariant PaneList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !validRow(index.row()) || index.column() >= m_columns)
        return {};
    const PaneRow& r = m_rows[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        // A saved listing may hold control characters; they show as visible marks.
        return withVisibleControls(cellText(index.row(), index.column()));
    case Qt::ForegroundRole:
        // A size that is not the whole tree's stands out from the sizes that are.
        if ((index.column() == ColBytes || index.column() == ColBytes2) &&
            (r.flags & (PaneRow::SizePartial | PaneRow::SizeStopped)))
            return colorFromBgr(RowColor::PartialSize);
        return colorFromBgr(r.foreColor);
    case Qt::ToolTipRole:
        if (r.toolTip.isEmpty())
            return {};
        // A tool tip that looks like markup would be drawn as markup; it shows as written.
        if (Qt::mightBeRichText(r.toolTip))
            return QString(QStringLiteral("<p style='white-space:pre'>") +
                           withVisibleControls(r.toolTip).toHtmlEscaped() + QStringLiteral("</p>"));
        return r.toolTip;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignmentOf(isRightAligned(index.column())));
    case SmallImageRole:
        return int(r.smallImage);
    case LargeImageRole:
        return int(r.largeImage);
    case IsLinkRole:
        return bool(r.attributes & Attr::Alias);
    default:
        return {};
    }
}

QVariant PaneList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromLatin1(ColumnTitles[section]);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignmentOf(isRightAligned(section)));
    case SortIconRole:
        return m_sortIcons[size_t(section)];
    case Qt::DecorationRole:
        if (m_sortIcons[size_t(section)] != 0 && m_headerIcons)
            return m_headerIcons(m_sortIcons[size_t(section)]);
        return {};
    default:
        return {};
    }
}

void PaneList::setRows(std::vector<PaneRow>&& rows)
{
    beginResetModel();
    // The old rows are released after the swap, while the views hold no index into them.
    std::vector<PaneRow> old;
    old.swap(m_rows);
    m_rows = std::move(rows);
    old.clear();
    if (m_sorted)
        permuteRows(sortedOrder());
    endResetModel();
}

void PaneList::clear()
{
    setRows({});
}

std::vector<PaneRow> PaneList::takeRows()
{
    beginResetModel();
    std::vector<PaneRow> rows;
    rows.swap(m_rows);
    endResetModel();
    return rows;
}

void PaneList::permuteRows(const std::vector<int>& order)
{
    if (order.size() != m_rows.size())
        return;
    std::vector<PaneRow> reordered;
    reordered.reserve(m_rows.size());
    for (const int old : order)
        reordered.push_back(std::move(m_rows[size_t(old)]));
    m_rows.swap(reordered);
}

std::vector<int> PaneList::sortedOrder() const
{
    if (!m_sorter || m_sortKey < 0 || m_sortKey >= m_columns)
        return {};
    return m_sorter(*this, m_sortKey, m_sortOrder);
}

void PaneList::setSorter(Sorter sorter)
{
    m_sorter = std::move(sorter);
}

void PaneList::setSorted(bool sorted)
{
    m_sorted = sorted;
    if (sorted)
        reorder(sortedOrder());
}

void PaneList::sortBy(int column, Qt::SortOrder order)
{
    m_sortKey = column;
    m_sortOrder = order;
    setSorted(true);
}

void PaneList::reorder(const std::vector<int>& order)
{
    if (order.size() != m_rows.size() || m_rows.empty())
        return;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        newRowOf[size_t(order[i])] = int(i);
    permuteRows(order);

    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before)
        after.append(index(newRowOf[size_t(i.row())], i.column()));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void PaneList::setCellText(int row, int column, const QString& text)
{
    if (!validRow(row) || column < 0 || column >= PaneColumnCount)
        return;
    PaneRow& r = m_rows[size_t(row)];
    if (!r.texts)
        r.texts = std::make_unique<RowTexts>(rowTexts(row));
    r.texts->cells[size_t(column)] = text;
    if (column < m_columns)
        rowChanged(row, column, column, {Qt::DisplayRole});
}

void PaneList::setSmallImage(int row, int image)
{
    if (!validRow(row))
        return;
    m_rows[size_t(row)].smallImage = uint8_t(image);
    rowChanged(row, ColName, ColName, {SmallImageRole, Qt::DecorationRole});
}

void PaneList::setLargeImage(int row, int image)
{
    if (!validRow(row))
        return;
    m_rows[size_t(row)].largeImage = uint8_t(image);
    rowChanged(row, ColName, ColName, {LargeImageRole, Qt::DecorationRole});
}

void PaneList::setForeColor(int row, uint32_t color)
{
    if (!validRow(row))
        return;
    m_rows[size_t(row)].foreColor = color;
    rowChanged(row, 0, m_columns - 1, {Qt::ForegroundRole});
}

void PaneList::setToolTip(int row, const QString& toolTip)
{
    if (!validRow(row))
        return;
    m_rows[size_t(row)].toolTip = toolTip;
    rowChanged(row, 0, m_columns - 1, {Qt::ToolTipRole});
}

void PaneList::changeRows(const std::function<bool(PaneRow& row)>& change)
{
    int first = -1;
    int last = -1;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (!change(m_rows[i]))
            continue;
        if (first < 0)
            first = int(i);
        last = int(i);
    }
    if (first >= 0)
        Q_EMIT dataChanged(index(first, 0), index(last, m_columns - 1));
}

void PaneList::resort()
{
    if (m_sorted && !m_rows.empty())
        reorder(sortedOrder());
}

void PaneList::setTextMaker(std::shared_ptr<const RowTextMaker> maker)
{
    m_textMaker = std::move(maker);
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, m_columns - 1), {Qt::DisplayRole});
}

void PaneList::setRightAligned(int column, bool right)
{
    if (column < 0 || column >= PaneColumnCount || m_rightAligned[size_t(column)] == right)
        return;
    m_rightAligned[size_t(column)] = right;
    if (column < m_columns) {
        Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
        if (!m_rows.empty())
            Q_EMIT dataChanged(index(0, column), index(rowCount() - 1, column),
                               {Qt::TextAlignmentRole});
    }
}

bool PaneList::isRightAligned(int column) const
{
    return column >= 0 && column < PaneColumnCount && m_rightAligned[size_t(column)];
}

void PaneList::setSortIcon(int column, int icon)
{
    if (column < 0 || column >= PaneColumnCount)
        return;
    m_sortIcons[size_t(column)] = icon;
    if (column < m_columns)
        Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

int PaneList::sortIcon(int column) const
{
    return column >= 0 && column < PaneColumnCount ? m_sortIcons[size_t(column)] : 0;
}

void PaneList::setHeaderIconProvider(HeaderIconProvider provider)
{
    m_headerIcons = std::move(provider);
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, m_columns - 1);
}

void PaneList::rowChanged(int row, int firstColumn, int lastColumn, const QList<int>& roles)
{
    Q_EMIT dataChanged(index(row, firstColumn), index(row, lastColumn), roles);
}

} // namespace vennic
