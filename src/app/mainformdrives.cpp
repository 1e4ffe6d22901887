// The main window's drive information, file attributes and About commands.
#include "app/mainform.h"

#include "drives/driveinfovalues.h"
#include "drives/volumenamewrite.h"
#include "fileops/attributeedit.h"
#include "fileops/fileoperations.h"
#include "fileops/rowcheck.h"
#include "listing/controlchars.h"
#include "listing/listingtexts.h"
#include "listing/listinteraction.h"
#include "listing/nativetext.h"
#include "listing/panelist.h"
#include "platform/pathrules.h"
#include "platform/prompts.h"
#include "ui/driveinfo.h"
#include "ui/fileatts.h"
#include "ui/panelistview.h"
#include "ui/vennicabout.h"

#include <QAction>
#include <QLabel>
#include <QMouseEvent>

namespace vennic {

namespace {

/// The type text of a folder row, as every listing and saved file writes it.
const QString FolderTypeText = QStringLiteral(" File Folder");

/// An error's description and number, with the system's reason when there is one.
QString errorText(const FsError& error)
{
    QString text = QString::fromStdString(error.shown());
    if (!error.detail().empty())
        text += QStringLiteral(" (%1)").arg(QString::fromStdString(error.detail()));
    return text;
}

} // namespace

void MainForm::connectDrives()
{
    for (int i = 0; i < 2; ++i) {
        LVDrive[size_t(i)]->installEventFilter(this);
        SelFile[size_t(i)]->installEventFilter(this);
    }
    // Until a menu opens over a row the item stays usable: with no row selected it says what
    // to select.
    LVAttributes->setEnabled(true);
    connect(LVAttributes, &QAction::triggered, this, &MainForm::LVAttributes_Click);
    connect(mAbout, &QAction::triggered, this, &MainForm::mAbout_Click);
}

bool MainForm::drivesEvent(QObject* watched, QEvent* event)
{
    for (int i = 0; i < 2; ++i) {
        const bool drive = watched == LVDrive[size_t(i)];
        const bool selected = watched == SelFile[size_t(i)];
        if (!drive && !selected)
            continue;
        // The press is kept from the window's surface below the label, where it would be
        // taken for the start of a splitter drag; the release inside the label is the click.
        if (event->type() == QEvent::MouseButtonPress)
            return true;
        if (event->type() != QEvent::MouseButtonRelease)
            return false;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto* label = static_cast<QWidget*>(watched);
        if (mouse->button() != Qt::LeftButton ||
            !label->rect().contains(mouse->position().toPoint()))
            return true;
        if (drive)
            LVDrive_Click(i);
        else
            SelFile_Click(i);
        return true;
    }
    return false;
}

DriveInfo& MainForm::driveInfo()
{
    if (!m_driveInfo) {
        m_driveInfo = new DriveInfo(this);
        m_driveInfo->setVolumeNameWriter(
            [this](const NativeString& drivePath, const QString& name) {
                return writeVolumeName(drivePath, name);
            });
    }
    return *m_driveInfo;
}

FileAtts& MainForm::fileAtts()
{
    if (!m_fileAtts)
        m_fileAtts = new FileAtts(this);
    return *m_fileAtts;
}

void MainForm::LVDrive_Click(int Index)
{
    if (Index < 0 || Index > 1)
        return;
    // The drive of the pane's last listing, which its drive line shows; without one, the drive
    // of the pane's native path (a folder whose name is not UTF-8 still names its drive).
    NativeString path = panePath(Index);
    if (const Drive* listed = PaneDrive[size_t(Index)].get()) {
        try {
            path = listed->Path();
        } catch (const FsError&) {
        }
    }
    if (path.empty() || hasControlCharacter(path)) {
        m_prompts->message(QStringLiteral("The path box names no drive, so there is no drive "
                                          "information to show."));
        return;
    }
    std::unique_ptr<Drive> drive;
    try {
        const std::unique_ptr<FileSystem> fs = newFileSystem();
        const NativeString driveName = fs->DrivePart(path);
        if (driveName.empty())
            throw FsError(FsErrorNumber::DeviceUnavailable);
        drive = fs->GetDrive(driveName);
    } catch (const FsError& error) {
        m_prompts->message(QStringLiteral("\"%1\" names no drive, so there is no drive "
                                          "information to show.\n%2")
                               .arg(nativeToQString(path), errorText(error)));
        return;
    }
    DriveInfo& dialog = driveInfo();
    dialog.fill(readDriveInfo(*drive, DriveTypeNames));
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

bool MainForm::writeVolumeName(const NativeString& drivePath, const QString& name)
{
    std::optional<QString> failure;
    try {
        const std::unique_ptr<FileSystem> fs = newFileSystem();
        failure = vennic::writeVolumeName(*fs, drivePath, name);
    } catch (const FsError& error) {
        failure = volumeNameFailureText(error);
    }
    if (failure)
        m_prompts->message(*failure);
    return !failure;
}

void MainForm::SelFile_Click(int Index)
{
    if (Index < 0 || Index > 1)
        return;
    // The label names its pane's current row, and the command acts on that row.
    makeActive(Index);
    showAttributes(Index);
}

void MainForm::LVAttributes_Click()
{
    // A right click made the pane of the menu active and selected the row under the pointer.
    showAttributes(ActivePane == 1 ? 1 : 0);
}

void MainForm::showAttributes(int index)
{
    if (sizingOrSay({index}) || jobOrSay())
        return;
    PaneList& rows = *LV1Rows[size_t(index)];
    const int row = LV1[size_t(index)]->currentRow();
    if (row < 0 || row >= rows.rowCount()) {
        m_prompts->message(QStringLiteral("Select a file or folder in the list first, then "
                                          "choose \"Attributes\"."));
        return;
    }
    // The row itself names the entry: the selected-file label can name another row and
    // cannot spell a name that is not UTF-8.
    const QString name = rows.cellText(row, ColName);
    const NativeString nativeName = rows.row(row).nativeName;
    const std::optional<NativeString> entryName = rowEntryName(rows.row(row), name, PathRules());
    if (!entryName) {
        m_prompts->message(QStringLiteral("\"%1\" is not a single file or folder name, so it "
                                          "has no attributes to show.")
                               .arg(withVisibleControls(name)));
        return;
    }
    std::optional<EntryIdentity> listed = rows.row(row).identity();
    const bool folder =
        rows.cellText(row, ColType).compare(FolderTypeText, Qt::CaseInsensitive) == 0;
    const QString changed =
        QStringLiteral("\"%1\" %2.").arg(withVisibleControls(name), ChangedSinceListed);

    FileAtts& dialog = fileAtts();
    dialog.ClearAtts();
    dialog.SelFileName->setTextFormat(Qt::PlainText);
    dialog.SelFileName->setText(withVisibleControls(name));
    std::optional<AttributeEdit> edit;
    {
        const std::unique_ptr<FileSystem> fs = newFileSystem();
        const std::unique_ptr<FolderHandle> handle = openPaneFolderOrSay(index, *fs);
        if (!handle)
            return;
        try {
            // A saved listing's row shows the attributes of the file it names only while that
            // file has the row's size and modified time.
            if (!listed && nativeName.empty() && !folder) {
                const std::optional<Entry> now = handle->Look(*entryName);
                if (const QString change = RowCheck().change(rows, row, now); !change.isEmpty()) {
                    m_prompts->message(
                        QStringLiteral("\"%1\" %2.").arg(withVisibleControls(name), change));
                    return;
                }
                listed = identityOf(*now);
            }
            edit = AttributeEdit::read(*handle, *entryName, listed, folder);
        } catch (const FsError& error) {
            m_prompts->message(QStringLiteral("The attributes of \"%1\" could not be read.\n%2")
                                   .arg(withVisibleControls(name), errorText(error)));
            return;
        }
    }
    if (!edit) {
        m_prompts->message(changed);
        return;
    }
    dialog.showEntry(*edit);
    // Only "Set" writes; "Cancel" leaves the entry as it was.
    if (dialog.exec() != QDialog::Accepted)
        return;

    // The folder is opened again once the dialog is answered: the write goes only to the entry
    // that was shown, in the folder the pane listed.
    AttributeEdit::Written written;
    {
        const std::unique_ptr<FileSystem> fs = newFileSystem();
        const std::unique_ptr<FolderHandle> handle = openPaneFolderOrSay(index, *fs);
        if (!handle)
            return;
        try {
            written = edit->write(*handle, dialog.tickedAttributes());
        } catch (const FsError& error) {
            m_prompts->message(QStringLiteral("The attributes of \"%1\" could not be changed; "
                                              "the file keeps the ones it had.\n%2")
                                   .arg(withVisibleControls(name), errorText(error)));
            return;
        }
    }
    if (!written.stillListed) {
        m_prompts->message(changed);
        return;
    }
    // The row shows what was written, if the pane still holds it.
    if (!written.attributes || row >= rows.rowCount() || rows.row(row).nativeName != nativeName ||
        rows.cellText(row, ColName) != name)
        return;
    if (*written.attributes & Attr::Compressed)
        rows.setForeColor(row, RowColor::Blue);
    rows.setCellText(row, ColAttributes, attributeLetters(*written.attributes));
}

QString MainForm::AttributeLetters(const File& file)
{
    return attributeLetters(file.Attributes());
}

void MainForm::mAbout_Click()
{
    if (!m_about)
        m_about = new VennicAbout(this);
    m_about->setModal(true);
    m_about->show();
    m_about->raise();
    m_about->activateWindow();
}

} // namespace vennic
