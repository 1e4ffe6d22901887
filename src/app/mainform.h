#pragma once

#include "platform/filesystem.h"

#include <QMainWindow>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace vennic {

class DDPanel;
class ListingTexts;
class PaneList;
class PaneListView;
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

    Prompts& prompts() const { return *m_prompts; }
    void setPrompts(std::shared_ptr<Prompts> prompts);
    void setFileSystemFactory(FileSystemFactory factory);
    /// A new file-system service from the installed factory.
    std::unique_ptr<FileSystem> newFileSystem() const { return m_fileSystemFactory(); }
    TypeNames& typeNames() const { return *m_typeNames; }
    /// The maker of listed rows' texts, shared by both panes' lists.
    const std::shared_ptr<ListingTexts>& listingTexts() const { return m_texts; }
    DDPanel* ddPanel() const { return m_ddPanel; }

    /// A design length in twips as pixels on this window's screen.
    int twips(double length) const;

    // Window-wide state.
    int ActivePane = 0;
    QStringList DriveTypeNames;
    /// The drives of the drive lists `DR1`, in the lists' order.
    std::vector<DriveListEntry> DriveList;
    std::array<std::unique_ptr<FileSystem>, 2> PaneFileSystem;
    std::array<std::unique_ptr<Drive>, 2> PaneDrive;
    std::array<std::unique_ptr<Folder>, 2> PaneFolder;
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
    QAction* M1PrinterFormat = nullptr;
    QAction* M1Exit = nullptr;
    QMenu* mView = nullptr;
    QAction* mDDPanel = nullptr;
    QMenu* mHelp = nullptr;
    QAction* mAbout = nullptr;

    // Handlers.
    void EndBtn_Click();
    void M1Exit_Click();
    void mDDPanel_Click();
    /// Copies the filter combo's text into `FilterExpression`.
    void FEX_Change();

    // --- Navigation and list interaction ---
    // --- end of navigation and list interaction ---

    // --- Layout and splitter (mainformlayout.cpp) ---
    // --- end of layout and splitter ---

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
    void fillDriveLists();
    /// Replaces the filter combo's list without touching its text or `FilterExpression`.
    void setFilterHistory(const QStringList& history);
    /// Stretches the panes over the client area (the full re-flow is the shell's).
    void layoutPanes();
    /// The window's resize and mouse events for the pane layout; true when handled.
    bool layoutEvent(QObject* watched, QEvent* event);
    void setGeometryTwips(QWidget* widget, double left, double top, double width, double height);

    std::shared_ptr<Prompts> m_prompts;
    FileSystemFactory m_fileSystemFactory;
    std::unique_ptr<TypeNames> m_typeNames;
    std::shared_ptr<ListingTexts> m_texts;
    std::array<std::optional<NativeString>, 2> m_nativePath;
    DDPanel* m_ddPanel = nullptr;
    QWidget* m_client = nullptr;
    bool m_listing = false;
};

} // namespace vennic
