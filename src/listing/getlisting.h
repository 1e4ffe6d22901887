#pragma once

#include "platform/filesystem.h"
#include "platform/panerow.h"

#include <QString>
#include <QStringList>

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
};

/// What a pane's listing reads from the window.
struct ListingRequest {
    NativeString path;        ///< the pane's native path
    QString filterExpression; ///< the text of FilterExpression
    QString fexText;          ///< the text of the filter combo
    ListingOptions options;
    QStringList driveTypeNames; ///< the six drive-type names, indexed by drive type
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
};

/// Runs work on another thread and returns when it is done. The window's implementation keeps
/// the window painted meanwhile; the default one just waits.
using WaitKeepingPainted = std::function<void(const std::function<void()>& work)>;

/// Runs `work` on a worker thread while this thread processes events other than user input,
/// so the window stays painted. Works without an event loop too.
void runKeepingPainted(const std::function<void()>& work);

/// Lists a folder: sub-folders (with their total sizes) then files that pass both patterns,
/// the drive line, the count line and the filter history. Errors are reported through
/// `prompts` with the texts the window shows.
ListingResult runListing(const ListingRequest& request, FileSystem& fileSystem, TypeNames& types,
                         Prompts& prompts, const WaitKeepingPainted& wait = runKeepingPainted);

} // namespace vennic
