#include "app/mainform.h"

#include "fileops/filejob.h"
#include "listing/controlchars.h"
#include "listing/foldersizing.h"
#include "listing/getlisting.h"
#include "listing/listingtexts.h"
#include "listing/nativetext.h"
#include "listing/panelist.h"
#include "listing/panesizecounts.h"
#include "listing/typenames.h"
#include "platform/desktoplauncher.h"
#include "platform/mountwatcher.h"
#include "platform/prompts.h"
#include "shell/designscale.h"
#include "shell/twips.h"
#include "ui/ddpanel.h"
#include "ui/imagelists.h"
#include "ui/panelistview.h"
#include "ui/sizingstrip.h"
#include "ui/tavbutton.h"
#include "ui/widgetprompts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <filesystem>

namespace vennic {

namespace {

/// Shows the busy pointer over every window of the program until it goes out of scope, so the
/// pointer comes back however a listing ends.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

/// Sets a flag for its lifetime.
class FlagGuard {
public:
    explicit FlagGuard(bool& flag) : m_flag(flag) { m_flag = true; }
    ~FlagGuard() { m_flag = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& m_flag;
};

/// The native spelling of a path typed as text.
NativeString nativeFromText(const QString& text)
{
    // The path type converts from UTF-16 to the system's own spelling on every system (UTF-8
    // on POSIX, like QFile::encodeName).
    try {
        return std::filesystem::path(text.toStdU16String()).native();
    } catch (const std::exception&) {
        return {};
    }
}

/// Keeps the messages of work done on another thread, to be shown on the window's thread once
/// the work is done. Only messages: the listing asks no questions.
class DeferredMessages : public Prompts {
public:
    void message(const QString& text, const QString& title) override
    {
        m_messages.emplace_back(text, title);
    }
    bool confirm(const QString&, const QString&, const QString&, const QString&) override
    {
        return false;
    }
    std::optional<QString> openFileName(const FileDialogRequest&) override { return {}; }
    std::optional<QString> saveFileName(const FileDialogRequest&) override { return {}; }

    bool empty() const { return m_messages.empty(); }

    void showOn(Prompts& prompts)
    {
        for (const auto& [text, title] : m_messages)
            prompts.message(text, title);
        m_messages.clear();
    }

private:
    std::vector<std::pair<QString, QString>> m_messages;
};

/// What the count line says while a folder is read.
const QString ReadingText = QStringLiteral("Reading the folder\u2026");

/// Whether two listings read the same folder the same way.
bool sameListing(const ListingRequest& a, const ListingRequest& b)
{
    return a.path == b.path && a.filterExpression == b.filterExpression && a.fexText == b.fexText &&
           a.options.showFolders == b.options.showFolders &&
           a.options.showFiles == b.options.showFiles;
}

} // namespace

MainForm::MainForm(QWidget* parent) : MainForm(MainFormOptions{}, parent) {}

MainForm::MainForm(MainFormOptions options, QWidget* parent)
    : QMainWindow(parent), m_prompts(std::move(options.prompts)),
      m_fileSystemFactory(std::move(options.fileSystemFactory)),
      m_typeNames(std::make_unique<TypeNames>())
{
    m_listAfterFirstPaint = options.listAfterFirstPaint;
    m_startFolders = options.startFolders;
    if (!m_prompts)
        m_prompts = std::make_shared<WidgetPrompts>(this);
    if (!m_fileSystemFactory)
        setFileSystemFactory({});
    m_texts = std::make_shared<ListingTexts>(*m_typeNames);

    setWindowTitle(QStringLiteral("Vennic"));
    m_client = new QWidget(this);
    // The captions use the system font, never below 8 points; the design lengths grow with it.
    m_client->setFont(DesignScale::captionFont(QApplication::font()));
    m_designScale = DesignScale::factor(m_client->font(), *this);
    setCentralWidget(m_client);
    createPaneControls(m_client, 0);
    createToolControls(m_client);
    createPaneControls(m_client, 1);
    // Tab goes from one list to the other (Shift+Tab back) before it reaches the tool strip.
    // A list is one of its two views at a time (the hidden one is passed over), so the chain
    // names the views themselves.
    QWidget* const chain[] = {LV1[0]->reportView(), LV1[0]->iconView(), LV1[1]->reportView(),
                              LV1[1]->iconView(), Go1};
    for (size_t i = 0; i + 1 < std::size(chain); ++i)
        QWidget::setTabOrder(chain[i], chain[i + 1]);
    // After the tool strip come each pane's drive list, "Up" and path box.
    QWidget* const panes[] = {Text1, DR1[0], Up1[0], LVPATH[0], DR1[1], Up1[1], LVPATH[1]};
    for (size_t i = 0; i + 1 < std::size(panes); ++i)
        QWidget::setTabOrder(panes[i], panes[i + 1]);
    createMenus();
    createListMenu();
    createSizingControls();
    m_sizeCounts->setWait(options.sizingWait);
    createJobControls(options.fileJobWait);
    connectNavigation();
    connectOutput();
    connectFileOps();
    connectDrives();
    describeControls();
    followFocus();
    m_launcher = std::make_shared<DesktopLauncher>();
    m_client->installEventFilter(this);

    m_ddPanel = new DDPanel(this);
    connect(m_ddPanel, &DDPanel::folderPicked, this, [this](int index, const QString& folder) {
        setPanePath(index, nativeFromText(folder));
        GetListing(index);
    });

    m_mountWatcher = new MountWatcher(std::string("/proc/self/mountinfo"), this);
    connect(m_mountWatcher, &MountWatcher::mountsChanged, this, &MainForm::fillDriveLists);

    placeWindow();
    Form_Load();
}

MainForm::~MainForm()
{
    // The file command and the walks still counting end first: they post to this window.
    m_job.reset();
    m_sizeCounts.reset();
    // The lists' children are taken down after the members, and a view laid out on the way
    // would ask the type names, gone by then, for its texts: the rows go first.
    for (PaneList* rows : LV1Rows)
        if (rows)
            rows->clear();
}

int MainForm::twips(double length) const
{
    return twipsToPixels(length * m_designScale, logicalDpiX());
}

QRect MainForm::twipsRect(double left, double top, double width, double height) const
{
    // Each edge is rounded on its own, so controls that meet in twips meet in pixels too.
    const int x = twips(left);
    const int y = twips(top);
    return {x, y, twips(left + width) - x, twips(top + height) - y};
}

void MainForm::placeTwips(QWidget* widget, double left, double top, double width,
                          double height) const
{
    widget->setGeometry(twipsRect(left, top, width, height));
}

void MainForm::setPrompts(std::shared_ptr<Prompts> prompts)
{
    m_prompts = prompts ? std::move(prompts) : std::make_shared<WidgetPrompts>(this);
}

void MainForm::setFileSystemFactory(FileSystemFactory factory)
{
    if (!factory) {
        TypeNames* types = m_typeNames.get();
        factory = [types] { return makeSystemFileSystem(types->namer()); };
    }
    m_fileSystemFactory = std::move(factory);
}

void MainForm::placeWindow()
{
    // The window takes the middle nine tenths of the screen's width and the band from a third
    // of its height down, in the screen's own pixels.
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const double w = area.width();
    const double h = area.height();
    // A screen too narrow for the tool strip at nine tenths gives the window the strip's
    // width, as far as the free area reaches, so no command starts off the window's edge.
    const int width = std::min(std::max(int(w * 0.9), twips(m_stripWidth)), area.width());
    resize(width, int(h / 3 * 1.9));
    move(area.left() + std::min(int(w * 0.05), (area.width() - width) / 2),
         area.top() + int(h / 3));
    // The drive-and-directory panel sits in the free band above the window.
    m_ddPanel->resize(std::min(560, int(w * 0.45)), std::max(200, int(h / 3) - 60));
    m_ddPanel->move(area.left() + int(w * 0.05), area.top() + 10);
    for (PaneList* rows : LV1Rows) {
        rows->setRightAligned(ColAttributes, true);
        rows->setRightAligned(ColBytes, true);
    }
}

void MainForm::Form_Load()
{
    m_ddPanel->show();
    ActivePane = 0;
    FilterExpression->setText(QStringLiteral("*.*"));
    std::error_code error;
    NativeString current = std::filesystem::current_path(error).native();
    if (error)
        current = std::filesystem::path("/").native();
    for (int i = 0; i < 2; ++i) {
        setPanePath(i, m_startFolders[size_t(i)].value_or(current));
        LVFC[size_t(i)]->clear();
        SelFile[size_t(i)]->clear();
        LVDrive[size_t(i)]->clear();
    }
    fillDriveLists();
    watchLayoutEvents();
    LV1[1]->setGeometry(LV1[1]->x(), LV1[0]->y(), LV1[1]->width(), LV1[0]->height());
    CurWinW = outerWidthTwips();
    CurWinH = outerHeightTwips();
    DriveTypeNames = {QStringLiteral("Unknown"),    QStringLiteral("Removable Media"),
                      QStringLiteral("Fixed Disk"), QStringLiteral("Remote Media"),
                      QStringLiteral("CDRom"),      QStringLiteral("RAMDisk")};
    LV1[0]->setFocus();
    // The program's own start shows the window before it reads a folder.
    if (!m_listAfterFirstPaint)
        listBothPanes();
}

void MainForm::fillDriveLists()
{
    std::unique_ptr<FileSystem> fs;
    DriveList.clear();
    try {
        fs = newFileSystem();
        DriveList = fs->Drives();
    } catch (const FsError&) {
        // A drive table that cannot be read leaves the lists empty; listings still work.
    }
    m_ddPanel->setDrives(DriveList);
    for (int i = 0; i < 2; ++i) {
        QComboBox* list = DR1[size_t(i)];
        const QSignalBlocker block(list);
        list->clear();
        for (const DriveListEntry& drive : DriveList)
            list->addItem(nativeToQString(drive.path));
        NativeString drive;
        try {
            if (fs)
                drive = fs->DrivePart(panePath(i));
        } catch (const FsError&) {
        }
        int item = -1;
        for (size_t d = 0; d < DriveList.size() && item < 0; ++d)
            if (DriveList[d].path == drive)
                item = int(d);
        list->setCurrentIndex(item);
        m_ddPanel->showFolder(i, nativeToQString(drive), LVPATH[size_t(i)]->text());
    }
}

void MainForm::setPanePath(int index, const NativeString& path)
{
    m_nativePath[size_t(index)] = path;
    LVPATH[size_t(index)]->setText(nativeToQString(path));
}

void MainForm::clearPaneNativePath(int index)
{
    m_nativePath[size_t(index)].reset();
}

NativeString MainForm::panePath(int index) const
{
    if (const auto& native = m_nativePath[size_t(index)])
        return *native;
    return nativeFromText(LVPATH[size_t(index)]->text());
}

void MainForm::setFilterHistory(const QStringList& history)
{
    // Emptying and refilling an editable combo would change its text; the text and the filter
    // box stay as they are, only the list is new.
    const QSignalBlocker block(FEX);
    const QString text = FEX->currentText();
    FEX->clear();
    FEX->addItems(history.isEmpty() ? QStringList{QStringLiteral("*.*")} : history);
    FEX->setCurrentIndex(-1);
    FEX->setEditText(text);
}

void MainForm::GetListing(int Index)
{
    if (Index < 0 || Index > 1)
        return;
    // The rows of a pane a file command works from stay until it ends; it lists them then.
    if (jobHolds(Index)) {
        m_relistAfterJob[size_t(Index)] = true;
        return;
    }
    // A listing asked for while a folder is read comes once the read ends; a second one of
    // the pane being read stops that read.
    if (m_listing) {
        m_listAfterRead[size_t(Index)] = true;
        if (m_reading && m_readingPane == Index)
            m_reading->stop = true;
        return;
    }
    listPane(Index);
    for (int i = 0; i < 2; ++i) {
        if (m_listAfterRead[size_t(i)]) {
            m_listAfterRead[size_t(i)] = false;
            GetListing(i);
        }
    }
}

void MainForm::listPane(int Index)
{
    m_relistAfterJob[size_t(Index)] = false;
    const FlagGuard running(m_listing);
    const BusyPointer busy;
    const auto pane = size_t(Index);
    // A new listing of the pane ends the count of the last one.
    endPaneSizing(Index);

    // A listing that fails must not leave the previous folder behind the pane.
    PaneDrive[pane].reset();
    PaneListed[pane] = false;
    markSavedListing(Index, {});
    PaneRowsFolder[pane].clear();
    LV1Rows[pane]->setRightAligned(ColBytes, true);
    setFilterHistory({QStringLiteral("*.*")});
    LV1Rows[pane]->clear();
    LVFC[pane]->clear();
    SelFile[pane]->clear();
    LVDrive[pane]->clear();

    ListingRequest request;
    request.path = panePath(Index);
    const QString shownPath = LVPATH[pane]->text();
    // The system calls stop at U+0000, so a typed path holding a control character would list
    // another folder than the box names; an empty one would list the working folder. A path
    // that navigation put in the box is the system's own and goes as it is.
    const bool typed = !m_nativePath[pane];
    if (request.path.empty() || (typed && hasControlCharacter(request.path))) {
        m_prompts->message(
            request.path.empty()
                ? QStringLiteral("The path box is empty. Type a folder's full path and press "
                                 "Enter, or pick a drive.")
                : QStringLiteral("The path \"%1\" holds a control character, so it names no "
                                 "folder that can be listed.")
                      .arg(withVisibleControls(shownPath)));
        return;
    }
    // Within a command that lists both panes, both use the patterns the boxes held when it
    // began, whatever is typed into them while the first pane's folder is read.
    request.filterExpression =
        m_commandPatterns ? m_commandPatterns->first : FilterExpression->text();
    request.fexText = m_commandPatterns ? m_commandPatterns->second : FEX->currentText();
    request.options.showFolders = !ShowFoldersBtn->Latched();
    request.options.showFiles = !ShowFilesBtn->Latched();
    request.options.sizesLater = true;
    request.driveTypeNames = DriveTypeNames;

    ListingResult result;
    std::optional<FolderIdentity> listed;
    std::vector<ListedFile> files;
    std::shared_ptr<const Folder> folder;
    const bool shared = m_sharedRead && sameListing(m_sharedRead->request, request);
    if (shared) {
        // The other pane is the only one to take it: the copy is taken whole, not copied again.
        SharedRead read = std::move(*m_sharedRead);
        m_sharedRead.reset();
        result = std::move(read.result);
        listed = std::move(read.listed);
        files = std::move(read.files);
        folder = std::move(read.folder);
        try {
            result.drive = newFileSystem()->GetDrive(read.drivePath);
        } catch (const FsError&) {
        }
    } else {
        DeferredMessages messages;
        std::optional<QString> failure;
        // Seen only where the read takes long enough for the window to be painted meanwhile.
        LVFC[pane]->setText(ReadingText);
        ReadProgress reading;
        request.readProgress = &reading;
        m_reading = &reading;
        m_readingPane = Index;
        try {
            const std::unique_ptr<FileSystem> fileSystem = newFileSystem();
            // A huge folder takes seconds to read: it is read on another thread while the
            // window goes on, and what the listing has to say is shown once it is read. The
            // pane keeps what identifies the folder and its files, never the folder itself.
            WaitingWork how;
            how.answerInput = true;
            how.tick = [this, Index] { showReadProgress(Index); };
            runWaiting(
                [&] {
                    result = runListing(request, *fileSystem, *m_typeNames, messages);
                    if (!result.folder)
                        return;
                    listed = result.folder->Identity();
                    try {
                        files = listedFiles(result.folder->Files());
                    } catch (const FsError&) {
                        files.clear();
                    }
                },
                how);
        } catch (const FsError& error) {
            failure = QString::fromStdString(error.shown());
        }
        m_reading = nullptr;
        request.readProgress = nullptr;
        JobStrip[pane]->hide();
        folder = std::move(result.folder);
        messages.showOn(*m_prompts);
        if (failure)
            m_prompts->message(*failure);
        // In a command that lists both panes the other pane may take this listing as it is;
        // one that had anything to say is read again, so that it says it again.
        if (m_sizeCounts->inCommand() && result.finished && !result.readStopped && listed &&
            !failure && messages.empty()) {
            NativeString drivePath;
            try {
                if (result.drive)
                    drivePath = result.drive->Path();
            } catch (const FsError&) {
            }
            m_sharedRead =
                SharedRead{request, result.copyWithoutHandles(), folder, listed, files, drivePath};
        }
    }

    // What was typed into the filter boxes while the folder was read stays there.
    const QString fexNow = FEX->currentText();
    const QString filterNow = FilterExpression->text();
    LV1Rows[pane]->setRows(std::move(result.rows));
    // A header says the rows are sorted only while they are.
    if (!LV1Rows[pane]->isSorted())
        LV1Rows[pane]->setSortIcon(SortColumn[pane], 0);
    LVDrive[pane]->setText(result.driveLine);
    LVFC[pane]->setText(result.countLine);
    setFilterHistory(result.history);
    PaneDrive[pane] = std::move(result.drive);
    showPaneDrive(Index);
    // A read stopped midway lists part of the folder: "DA" would not act on all of it.
    PaneListed[pane] = result.finished && !result.readStopped && listed;
    if (listed) {
        // A relative path was listed from the working folder; the commands keep it whole.
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(request.path, error);
        if (!error)
            listed->path = absolute.native();
    }
    PaneRowsFolder[pane].set(std::move(listed), shownPath, std::move(files));
    // The filter history's new list leaves both filter controls as they were: the patterns
    // this listing used, or what was typed into them while the folder was read.
    FEX->setEditText(fexNow);
    FilterExpression->setText(filterNow);
    if (!result.pendingFolders.empty() && folder)
        startPaneSizing(Index, result, std::move(folder));
}

void MainForm::LVPATH_Enter(int Index)
{
    if (Index < 0 || Index > 1)
        return;
    ActivePane = Index;
    GetListing(Index);
    // The keyboard goes on in the rows just listed.
    if (LVPATH[size_t(Index)]->hasFocus())
        LV1[size_t(Index)]->setFocus(Qt::OtherFocusReason);
}

QString MainForm::rowsPathText(int index) const
{
    const QString& shown = PaneRowsFolder[size_t(index)].shownText();
    return shown.isEmpty() ? LVPATH[size_t(index)]->text() : shown;
}

CommandFolder MainForm::commandFolder(int index, bool boxEditAllowed) const
{
    const auto p = size_t(index);
    return vennic::commandFolder(PaneRowsFolder[p], LVPATH[p]->text(), paneName(index),
                                 boxEditAllowed);
}

std::optional<FolderIdentity> MainForm::commandFolderOrSay(int index, bool boxEditAllowed)
{
    CommandFolder folder = commandFolder(index, boxEditAllowed);
    if (!folder.folder)
        m_prompts->message(folder.refusal);
    return folder.folder;
}

std::unique_ptr<FolderHandle> MainForm::openPaneFolderOrSay(int index, FileSystem& fileSystem,
                                                            bool boxEditAllowed)
{
    const std::optional<FolderIdentity> folder = commandFolderOrSay(index, boxEditAllowed);
    if (!folder)
        return nullptr;
    try {
        std::unique_ptr<FolderHandle> handle = fileSystem.OpenListedFolder(*folder);
        if (!handle)
            m_prompts->message(noLongerListedMessage(folder->path, paneName(index)));
        return handle;
    } catch (const FsError& error) {
        m_prompts->message(QString::fromStdString(error.shown()));
        return nullptr;
    }
}

void MainForm::FEX_Change()
{
    FilterExpression->setText(FEX->currentText());
}

void MainForm::EndBtn_Click()
{
    close();
}

void MainForm::M1Exit_Click()
{
    close();
}

void MainForm::mDDPanel_Click()
{
    m_ddPanel->show();
    m_ddPanel->raise();
    m_ddPanel->activateWindow();
}

void MainForm::closeEvent(QCloseEvent* event)
{
    if (!closeDuringJob(event))
        return;
    // A read still running ends at once; the window goes without its rows.
    if (m_reading)
        m_reading->stop = true;
    // Counts still running end now; the program does not wait for them to finish.
    stopSizing();
    endPaneSizing(0);
    endPaneSizing(1);
    if (m_ddPanel)
        m_ddPanel->close();
    event->accept();
    QCoreApplication::quit();
}

void MainForm::keepOnScreen()
{
    // The frame the window manager adds is known only once the window is on screen; a window
    // whose frame reaches past the screen's free area (below a panel, off the bottom edge)
    // gives up that much of its height.
    const QScreen* screen = this->screen();
    if (!screen || isMaximized() || isFullScreen())
        return;
    const QRect area = screen->availableGeometry();
    const QRect frame = frameGeometry();
    const int over = frame.bottom() - area.bottom();
    if (over > 0)
        resize(width(), std::max(minimumHeight(), height() - over));
}

bool MainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_placementChecked && watched == m_client && event->type() == QEvent::Paint) {
        m_placementChecked = true;
        QTimer::singleShot(0, this, &MainForm::keepOnScreen);
    }
    if (m_listAfterFirstPaint && watched == m_client && event->type() == QEvent::Paint) {
        // The window has been painted once: now the panes are listed, after this paint has
        // reached the screen.
        m_listAfterFirstPaint = false;
        QTimer::singleShot(0, this, &MainForm::listBothPanes);
    }
    if (layoutEvent(watched, event) || drivesEvent(watched, event))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

} // namespace vennic
