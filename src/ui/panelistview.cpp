#include "ui/panelistview.h"

#include "listing/panelist.h"
#include "ui/imagelists.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QStackedLayout>
#include <QStyledItemDelegate>
#include <QTreeView>

namespace vennic {

namespace {

/// Draws a row's picture from the image lists by its image number, so the model carries only
/// numbers and no picture per row.
class ImageNumberDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void setLarge(bool large) { m_large = large; }
    /// The size of every item in an icon view: the grid's cell, so a name gets the whole cell
    /// (two lines under a large icon) and is cut with "…" only where it does not fit. Without
    /// it the uniform item size is the first row's, which cuts longer names short.
    void setCell(QSize cell) { m_cell = cell; }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return m_cell.isValid() ? m_cell : QStyledItemDelegate::sizeHint(option, index);
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() != ColName)
            return;
        const ImageLists& images = ImageLists::instance();
        const int number =
            index.data(m_large ? PaneList::LargeImageRole : PaneList::SmallImageRole).toInt();
        // A link shows that it is one in every view, whatever mark its picture carries.
        const bool link = index.data(PaneList::IsLinkRole).toBool();
        const QIcon& icon =
            link ? (m_large ? images.largeLinkIcon(number) : images.smallLinkIcon(number))
                 : (m_large ? images.largeIcon(number) : images.smallIcon(number));
        if (icon.isNull())
            return;
        option->icon = icon;
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->decorationSize = m_large ? QSize(32, 32) : QSize(16, 16);
        if (m_large)
            option->displayAlignment = Qt::AlignHCenter | Qt::AlignTop;
    }

private:
    bool m_large = false;
    QSize m_cell;
};

void replaceModel(QAbstractItemView* view, QAbstractItemModel* model)
{
    // A view makes a new selection model for each model and leaves the old one to its owner.
    QItemSelectionModel* old = view->selectionModel();
    view->setModel(model);
    if (old && old != view->selectionModel())
        old->deleteLater();
}

} // namespace

PaneListView::PaneListView(QWidget* parent) : QWidget(parent)
{
    m_report = new QTreeView(this);
    m_report->setUniformRowHeights(true);
    m_report->setRootIsDecorated(false);
    m_report->setItemsExpandable(false);
    m_report->setExpandsOnDoubleClick(false);
    m_report->setAllColumnsShowFocus(true);
    m_report->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_report->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_report->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_report->setItemDelegate(new ImageNumberDelegate(m_report));
    m_report->setIconSize(QSize(16, 16));
    QHeaderView* header = m_report->header();
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_icons = new QListView(this);
    m_icons->setUniformItemSizes(true);
    m_icons->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_icons->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_icons->setLayoutMode(QListView::Batched);
    m_icons->setBatchSize(2000);
    m_icons->setItemDelegate(new ImageNumberDelegate(m_icons));

    m_stack = new QStackedLayout(this);
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_stack->addWidget(m_report);
    m_stack->addWidget(m_icons);
    m_stack->setCurrentWidget(m_report);
    setFocusProxy(m_report);

    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(m_report), static_cast<QAbstractItemView*>(m_icons)}) {
        view->viewport()->installEventFilter(this);
        view->installEventFilter(this);
        connect(view, &QAbstractItemView::clicked, this,
                [this](const QModelIndex& index) { Q_EMIT rowClicked(index.row()); });
        connect(view, &QAbstractItemView::doubleClicked, this,
                [this](const QModelIndex& index) { Q_EMIT rowDoubleClicked(index.row()); });
    }
    connect(header, &QHeaderView::sectionClicked, this, &PaneListView::columnClicked);
}

PaneListView::~PaneListView() = default;

void PaneListView::setModel(PaneList* model)
{
    m_model = model;
    replaceModel(m_report, model);
    followCurrentRow(m_report);
    if (m_mode != Report)
        attachIconView(true, -1);
    setDefaultColumnWidths();
}

void PaneListView::setDefaultColumnWidths()
{
    if (!m_model)
        return;
    const QFontMetrics fm(m_report->font());
    const int pad = 18;
    const int date = fm.horizontalAdvance(QStringLiteral("12/28/2026 12:59:59 PM")) + pad;
    const int size = fm.horizontalAdvance(QStringLiteral("999,999,999,999")) + pad;
    const int widths[] = {fm.horizontalAdvance(QStringLiteral("M")) * 14 + 16 + pad,
                          fm.horizontalAdvance(QStringLiteral("x")) * 17 + pad,
                          size,
                          date,
                          fm.horizontalAdvance(QStringLiteral("Attributes")) + pad,
                          date,
                          date,
                          size};
    for (int c = 0; c < m_model->columnCount(QModelIndex()) && c < int(std::size(widths)); ++c)
        m_report->setColumnWidth(c, widths[c]);
}

void PaneListView::attachIconView(bool attach, int row)
{
    replaceModel(m_icons, attach ? m_model.data() : nullptr);
    followCurrentRow(m_icons);
    if (attach && row >= 0 && m_model)
        m_icons->setCurrentIndex(m_model->index(row, 0));
}

void PaneListView::setViewMode(int mode)
{
    if (mode < LargeIcons || mode > Report)
        return;
    const int row = currentRow();
    const bool hadFocus = currentView()->hasFocus();
    m_mode = mode;
    auto* delegate = static_cast<ImageNumberDelegate*>(m_icons->itemDelegate());
    const QFontMetrics fm(m_icons->font());
    if (mode == Report) {
        delegate->setCell({});
        m_stack->setCurrentWidget(m_report);
        setFocusProxy(m_report);
        attachIconView(false, -1);
        if (row >= 0 && m_model)
            m_report->setCurrentIndex(m_model->index(row, 0));
    } else {
        // Every mode of the icon view sets its own flow and grid: a shared grid keeps item
        // sizes uniform, which is what keeps a hundred thousand rows quick.
        if (mode == LargeIcons) {
            m_icons->setViewMode(QListView::IconMode);
            m_icons->setMovement(QListView::Static);
            m_icons->setIconSize(QSize(32, 32));
            m_icons->setWordWrap(true);
            m_icons->setGridSize(QSize(fm.averageCharWidth() * 14, 32 + fm.height() * 2 + 10));
            m_icons->setTextElideMode(Qt::ElideRight);
            delegate->setLarge(true);
        } else {
            m_icons->setViewMode(QListView::ListMode);
            m_icons->setFlow(mode == SmallIcons ? QListView::LeftToRight : QListView::TopToBottom);
            m_icons->setWrapping(true);
            m_icons->setIconSize(QSize(16, 16));
            m_icons->setWordWrap(false);
            m_icons->setGridSize(QSize(fm.averageCharWidth() * 26, std::max(fm.height(), 16) + 4));
            delegate->setLarge(false);
        }
        // Under a large icon the name has room for two lines and no more: a third would show
        // cut through.
        const QSize grid = m_icons->gridSize();
        delegate->setCell(mode == LargeIcons ? QSize(grid.width() - 4, 32 + fm.height() * 2 + 4)
                                             : grid - QSize(4, 2));
        m_icons->setResizeMode(QListView::Adjust);
        m_icons->setMovement(QListView::Static);
        if (m_icons->model() != m_model || !m_model)
            attachIconView(true, row);
        else if (row >= 0)
            m_icons->setCurrentIndex(m_model->index(row, 0));
        m_stack->setCurrentWidget(m_icons);
        setFocusProxy(m_icons);
    }
    if (hadFocus)
        currentView()->setFocus();
}

QAbstractItemView* PaneListView::currentView() const
{
    if (m_mode == Report)
        return m_report;
    return m_icons;
}

void PaneListView::setBackgroundColor(const QColor& color)
{
    m_background = color;
    for (QWidget* view : {static_cast<QWidget*>(m_report), static_cast<QWidget*>(m_icons)}) {
        QPalette p = view->palette();
        p.setColor(QPalette::Base, color);
        view->setPalette(p);
    }
}

int PaneListView::currentRow() const
{
    const QModelIndex index = currentView()->currentIndex();
    return index.isValid() ? index.row() : -1;
}

void PaneListView::setCurrentRow(int row)
{
    if (!m_model || row < 0 || row >= m_model->rowCount())
        return;
    currentView()->setCurrentIndex(m_model->index(row, 0));
}

void PaneListView::selectRow(int row)
{
    if (!m_model || row < 0 || row >= m_model->rowCount())
        return;
    QAbstractItemView* view = currentView();
    if (QItemSelectionModel* selection = view->selectionModel())
        selection->setCurrentIndex(m_model->index(row, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void PaneListView::followCurrentRow(QAbstractItemView* view)
{
    QItemSelectionModel* selection = view->selectionModel();
    // A view keeps its selection model when it is given the model it already shows.
    if (!selection || selection->property("followed").toBool())
        return;
    selection->setProperty("followed", true);
    connect(selection, &QItemSelectionModel::currentChanged, this,
            [this, view](const QModelIndex& current) {
                if (view == currentView())
                    Q_EMIT currentRowChanged(current.isValid() ? current.row() : -1);
            });
}

std::vector<int> PaneListView::selectedRows() const
{
    std::vector<int> rows;
    if (QItemSelectionModel* selection = currentView()->selectionModel())
        for (const QModelIndex& index : selection->selectedRows())
            rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void PaneListView::requestMenu()
{
    QAbstractItemView* view = currentView();
    const int row = currentRow();
    QPoint at = view->viewport()->rect().center();
    if (row >= 0 && m_model) {
        const QRect cell = view->visualRect(m_model->index(row, 0));
        if (cell.isValid() && view->viewport()->rect().intersects(cell))
            at = QPoint(cell.left() + cell.height(), cell.bottom());
    }
    Q_EMIT menuRequested(row, view->viewport()->mapToGlobal(at));
}

bool PaneListView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && (watched == m_report || watched == m_icons)) {
        // The views would turn Enter into an activation and Backspace into a key search; the
        // window gives both keys their meaning in a folder list instead.
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers =
            key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (modifiers == Qt::NoModifier) {
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                Q_EMIT enterPressed(currentRow());
                return true;
            }
            if (key->key() == Qt::Key_Backspace) {
                Q_EMIT backspacePressed();
                return true;
            }
            if (key->key() == Qt::Key_Space || key->key() == Qt::Key_Insert) {
                Q_EMIT markPressed(currentRow());
                return true;
            }
        }
        const bool menuKey = key->key() == Qt::Key_Menu && modifiers == Qt::NoModifier;
        const bool shiftF10 = key->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier;
        if (menuKey || shiftF10) {
            requestMenu();
            return true;
        }
    }
    // A menu asked for by the keyboard in some other way opens at the current row as well.
    if (event->type() == QEvent::ContextMenu && (watched == m_report || watched == m_icons) &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        requestMenu();
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress &&
        (watched == m_report->viewport() || watched == m_icons->viewport())) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QAbstractItemView* view = watched == m_report->viewport()
                                            ? static_cast<QAbstractItemView*>(m_report)
                                            : static_cast<QAbstractItemView*>(m_icons);
        const QModelIndex index = view->indexAt(mouse->position().toPoint());
        Q_EMIT mousePressed(index.isValid() ? index.row() : -1, mouse->button(), mouse->modifiers(),
                            mouse->globalPosition().toPoint());
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vennic
