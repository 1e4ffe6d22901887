#include "ui/printrun.h"

#include "listing/panelist.h"
#include "ui/printprogressform.h"

#include <QTimer>

namespace vennic {

PrintRun::PrintRun(ListingPagesJob job, QWidget* window, const QString& title,
                   std::function<QString()> detail, PrintPacing pacing)
    : m_job(std::move(job)), m_window(window), m_title(title), m_detail(std::move(detail)),
      m_pacing(pacing)
{
    if (const PaneList* rows = m_job.rows()) {
        // Rows sorted, replaced or taken away under the print would print another list, or
        // rows that are gone.
        const auto changed = [this] {
            m_rowsChanged = true;
            stop();
        };
        connect(rows, &QAbstractItemModel::modelAboutToBeReset, this, changed);
        connect(rows, &QAbstractItemModel::layoutAboutToBeChanged, this, changed);
        connect(rows, &QAbstractItemModel::rowsAboutToBeRemoved, this, changed);
        connect(rows, &QAbstractItemModel::rowsAboutToBeInserted, this, changed);
    }
}

PrintRun::~PrintRun()
{
    delete m_form;
}

PrintProgressForm* PrintRun::progressForm() const
{
    return m_form;
}

void PrintRun::start()
{
    m_running = true;
    if (m_job.drawUntil(std::chrono::steady_clock::now() + m_pacing.progressDelay)) {
        finish(false);
        return;
    }
    m_form = new PrintProgressForm(m_window, m_title);
    connect(m_form, &PrintProgressForm::stopClicked, this, &PrintRun::stop);
    showProgress();
    m_form->show();
    QTimer::singleShot(0, this, &PrintRun::nextSlice);
}

void PrintRun::stop()
{
    if (m_running)
        finish(true);
}

void PrintRun::nextSlice()
{
    if (!m_running)
        return;
    if (m_job.drawUntil(std::chrono::steady_clock::now() + m_pacing.slice)) {
        finish(false);
        return;
    }
    showProgress();
    QTimer::singleShot(0, this, &PrintRun::nextSlice);
}

void PrintRun::showProgress()
{
    if (!m_form)
        return;
    m_form->setProgress(m_job.rowsDone(), m_job.rowCount(), m_detail ? m_detail() : QString());
    Q_EMIT progressed();
}

void PrintRun::finish(bool stopped)
{
    m_running = false;
    m_stopped = stopped;
    if (m_form) {
        m_form->hide();
        m_form->deleteLater();
    }
    Q_EMIT finished();
}

} // namespace vennic
