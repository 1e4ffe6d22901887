// Folder sizes counted while the window goes on: the rows show as soon as the folder has been
// read, each folder's size comes in when its walk ends, a strip over the count line shows how
// far the count is, and Esc or "Stop" ends it.
#include "app/mainform.h"

#include "listing/getlisting.h"
#include "listing/panelist.h"
#include "listing/panesizecounts.h"
#include "platform/prompts.h"
#include "ui/sizingstrip.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

namespace vennic {

namespace {

/// Work that ends sooner than this shows no progress at all.
constexpr auto ProgressDelay = std::chrono::milliseconds(500);

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
    connect(esc, &QShortcut::activated, this, &MainForm::escapePressed);
    m_sizeCounts = std::make_unique<PaneSizeCounts>(
        std::array<PaneList*, 2>{LV1Rows[0], LV1Rows[1]},
        [this](std::function<void()> work) {
            QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
        },
        [this](int pane, const QString& countLine) { finishPaneSizing(pane, countLine); });
    m_sizingTimer = new QTimer(this);
    m_sizingTimer->setInterval(250);
    connect(m_sizingTimer, &QTimer::timeout, this, &MainForm::showSizingProgress);
}

bool MainForm::paneSizing(int index) const
{
    return m_sizeCounts->counting(index);
}

void MainForm::stopSizing()
{
    m_sizeCounts->stopAll();
}

void MainForm::StopBtn_Click(int Index)
{
    if (Index < 0 || Index > 1)
        return;
    m_sizeCounts->stop(Index);
}

void MainForm::listBothPanes()
{
    m_sizeCounts->beginCommand();
    m_commandPatterns = std::pair(FilterExpression->text(), FEX->currentText());
    GetListing(0);
    GetListing(1);
    m_commandPatterns.reset();
    m_sizeCounts->endCommand();
    m_sharedRead.reset();
}

void MainForm::startPaneSizing(int index, ListingResult& result,
                               std::shared_ptr<const Folder> folder)
{
    m_sizeCounts->start(index, result, std::move(folder), PaneRowsFolder[size_t(index)].folder());
    if (paneSizing(index) && !m_sizingTimer->isActive())
        m_sizingTimer->start();
}

void MainForm::endPaneSizing(int index)
{
    m_sizeCounts->end(index);
    SizeStrip[size_t(index)]->hide();
}

void MainForm::finishPaneSizing(int index, const QString& countLine)
{
    SizeStrip[size_t(index)]->hide();
    LVFC[size_t(index)]->setText(countLine);
    if (!paneSizing(0) && !paneSizing(1))
        m_sizingTimer->stop();
}

void MainForm::showSizingProgress()
{
    const auto now = std::chrono::steady_clock::now();
    for (int i = 0; i < 2; ++i) {
        const std::optional<PaneSizeCounts::Progress> progress = m_sizeCounts->progress(i);
        SizingStrip* strip = SizeStrip[size_t(i)];
        // A file command's strip stands where the count's would.
        if (!progress || now - progress->started < ProgressDelay ||
            JobStrip[size_t(i)]->isVisible()) {
            strip->hide();
            continue;
        }
        strip->setProgress(progress->foldersDone, progress->folders, progress->bytes,
                           progress->walking);
        strip->show();
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
