#pragma once

#include "fileops/fileoperations.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace vennic {

/// How far a file command on a worker has gone. The window's thread reads it while the
/// command runs and sets `stop` to end it between files, or within a copy's next block.
class JobProgress {
public:
    /// Set before the command starts: how many files and bytes it has to handle (0: bytes
    /// are not counted).
    int files = 0;
    int64_t bytes = 0;

    std::atomic<int> filesDone{0};
    std::atomic<int64_t> bytesDone{0};
    std::atomic<bool> stop{false};

    /// The file being handled now, as a report names it.
    void setCurrent(const QString& name);
    QString current() const;

    /// The bar's text: files done of all.
    QString barText() const;
    /// What is being done, `verb` naming it ("Copying"): the current file, the bytes done of
    /// all where they are counted, and once `elapsed` allows an estimate, the rate and the
    /// time left.
    QString detailText(const QString& verb, std::chrono::steady_clock::duration elapsed) const;

private:
    mutable std::mutex m_mutex;
    QString m_current;
};

/// Thrown from within a copy to end it when the command was asked to stop.
struct JobStopped {};

/// One file command at a time on a worker thread. The command gets the job's progress and
/// returns what it did; that goes back to the window's thread through `post`, where the
/// command's `finished` runs. No widget is touched from the worker.
class FileJob {
public:
    using Post = std::function<void(std::function<void()>)>;
    using Work = std::function<FileOpOutcome(JobProgress&)>;
    using Finished = std::function<void(FileOpOutcome)>;

    explicit FileJob(Post post) : m_post(std::move(post)) {}
    /// Stops a command still running and waits for its worker.
    ~FileJob();
    FileJob(const FileJob&) = delete;
    FileJob& operator=(const FileJob&) = delete;

    /// Starts `work` on the worker with `progress` (its totals set). Only while none runs.
    void start(std::shared_ptr<JobProgress> progress, Work work, Finished finished);
    /// Waits up to `wait` for the command to end; when it ends, `finished` has run on return.
    void waitFor(std::chrono::milliseconds wait);
    bool running() const { return m_running; }
    /// Asks the command to stop soon; `finished` still runs with what it did.
    void stop();
    /// Stops the command and waits for its worker to end; `finished` is not run.
    void abandon();

    /// The running command's progress and start; null when none runs.
    const JobProgress* progress() const { return m_running ? m_progress.get() : nullptr; }
    std::chrono::steady_clock::time_point started() const { return m_started; }

private:
    /// Runs on the window's thread once the worker of command `generation` has ended.
    void complete(uint64_t generation);

    Post m_post;
    std::thread m_worker;
    std::shared_ptr<JobProgress> m_progress;
    Finished m_finished;
    bool m_running = false;
    uint64_t m_generation = 0;
    std::chrono::steady_clock::time_point m_started;

    std::mutex m_mutex;
    std::condition_variable m_ended;
    std::optional<FileOpOutcome> m_outcome;
};

} // namespace vennic
