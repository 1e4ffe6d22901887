// File commands as jobs: Copy, Delete and DA run on a worker while the window goes on, a
// strip over the pane's count line shows how far they are, and Esc or "Stop" ends them
// between files or within a copy's next block.
#include "app/mainform.h"

#include "fileops/failurelist.h"
#include "fileops/filejob.h"
#include "listing/listingtexts.h"
#include "platform/prompts.h"
#include "ui/sizingstrip.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QTimer>

namespace vennic {

namespace {

/// A job that ends sooner than this shows no progress at all.
constexpr auto JobProgressDelay = std::chrono::milliseconds(500);

} // namespace

void MainForm::createJobControls(std::chrono::milliseconds wait)
{
    m_jobWait = wait;
    m_job = std::make_unique<FileJob>([this](std::function<void()> work) {
        QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
    });
    for (int i = 0; i < 2; ++i) {
        const auto p = size_t(i);
        JobStrip[p] = new SizingStrip(LVFC[p]);
        JobStrip[p]->setStopToolTip(QStringLiteral("Stop the file command (Esc)"));
        LVFC[p]->layout()->addWidget(JobStrip[p]);
        JobStrip[p]->hide();
        connect(JobStrip[p], &SizingStrip::stopClicked, this, [this, i] { stopPaneWork(i); });
    }
    m_jobTimer = new QTimer(this);
    m_jobTimer->setInterval(200);
    connect(m_jobTimer, &QTimer::timeout, this, &MainForm::showJobProgress);
}

bool MainForm::jobRunning() const
{
    return m_job && m_job->running();
}

void MainForm::stopJob()
{
    m_job->stop();
}

void MainForm::stopPaneWork(int pane)
{
    if (m_reading && m_readingPane == pane)
        m_reading->stop = true;
    else
        stopJob();
}

void MainForm::escapePressed()
{
    // Esc ends a read first, then the file command; a further one ends the count of sizes.
    if (m_reading)
        m_reading->stop = true;
    else if (jobRunning())
        stopJob();
    else
        stopSizing();
}

void MainForm::showReadProgress(int pane)
{
    if (!m_reading || m_readingPane != pane)
        return;
    SizingStrip* strip = JobStrip[size_t(pane)];
    const int64_t entries = m_reading->entries;
    strip->setStopToolTip(QStringLiteral("Stop reading the folder: the pane keeps the entries "
                                         "read so far (Esc)"));
    strip->showProgress(0, 0, QStringLiteral("%1 entries").arg(numberText(double(entries))),
                        QStringLiteral("Reading the folder\u2026"));
    strip->show();
}

bool MainForm::jobOrSay()
{
    if (!jobRunning())
        return false;
    m_prompts->message(QStringLiteral("A file command is still running (%1). Wait for it to "
                                      "end, or press Esc to stop it, and try again.")
                           .arg(m_jobVerb.toLower()));
    return true;
}

bool MainForm::jobHolds(int pane) const
{
    return jobRunning() && m_jobPanes[size_t(pane)];
}

void MainForm::runJob(const JobStart& start, FileJob::Work work, FileJob::Finished finished)
{
    m_jobPane = start.pane;
    m_jobVerb = start.verb;
    m_jobPanes = start.panes;
    m_relistAfterJob = {false, false};
    m_job->start(start.progress, std::move(work), [this, finished](FileOpOutcome outcome) {
        m_jobTimer->stop();
        for (SizingStrip* strip : JobStrip)
            strip->hide();
        finished(std::move(outcome));
        // A pane listed while the job held it is listed now, unless the job's own end did.
        for (int i = 0; i < 2; ++i)
            if (m_relistAfterJob[size_t(i)])
                GetListing(i);
    });
    m_jobTimer->start();
    m_job->waitFor(m_jobWait);
}

void MainForm::showJobProgress()
{
    const JobProgress* progress = m_job->progress();
    const auto elapsed = std::chrono::steady_clock::now() - m_job->started();
    if (!progress || elapsed < JobProgressDelay)
        return;
    SizingStrip* strip = JobStrip[size_t(m_jobPane)];
    SizeStrip[size_t(m_jobPane)]->hide();
    strip->setStopToolTip(QStringLiteral("Stop the file command (Esc)"));
    // Where bytes are counted the bar fills by them, so one big file's copy shows its course;
    // its text still counts the files.
    const bool byBytes = progress->bytes > 0;
    strip->showProgress(byBytes ? progress->bytesDone.load() : progress->filesDone.load(),
                        byBytes ? progress->bytes : progress->files, progress->barText(),
                        progress->detailText(m_jobVerb, elapsed));
    strip->show();
}

void MainForm::reportOutcome(const FileOpOutcome& outcome, const QString& failuresHeading)
{
    QString text;
    if (outcome.stopped) {
        // One message says what was done and what was not.
        text = QStringLiteral("%1 stopped. Done: %2; not done: %3.")
                   .arg(m_jobVerb)
                   .arg(outcome.done)
                   .arg(outcome.notDone.size());
        const int shown = std::min<int>(int(outcome.notDone.size()), FailureList::MaxLines);
        for (int i = 0; i < shown; ++i)
            text += QLatin1Char('\n') + outcome.notDone[i];
        if (outcome.notDone.size() > shown)
            text += QStringLiteral("\n... and %1 more.").arg(outcome.notDone.size() - shown);
    }
    if (!outcome.failures.empty()) {
        if (!text.isEmpty())
            text += QStringLiteral("\n\n");
        text += outcome.failures.message(failuresHeading);
    }
    if (!text.isEmpty())
        m_prompts->message(text);
}

bool MainForm::closeDuringJob(QCloseEvent* event)
{
    if (!jobRunning())
        return true;
    if (!m_prompts->confirm(QStringLiteral("Vennic"),
                            QStringLiteral("A file command is still running (%1). Stop it and "
                                           "close Vennic? Files already done stay done; a file "
                                           "being copied is left as it was.")
                                .arg(m_jobVerb.toLower()),
                            QStringLiteral("Stop and close"), QStringLiteral("Go on"))) {
        event->ignore();
        return false;
    }
    // The worker ends within a file or a copy's block; its report is not shown.
    m_job->abandon();
    return true;
}

} // namespace vennic
