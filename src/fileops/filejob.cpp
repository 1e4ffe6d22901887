#include "fileops/filejob.h"

#include "listing/controlchars.h"

#include <cmath>

namespace vennic {

namespace {

/// A byte count in the unit that keeps it short: "940 KB", "1.2 GB".
QString shortBytes(double bytes)
{
    static const char* const units[] = {"Bytes", "KB", "MB", "GB", "TB"};
    size_t unit = 0;
    while (bytes >= 1000 && unit + 1 < std::size(units)) {
        bytes /= 1000;
        ++unit;
    }
    const int decimals = unit > 0 && bytes < 100 ? 1 : 0;
    return QStringLiteral("%1 %2").arg(bytes, 0, 'f', decimals).arg(QLatin1String(units[unit]));
}

/// A time left, rounded up to what a person reads: seconds, then minutes, then hours.
QString shortDuration(double seconds)
{
    const auto whole = int64_t(std::ceil(seconds));
    if (whole < 60)
        return QStringLiteral("%1 s").arg(whole);
    if (whole < 3600)
        return QStringLiteral("%1 min").arg((whole + 59) / 60);
    return QStringLiteral("%1 h %2 min").arg(whole / 3600).arg((whole % 3600 + 59) / 60);
}

} // namespace

void JobProgress::setCurrent(const QString& name)
{
    const std::lock_guard lock(m_mutex);
    m_current = name;
}

QString JobProgress::current() const
{
    const std::lock_guard lock(m_mutex);
    return m_current;
}

QString JobProgress::barText() const
{
    return QStringLiteral("%1 of %2 files").arg(filesDone.load()).arg(files);
}

QString JobProgress::detailText(const QString& verb,
                                std::chrono::steady_clock::duration elapsed) const
{
    QString text = verb;
    if (const QString name = current(); !name.isEmpty())
        text += QLatin1Char(' ') + withVisibleControls(name);
    const int64_t doneBytes = bytesDone;
    if (bytes > 0)
        text += QStringLiteral(": %1 of %2")
                    .arg(shortBytes(double(doneBytes)), shortBytes(double(bytes)));
    // An estimate from less than a second says little.
    const double seconds = std::chrono::duration<double>(elapsed).count();
    const int doneFiles = filesDone;
    if (seconds < 1)
        return text;
    text += bytes > 0 ? QLatin1String(", ") : QLatin1String(": ");
    if (bytes > 0 && doneBytes > 0) {
        const double rate = double(doneBytes) / seconds;
        text += QStringLiteral("%1/s, about %2 left")
                    .arg(shortBytes(rate), shortDuration(double(bytes - doneBytes) / rate));
    } else if (bytes == 0 && doneFiles > 0) {
        const double rate = doneFiles / seconds;
        text += QStringLiteral("%1 files a second, about %2 left")
                    .arg(int(rate))
                    .arg(shortDuration((files - doneFiles) / rate));
    } else {
        text.chop(2);
    }
    return text;
}

FileJob::~FileJob()
{
    abandon();
}

void FileJob::start(std::shared_ptr<JobProgress> progress, Work work, Finished finished)
{
    if (m_running)
        return;
    m_running = true;
    m_progress = std::move(progress);
    m_finished = std::move(finished);
    m_started = std::chrono::steady_clock::now();
    m_outcome.reset();
    const uint64_t generation = ++m_generation;
    JobProgress* progressOfWork = m_progress.get();
    m_worker = std::thread([this, generation, progressOfWork, work = std::move(work)] {
        FileOpOutcome outcome = work(*progressOfWork);
        {
            const std::lock_guard lock(m_mutex);
            m_outcome = std::move(outcome);
        }
        m_ended.notify_all();
        m_post([this, generation] { complete(generation); });
    });
}

void FileJob::waitFor(std::chrono::milliseconds wait)
{
    if (!m_running)
        return;
    {
        std::unique_lock lock(m_mutex);
        if (!m_ended.wait_for(lock, wait, [this] { return m_outcome.has_value(); }))
            return;
    }
    complete(m_generation);
}

void FileJob::stop()
{
    if (m_running)
        m_progress->stop = true;
}

void FileJob::abandon()
{
    if (m_worker.joinable()) {
        m_progress->stop = true;
        m_worker.join();
    }
    // What the worker posted finds another generation and does nothing.
    ++m_generation;
    m_running = false;
    m_finished = nullptr;
}

void FileJob::complete(uint64_t generation)
{
    if (generation != m_generation || !m_running)
        return;
    m_worker.join();
    m_running = false;
    FileOpOutcome outcome;
    {
        const std::lock_guard lock(m_mutex);
        outcome = std::move(*m_outcome);
        m_outcome.reset();
    }
    const Finished finished = std::move(m_finished);
    m_finished = nullptr;
    if (finished)
        finished(std::move(outcome));
}

} // namespace vennic
