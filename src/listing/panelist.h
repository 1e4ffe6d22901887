#pragma once

#include "listing/panerow.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace vennic {

/// The pane list `LV1`: a table model over plain row structs. Listed rows keep raw values and
/// get their texts from the installed text maker when asked, so every reader (the views,
/// printing, saving, comparison) sees the same texts and no per-row Qt object is ever made.
/// The left list has seven columns, the right list an eighth that shows sub-item 7.
class PaneList : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role {
        SmallImageRole = Qt::UserRole + 1, ///< image number in the 16 by 16 image list
        LargeImageRole = Qt::UserRole + 2, ///< image number in the 32 by 32 image list
        SortIconRole = Qt::UserRole + 3,   ///< header only: the column's sort icon number, 0 none
        IsLinkRole = Qt::UserRole + 4,     ///< whether the row is a symbolic link
    };

    /// Gives the header picture of a sort icon number (1 ascending, 2 descending).
    using HeaderIconProvider = std::function<QIcon(int iconNumber)>;
    /// The order of the rows sorted by a column: row i of the result is the present row
    /// `order[i]`. The window installs the listing's sort rules.
    using Sorter =
        std::function<std::vector<int>(const PaneList& list, int column, Qt::SortOrder order)>;

    explicit PaneList(int columnCount, QObject* parent = nullptr);
    ~PaneList() override;

    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    /// Replaces every row with one model reset.
    void setRows(std::vector<PaneRow>&& rows);
    /// Removes every row (one model reset).
    void clear();
    /// Hands the rows out and leaves the list empty (one model reset).
    std::vector<PaneRow> takeRows();
    /// Puts the rows into a new order: row i becomes the old row `order[i]`. `order` must be a
    /// permutation of the row numbers; the views keep their current and selected rows.
    void reorder(const std::vector<int>& order);

    int rowCount() const { return int(m_rows.size()); }
    const PaneRow& row(int i) const { return m_rows[size_t(i)]; }
    const std::vector<PaneRow>& rows() const { return m_rows; }

    /// The text of a cell as every reader sees it; columns past the row's cells give "".
    QString cellText(int row, int column) const;
    /// The texts of a row, main text first, then sub-items 1 to 7.
    RowTexts rowTexts(int row) const;
    /// Sets one cell's text; a listed row first takes all its texts so the others stay.
    void setCellText(int row, int column, const QString& text);

    void setSmallImage(int row, int image);
    void setLargeImage(int row, int image);
    /// Colour in blue-green-red byte order.
    void setForeColor(int row, uint32_t color);
    void setToolTip(int row, const QString& toolTip);
    /// Lets `change` alter rows in place (not their order); it returns true for a row it
    /// changed. The views learn of the changed band of rows at once.
    void changeRows(const std::function<bool(PaneRow& row)>& change);
    /// Puts the rows back in the order of the sort key and order, when automatic sorting is on
    /// (after their values changed).
    void resort();

    /// The maker of listed rows' texts; shared by both panes' lists.
    void setTextMaker(std::shared_ptr<const RowTextMaker> maker);
    const std::shared_ptr<const RowTextMaker>& textMaker() const { return m_textMaker; }

    /// Right-aligned columns: "Bytes" (both) and "Attributes" at start.
    void setRightAligned(int column, bool right);
    bool isRightAligned(int column) const;

    /// The header's sort icon of a column (0 none, 1 ascending, 2 descending).
    void setSortIcon(int column, int icon);
    int sortIcon(int column) const;
    void setHeaderIconProvider(HeaderIconProvider provider);

    /// Automatic sorting, as a list's `Sorted`, `SortKey` and `SortOrder`: while it is on, the
    /// rows stand in the order of the sort key and order, and every new set of rows is put in
    /// that order as it arrives. Rows inserted one by one (a comparison) need it off.
    void setSorter(Sorter sorter);
    /// Switches automatic sorting on (sorting the rows now) or off (the rows stay as they are).
    void setSorted(bool sorted);
    bool isSorted() const { return m_sorted; }
    /// Switches automatic sorting on with a new key and order, and sorts once.
    void sortBy(int column, Qt::SortOrder order);
    int sortKey() const { return m_sortKey; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }
    /// Sets the order without sorting, for the list's starting state.
    void setSortOrder(Qt::SortOrder order) { m_sortOrder = order; }

    /// A row colour in blue-green-red byte order as a QColor.
    static QColor colorFromBgr(uint32_t bgr);

private:
    bool validRow(int row) const { return row >= 0 && size_t(row) < m_rows.size(); }
    void rowChanged(int row, int firstColumn, int lastColumn, const QList<int>& roles);
    /// Puts the rows in the order of the sort key and order (no model signals).
    std::vector<int> sortedOrder() const;
    void permuteRows(const std::vector<int>& order);

    int m_columns;
    std::vector<PaneRow> m_rows;
    std::shared_ptr<const RowTextMaker> m_textMaker;
    std::array<bool, PaneColumnCount> m_rightAligned{};
    std::array<int, PaneColumnCount> m_sortIcons{};
    HeaderIconProvider m_headerIcons;
    Sorter m_sorter;
    bool m_sorted = false;
    int m_sortKey = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

} // namespace vennic
