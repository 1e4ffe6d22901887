#pragma once

#include "listing/panerow.h"
#include "platform/filesystem.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

namespace vennic {

class Prompts;
class TypeNames;

/// Which parts a listing leaves out ("No Folders" and "No Files" latched).
struct ListingOptions {
    bool showFolders = true;
    bool showFiles = true;
    unsigned sizeThreads = 0; ///< workers for folder sizes; 0: as many as the machine has
    /// Leaves the sub-folders' sizes to the caller: their rows come back SizePending and the
    /// folders to size in `ListingResult::pendingFolders`; the count line is then the caller's.
    bool sizesLater = false;
};

/// What a pane's listing reads from the window.
struct ListingRequest {
    NativeString path;        ///< the pane's native path
    QString filterExpression; ///< the text of FilterExpression
    QString fexText;          ///< the text of the filter combo
    ListingOptions options;
    QStringList driveTypeNames; ///< the six drive-type names, indexed by drive type
    /// Follows the read of the folder's entries, and stops it when asked.
    ReadProgress* readProgress = nullptr;
};

/// What a listing writes back to the pane. After a failure the parts written so far stay as
/// they are and `finished` is false.
struct ListingResult {
    std::vector<PaneRow> rows;
    QString driveLine;
    QString countLine;
    QStringList history; ///< the filter combo's list, "*.*" first
    std::unique_ptr<Drive> drive;
    std::unique_ptr<Folder> folder;
    bool finished = false;
    /// The folder's files could not be read after its sub-folders were: the counts cover the
    /// sub-folders only, and the count line says the listing is incomplete.
    bool incomplete = false;
    /// The read of the folder was stopped: the rows are the entries read before (with
    /// `incomplete`).
    bool readStopped = false;
    /// With ListingOptions::sizesLater, the sub-folders whose rows wait for their sizes, in the
    /// order of their rows; `countLine` stays empty while there are any.
    std::vector<Entry> pendingFolders;
    int64_t fileCount = 0;
    int64_t folderCount = 0;
    double knownBytes = 0; ///< the bytes of the rows that are not pending

    /// A copy of the rows and texts, without the drive and the folder. (A field added to the
    /// result is added there too.)
    ListingResult copyWithoutHandles() const;
};

/// The text of the count line. An empty folder reads "0 Bytes".
QString countLineText(int64_t fileCount, int64_t folderCount, double bytes);
/// What the count line of a listing whose files could not be read ends with.
extern const QString IncompleteCountNote;
/// What the count line of a listing whose read was stopped ends with.
extern const QString StoppedReadCountNote;
/// What the count line of `result` ends with: why the listing is incomplete, or nothing.
QString countLineNote(const ListingResult& result);
/// Gives a folder row its size (clearing SizePending) and the tool tip that says how far the
/// size is complete. Returns the bytes the row adds to the total.
int64_t setFolderRowSize(PaneRow& row, const FolderSize& size);
/// The tool tips of folder rows whose size is not the whole tree's.
extern const QString PartialSizeToolTip;
extern const QString StoppedSizeToolTip;
extern const QString PendingSizeToolTip;
/// How the tool tip of a symbolic link's row begins, before where the link points.
extern const QString LinkToolTipStart;

/// Runs work on another thread and returns when it is done. The window's implementation keeps
/// the window painted meanwhile; the default one just waits.
using WaitKeepingPainted = std::function<void(const std::function<void()>& work)>;

/// Runs `work` on a worker thread while this thread processes events other than user input,
/// so the window stays painted. Works without an event loop too.
void runKeepingPainted(const std::function<void()>& work);

/// How runWaiting() waits: as runKeepingPainted() does, and beyond painting as it says.
struct WaitingWork {
    /// User input reaches the window while the work runs: what is typed goes where it is
    /// aimed at once. The caller keeps what the input may do from touching the work.
    bool answerInput = false;
    /// Called on this thread every `tickInterval` while the work runs, once it takes longer
    /// than a moment.
    std::function<void()> tick;
    std::chrono::milliseconds tickInterval{150};
};
void runWaiting(const std::function<void()>& work, const WaitingWork& how);

/// Lists a folder: sub-folders (with their total sizes) then files that pass both patterns,
/// the drive line, the count line and the filter history. Errors are reported through
/// `prompts` with the texts the window shows.
ListingResult runListing(const ListingRequest& request, FileSystem& fileSystem, TypeNames& types,
                         Prompts& prompts, const WaitKeepingPainted& wait = runKeepingPainted);

} // namespace vennic
