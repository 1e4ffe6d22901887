// The pane lists' own events: sorting by a column, the row click and its mark, the "Action"
// menu, opening a folder and viewing a file.
#include "app/mainform.h"

#include "listing/controlchars.h"
#include "listing/getlisting.h"
#include "listing/listinteraction.h"
#include "listing/panelist.h"
#include "platform/filelauncher.h"
#include "platform/pathrules.h"
#include "platform/prompts.h"
#include "ui/panelistview.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

#include <algorithm>

namespace vennic {

namespace {

/// List backgrounds in blue-green-red byte order: the active pane's and the other's.
constexpr uint32_t ActiveListBack = 0xC7F5F1;
constexpr uint32_t OtherListBack = 0xE0E0E0;

} // namespace

void MainForm::createListMenu()
{
    LVMenu = new QMenu(QStringLiteral("Action"), this);
    LVOF = LVMenu->addAction(QStringLiteral("&Open Folder"));
    LVMenu->setDefaultAction(LVOF);
    LVView = LVMenu->addMenu(QStringLiteral("&View"));
    LVVNotepad = LVView->addAction(QStringLiteral("Notepad"));
    LVVWordpad = LVView->addAction(QStringLiteral("Wordpad"));
    LVVSE = LVView->addAction(viewerCaption({}));
    LVCopy = LVMenu->addAction(QStringLiteral("&Copy"));
    LVMove = LVMenu->addAction(QStringLiteral("&Move"));
    LVDelete = LVMenu->addAction(QStringLiteral("&Delete"));
    LVRename = LVMenu->addAction(QStringLiteral("&Rename"));
    LVAttributes = LVMenu->addAction(QStringLiteral("A&ttributes"));
    // "Rename" has no command; setMenuRow enables the others for the row the menu is on.
    LVRename->setEnabled(false);
    setMenuRow(0, -1);

    connect(LVOF, &QAction::triggered, this, &MainForm::LVOF_Click);
    connect(LVVNotepad, &QAction::triggered, this, &MainForm::LVVNotepad_Click);
    connect(LVVWordpad, &QAction::triggered, this, &MainForm::LVVWordpad_Click);
    connect(LVVSE, &QAction::triggered, this, &MainForm::LVVSE_Click);
}

void MainForm::setFileLauncher(std::shared_ptr<FileLauncher> launcher)
{
    m_launcher = std::move(launcher);
}

void MainForm::LV1_ColumnClick(int Index, int Column)
{
    if (Index < 0 || Index > 1)
        return;
    PaneList& rows = *LV1Rows[size_t(Index)];
    if (Column < 0 || Column >= rows.columnCount())
        return;
    rows.setSortIcon(SortColumn[size_t(Index)], 0);
    SortColumn[size_t(Index)] = int16_t(Column);
    // The order turns over on every click, whichever column was sorted before.
    const bool wasAscending = rows.sortOrder() == Qt::AscendingOrder;
    rows.sortBy(Column, wasAscending ? Qt::DescendingOrder : Qt::AscendingOrder);
    rows.setSortIcon(Column, wasAscending ? 2 : 1);
}

void MainForm::LV1_ItemClick(int Index, int Row)
{
    if (Index < 0 || Index > 1)
        return;
    PaneList& rows = *LV1Rows[size_t(Index)];
    if (Row < 0 || Row >= rows.rowCount())
        return;
    makeActive(Index);
    SelFile[size_t(Index)]->setText(withVisibleControls(rows.cellText(Row, ColName)));
    QString tip = rows.cellText(Row, ColCreated);
    // A folder whose size is not its whole tree's keeps saying so.
    const uint16_t flags = rows.row(Row).flags;
    if (flags & PaneRow::SizePartial)
        tip += u'\n' + PartialSizeToolTip;
    else if (flags & PaneRow::SizeStopped)
        tip += u'\n' + StoppedSizeToolTip;
    else if (flags & PaneRow::SizePending)
        tip += u'\n' + PendingSizeToolTip;
    // A link keeps saying where it points.
    const QString& before = rows.row(Row).toolTip;
    if (before.startsWith(LinkToolTipStart))
        tip = before.section(u'\n', 0, 0) + u'\n' + tip;
    rows.setToolTip(Row, tip);
    setMenuRow(Index, Row);

    const RowMark mark = toggledMark(rows.row(Row).foreColor);
    rows.setForeColor(Row, mark.foreColor);
    if (mark.smallImage)
        rows.setSmallImage(Row, *mark.smallImage);
}

void MainForm::makeActive(int index)
{
    ActivePane = index;
    LV1[size_t(index)]->setBackgroundColor(PaneList::colorFromBgr(ActiveListBack));
    LV1[size_t(1 - index)]->setBackgroundColor(PaneList::colorFromBgr(OtherListBack));
}

void MainForm::LV1_CurrentRowChanged(int Index, int Row)
{
    if (Index < 0 || Index > 1)
        return;
    const PaneList& rows = *LV1Rows[size_t(Index)];
    // The label names the row the keyboard is on, which a click on it acts on.
    SelFile[size_t(Index)]->setText(Row >= 0 && Row < rows.rowCount()
                                        ? withVisibleControls(rows.cellText(Row, ColName))
                                        : QString());
}

void MainForm::setMenuRow(int index, int row)
{
    const PaneList& rows = *LV1Rows[size_t(index)];
    if (row >= rows.rowCount())
        row = -1;
    m_menuPane = index;
    m_menuRow = row;
    const QString type = row >= 0 ? rows.cellText(row, ColType) : QString();
    const bool folder = row >= 0 && isFolderTypeText(type);
    LVVSE->setText(viewerCaption(type));
    LVOF->setEnabled(folder);
    for (QAction* viewer : {LVVNotepad, LVVWordpad, LVVSE})
        viewer->setEnabled(row >= 0 && !folder);
    // The marks go on the active pane's selected row; a menu opened over no row offers none.
    for (QAction* mark : {LVCopy, LVMove, LVDelete})
        mark->setEnabled(row >= 0);
    // The attributes belong to the row the menu was opened on; over no row there are none
    // (the menu's item must not fall back on another row that happens to be current).
    LVAttributes->setEnabled(row >= 0);
}

void MainForm::LV1_MouseDown(int Index, int Row, Qt::MouseButton Button,
                             Qt::KeyboardModifiers Shift, QPoint GlobalPosition)
{
    if (Index < 0 || Index > 1 || Button != Qt::RightButton)
        return;
    if (Shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
        return;
    // The menu acts where it was opened: that pane becomes active and the row under the
    // pointer is selected (without the click mark), so every item of the menu acts on it.
    makeActive(Index);
    if (Row >= 0 && Row < LV1Rows[size_t(Index)]->rowCount())
        selectForMenu(Index, Row);
    setMenuRow(Index, Row);
    LVMenu->popup(GlobalPosition);
}

void MainForm::selectForMenu(int index, int row)
{
    // A menu opened on one of several selected rows marks them all; elsewhere its row alone.
    const std::vector<int> selected = LV1[size_t(index)]->selectedRows();
    if (std::find(selected.begin(), selected.end(), row) == selected.end())
        LV1[size_t(index)]->selectRow(row);
}

void MainForm::openActionMenu(int index, int row, QPoint globalPosition)
{
    if (index < 0 || index > 1)
        return;
    // The keyboard's menu acts on the current row, as the right button's acts on the row under
    // the pointer.
    makeActive(index);
    if (row >= 0 && row < LV1Rows[size_t(index)]->rowCount())
        selectForMenu(index, row);
    else
        row = -1;
    setMenuRow(index, row);
    LVMenu->popup(globalPosition);
}

void MainForm::LV1_DblClick(int Index, int Row)
{
    openFolderRow(Index, Row);
}

void MainForm::LVOF_Click()
{
    openFolderRow(m_menuPane, m_menuRow);
}

void MainForm::LVVNotepad_Click()
{
    openRowFile(m_menuPane, m_menuRow);
}

void MainForm::LVVWordpad_Click()
{
    openRowFile(m_menuPane, m_menuRow);
}

void MainForm::LVVSE_Click()
{
    openRowFile(m_menuPane, m_menuRow);
}

std::optional<NativeString> MainForm::rowPathOrSay(int index, int row, const QString& kind)
{
    const PaneList& rows = *LV1Rows[size_t(index)];
    const QString name = rows.cellText(row, ColName);
    // The native name reaches entries whose names are not UTF-8; a link is reached through
    // the link's own path.
    // Opening only reads, so it acts on the folder the rows belong to even while the path box
    // holds an edit that was not listed.
    const std::optional<FolderIdentity> folder = commandFolderOrSay(index, true);
    if (!folder)
        return std::nullopt;
    std::optional<NativeString> path = rowEntryPath(rows.row(row), name, folder->path, PathRules());
    if (!path)
        m_prompts->message(QStringLiteral("\"%1\" is not a single %2 name, so it cannot be opened.")
                               .arg(withVisibleControls(name), kind));
    return path;
}

void MainForm::openFolderRow(int index, int row)
{
    if (index < 0 || index > 1)
        return;
    const PaneList& rows = *LV1Rows[size_t(index)];
    if (row < 0 || row >= rows.rowCount() || !isFolderTypeText(rows.cellText(row, ColType)))
        return;
    const std::optional<NativeString> path = rowPathOrSay(index, row, QStringLiteral("folder"));
    if (!path)
        return;
    ActivePane = index;
    setPanePath(index, *path);
    GetListing(index);
}

void MainForm::openRowFile(int index, int row)
{
    if (index < 0 || index > 1)
        return;
    if (row < 0 || row >= LV1Rows[size_t(index)]->rowCount())
        return;
    const std::optional<NativeString> path = rowPathOrSay(index, row, QStringLiteral("file"));
    if (!path)
        return;
    if (!m_launcher || !m_launcher->open(*path))
        m_prompts->message(
            QStringLiteral("Could not open %1: no application is set up to open it.")
                .arg(withVisibleControls(LV1Rows[size_t(index)]->cellText(row, ColName))));
}

} // namespace vennic
