#include "listing/panesizecounts.h"

#include "listing/foldersizing.h"
#include "listing/nativetext.h"
#include "listing/panelist.h"

#include <algorithm>
#include <unordered_map>

namespace vennic {

namespace {

const QString StoppedCountNote = QStringLiteral(" (counting stopped: folder sizes incomplete)");

} // namespace

PaneSizeCounts::PaneSizeCounts(std::array<PaneList*, 2> rows, Post post, Finished finished)
    : m_rows(rows), m_post(std::move(post)), m_finished(std::move(finished))
{
}

PaneSizeCounts::~PaneSizeCounts()
{
    // Every walk is asked to stop before the first is waited for.
    stopAll();
    m_panes = {};
}

void PaneSizeCounts::start(int pane, ListingResult& result, std::shared_ptr<const Folder> folder,
                           const std::optional<FolderIdentity>& identity)
{
    const auto p = size_t(pane);
    end(pane);
    Pane& count = m_panes[p];
    count.fileCount = result.fileCount;
    count.folderCount = result.folderCount;
    count.bytes = result.knownBytes;
    count.note = countLineNote(result);
    count.started = std::chrono::steady_clock::now();
    count.command = m_command;
    count.folder = identity;
    count.job = shareableWalk(pane, result.pendingFolders);
    const bool shared = count.job != nullptr;
    if (!shared)
        count.job = std::make_shared<FolderSizing>(std::move(folder),
                                                   std::move(result.pendingFolders), 0, [this] {
                                                       m_post([this] {
                                                           for (Pane& each : m_panes)
                                                               if (each.job)
                                                                   each.job->acknowledge();
                                                           take(0);
                                                           take(1);
                                                       });
                                                   });
    // Most counts end before anyone could see the rows wait for them.
    if (!shared)
        count.job->waitFor(m_wait);
    take(pane);
}

std::shared_ptr<FolderSizing> PaneSizeCounts::shareableWalk(int pane,
                                                            const std::vector<Entry>& folders) const
{
    const Pane& ours = m_panes[size_t(pane)];
    const Pane& other = m_panes[size_t(1 - pane)];
    if (m_command == 0 || other.command != m_command || !other.job || other.job->stopAsked() ||
        !ours.folder || !other.folder || ours.folder->device != other.folder->device ||
        ours.folder->inode != other.folder->inode)
        return nullptr;
    const std::vector<Entry>& theirs = other.job->subFolders();
    const bool sameEntries = std::equal(
        theirs.begin(), theirs.end(), folders.begin(), folders.end(),
        [](const Entry& a, const Entry& b) { return a.name == b.name && a.inode == b.inode; });
    return sameEntries ? other.job : nullptr;
}

bool PaneSizeCounts::counting(int pane) const
{
    const Pane& count = m_panes[size_t(pane)];
    return count.job && !count.finished;
}

void PaneSizeCounts::stop(int pane)
{
    if (counting(pane))
        m_panes[size_t(pane)].job->stop();
}

void PaneSizeCounts::stopAll()
{
    stop(0);
    stop(1);
}

void PaneSizeCounts::end(int pane)
{
    const auto p = size_t(pane);
    std::shared_ptr<FolderSizing> job = std::move(m_panes[p].job);
    m_panes[p] = Pane{};
    // The walk goes on only while the other pane still takes its sizes.
    if (job && m_panes[1 - p].job != job)
        job->stop();
    // Dropping the last hold waits for the walk's threads, which end at once when stopped.
    job.reset();
}

std::optional<PaneSizeCounts::Progress> PaneSizeCounts::progress(int pane) const
{
    if (!counting(pane))
        return std::nullopt;
    const Pane& count = m_panes[size_t(pane)];
    const std::optional<NativeString> walking = count.job->walking();
    return Progress{int64_t(count.job->doneCount()), int64_t(count.job->subFolders().size()),
                    double(count.job->bytesCounted()),
                    walking ? nativeToQString(*walking) : QString(), count.started};
}

void PaneSizeCounts::take(int pane)
{
    const auto p = size_t(pane);
    Pane& count = m_panes[p];
    if (!count.job || count.finished)
        return;
    const std::vector<FolderSizing::Done> done = count.job->doneSince(count.applied);
    count.applied += done.size();
    if (!done.empty()) {
        const std::vector<Entry>& folders = count.job->subFolders();
        std::unordered_map<NativeString, FolderSize> sizeOf;
        sizeOf.reserve(done.size());
        for (const FolderSizing::Done& d : done)
            sizeOf.emplace(folders[d.index].name, d.size);
        double added = 0;
        bool stopped = false;
        m_rows[p]->changeRows([&](PaneRow& row) {
            if (!(row.flags & PaneRow::SizePending))
                return false;
            const auto found = sizeOf.find(row.nativeName);
            if (found == sizeOf.end())
                return false;
            added += double(setFolderRowSize(row, found->second));
            stopped = stopped || found->second.state == SizeState::Stopped;
            return true;
        });
        count.bytes += added;
        count.anyStopped = count.anyStopped || stopped;
    }
    if (count.applied >= count.job->subFolders().size() && count.job->ended())
        finish(pane);
}

void PaneSizeCounts::finish(int pane)
{
    const auto p = size_t(pane);
    Pane& count = m_panes[p];
    count.finished = true;
    QString line = countLineText(count.fileCount, count.folderCount, count.bytes);
    if (count.anyStopped)
        line += StoppedCountNote;
    line += count.note;
    // Rows sorted by a column stand as a listing with every size known would put them.
    m_rows[p]->resort();
    m_finished(pane, line);
}

} // namespace vennic
