#include "listing/foldersizing.h"

#include <exception>

namespace vennic {

FolderSizing::FolderSizing(std::shared_ptr<const Folder> folder, std::vector<Entry> subFolders,
                           unsigned threads, std::function<void()> changed)
    : m_folder(std::move(folder)), m_subFolders(std::move(subFolders)),
      m_changed(std::move(changed)), m_logged(m_subFolders.size(), false)
{
    m_progress.finished = [this](size_t index, const FolderSize& size) { log(index, size); };
    m_thread = std::thread([this, threads] { run(threads); });
}

FolderSizing::~FolderSizing()
{
    stop();
    if (m_thread.joinable())
        m_thread.join();
}

void FolderSizing::stop()
{
    m_progress.stop.store(true);
}

bool FolderSizing::stopAsked() const
{
    return m_progress.stop.load();
}

bool FolderSizing::waitFor(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    return m_endedChanged.wait_for(lock, timeout, [this] { return m_ended; });
}

bool FolderSizing::ended() const
{
    std::lock_guard lock(m_mutex);
    return m_ended;
}

void FolderSizing::acknowledge()
{
    m_notified.store(false);
}

std::vector<FolderSizing::Done> FolderSizing::doneSince(size_t from) const
{
    std::lock_guard lock(m_mutex);
    if (from >= m_log.size())
        return {};
    return {m_log.begin() + std::ptrdiff_t(from), m_log.end()};
}

size_t FolderSizing::doneCount() const
{
    std::lock_guard lock(m_mutex);
    return m_log.size();
}

int64_t FolderSizing::bytesCounted() const
{
    return m_progress.bytes.load(std::memory_order_relaxed);
}

std::optional<NativeString> FolderSizing::walking() const
{
    const uint32_t index = m_progress.walking.load(std::memory_order_relaxed);
    if (index >= m_subFolders.size())
        return std::nullopt;
    return m_subFolders[index].name;
}

void FolderSizing::log(size_t index, const FolderSize& size)
{
    {
        std::lock_guard lock(m_mutex);
        // A folder is logged once, and only one the walk was given.
        if (index >= m_logged.size() || m_logged[index])
            return;
        m_logged[index] = true;
        m_log.push_back({index, size});
    }
    if (m_changed && !m_notified.exchange(true))
        m_changed();
}

void FolderSizing::run(unsigned threads)
{
    std::vector<FolderSize> sizes;
    try {
        sizes = m_folder->SubFolderSizes(m_subFolders, threads, &m_progress);
    } catch (...) {
        // A walk that fails as a whole leaves every size it did not give unknown.
        sizes.clear();
    }
    // Nothing of the folder stays open once its sizes are in.
    m_folder.reset();
    // Whatever the walk did not report on the way comes from its result.
    for (size_t i = 0; i < m_subFolders.size(); ++i)
        log(i, i < sizes.size() && sizes.size() == m_subFolders.size()
                   ? sizes[i]
                   : FolderSize{0, SizeState::Unreadable});
    {
        std::lock_guard lock(m_mutex);
        m_ended = true;
    }
    m_endedChanged.notify_all();
    // The end is told even when sizes were told just before and not yet read.
    m_notified.store(false);
    if (m_changed)
        m_changed();
}

} // namespace vennic
