#pragma once

#include "fileops/fileoperations.h"
#include "fileops/rowsfolder.h"
#include "listing/getlisting.h"
#include "output/printedlisting.h"
#include "output/savedlistingcommands.h"
#include "platform/filesystem.h"
#include "ui/listingprinter.h"

#include <QMainWindow>
#include <QStringList>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolButton;

namespace vennic {

class DDPanel;
class FileLauncher;
class PaneSizeCounts;
class MountWatcher;
class SizingStrip;
class ToolStrip;
class FileJob;
class JobProgress;
struct ListingResult;
class ListingTexts;
class PaneList;
class PaneListView;
class PrinterFormatFrm;
class Prompts;
class TavButton;
class TypeNames;

/// Makes the file-system service a listing uses; tests install one of their own.
using FileSystemFactory = std::function<std::unique_ptr<FileSystem>()>;

/// What the main window is built with. Empty members take the real services: dialogs on the
/// screen and the file system of the machine.
struct MainFormOptions {
    std::shared_ptr<Prompts> prompts;
    FileSystemFactory fileSystemFactory;
    /// How long a listing waits for its folder sizes before it shows the rows without them and
    /// lets the sizes come in as they are counted.
    std::chrono::milliseconds sizingWait{50};
    /// How long a file command waits for its worker before the window goes on while it runs:
    /// a command done within it ends as if it had run on the window's thread.
    std::chrono::milliseconds fileJobWait{100};
    /// Lists the panes only once the window has been painted (the program's own start);
    /// otherwise the window lists them while it is made.
    bool listAfterFirstPaint = false;
    /// The folder each pane lists at the start; none for the current folder.
    std::array<std::optional<NativeString>, 2> startFolders;
};

/// The main window: two folder panes side by side under the command strip. It owns the
/// window-wide state for the program's whole life, and its controls and state carry the names
/// the dialogs and commands use to reach them. Per-pane controls are arrays indexed by pane
/// (0 left, 1 right). Handlers are named `<control>_<event>`.
class MainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit MainForm(QWidget* parent = nullptr);
    explicit MainForm(MainFormOptions options, QWidget* parent = nullptr);
    ~MainForm() override;

    /// Fills pane `Index` with the folder its path box names. Returns at once while another
    /// listing runs (the listing keeps the window painted, so events arrive meanwhile).
    void GetListing(int Index);
    bool listingRunning() const { return m_listing; }

    /// Puts a native path into pane `index`'s path box and keeps it beside the box's text, so
    /// a folder whose name is not UTF-8 is listed as the system spells it.
    void setPanePath(int index, const NativeString& path);
    /// The path pane `index` lists: the kept native path, or the box's text when the user has
    /// edited the box since.
    NativeString panePath(int index) const;
    /// Forgets pane `index`'s kept native path, as a user edit of the box does: the box's text
    /// is then the path.
    void clearPaneNativePath(int index);

    Prompts& prompts() const { return *m_prompts; }
    void setPrompts(std::shared_ptr<Prompts> prompts);
    void setFileSystemFactory(FileSystemFactory factory);
    /// A new file-system service from the installed factory.
    std::unique_ptr<FileSystem> newFileSystem() const { return m_fileSystemFactory(); }
    TypeNames& typeNames() const { return *m_typeNames; }
    /// The maker of listed rows' texts, shared by both panes' lists.
    const std::shared_ptr<ListingTexts>& listingTexts() const { return m_texts; }
    DDPanel* ddPanel() const { return m_ddPanel; }
    /// Tells the window when a file system is mounted or unmounted: both drive lists follow.
    MountWatcher* mountWatcher() const { return m_mountWatcher; }

    /// A design length in twips as pixels on this window's screen, grown by the design scale.
    int twips(double length) const;
    /// Client pixels as twips, through the same conversion as twips().
    float pixelsAsTwips(double pixels) const;
    /// A design rectangle in twips as pixels, through twips().
    QRect twipsRect(double left, double top, double width, double height) const;
    /// The one factor by which every design length of the window grows: the system font's
    /// letters against those of the font the window was drawn for (see DesignScale).
    double designScale() const { return m_designScale; }
    /// Where the right pane's drive list may start at the leftmost, in twips: after the tool
    /// strip's second row, which shares the drive lists' band.
    float rightDriveStart() const { return m_rightDriveStart; }
    /// How far below their design place the panes start, under a tool strip that flowed into
    /// more rows than the design's two.
    float stripDrop() const { return m_stripDrop; }

    // Window-wide state.
    int ActivePane = 0;
    QStringList DriveTypeNames;
    /// The drives of the drive lists `DR1`, in the lists' order.
    std::vector<DriveListEntry> DriveList;
    std::array<std::unique_ptr<Drive>, 2> PaneDrive;
    /// The folder each pane's rows belong to; every file command acts in it, once it has
    /// opened it again and found it to be still the folder that was listed.
    std::array<RowsFolder, 2> PaneRowsFolder;
    QString SavedFilter;
    std::array<int16_t, 2> SortColumn{};
    float LL = 0, CL = 0, sw = 0, ww = 0, sp = 0, mx = 0, my = 0;
    float CurWinW = 0, CurWinH = 0;
    bool MD = false;
    bool DelAll = false;

    // Per-pane controls.
    std::array<PaneListView*, 2> LV1{};
    std::array<PaneList*, 2> LV1Rows{}; ///< the row model each list shows
    std::array<QLineEdit*, 2> LVPATH{};
    std::array<QComboBox*, 2> DR1{};
    std::array<QToolButton*, 2> Up1{};
    std::array<QLabel*, 2> LVFC{};
    std::array<QLabel*, 2> SelFile{};
    std::array<QLabel*, 2> LVDrive{};

    // Window-wide controls.
    QLineEdit* FilterExpression = nullptr;
    QComboBox* FEX = nullptr;
    TavButton* ShowFoldersBtn = nullptr;
    TavButton* ShowFilesBtn = nullptr;
    TavButton* PO = nullptr;
    QPushButton* EndBtn = nullptr;
    QPushButton* Go1 = nullptr;
    QPushButton* PrinBtn = nullptr;
    QPushButton* DelBtn = nullptr;
    QPushButton* DelAllBtn = nullptr;
    QPushButton* CopyBtn = nullptr;
    QPushButton* RemBtn = nullptr;
    QPushButton* PrinSmallBtn = nullptr;
    QPushButton* CompFldr = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* PrinPrevBtn = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 4> Option1{};
    QLineEdit* Text1 = nullptr;

    // Menus.
    QMenu* M1 = nullptr; ///< "File"
    QAction* M1Open = nullptr;
    QAction* M1Save = nullptr;
    QAction* M1Print = nullptr;
    QAction* M1PrintCompact = nullptr;
    QAction* M1PrintPreview = nullptr;
    QAction* M1PrintSetup = nullptr;
    QAction* M1PrinterFormat = nullptr;
    QAction* M1Exit = nullptr;
    QMenu* mView = nullptr;
    QAction* mDDPanel = nullptr;
    QAction* mDriveInfo = nullptr; ///< the active pane's drive information
    QMenu* mHelp = nullptr;
    QAction* mAbout = nullptr;

    // Handlers.
    void EndBtn_Click();
    void M1Exit_Click();
    void mDDPanel_Click();
    /// Copies the filter combo's text into `FilterExpression`.
    void FEX_Change();
    /// Enter in pane `Index`'s path box lists the folder the box names.
    void LVPATH_Enter(int Index);

    /// What a command may act on in pane `index`: its rows' folder, or the reason it may not
    /// (told to the user by the caller). Only `boxEditAllowed` commands act while the path box
    /// holds an edit that was not listed.
    CommandFolder commandFolder(int index, bool boxEditAllowed = false) const;
    /// The path text of the folder pane `index`'s rows belong to, as the box read when they
    /// were put there; the box's text when the pane has had no rows yet.
    QString rowsPathText(int index) const;
    /// As commandFolder(), telling the user when the command may not act.
    std::optional<FolderIdentity> commandFolderOrSay(int index, bool boxEditAllowed = false);
    /// Marks pane `index` as showing the saved listing `file` (its path box and count line
    /// change colour and name the file in their tool tips); an empty `file` takes the mark off.
    void markSavedListing(int index, const QString& file);
    /// The folder a saved listing's path line names, as it is now; nothing when it names none.
    std::optional<FolderIdentity> savedListingIdentity(const QString& pathLine);
    /// Opens pane `index`'s folder again for a command that acts in it, telling the user and
    /// giving nothing when it is no longer the folder the pane lists or cannot be opened.
    std::unique_ptr<FolderHandle> openPaneFolderOrSay(int index, FileSystem& fileSystem,
                                                      bool boxEditAllowed = false);
    /// Asks, when marked files of the left pane would replace files of the right pane's
    /// folder, whether to replace or skip them. Nothing when the copy is cancelled or refused.
    std::optional<CopyChoice> askCopyChoice();

    // --- Navigation and list interaction ---
    // The "Action" menu of the lists.
    QMenu* LVMenu = nullptr;
    QAction* LVOF = nullptr; ///< "Open Folder", the menu's default item
    QMenu* LVView = nullptr; ///< the "View" submenu
    QAction* LVVNotepad = nullptr;
    QAction* LVVWordpad = nullptr;
    QAction* LVVSE = nullptr; ///< the third viewer item; its caption follows the clicked row
    QAction* LVCopy = nullptr;
    QAction* LVMove = nullptr;
    QAction* LVDelete = nullptr;
    QAction* LVRename = nullptr;
    QAction* LVAttributes = nullptr;

    /// A drive picked in pane `Index`'s drive list: that pane lists the drive's root.
    void DR1_Change(int Index);
    /// "Refresh": lists both panes with the pattern in the filter combo.
    void Go1_Click();
    /// The view buttons: both lists show view `Index` (0 large icons, 1 small icons, 2 list,
    /// 3 report).
    void Option1_Click(int Index);
    /// One folder up in pane `Index`.
    void Up1_Click(int Index);
    /// A click on a column header of pane `Index` sorts by that column.
    void LV1_ColumnClick(int Index, int Column);
    /// A click on a row: the pane becomes active and the row is marked.
    void LV1_ItemClick(int Index, int Row);
    /// Any mouse button pressed over a list; the plain right button opens the "Action" menu.
    void LV1_MouseDown(int Index, int Row, Qt::MouseButton Button, Qt::KeyboardModifiers Shift,
                       QPoint GlobalPosition);
    /// The current row of pane `Index` moved (by keyboard, click or program): the selected-item
    /// label names it.
    void LV1_CurrentRowChanged(int Index, int Row);
    /// A double click on a row opens its folder.
    void LV1_DblClick(int Index, int Row);
    /// The menu key or Shift+F10 over a list: the "Action" menu opens at `globalPosition` for
    /// the current row `row` (-1: none).
    void openActionMenu(int index, int row, QPoint globalPosition);
    /// "Sort by" of the "View" menu: the active pane sorts by `column` as a header click does.
    QMenu* mSortBy = nullptr;
    /// "Open Folder": the pane of the menu lists the folder of its row.
    void LVOF_Click();
    void LVVNotepad_Click();
    void LVVWordpad_Click();
    void LVVSE_Click();

    /// The pane and row the "Action" menu acts on: the last row clicked or right-clicked.
    int menuPane() const { return m_menuPane; }
    int menuRow() const { return m_menuRow; }
    /// Lists the folder of a folder row in pane `index`; nothing for other rows.
    void openFolderRow(int index, int row);
    /// Opens the file of a row with the desktop's default application.
    void openRowFile(int index, int row);
    void setFileLauncher(std::shared_ptr<FileLauncher> launcher);

private:
    void createListMenu();
    /// Makes pane `index` the active one and gives the lists their backgrounds.
    void makeActive(int index);
    /// Names every control for a screen reader, and describes the terse ones, also as tool
    /// tips (mainformaccess.cpp).
    void describeControls();
    /// Makes the pane the keyboard goes into the active pane.
    void followFocus();
    /// The path of a row's entry, or nothing after telling the user the row names no single
    /// `kind` ("folder", "file").
    std::optional<NativeString> rowPathOrSay(int index, int row, const QString& kind);
    /// Connects the navigation controls and the lists to their handlers.
    void connectNavigation();
    /// Points the "Action" menu at a row and enables its items for that row.
    void setMenuRow(int index, int row);
    /// Shows in pane `index`'s drive list the drive of its last listing.
    void showPaneDrive(int index);

    std::shared_ptr<FileLauncher> m_launcher;
    /// F5 anywhere in the window: "Refresh".
    QAction* m_refreshKey = nullptr;
    int m_menuPane = 0;
    int m_menuRow = -1;

public:
    // --- end of navigation and list interaction ---

    // --- Saved listings and printing (mainformoutput.cpp) ---
    /// Whether each pane's rows come from a listing of the folder it holds (not after "Open"
    /// or a failed listing): commands on the folder's files check it.
    std::array<bool, 2> PaneListed{};
    /// What the one file dialog of "Save (as)" and "Open" remembers between uses.
    SavedListingDialog CD;

    void M1Save_Click();
    void M1Open_Click();
    /// "Print": the full print with orientation, fonts and header.
    void PrinBtn_Click();
    /// The menu's "Print": the rows alone, in whatever the printer was last set to.
    void M1Print_Click();
    void PrinSmallBtn_Click();
    void M1PrintCompact_Click();
    void PrinPrevBtn_Click();
    void M1PrintPreview_Click();
    void M1PrintSetup_Click();
    void M1PrinterFormat_Click();

    /// The print commands' printer; tests install their own provider before printing.
    ListingPrinter& printer();
    void setPrinterProvider(PrinterProvider provider);
    PrinterFormatFrm* printerFormatForm() const { return m_printerFormat; }

private:
    void connectOutput();
    /// What a print reads from the active pane.
    PrintedListing printedListing() const;

    std::unique_ptr<ListingPrinter> m_printer;
    PrinterFormatFrm* m_printerFormat = nullptr;

public:
    // --- end of saved listings and printing ---

    // --- File operations (mainformfileops.cpp) ---
    /// "Action" menu "Copy": the active pane's first selected row gets the pane's copy mark
    /// (image 9 on the left, 10 on the right). Nothing when no row is selected.
    void LVCopy_Click();
    /// "Action" menu "Move": marks the selected row for copy as "Copy" does; no file moves.
    void LVMove_Click();
    /// "Action" menu "Delete": the active pane's first selected row gets the delete mark.
    void LVDelete_Click();
    /// "Copy": copies the files of the left pane's rows marked for copy into the right pane's
    /// folder, replacing files of the same name, then refills the left pane.
    void CopyBtn_Click();
    /// "Delete": asks (modal) and, on "OK", deletes the files marked for deletion in the
    /// active pane (DeleteMarkedFiles). "Cancel" deletes nothing.
    void DelBtn_Click();
    /// "DA": marks every file row of the active pane, asks naming the folder and how many
    /// files go, and on "OK" deletes every file of the pane's folder (DeleteAllFiles);
    /// "Cancel" takes the marks off. Refused, with a message, unless the pane's rows come from
    /// a listing of the folder it holds.
    void DelAllBtn_Click();
    /// "R": rebuilds the right pane's rows from the left pane's names.
    void RemBtn_Click();
    /// "Comp": lines the two panes up by name.
    void CompFldr_Click();
    /// "Command1": after the warning's "OK", right-aligns the column of the left list that
    /// `Text1` names.
    void Command1_Click();

    /// Deletes (without forcing) the files whose own row in the active pane carries the delete
    /// mark, reports every failure in one message, and refills that pane.
    void DeleteMarkedFiles();
    /// Gives every file row of the active pane the delete mark.
    void MarkAllFilesForDelete();
    /// Deletes every file of the active pane's listed folder, read-only ones too, reports every
    /// failure in one message and refills the pane. Only after the question of "DA".
    void DeleteAllFiles();

    /// The warning of the column alignment, made on first use.
    class AlertForm* alertForm() const { return m_alertForm; }

private:
    /// Connects the file commands (marks, copy, delete, comparison, column alignment).
    void connectFileOps();
    /// Gives every selected row of pane `pane` a mark image.
    void markSelection(int pane, int image);
    /// Selects the row a menu opens on, keeping the selection when the row is part of it.
    void selectForMenu(int index, int row);
    /// After a command changed the folder `changed`, lists the pane other than `pane` again
    /// when it shows that folder (`always`: whatever folder it shows).
    void relistOtherPaneOf(int pane, const NativeString& changed, bool always = false);

    class AlertForm* m_alertForm = nullptr;
    bool m_waitingForAlert = false;
    /// The small images the file rows had before MarkAllFilesForDelete, for taking the marks
    /// off again.
    std::vector<std::pair<int, uint8_t>> m_deleteAllSaved;

public:
    // --- end of file operations ---

    // --- File commands as jobs on a worker (mainformjobs.cpp) ---
    /// Whether a file command (Copy, Delete, DA) is running on its worker.
    bool jobRunning() const;
    /// Esc or "Stop" while a file command runs: it ends between files, or within a copy's next
    /// block, and says what was done.
    void stopJob();
    /// The progress strip over each pane's count line while a file command runs from it.
    std::array<SizingStrip*, 2> JobStrip{};

private:
    /// What a file command runs with: the pane it runs from (its strip shows there), what it
    /// does ("Copying"), the panes whose listings wait for it, and its totals.
    struct JobStart {
        int pane = 0;
        QString verb;
        std::array<bool, 2> panes{};
        std::shared_ptr<JobProgress> progress;
    };
    void createJobControls(std::chrono::milliseconds wait);
    /// Runs `work` on the worker; `finished` runs on this thread with what it did.
    void runJob(const JobStart& start, std::function<FileOpOutcome(JobProgress&)> work,
                std::function<void(FileOpOutcome)> finished);
    /// True, after telling the user, while a file command runs.
    bool jobOrSay();
    /// Whether a running file command holds pane `pane`, whose listing then waits for it.
    bool jobHolds(int pane) const;
    void showJobProgress();
    /// Esc: ends the file command, or else the count of sizes.
    void escapePressed();
    /// One message for a command's end: how many files were done and which were not when it
    /// was stopped, then the failures under `failuresHeading`.
    void reportOutcome(const FileOpOutcome& outcome, const QString& failuresHeading);
    /// Runs `work` over the folder `handle` holds as a delete of `files` files from `pane`;
    /// when it ends the pane, and another listing that folder, are listed again and the
    /// outcome told, `failuresHeading` taking the number of failures.
    void runDeleteJob(int pane, std::shared_ptr<FileSystem> fileSystem,
                      std::shared_ptr<FolderHandle> handle, int files,
                      std::function<FileOpOutcome(FolderHandle&, JobProgress&)> work,
                      const QString& failuresHeading);
    /// A close while a file command runs asks whether to stop it; false when the window
    /// stays.
    bool closeDuringJob(QCloseEvent* event);

    /// GetListing's own work for one pane, once no other listing runs.
    void listPane(int Index);
    /// While a folder is read for pane `m_readingPane`, a few times a second: the strip over
    /// its count line says how many entries were read, with "Stop".
    void showReadProgress(int pane);
    /// "Stop" of a pane's strip: ends the read of its folder, or the file command.
    void stopPaneWork(int pane);

    std::unique_ptr<FileJob> m_job;
    std::chrono::milliseconds m_jobWait{100};
    int m_jobPane = 0;
    QString m_jobVerb;
    std::array<bool, 2> m_jobPanes{};
    std::array<bool, 2> m_relistAfterJob{};
    /// The read of a folder running now (null when none), and its pane.
    ReadProgress* m_reading = nullptr;
    int m_readingPane = 0;
    /// Listings asked for while a folder was read, made when it ends.
    std::array<bool, 2> m_listAfterRead{};
    QTimer* m_jobTimer = nullptr;

public:
    // --- end of file commands as jobs ---

    // --- Drive information, attributes and About (mainformdrives.cpp) ---
    // The dialogs are named with elaborated type specifiers, which declare them in this
    // namespace, so this header needs none of their headers.

    /// A click on pane `Index`'s drive line: fills the one drive dialog for the drive holding
    /// the pane's path and shows it, not modal.
    void LVDrive_Click(int Index);
    /// "Attributes": shows the attributes of the active pane's selected row and, for a file,
    /// writes the changes the user makes when the dialog closes with "Set".
    void LVAttributes_Click();
    /// A click on pane `Index`'s selected-item label runs the attributes command.
    void SelFile_Click(int Index);
    /// "About" of the "Help" menu.
    void mAbout_Click();
    /// The attribute letters of a file, in the order R H S V D A a C.
    static QString AttributeLetters(const File& file);

    /// The dialogs, each made on first use; null before.
    class DriveInfo* driveInfoForm() const { return m_driveInfo; }
    class FileAtts* fileAttsForm() const { return m_fileAtts; }
    class VennicAbout* aboutForm() const { return m_about; }

private:
    /// Connects the drive dialog, the attributes command and the About dialog.
    void connectDrives();
    /// The attributes command on pane `index`'s current row.
    void showAttributes(int index);
    /// Clicks on the drive and selected-item labels; true when handled.
    bool drivesEvent(QObject* watched, QEvent* event);
    class DriveInfo& driveInfo();
    class FileAtts& fileAtts();
    /// The drive dialog's "Set": writes the name and reports a failure; true when written.
    bool writeVolumeName(const NativeString& drivePath, const QString& name);

    class DriveInfo* m_driveInfo = nullptr;
    class FileAtts* m_fileAtts = nullptr;
    class VennicAbout* m_about = nullptr;

public:
    // --- end of drive information, attributes and About ---

    // --- Layout and splitter (mainformlayout.cpp) ---
    /// Resize of the window: re-flows the panes over the new size (nothing while minimized).
    void Form_Resize();
    /// A press on the window's bare surface (client twips, any button): one in the band of
    /// the lists starts a splitter drag.
    void Form_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, float X, float Y);
    /// A move over the bare surface, and every move during a drag: the split follows it.
    void Form_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, float X, float Y);
    /// A release of any button ends the drag and gives the pointer back its default shape.
    void Form_MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, float X, float Y);
    /// Starts the splitter drag when `MD` is set: the split goes to `mx` and then follows the
    /// mouse moves until the release. X is not used.
    void VResize(float X);
    /// Whether a press at (X, Y) in client twips starts a splitter drag.
    bool OverSplitter(int16_t X, int16_t Y) const;

private:
    /// The window's outer width and height and its client width in twips, as the layout
    /// counts them (see PaneLayout::measure).
    float outerWidthTwips() const;
    float outerHeightTwips() const;
    float scaleWidthTwips() const;

    /// Places `widget` at a design position given in twips, through twips().
    void placeTwips(QWidget* widget, double left, double top, double width, double height) const;

    double m_designScale = 1;
    float m_rightDriveStart = 0;
    /// The tool strip's width in twips, its margins included.
    float m_stripWidth = 0;
    /// The strip's controls, its placing at the design, and how far its flow moved the panes.
    std::vector<QWidget*> m_stripControls;
    std::shared_ptr<const ToolStrip> m_strip;
    float m_stripDrop = 0;
    /// The client width and the two borders the drag read when it started.
    float m_dragScaleWidth = 0;
    float m_dragBorders = 0;

public:
    // --- end of layout and splitter ---

    // --- Folder sizes counted while the window goes on (mainformsizing.cpp) ---
    /// Whether pane `index` is still counting the sizes of its folder rows.
    bool paneSizing(int index) const;
    /// Esc: ends the counting in both panes. Sizes not finished stay as counted so far, their
    /// rows say so, and so does the count line.
    void stopSizing();
    /// The "Stop" of pane `Index`'s progress strip.
    void StopBtn_Click(int Index);
    /// The progress strip over each pane's count line while sizes are counted.
    std::array<SizingStrip*, 2> SizeStrip{};

private:
    void createSizingControls();
    /// Starts counting the sizes a listing left pending, sharing the other pane's count of the
    /// same folder within one command, and waits a moment for it.
    void startPaneSizing(int index, ListingResult& result, std::shared_ptr<const Folder> folder);
    /// Forgets pane `index`'s count; a walk no pane follows any more is stopped.
    void endPaneSizing(int index);
    /// A pane's count has ended: its count line shows `countLine`.
    void finishPaneSizing(int index, const QString& countLine);
    /// Updates the progress strips (a few times a second while a count runs).
    void showSizingProgress();
    /// "left" or "right", as messages name a pane.
    static QString paneName(int index);
    /// True, after telling the user, when one of `panes` is still counting sizes.
    bool sizingOrSay(std::initializer_list<int> panes);
    /// Lists both panes as one command: a folder both list is walked once.
    void listBothPanes();

    std::unique_ptr<PaneSizeCounts> m_sizeCounts;
    /// The first listing of a command that lists both panes, kept while the command runs: the
    /// other pane, when it lists the same folder with the same patterns, takes a copy of its
    /// rows instead of reading the folder again.
    struct SharedRead {
        ListingRequest request;
        ListingResult result; ///< without its drive and folder
        std::shared_ptr<const Folder> folder;
        std::optional<FolderIdentity> listed;
        std::vector<ListedFile> files;
        NativeString drivePath;
    };
    std::optional<SharedRead> m_sharedRead;
    /// The filter patterns of a command that lists both panes, taken when it began.
    std::optional<std::pair<QString, QString>> m_commandPatterns;
    bool m_listAfterFirstPaint = false;
    std::array<std::optional<NativeString>, 2> m_startFolders;
    QTimer* m_sizingTimer = nullptr;

public:
    // --- end of folder sizes ---

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createPaneControls(QWidget* client, int index);
    void createToolControls(QWidget* client);
    void createMenus();
    /// Window creation: the window's place and size, the lists' headers.
    void placeWindow();
    /// Window load: the start state, then both panes listed.
    void Form_Load();
    /// Once on screen: shortens the window when its frame reaches past the screen's free area.
    void keepOnScreen();
    void fillDriveLists();
    /// Replaces the filter combo's list without touching its text or `FilterExpression`.
    void setFilterHistory(const QStringList& history);
    /// Makes the pane layout follow the window: its resizes and restores, and the mouse over
    /// the bare surface of the client area.
    void watchLayoutEvents();
    /// The window's resize and mouse events for the pane layout; true when handled.
    bool layoutEvent(QObject* watched, QEvent* event);

    std::shared_ptr<Prompts> m_prompts;
    FileSystemFactory m_fileSystemFactory;
    std::unique_ptr<TypeNames> m_typeNames;
    std::shared_ptr<ListingTexts> m_texts;
    std::array<std::optional<NativeString>, 2> m_nativePath;
    DDPanel* m_ddPanel = nullptr;
    MountWatcher* m_mountWatcher = nullptr;
    QWidget* m_client = nullptr;
    bool m_listing = false;
    bool m_placementChecked = false;
};

} // namespace vennic
