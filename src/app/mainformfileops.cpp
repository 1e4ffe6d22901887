// The main window's file commands: marks, copy, delete, delete all, the column alignment, the
// right pane's rebuild and the folder comparison.
#include "app/mainform.h"

#include "fileops/columnalignment.h"
#include "fileops/confirmdelete.h"
#include "fileops/filejob.h"
#include "fileops/fileoperations.h"
#include "fileops/foldercomparison.h"
#include "fileops/rightpanerebuild.h"
#include "fileops/rowmarks.h"
#include "listing/controlchars.h"
#include "listing/nativetext.h"
#include "listing/panelist.h"
#include "platform/pathrules.h"
#include "platform/prompts.h"
#include "ui/alertform.h"
#include "ui/panelistview.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QEventLoop>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

namespace vennic {

namespace {

/// Puts back a list view's selection and current row after its rows were rebuilt: `line` gives
/// for each new row the old row it shows, or -1.
void reselect(PaneListView& view, const std::vector<int>& line, const std::vector<int>& selected,
              int current)
{
    QAbstractItemView* items = view.currentView();
    QItemSelectionModel* selection = items ? items->selectionModel() : nullptr;
    if (!selection || !view.model())
        return;
    std::vector<int> newRowOf(line.size(), -1);
    for (size_t i = 0; i < line.size(); ++i)
        if (line[i] >= 0 && size_t(line[i]) < newRowOf.size())
            newRowOf[size_t(line[i])] = int(i);
    const auto moved = [&](int old) {
        return old >= 0 && size_t(old) < newRowOf.size() ? newRowOf[size_t(old)] : -1;
    };
    if (const int row = moved(current); row >= 0)
        selection->setCurrentIndex(view.model()->index(row, 0), QItemSelectionModel::NoUpdate);
    for (const int old : selected)
        if (const int row = moved(old); row >= 0)
            selection->select(view.model()->index(row, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

/// Names one to a line, each with its control characters shown as marks.
QString visibleLines(const QStringList& names)
{
    QStringList shown;
    shown.reserve(names.size());
    for (const QString& name : names)
        shown << withVisibleControls(name);
    return shown.join(QLatin1Char('\n'));
}

} // namespace

void MainForm::connectFileOps()
{
    connect(CopyBtn, &QPushButton::clicked, this, &MainForm::CopyBtn_Click);
    connect(DelBtn, &QPushButton::clicked, this, &MainForm::DelBtn_Click);
    connect(DelAllBtn, &QPushButton::clicked, this, &MainForm::DelAllBtn_Click);
    connect(RemBtn, &QPushButton::clicked, this, &MainForm::RemBtn_Click);
    connect(CompFldr, &QPushButton::clicked, this, &MainForm::CompFldr_Click);
    connect(Command1, &QPushButton::clicked, this, &MainForm::Command1_Click);

    // The marking items act on the active pane's selected rows, whichever row the menu was
    // opened on, and do nothing when none is selected. setMenuRow enables them.
    connect(LVCopy, &QAction::triggered, this, &MainForm::LVCopy_Click);
    connect(LVMove, &QAction::triggered, this, &MainForm::LVMove_Click);
    connect(LVDelete, &QAction::triggered, this, &MainForm::LVDelete_Click);

    // Keys as two-pane file managers have them, where the window's own leave room (F5 lists
    // both panes again, so copying takes Shift+F5). The marking keys act in the list the
    // keyboard is in, so they do not take Ctrl+Insert or Shift+Delete from the text boxes.
    const auto commandKey = [this](QPushButton* button, const QKeySequence& key) {
        auto* action = new QAction(this);
        action->setShortcut(key);
        addAction(action);
        connect(action, &QAction::triggered, button, &QPushButton::click);
    };
    commandKey(CopyBtn, QKeySequence(Qt::SHIFT | Qt::Key_F5));
    commandKey(DelBtn, QKeySequence(Qt::Key_F8));
    commandKey(DelAllBtn, QKeySequence(Qt::SHIFT | Qt::Key_F8));
    const QKeySequence copyMarkKey(Qt::CTRL | Qt::Key_Insert);
    const QKeySequence deleteMarkKey(Qt::SHIFT | Qt::Key_Delete);
    // The menu shows the keys; its own items answer them only while it is open.
    for (QAction* item : {LVCopy, LVDelete}) {
        item->setShortcut(item == LVCopy ? copyMarkKey : deleteMarkKey);
        item->setShortcutContext(Qt::WidgetShortcut);
    }
    for (int i = 0; i < 2; ++i) {
        for (const bool forCopy : {true, false}) {
            auto* action = new QAction(LV1[size_t(i)]);
            action->setShortcut(forCopy ? copyMarkKey : deleteMarkKey);
            action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            LV1[size_t(i)]->addAction(action);
            connect(action, &QAction::triggered, this, [this, i, forCopy] {
                markSelection(i, forCopy ? copyMark(i) : int(RowImage::SmallDelete));
            });
        }
    }
}

void MainForm::markSelection(int pane, int image)
{
    markSelectedRows(*LV1Rows[size_t(pane)], LV1[size_t(pane)]->selectedRows(), image);
}

void MainForm::LVCopy_Click()
{
    markSelection(ActivePane, copyMark(ActivePane));
}

void MainForm::LVMove_Click()
{
    markSelection(ActivePane, copyMark(ActivePane));
}

void MainForm::LVDelete_Click()
{
    markSelection(ActivePane, RowImage::SmallDelete);
}

void MainForm::CopyBtn_Click()
{
    if (jobOrSay())
        return;
    // A count of folder sizes does not hold a file command up: the panes the command changes
    // are listed, and so counted, again afterwards.
    if (rowsWithImage(*LV1Rows[0], RowImage::SmallCopyLeft).empty()) {
        GetListing(0);
        return;
    }
    // The files are those the left pane shows, and they go to the folder the right pane
    // shows; with either refused nothing is copied and the marks stay for another try.
    std::optional<CopyChoice> choice = askCopyChoice();
    if (!choice)
        return;
    // The folders are opened again once the question is answered.
    std::shared_ptr<FileSystem> fileSystem = newFileSystem();
    std::shared_ptr<FolderHandle> source = openPaneFolderOrSay(0, *fileSystem);
    if (!source)
        return;
    std::shared_ptr<FolderHandle> destination = openPaneFolderOrSay(1, *fileSystem);
    if (!destination)
        return;
    const NativeString destinationPath = destination->Path();
    auto files =
        std::make_shared<const std::vector<MarkedFile>>(markedForCopy(*LV1Rows[0], PathRules()));
    JobStart start{0, QStringLiteral("Copying"), {true, true}, std::make_shared<JobProgress>()};
    start.progress->files = int(files->size());
    for (const MarkedFile& file : *files)
        if (file.name && !choice->skip.count(*file.name))
            start.progress->bytes += file.size;
    runJob(
        start,
        [fileSystem, source, destination, files, choice = std::move(*choice)](JobProgress& job) {
            return copyMarkedFiles(*files, *source, *destination, choice, &job);
        },
        [this, destinationPath](const FileOpOutcome& outcome) {
            GetListing(0);
            // The right pane shows the folder the copies went to.
            relistOtherPaneOf(0, destinationPath, true);
            reportOutcome(outcome,
                          QStringLiteral("%1 of the marked files could not be copied to %2:")
                              .arg(outcome.failures.count())
                              .arg(withVisibleControls(nativeToQString(destinationPath))));
        });
}

std::optional<CopyChoice> MainForm::askCopyChoice()
{
    std::vector<Replacement> replacements;
    QString folder;
    {
        const std::unique_ptr<FileSystem> fileSystem = newFileSystem();
        const std::unique_ptr<FolderHandle> source = openPaneFolderOrSay(0, *fileSystem);
        if (!source)
            return std::nullopt;
        const std::unique_ptr<FolderHandle> destination = openPaneFolderOrSay(1, *fileSystem);
        if (!destination)
            return std::nullopt;
        replacements = replacementsOf(*LV1Rows[0], *source, *destination, PathRules());
        folder = withVisibleControls(nativeToQString(destination->Path()));
    }
    if (replacements.empty())
        return CopyChoice{};
    // No file of the destination is replaced unless the user saw it and agreed.
    const int answer = m_prompts->choose(
        QStringLiteral("Vennic - Replace Files"), replacementQuestion(replacements, folder),
        {QStringLiteral("Replace"), QStringLiteral("Skip"), QStringLiteral("Cancel")});
    if (answer == 0)
        return CopyChoice::replacing(replacements);
    if (answer == 1)
        return CopyChoice::skipping(replacements);
    return std::nullopt;
}

void MainForm::DelBtn_Click()
{
    if (jobOrSay())
        return;
    const int pane = ActivePane;
    const size_t marked = rowsWithImage(*LV1Rows[size_t(pane)], RowImage::SmallDelete).size();
    if (marked == 0) {
        m_prompts->message(QStringLiteral("No row of the %1 pane is marked for deletion. Mark "
                                          "files with \"Delete\" in the list's menu first.")
                               .arg(paneName(pane)));
        return;
    }
    const std::optional<FolderIdentity> folder = commandFolderOrSay(pane);
    if (!folder)
        return;
    // The question names the folder the files are deleted from, which the pane shows.
    if (!ConfirmDelete::ask(*m_prompts,
                            ConfirmDelete::markedFilesQuestion(
                                int(marked), withVisibleControls(nativeToQString(folder->path)))))
        return;
    DeleteMarkedFiles();
}

void MainForm::DeleteMarkedFiles()
{
    const int pane = ActivePane;
    // The folder is opened again now that the question is answered: whatever happened to its
    // path meanwhile, the files go only from the folder the pane listed.
    std::shared_ptr<FileSystem> fileSystem = newFileSystem();
    std::shared_ptr<FolderHandle> handle = openPaneFolderOrSay(pane, *fileSystem);
    if (!handle)
        return;
    auto files = std::make_shared<const std::vector<MarkedFile>>(
        markedForDelete(*LV1Rows[size_t(pane)], PathRules()));
    runDeleteJob(
        pane, fileSystem, handle, int(files->size()),
        [files](FolderHandle& folder, JobProgress& job) {
            return deleteMarkedFiles(*files, folder, &job);
        },
        QStringLiteral("%1 of the marked files could not be deleted:"));
}

void MainForm::runDeleteJob(int pane, std::shared_ptr<FileSystem> fileSystem,
                            std::shared_ptr<FolderHandle> handle, int files,
                            std::function<FileOpOutcome(FolderHandle&, JobProgress&)> work,
                            const QString& failuresHeading)
{
    JobStart start{pane, QStringLiteral("Deleting"), {}, std::make_shared<JobProgress>()};
    start.panes[size_t(pane)] = true;
    start.progress->files = files;
    runJob(
        start,
        // The job holds the file system and the folder open until it ends.
        [fileSystem = std::move(fileSystem), handle, work = std::move(work)](JobProgress& job) {
            return work(*handle, job);
        },
        [this, pane, folder = handle->Path(), failuresHeading](const FileOpOutcome& outcome) {
            GetListing(pane);
            relistOtherPaneOf(pane, folder);
            reportOutcome(outcome, failuresHeading.arg(outcome.failures.count()));
        });
}

void MainForm::DelAllBtn_Click()
{
    if (jobOrSay())
        return;
    const int pane = ActivePane;
    const auto p = size_t(pane);
    // The files to delete are those of the folder the pane listed: after "Open", "R", "Comp"
    // or a failed listing the rows may name files of another folder, or none.
    if (!PaneListed[p] || !PaneRowsFolder[p].folder()) {
        m_prompts->message(
            QStringLiteral("\"DA\" deletes the files of the folder a pane lists, but the rows of "
                           "the %1 pane do not come from a listing of its folder (a saved "
                           "listing was opened, the pane was rebuilt or compared, or its listing "
                           "failed). Nothing was deleted. Refresh the pane first.")
                .arg(paneName(pane)));
        return;
    }
    const std::optional<FolderIdentity> listed = commandFolderOrSay(pane);
    if (!listed)
        return;
    const QString folder = withVisibleControls(nativeToQString(listed->path));
    const size_t count = PaneRowsFolder[p].files().size();
    if (count == 0) {
        m_prompts->message(QStringLiteral("%1 holds no files to delete.").arg(folder));
        return;
    }

    MarkAllFilesForDelete();
    const int shown = int(std::min(m_deleteAllSaved.size(), count));
    if (!ConfirmDelete::ask(*m_prompts,
                            ConfirmDelete::allFilesQuestion(int(count), shown, folder))) {
        restoreImages(*LV1Rows[p], m_deleteAllSaved);
        m_deleteAllSaved.clear();
        return;
    }
    DeleteAllFiles();
    m_deleteAllSaved.clear();
}

void MainForm::MarkAllFilesForDelete()
{
    m_deleteAllSaved = markFileRowsForDelete(*LV1Rows[size_t(ActivePane)]);
}

void MainForm::DeleteAllFiles()
{
    const int pane = ActivePane;
    const auto p = size_t(pane);
    if (!PaneListed[p] || !PaneRowsFolder[p].folder())
        return;
    // The files are those the listing read, each only while its name still leads to it: a
    // file that came since, or one put in a listed file's place, stays.
    std::shared_ptr<FileSystem> fileSystem = newFileSystem();
    std::shared_ptr<FolderHandle> handle = openPaneFolderOrSay(pane, *fileSystem);
    if (!handle) {
        restoreImages(*LV1Rows[p], m_deleteAllSaved);
        return;
    }
    auto files = std::make_shared<const std::vector<ListedFile>>(PaneRowsFolder[p].files());
    runDeleteJob(
        pane, fileSystem, handle, int(files->size()),
        [files](FolderHandle& folder, JobProgress& job) {
            return deleteAllFiles(*files, folder, &job);
        },
        QStringLiteral("%1 files could not be deleted:"));
}

void MainForm::relistOtherPaneOf(int pane, const NativeString& changed, bool always)
{
    const int other = 1 - pane;
    const auto o = size_t(other);
    // Only rows that come from a listing are listed again, and only while the path box still
    // names their folder: an edit not yet listed is the user's, and a comparison or an opened
    // listing is not a view of the folder.
    if (!PaneListed[o] || !PaneRowsFolder[o].folder() || !commandFolder(other).folder)
        return;
    if (!always && !sameFolder(PaneRowsFolder[o].folder()->path, changed))
        return;
    GetListing(other);
}

void MainForm::RemBtn_Click()
{
    if (sizingOrSay({0, 1}))
        return;
    // The names are looked up in the folder the right pane shows.
    const std::optional<FolderIdentity> rightFolder = commandFolderOrSay(1);
    if (!rightFolder)
        return;
    RebuildResult result;
    try {
        const std::unique_ptr<FileSystem> fileSystem = newFileSystem();
        const std::unique_ptr<Folder> folder = fileSystem->GetFolder(rightFolder->path);
        const FolderIdentity now = folder->Identity();
        if (now.device != rightFolder->device || now.inode != rightFolder->inode) {
            m_prompts->message(noLongerListedMessage(rightFolder->path, paneName(1)));
            return;
        }
        result = rebuildFromNames(*LV1Rows[0], *folder, typeNames(), PathRules());
    } catch (const FsError& error) {
        m_prompts->message(QString::fromStdString(error.shown()));
        return;
    }
    // The new rows stand beside the left pane's rows, in their order.
    PaneList& right = *LV1Rows[1];
    right.setSorted(false);
    // The rows stand in the left pane's order: no header says they are sorted.
    right.setSortIcon(SortColumn[1], 0);
    right.setRows(std::move(result.rows));
    LVFC[1]->setText(result.countLine);
    SelFile[1]->clear();
    PaneListed[1] = false;
    FEX->setEditText(FEX->itemText(0));
    FEX_Change();
    if (!result.skipped.isEmpty())
        m_prompts->message(
            QStringLiteral("These rows of the left pane are not single file names and were not "
                           "looked up:\n") +
            visibleLines(result.skipped));
}

void MainForm::CompFldr_Click()
{
    if (sizingOrSay({0, 1}))
        return;
    // The walk lines up names in name order, so both panes are put in it first, whatever order
    // their rows came in; the selection moves with its rows.
    for (size_t p = 0; p < 2; ++p) {
        LV1Rows[p]->setSortIcon(SortColumn[p], 0);
        SortColumn[p] = ColName;
        LV1Rows[p]->sortBy(ColName, Qt::AscendingOrder);
        LV1Rows[p]->setSortIcon(ColName, 1);
    }
    std::array<std::vector<int>, 2> selected;
    std::array<int, 2> current{};
    for (size_t p = 0; p < 2; ++p) {
        selected[p] = LV1[p]->selectedRows();
        current[p] = LV1[p]->currentRow();
    }
    const ComparisonPlan plan = compareFolders(*LV1Rows[0], *LV1Rows[1]);
    // Blank rows now stand between the rows: neither pane lists its folder as it is.
    PaneListed[0] = false;
    PaneListed[1] = false;
    const std::array<const std::vector<int>*, 2> lines{&plan.left, &plan.right};
    for (size_t p = 0; p < 2; ++p)
        if (std::find(lines[p]->begin(), lines[p]->end(), -1) != lines[p]->end())
            reselect(*LV1[p], *lines[p], selected[p], current[p]);
}

void MainForm::Command1_Click()
{
    if (!m_alertForm)
        m_alertForm = new AlertForm(*this, DelAll);
    // A second click while the warning waits only brings the warning forward.
    if (m_waitingForAlert) {
        m_alertForm->raise();
        m_alertForm->activateWindow();
        return;
    }
    DelAll = false;
    QPointer<MainForm> self(this);
    QPointer<AlertForm> alert(m_alertForm);
    {
        QEventLoop wait;
        connect(alert, &AlertForm::closed, &wait, &QEventLoop::quit);
        connect(alert, &QObject::destroyed, &wait, &QEventLoop::quit);
        alert->show();
        alert->raise();
        alert->activateWindow();
        m_waitingForAlert = true;
        // The loop ends however the warning goes away: "OK", "Cancel" or a close.
        if (alert->isVisible())
            wait.exec();
    }
    if (!self)
        return;
    m_waitingForAlert = false;
    if (!DelAll)
        return;
    alignColumnRight(*LV1Rows[0], Text1->text());
    LV1[0]->update();
}

} // namespace vennic
