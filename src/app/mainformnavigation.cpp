// Navigation between folders: the drive lists, the up-one-level buttons, the filter combo's
// Refresh, the view buttons and the keys of the lists.
#include "app/mainform.h"

#include "listing/panesizecounts.h"

#include "listing/panelist.h"
#include "platform/fserror.h"
#include "platform/pathrules.h"
#include "ui/panelistview.h"
#include "ui/tavbutton.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace vennic {

void MainForm::connectNavigation()
{
    for (int i = 0; i < 2; ++i) {
        const auto p = size_t(i);
        // A pick in the list, even of the drive it shows, lists that drive's root: the list
        // shows the drive of the last listing, which may be another folder of the same drive.
        connect(DR1[p], &QComboBox::activated, this, [this, i] { DR1_Change(i); });
        connect(Up1[p], &QToolButton::clicked, this, [this, i] { Up1_Click(i); });

        PaneListView* list = LV1[p];
        connect(list, &PaneListView::columnClicked, this,
                [this, i](int column) { LV1_ColumnClick(i, column); });
        connect(list, &PaneListView::rowClicked, this,
                [this, i](int row) { LV1_ItemClick(i, row); });
        connect(list, &PaneListView::currentRowChanged, this,
                [this, i](int row) { LV1_CurrentRowChanged(i, row); });
        connect(list, &PaneListView::rowDoubleClicked, this,
                [this, i](int row) { LV1_DblClick(i, row); });
        connect(list, &PaneListView::mousePressed, this,
                [this, i](int row, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                          QPoint globalPosition) {
                    LV1_MouseDown(i, row, button, modifiers, globalPosition);
                });
        connect(list, &PaneListView::enterPressed, this,
                [this, i](int row) { openFolderRow(i, row); });
        connect(list, &PaneListView::backspacePressed, this, [this, i] { Up1_Click(i); });
        connect(list, &PaneListView::markPressed, this,
                [this, i](int row) { LV1_ItemClick(i, row); });
        connect(list, &PaneListView::menuRequested, this,
                [this, i](int row, QPoint at) { openActionMenu(i, row, at); });
    }
    connect(Go1, &QPushButton::clicked, this, &MainForm::Go1_Click);
    // A control acts when it is used: Enter in either filter box lists both panes with its
    // pattern, as Refresh does, and so does showing or hiding folders or files.
    connect(FEX->lineEdit(), &QLineEdit::returnPressed, this, &MainForm::Go1_Click);
    connect(FilterExpression, &QLineEdit::returnPressed, this, [this] {
        FEX->setEditText(FilterExpression->text());
        Go1_Click();
    });
    for (TavButton* button : {ShowFoldersBtn, ShowFilesBtn})
        connect(button, &TavButton::activated, this, &MainForm::listBothPanes);
    for (size_t i = 0; i < Option1.size(); ++i)
        connect(Option1[i], &QRadioButton::clicked, this, [this, i] { Option1_Click(int(i)); });

    m_refreshKey = new QAction(QStringLiteral("Refresh"), this);
    m_refreshKey->setShortcut(QKeySequence(Qt::Key_F5));
    m_refreshKey->setShortcutContext(Qt::WindowShortcut);
    addAction(m_refreshKey);
    connect(m_refreshKey, &QAction::triggered, this, &MainForm::Go1_Click);
}

void MainForm::DR1_Change(int Index)
{
    if (Index < 0 || Index > 1)
        return;
    ActivePane = Index;
    const int item = DR1[size_t(Index)]->currentIndex();
    if (item < 0 || size_t(item) >= DriveList.size())
        return;
    setPanePath(Index, PathRules().driveRoot(DriveList[size_t(item)].path));
    GetListing(Index);
}

void MainForm::Go1_Click()
{
    SavedFilter = FEX->currentText();
    FEX_Change();
    // Both panes are listed as one command with the combo's pattern: a folder both show is
    // read and walked once, and what is typed into the filter boxes while it is read stays
    // there for the next listing.
    m_sizeCounts->beginCommand();
    m_commandPatterns = std::pair(FilterExpression->text(), SavedFilter);
    GetListing(0);
    GetListing(1);
    m_commandPatterns.reset();
    m_sizeCounts->endCommand();
    m_sharedRead.reset();
}

void MainForm::Option1_Click(int Index)
{
    if (Index < 0 || size_t(Index) >= Option1.size())
        return;
    Option1[size_t(Index)]->setChecked(true);
    for (PaneListView* list : LV1)
        list->setViewMode(Index);
}

void MainForm::Up1_Click(int Index)
{
    if (Index < 0 || Index > 1)
        return;
    ActivePane = Index;
    const NativeString path = panePath(Index);
    const NativeString up = PathRules().upOneLevel(path);
    // A root, or a path with no separator to walk back to, stays where it is.
    if (up == path)
        return;
    setPanePath(Index, up);
    GetListing(Index);
}

void MainForm::showPaneDrive(int index)
{
    const Drive* drive = PaneDrive[size_t(index)].get();
    if (!drive)
        return;
    NativeString path;
    try {
        path = drive->Path();
    } catch (const FsError&) {
        return;
    }
    int item = -1;
    for (size_t d = 0; d < DriveList.size() && item < 0; ++d)
        if (DriveList[d].path == path)
            item = int(d);
    const QSignalBlocker block(DR1[size_t(index)]);
    DR1[size_t(index)]->setCurrentIndex(item);
}

} // namespace vennic
