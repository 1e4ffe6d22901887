#pragma once

#include "platform/filesystem.h"

#include <QWidget>

#include <array>
#include <vector>

class QComboBox;
class QFileSystemModel;
class QModelIndex;
class QTreeView;

namespace vennic {

/// The drive-and-directory panel: a drive list and a folder tree for each pane. Picking a
/// drive shows its folders; picking a folder asks for that pane to list it. A modeless window
/// shown at start and from the View menu.
class DDPanel : public QWidget {
    Q_OBJECT
public:
    explicit DDPanel(QWidget* parent = nullptr);

    /// Fills both drive lists.
    void setDrives(const std::vector<DriveListEntry>& drives);
    /// Shows `folder` in pane `index`'s tree, under the drive `drive` (a mount point).
    void showFolder(int index, const QString& drive, const QString& folder);

    QComboBox* Drive1 = nullptr;
    QComboBox* Drive2 = nullptr;
    QTreeView* Dir1 = nullptr;
    QTreeView* Dir2 = nullptr;

Q_SIGNALS:
    /// The user picked `folder` (an absolute path) in pane `index`'s tree.
    void folderPicked(int index, const QString& folder);

private:
    QComboBox* driveList(int index) const { return index == 0 ? Drive1 : Drive2; }
    QTreeView* dirTree(int index) const { return index == 0 ? Dir1 : Dir2; }
    void Drive_Change(int index);
    void Dir_Change(int index, const QModelIndex& folder);
    void setRoot(int index, const QString& drive);
    void scrollToPicked();

    QFileSystemModel* m_folders = nullptr;
    std::array<QString, 2> m_lastPicked;
    std::array<bool, 2> m_scrollPending{};
};

} // namespace vennic
