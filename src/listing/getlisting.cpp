#include "listing/getlisting.h"

#include "listing/controlchars.h"
#include "listing/filterhistory.h"
#include "listing/listingtexts.h"
#include "listing/nativetext.h"
#include "listing/pattern.h"
#include "listing/typenames.h"
#include "platform/prompts.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QTimer>

#include <condition_variable>
#include <ctime>
#include <exception>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

namespace vennic {

namespace {

int64_t toSeconds(FileTime time)
{
    return std::chrono::floor<std::chrono::seconds>(time.time_since_epoch()).count();
}

/// 1 January 1980 00:00:00 local time: the creation time that shows as a blank.
std::optional<FileTime> start1980()
{
    std::tm local{};
    local.tm_year = 80;
    local.tm_mon = 0;
    local.tm_mday = 1;
    local.tm_isdst = -1;
    const time_t t = mktime(&local);
    if (t == time_t(-1))
        return std::nullopt;
    return std::chrono::system_clock::from_time_t(t);
}

/// The listed folder's own name for messages: its last path component, or the root itself.
QString folderNameOf(const NativeString& path)
{
    const std::filesystem::path p(path);
    std::filesystem::path name = p.filename();
    if (name.empty())
        name = p.parent_path().filename();
    if (name.empty())
        name = p;
    return nativeToQString(name.native());
}

void reportAccessDenied(const NativeString& path, Prompts& prompts)
{
    prompts.message(QStringLiteral("Access was denied to information about ") + folderNameOf(path));
}

/// Reports an error the way the listing shows it. Returns true when the listing goes on.
bool report(const FsError& error, const NativeString& path, Prompts& prompts)
{
    if (error.number() == FsErrorNumber::PermissionDenied) {
        reportAccessDenied(path, prompts);
        return true;
    }
    prompts.message(QString::fromStdString(error.shown()));
    return false;
}

/// Runs one step of the listing; an error in it is reported. Returns false when the listing
/// must stop.
template <typename Step> bool runStep(Step&& step, const NativeString& path, Prompts& prompts)
{
    try {
        step();
        return true;
    } catch (const FsError& error) {
        return report(error, path, prompts);
    }
}

QString withLine(const QString& tip, const QString& line)
{
    return tip.isEmpty() ? line : tip + u'\n' + line;
}

/// A link's row says where the link points, in the first line of its tool tip.
void noteLink(const Folder& folder, PaneRow& row)
{
    if (!(row.attributes & Attr::Alias))
        return;
    const NativeString target = folder.LinkTarget(row.nativeName);
    row.toolTip =
        LinkToolTipStart + (target.empty() ? QStringLiteral("a target that cannot be read")
                                           : withVisibleControls(nativeToQString(target)));
}

/// Adds a row per sub-folder. A failing part of a row is left out and the pass goes on.
/// Counts in `unknownCount` the rows whose entry could not be looked at.
void folderPass(Folder& folder, const ListingOptions& options, bool noAccessDates,
                const WaitKeepingPainted& wait, ListingResult& result, double& total,
                int64_t& folderCount, int64_t& unknownCount)
{
    std::vector<Entry> subFolders;
    try {
        subFolders = folder.SubFolders();
    } catch (const FsError&) {
        return;
    }
    std::vector<FolderSize> sizes;
    if (!options.sizesLater) {
        try {
            wait([&] { sizes = folder.SubFolderSizes(subFolders, options.sizeThreads); });
        } catch (const FsError&) {
            sizes.clear();
        }
    }
    // Sizes that did not come back for every folder are all unknown rather than misplaced.
    if (!options.sizesLater && sizes.size() != subFolders.size())
        sizes.assign(subFolders.size(), FolderSize{0, SizeState::Unreadable});

    result.rows.reserve(result.rows.size() + subFolders.size());
    for (size_t i = 0; i < subFolders.size(); ++i) {
        Entry& entry = subFolders[i];
        PaneRow& row = result.rows.emplace_back();
        row.nativeName = std::move(entry.name);
        row.largeImage = RowImage::LargeFolder;
        row.smallImage = RowImage::SmallFolder;
        row.foreColor = RowColor::Blue;
        row.typeIndex = TypeNames::FolderIndex;
        row.flags = PaneRow::Folder;
        ++folderCount;
        if (entry.statFailed) {
            // Nothing but the name and the kind is known: the row shows no size, dates or
            // attributes, and its size adds nothing.
            row.flags |= PaneRow::Unknown | PaneRow::SizeUnknown;
            row.attributes = entry.attributes;
            ++unknownCount;
            continue;
        }
        row.created = toSeconds(entry.created);
        row.attributes = entry.attributes;
        row.identify(entry);
        noteLink(folder, row);
        if (noAccessDates) {
            row.flags |= PaneRow::NoAccessDates;
        } else {
            row.accessed = toSeconds(entry.accessed);
            row.modified = toSeconds(entry.modified);
        }
        if (options.sizesLater) {
            row.flags |= PaneRow::SizePending | PaneRow::SizeUnknown;
            row.toolTip = withLine(row.toolTip, PendingSizeToolTip);
            // The name went to the row; the walk needs it too.
            entry.name = row.nativeName;
            result.pendingFolders.push_back(std::move(entry));
        } else {
            total += double(setFolderRowSize(row, sizes[i]));
        }
    }
}

} // namespace

const QString PartialSizeToolTip = QStringLiteral("Size of readable parts only");
const QString StoppedSizeToolTip =
    QStringLiteral("Counting was stopped: size of the parts counted so far");
const QString PendingSizeToolTip = QStringLiteral("Size being counted");
const QString LinkToolTipStart = QStringLiteral("Link to ");

const QString IncompleteCountNote =
    QStringLiteral(" (listing incomplete: the folder's files could not be read)");

const QString StoppedReadCountNote =
    QStringLiteral(" (listing stopped: only the entries read before the stop are shown)");

QString countLineNote(const ListingResult& result)
{
    if (!result.incomplete)
        return {};
    return result.readStopped ? StoppedReadCountNote : IncompleteCountNote;
}

QString countLineText(int64_t fileCount, int64_t folderCount, double bytes)
{
    return QString::number(fileCount) + QLatin1String(" Files, ") + QString::number(folderCount) +
           QLatin1String(" Folders, ") + (bytes == 0 ? QStringLiteral("0") : numberText(bytes)) +
           QLatin1String(" Bytes");
}

int64_t setFolderRowSize(PaneRow& row, const FolderSize& size)
{
    row.flags &= uint16_t(~(PaneRow::SizePending | PaneRow::SizeUnknown | PaneRow::SizePartial |
                            PaneRow::SizeStopped | PaneRow::SizeNotWalked));
    // A link keeps saying where it points; the size's own line follows.
    const QString link =
        row.toolTip.startsWith(LinkToolTipStart) ? row.toolTip.section(u'\n', 0, 0) : QString();
    row.toolTip = link;
    // A size that cannot be read shows an empty text and adds nothing, rather than repeating
    // the previous row's size.
    if (!size.known()) {
        row.size = 0;
        row.flags |= PaneRow::SizeUnknown;
        if (size.state == SizeState::NotWalked)
            row.flags |= PaneRow::SizeNotWalked;
        return 0;
    }
    row.size = size.bytes;
    if (size.state == SizeState::Partial) {
        row.flags |= PaneRow::SizePartial;
        row.toolTip = withLine(link, PartialSizeToolTip);
    } else if (size.state == SizeState::Stopped) {
        row.flags |= PaneRow::SizeStopped;
        row.toolTip = withLine(link, StoppedSizeToolTip);
    }
    return size.bytes;
}

ListingResult ListingResult::copyWithoutHandles() const
{
    ListingResult copy;
    copy.rows.reserve(rows.size());
    for (const PaneRow& row : rows)
        copy.rows.push_back(row.copy());
    copy.driveLine = driveLine;
    copy.countLine = countLine;
    copy.history = history;
    copy.finished = finished;
    copy.incomplete = incomplete;
    copy.readStopped = readStopped;
    copy.pendingFolders = pendingFolders;
    copy.fileCount = fileCount;
    copy.folderCount = folderCount;
    copy.knownBytes = knownBytes;
    return copy;
}

void runKeepingPainted(const std::function<void()>& work)
{
    runWaiting(work, WaitingWork{});
}

void runWaiting(const std::function<void()>& work, const WaitingWork& how)
{
    if (!QCoreApplication::instance()) {
        work();
        return;
    }
    QEventLoop loop;
    std::exception_ptr failure;
    std::mutex mutex;
    std::condition_variable doneChanged;
    bool done = false;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        {
            std::lock_guard lock(mutex);
            done = true;
        }
        doneChanged.notify_one();
        // Queued, so the quit arrives even when the loop has not started yet.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // Most listings are done before anyone could see the window wait; only a longer one runs
    // the event loop, which keeps the window painted.
    bool finishedEarly = false;
    {
        std::unique_lock lock(mutex);
        finishedEarly =
            doneChanged.wait_for(lock, std::chrono::milliseconds(50), [&] { return done; });
    }
    if (!finishedEarly) {
        QTimer ticks;
        if (how.tick) {
            QObject::connect(&ticks, &QTimer::timeout, &loop, how.tick);
            ticks.start(how.tickInterval);
            how.tick();
        }
        loop.exec(how.answerInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    }
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

ListingResult runListing(const ListingRequest& request, FileSystem& fileSystem, TypeNames& types,
                         Prompts& prompts, const WaitKeepingPainted& wait)
{
    ListingResult result;
    FilterHistory history;
    result.history = history.entries();
    double total = 0;
    int64_t folderCount = 0;
    int64_t fileCount = 0;
    int64_t unknownCount = 0;
    bool noAccessDates = false;
    const NativeString& path = request.path;

    // A step refused with "Permission denied" is reported and the listing goes on without what
    // it would have given: no drive leaves the drive line empty, no folder lists nothing.
    NativeString drivePart;
    if (!runStep([&] { drivePart = fileSystem.DrivePart(path); }, path, prompts))
        return result;
    if (!runStep([&] { result.drive = fileSystem.GetDrive(drivePart); }, path, prompts))
        return result;
    const bool lineWritten = runStep(
        [&] {
            if (!result.drive)
                return;
            const Drive& drive = *result.drive;
            const QString fileSystemName = QString::fromStdString(drive.FileSystem());
            const QString line =
                request.driveTypeNames.value(drive.DriveType()) + QLatin1String("  ") +
                fileSystemName + QLatin1String("  ") + numberText(double(drive.TotalSize())) +
                QLatin1String(" Total size  ") + numberText(double(drive.FreeSpace())) +
                QLatin1String(" Bytes free");
            result.driveLine = line;
            noAccessDates = fileSystemName.compare(QLatin1String("CDFS"), Qt::CaseInsensitive) == 0;
        },
        path, prompts);
    if (!lineWritten)
        return result;
    if (!runStep([&] { result.folder = fileSystem.GetFolder(path); }, path, prompts))
        return result;
    if (result.folder)
        result.folder->followRead(request.readProgress);

    if (request.options.showFolders && result.folder)
        folderPass(*result.folder, request.options, noAccessDates, wait, result, total, folderCount,
                   unknownCount);

    if (request.options.showFiles && result.folder) {
        std::vector<Entry> files;
        bool filesRead = false;
        const bool goOn = runStep(
            [&] {
                files = result.folder->Files();
                filesRead = true;
            },
            path, prompts);
        result.incomplete = !filesRead;
        if (!goOn) {
            // What was counted is said, and that it is not the whole folder.
            result.folderCount = folderCount;
            result.knownBytes = total;
            if (result.pendingFolders.empty())
                result.countLine = countLineText(0, folderCount, total) + IncompleteCountNote;
            return result;
        }
        const bool testFilter = !request.filterExpression.isEmpty();
        const bool testFex = !request.fexText.isEmpty();
        const NamePattern filter(request.filterExpression);
        const NamePattern fex(request.fexText);
        const std::optional<FileTime> blankCreated = start1980();
        result.rows.reserve(result.rows.size() + files.size());
        for (Entry& entry : files) {
            const QString name = nativeToQString(entry.name);
            if (testFilter && !filter.matches(name))
                continue;
            // The history collects the extensions of every name the filter box lets through,
            // also of names the combo's own pattern then drops.
            history.addName(name);
            if (testFex && !fex.matches(name))
                continue;
            PaneRow& row = result.rows.emplace_back();
            ++fileCount;
            if (entry.statFailed) {
                // Only the name is known; the size adds nothing and no type is guessed.
                row.nativeName = std::move(entry.name);
                row.flags = PaneRow::NoSizeColumn2 | PaneRow::Unknown;
                row.attributes = entry.attributes;
                ++unknownCount;
                continue;
            }
            row.typeIndex = types.indexOf(entry.name);
            row.nativeName = std::move(entry.name);
            row.largeImage = RowImage::LargeFile;
            row.smallImage = RowImage::SmallBlank;
            row.flags = PaneRow::NoSizeColumn2;
            row.size = entry.size;
            total += double(entry.size);
            if (blankCreated && entry.created == *blankCreated)
                row.flags |= PaneRow::CreatedBlank;
            row.created = toSeconds(entry.created);
            row.attributes = entry.attributes;
            row.identify(entry);
            noteLink(*result.folder, row);
            if (entry.attributes & Attr::Compressed)
                row.foreColor = RowColor::Blue;
            if (noAccessDates) {
                row.flags |= PaneRow::NoAccessDates;
            } else {
                row.accessed = toSeconds(entry.accessed);
                row.modified = toSeconds(entry.modified);
            }
        }
        result.history = history.entries();
    }

    // Entries whose details the folder would not give are told about once, as a folder that
    // cannot be read at all is, after everything that could be read is in.
    if (unknownCount > 0)
        reportAccessDenied(path, prompts);

    if (result.folder && result.folder->readStopped()) {
        result.readStopped = true;
        result.incomplete = true;
    }
    result.fileCount = fileCount;
    result.folderCount = folderCount;
    result.knownBytes = total;
    if (result.pendingFolders.empty())
        result.countLine = countLineText(fileCount, folderCount, total) + countLineNote(result);
    result.finished = true;
    return result;
}

} // namespace vennic
