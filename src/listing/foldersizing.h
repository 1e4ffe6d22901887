#pragma once

#include "platform/filesystem.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace vennic {

/// The walk of a listing's sub-folder sizes, run on a thread of its own while the window goes
/// on. Sizes are logged in the order they become known; readers on the window's thread take
/// them from the log, so one walk can serve both panes when they list the same folder.
class FolderSizing {
public:
    /// One folder's size, by the folder's place in the list given to the walk.
    struct Done {
        size_t index = 0;
        FolderSize size;
    };

    /// Starts walking `subFolders` of `folder` at once; the folder is let go when the walk ends.
    /// `changed` is called from the walk's threads when new sizes are in or the walk has ended; it
    /// must only post to the window's thread, and it is called again only after acknowledge().
    FolderSizing(std::shared_ptr<const Folder> folder, std::vector<Entry> subFolders,
                 unsigned threads, std::function<void()> changed);
    /// Stops the walk and waits for its threads.
    ~FolderSizing();
    FolderSizing(const FolderSizing&) = delete;
    FolderSizing& operator=(const FolderSizing&) = delete;

    /// Asks the walk to end soon; folders not finished come back Stopped. Returns at once.
    void stop();
    bool stopAsked() const;
    /// Waits up to `timeout` for the walk to end; true when it has.
    bool waitFor(std::chrono::milliseconds timeout);
    bool ended() const;
    /// Lets `changed` be called again; call before reading the log.
    void acknowledge();

    /// The sizes logged from place `from` on.
    std::vector<Done> doneSince(size_t from) const;
    size_t doneCount() const;

    const std::vector<Entry>& subFolders() const { return m_subFolders; }
    /// Bytes counted so far over all folders.
    int64_t bytesCounted() const;
    /// The name of a folder being walked now, if any.
    std::optional<NativeString> walking() const;

private:
    void run(unsigned threads);
    void log(size_t index, const FolderSize& size);

    std::shared_ptr<const Folder> m_folder;
    std::vector<Entry> m_subFolders;
    std::function<void()> m_changed;
    SizingProgress m_progress;
    std::atomic<bool> m_notified{false};

    mutable std::mutex m_mutex;
    std::condition_variable m_endedChanged;
    std::vector<Done> m_log;
    std::vector<bool> m_logged;
    bool m_ended = false;
    std::thread m_thread;
};

} // namespace vennic
