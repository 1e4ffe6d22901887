#pragma once

#include "listing/panelist.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <vector>

class QAbstractItemView;
class QListView;
class QStackedLayout;
class QTreeView;

namespace vennic {

/// Shows a pane list in one of the four view modes: 0 large icons, 1 small icons, 2 list,
/// 3 report. The report is a tree view with a clickable header; the other modes share a list
/// view. Both are set up to show hundreds of thousands of rows at once: uniform row heights,
/// uniform item sizes, and a model attached only to the view on screen.
class PaneListView : public QWidget {
    Q_OBJECT
public:
    enum ViewMode { LargeIcons = 0, SmallIcons = 1, List = 2, Report = 3 };

    explicit PaneListView(QWidget* parent = nullptr);
    ~PaneListView() override;

    void setModel(PaneList* model);
    PaneList* model() const { return m_model; }

    void setViewMode(int mode);
    int viewMode() const { return m_mode; }

    /// The list's background colour.
    void setBackgroundColor(const QColor& color);
    QColor backgroundColor() const { return m_background; }

    /// The row with the keyboard focus, or -1.
    int currentRow() const;
    void setCurrentRow(int row);
    /// Makes `row` the current row and the one selected row.
    void selectRow(int row);
    /// The selected rows in ascending order.
    std::vector<int> selectedRows() const;

    QTreeView* reportView() const { return m_report; }
    QListView* iconView() const { return m_icons; }
    /// The view on screen in the present mode.
    QAbstractItemView* currentView() const;

    /// Widths of the report columns that suit the texts of a listing in this font.
    void setDefaultColumnWidths();

Q_SIGNALS:
    void rowClicked(int row);
    void rowDoubleClicked(int row);
    /// The current row moved, by keyboard, mouse or program; -1 when there is none.
    void currentRowChanged(int row);
    /// Any mouse button pressed over the list; `row` is -1 when no row is under the pointer.
    void mousePressed(int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                      QPoint globalPosition);
    /// A click on a column header of the report view.
    void columnClicked(int column);
    /// Enter or Return pressed without Shift, Ctrl or Alt; `row` is the current row or -1.
    void enterPressed(int row);
    /// Backspace pressed without Shift, Ctrl or Alt.
    void backspacePressed();
    /// Space or Insert pressed without Shift, Ctrl or Alt: the keyboard's row click.
    void markPressed(int row);
    /// The menu key or Shift+F10: the list's menu is asked for at the current row (-1 none),
    /// `globalPosition` being where it opens.
    void menuRequested(int row, QPoint globalPosition);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void attachIconView(bool attach, int row);
    /// Asks for the list's menu at the current row.
    void requestMenu();
    /// Passes the current-row changes of a view's present selection model on.
    void followCurrentRow(QAbstractItemView* view);

    QPointer<PaneList> m_model;
    QStackedLayout* m_stack = nullptr;
    QTreeView* m_report = nullptr;
    QListView* m_icons = nullptr;
    QColor m_background;
    int m_mode = Report;
};

} // namespace vennic
