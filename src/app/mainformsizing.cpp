// Folder sizes counted while the window goes on: the rows show as soon as the folder has been
// read, each folder's size comes in when its walk ends, a strip over the count line shows how
// far the count is, and Esc or "Stop" ends it.
#include "app/mainform.h"

#include "listing/foldersizing.h"
#include "listing/getlisting.h"
#include "listing/nativetext.h"
#include "listing/panelist.h"
#include "platform/prompts.h"
#include "ui/sizingstrip.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#include <unordered_map>

namespace vennic {

namespace {

/// Work that ends sooner than this shows no progress at all.
constexpr auto ProgressDelay = std::chrono::milliseconds(500);

const QString StoppedCountNote = QStringLiteral(" (counting stopped: folder sizes incomplete)");

} // namespace

QString MainForm::paneName(int index)
{
    return index == 0 ? QStringLiteral("left") : QStringLiteral("right");
}

void MainForm::createSizingControls()
{
    for (int i = 0; i < 2; ++i) {
        const auto p = size_t(i);
        // The strip lies over the count line, which stays empty while sizes are counted.
        auto* layout = new QHBoxLayout(LVFC[p]);
        layout->setContentsMargins(0, 0, 0, 0);
        SizeStrip[p] = new SizingStrip(LVFC[p]);
        layout->addWidget(SizeStrip[p]);
        SizeStrip[p]->hide();
        connect(SizeStrip[p], &SizingStrip::stopClicked, this, [this, i] { StopBtn_Click(i); });
    }
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    esc->setContext(Qt::WindowShortcut);
    connect(esc, &QShortcut::activated, this, &MainForm::stopSizing);
    m_sizingTimer = new QTimer(this);
    m_sizingTimer->setInterval(250);
    connect(m_sizingTimer, &QTimer::timeout, this, &MainForm::showSizingProgress);
}

bool MainForm::paneSizing(int index) const
{
    const PaneSizing& sizing = m_sizing[size_t(index)];
    return sizing.job && !sizing.finished;
}

void MainForm::stopSizing()
{
    for (const PaneSizing& sizing : m_sizing)
        if (sizing.job && !sizing.finished)
            sizing.job->stop();
}

void MainForm::StopBtn_Click(int Index)
{
    if (Index < 0 || Index > 1)
        return;
    if (paneSizing(Index))
        m_sizing[size_t(Index)].job->stop();
}

void MainForm::listBothPanes()
{
    m_bothPanesCommand = ++m_commandsRun;
    GetListing(0);
    GetListing(1);
    m_bothPanesCommand = 0;
}

void MainForm::startPaneSizing(int index, ListingResult& result)
{
    const auto p = size_t(index);
    PaneSizing& sizing = m_sizing[p];
    sizing = PaneSizing{};
    sizing.fileCount = result.fileCount;
    sizing.folderCount = result.folderCount;
    sizing.bytes = result.knownBytes;
    sizing.incomplete = result.incomplete;
    sizing.started = std::chrono::steady_clock::now();
    sizing.command = m_bothPanesCommand;

    // Within one command, a folder the other pane has just counted (or is counting) with the
    // same sub-folders is not walked again.
    const PaneSizing& other = m_sizing[1 - p];
    const bool sameFolder =
        m_bothPanesCommand != 0 && other.command == m_bothPanesCommand && other.job &&
        !other.job->stopAsked() && PaneRowsFolder[1 - p].folder() && PaneRowsFolder[p].folder() &&
        PaneRowsFolder[1 - p].folder()->device == PaneRowsFolder[p].folder()->device &&
        PaneRowsFolder[1 - p].folder()->inode == PaneRowsFolder[p].folder()->inode;
    if (sameFolder) {
        const std::vector<Entry>& theirs = other.job->subFolders();
        const std::vector<Entry>& ours = result.pendingFolders;
        const bool sameEntries = std::equal(
            theirs.begin(), theirs.end(), ours.begin(), ours.end(),
            [](const Entry& a, const Entry& b) { return a.name == b.name && a.inode == b.inode; });
        if (sameEntries)
            sizing.job = other.job;
    }
    if (!sizing.job) {
        sizing.job =
            std::make_shared<FolderSizing>(std::shared_ptr<const Folder>(std::move(result.folder)),
                                           std::move(result.pendingFolders), 0, [this] {
                                               QMetaObject::invokeMethod(
                                                   this,
                                                   [this] {
                                                       for (PaneSizing& pane : m_sizing)
                                                           if (pane.job)
                                                               pane.job->acknowledge();
                                                       takeSizes(0);
                                                       takeSizes(1);
                                                   },
                                                   Qt::QueuedConnection);
                                           });
    }
    // Most counts end before anyone could see the rows wait for them.
    sizing.job->waitFor(m_sizingWait);
    takeSizes(index);
    if (paneSizing(index) && !m_sizingTimer->isActive())
        m_sizingTimer->start();
}

void MainForm::endPaneSizing(int index)
{
    const auto p = size_t(index);
    std::shared_ptr<FolderSizing> job = std::move(m_sizing[p].job);
    m_sizing[p] = PaneSizing{};
    SizeStrip[p]->hide();
    // The walk goes on only while the other pane still takes its sizes.
    if (job && m_sizing[1 - p].job != job)
        job->stop();
    // Dropping the last hold waits for the walk's threads, which end at once when stopped.
    job.reset();
}

void MainForm::takeSizes(int index)
{
    const auto p = size_t(index);
    PaneSizing& sizing = m_sizing[p];
    if (!sizing.job || sizing.finished)
        return;
    const std::vector<FolderSizing::Done> done = sizing.job->doneSince(sizing.applied);
    sizing.applied += done.size();
    if (!done.empty()) {
        const std::vector<Entry>& folders = sizing.job->subFolders();
        std::unordered_map<NativeString, FolderSize> sizeOf;
        sizeOf.reserve(done.size());
        for (const FolderSizing::Done& d : done)
            sizeOf.emplace(folders[d.index].name, d.size);
        double added = 0;
        bool stopped = false;
        LV1Rows[p]->changeRows([&](PaneRow& row) {
            if (!(row.flags & PaneRow::SizePending))
                return false;
            const auto found = sizeOf.find(row.nativeName);
            if (found == sizeOf.end())
                return false;
            added += double(setFolderRowSize(row, found->second));
            stopped = stopped || found->second.state == SizeState::Stopped;
            return true;
        });
        sizing.bytes += added;
        sizing.anyStopped = sizing.anyStopped || stopped;
    }
    if (sizing.applied >= sizing.job->subFolders().size() && sizing.job->ended())
        finishPaneSizing(index);
}

void MainForm::finishPaneSizing(int index)
{
    const auto p = size_t(index);
    PaneSizing& sizing = m_sizing[p];
    sizing.finished = true;
    SizeStrip[p]->hide();
    QString count = countLineText(sizing.fileCount, sizing.folderCount, sizing.bytes);
    if (sizing.anyStopped)
        count += StoppedCountNote;
    if (sizing.incomplete)
        count += IncompleteCountNote;
    LVFC[p]->setText(count);
    // Rows sorted by a column stand as a listing with every size known would put them.
    LV1Rows[p]->resort();
    if (!paneSizing(0) && !paneSizing(1))
        m_sizingTimer->stop();
}

void MainForm::showSizingProgress()
{
    const auto now = std::chrono::steady_clock::now();
    for (size_t p = 0; p < 2; ++p) {
        const PaneSizing& sizing = m_sizing[p];
        if (!paneSizing(int(p)) || now - sizing.started < ProgressDelay) {
            SizeStrip[p]->hide();
            continue;
        }
        const FolderSizing& job = *sizing.job;
        const std::optional<NativeString> walking = job.walking();
        SizeStrip[p]->setProgress(int64_t(job.doneCount()), int64_t(job.subFolders().size()),
                                  double(job.bytesCounted()),
                                  walking ? nativeToQString(*walking) : QString());
        SizeStrip[p]->show();
    }
}

bool MainForm::sizingOrSay(std::initializer_list<int> panes)
{
    for (const int index : panes) {
        if (!paneSizing(index))
            continue;
        m_prompts->message(
            QStringLiteral("The %1 pane is still counting folder sizes. Wait for its count line, "
                           "or press Esc to stop the count, and try again.")
                .arg(paneName(index)));
        return true;
    }
    return false;
}

} // namespace vennic
