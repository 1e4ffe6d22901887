#include "ui/ddpanel.h"

#include "listing/nativetext.h"

#include <QComboBox>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTreeView>

namespace vennic {

DDPanel::DDPanel(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Drive & Directory Control Panel"));
    m_folders = new QFileSystemModel(this);
    m_folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_folders->setReadOnly(true);
    m_folders->setRootPath(QStringLiteral("/"));

    auto* grid = new QGridLayout(this);
    for (int i = 0; i < 2; ++i) {
        auto* title =
            new QLabel(i == 0 ? QStringLiteral("Left pane") : QStringLiteral("Right pane"), this);
        auto* drives = new QComboBox(this);
        auto* tree = new QTreeView(this);
        tree->setModel(m_folders);
        tree->setHeaderHidden(true);
        for (int c = 1; c < m_folders->columnCount(); ++c)
            tree->hideColumn(c);
        tree->setUniformRowHeights(true);
        tree->setSelectionMode(QAbstractItemView::SingleSelection);
        const QString pane = i == 0 ? QStringLiteral("left") : QStringLiteral("right");
        drives->setAccessibleName(QStringLiteral("Drive of the %1 pane").arg(pane));
        drives->setToolTip(
            QStringLiteral("Pick a drive to show its folders for the %1 pane").arg(pane));
        tree->setAccessibleName(QStringLiteral("Folders for the %1 pane").arg(pane));
        tree->setAccessibleDescription(
            QStringLiteral("Pick a folder to list it in the %1 pane").arg(pane));
        (i == 0 ? Drive1 : Drive2) = drives;
        (i == 0 ? Dir1 : Dir2) = tree;
        grid->addWidget(title, 0, i);
        grid->addWidget(drives, 1, i);
        grid->addWidget(tree, 2, i);

        connect(drives, &QComboBox::activated, this, [this, i] { Drive_Change(i); });
        connect(tree, &QAbstractItemView::clicked, this,
                [this, i](const QModelIndex& folder) { Dir_Change(i, folder); });
        connect(tree, &QAbstractItemView::activated, this,
                [this, i](const QModelIndex& folder) { Dir_Change(i, folder); });
        const auto handled = [this, i] { m_scrollPending[size_t(i)] = false; };
        connect(tree, &QTreeView::expanded, this, handled);
        connect(tree, &QTreeView::collapsed, this, handled);
        connect(tree, &QAbstractItemView::pressed, this, handled);
        connect(tree->verticalScrollBar(), &QScrollBar::actionTriggered, this, handled);
    }
    grid->setRowStretch(2, 1);
    // The folder model reads folders in the background and sorts them later: a pane's folder
    // is brought into view each time rows arrive, until the user handles that tree.
    connect(m_folders, &QAbstractItemModel::layoutChanged, this, &DDPanel::scrollToPicked,
            Qt::QueuedConnection);
    connect(m_folders, &QAbstractItemModel::rowsInserted, this, &DDPanel::scrollToPicked,
            Qt::QueuedConnection);
    resize(520, 380);
}

void DDPanel::setDrives(const std::vector<DriveListEntry>& drives)
{
    for (QComboBox* list : {Drive1, Drive2}) {
        list->clear();
        for (const DriveListEntry& drive : drives)
            list->addItem(nativeToQString(drive.path));
    }
}

void DDPanel::showFolder(int index, const QString& drive, const QString& folder)
{
    QComboBox* list = driveList(index);
    const int item = list->findText(drive);
    if (item >= 0)
        list->setCurrentIndex(item);
    setRoot(index, drive);
    const QModelIndex at = m_folders->index(folder);
    if (at.isValid()) {
        dirTree(index)->setCurrentIndex(at);
        dirTree(index)->scrollTo(at);
    }
    m_lastPicked[size_t(index)] = folder;
    m_scrollPending[size_t(index)] = true;
    scrollToPicked();
}

void DDPanel::scrollToPicked()
{
    for (int i = 0; i < 2; ++i) {
        if (!m_scrollPending[size_t(i)])
            continue;
        const QModelIndex at = m_folders->index(m_lastPicked[size_t(i)]);
        if (!at.isValid())
            continue;
        dirTree(i)->scrollTo(at, QAbstractItemView::PositionAtCenter);
    }
}

void DDPanel::setRoot(int index, const QString& drive)
{
    const QModelIndex root = m_folders->index(drive);
    if (root.isValid())
        dirTree(index)->setRootIndex(root);
}

void DDPanel::Drive_Change(int index)
{
    m_scrollPending[size_t(index)] = false;
    setRoot(index, driveList(index)->currentText());
}

void DDPanel::Dir_Change(int index, const QModelIndex& folder)
{
    const QString path = m_folders->filePath(folder);
    // A double click raises both a click and an activation; the folder is listed once.
    if (path.isEmpty() || path == m_lastPicked[size_t(index)])
        return;
    m_lastPicked[size_t(index)] = path;
    Q_EMIT folderPicked(index, path);
}

} // namespace vennic
