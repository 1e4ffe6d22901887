#include "platform/posix/folderwalker_posix.h"

#include "platform/posix/direntries_posix.h"
#include "platform/posix/statcounter.h"
#include "platform/posix/statxentry_posix.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace vennic {

namespace {

constexpr int kOpenFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// A folder that has been read and whose sub-folders wait to be opened relative to it. Its
// descriptor stays open until the last of them has been opened; their names sit one after
// another in one string, so a folder costs one allocation however many sub-folders it has.
struct Node {
    int fd = -1;
    std::atomic<uint32_t> unopened{0};
    std::string names;
};

// A folder waiting to be read: a sub-folder name of `parent`, or, without a parent, one of the
// trees asked for (`offset` is then unused).
struct Task {
    Node* parent = nullptr;
    uint32_t offset = 0;
    uint32_t tree = 0;
};

struct TreeState {
    std::atomic<int64_t> bytes{0};
    std::atomic<int64_t> pending{1}; // folders of the tree not yet read; 0 when it is done
    std::atomic<bool> partial{false};
    SizeState failure = SizeState::Complete; // Unreadable or NotWalked, set by the tree's root
    uint64_t device = 0;                     // set before any task of the tree is shared
};

class Walk {
public:
    Walk(int parentFd, const std::vector<NativeString>& names,
         const FolderWalker::WalkablePredicate& walkable,
         const std::vector<uint64_t>& trustedDevices, const FolderWalker::Progress* progress)
        : m_parentFd(parentFd), m_names(names), m_walkable(walkable),
          m_trustedDevices(trustedDevices), m_progress(progress), m_trees(names.size())
    {
        // The first tree goes on top so a serial walk reads the trees in order.
        for (size_t i = names.size(); i-- > 0;)
            m_stack.push_back(Task{nullptr, 0, static_cast<uint32_t>(i)});
        m_outstanding = names.size();
    }

    ~Walk() { dropWaiting(); }

    void work();

    std::vector<FolderSize> results() const
    {
        std::vector<FolderSize> sizes(m_trees.size());
        for (size_t i = 0; i < m_trees.size(); ++i)
            sizes[i] = resultOf(m_trees[i]);
        return sizes;
    }

private:
    static FolderSize resultOf(const TreeState& tree)
    {
        FolderSize size;
        if (tree.failure != SizeState::Complete) {
            size.state = tree.failure;
            return size;
        }
        size.bytes = tree.bytes.load();
        if (tree.pending.load() != 0)
            size.state = SizeState::Stopped;
        else
            size.state = tree.partial.load() ? SizeState::Partial : SizeState::Complete;
        return size;
    }
    bool stopped() const
    {
        return m_progress && m_progress->stop && m_progress->stop->load(std::memory_order_relaxed);
    }
    // Closes the folders a stopped walk left waiting to be opened.
    void dropWaiting();
    bool pop(Task& task);
    int open(const Task& task);
    // Reads one folder; returns the node of its sub-folders (owning `fd`), or null.
    Node* read(int fd, TreeState& tree, bool treeRoot, char* buffer,
               std::vector<uint32_t>& offsets);
    void finish(Node* node, const std::vector<uint32_t>& offsets, uint32_t tree);

    const int m_parentFd;
    const std::vector<NativeString>& m_names;
    const FolderWalker::WalkablePredicate& m_walkable;
    const std::vector<uint64_t>& m_trustedDevices;
    const FolderWalker::Progress* m_progress;
    std::vector<TreeState> m_trees;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<Task> m_stack;
    size_t m_outstanding = 0; // tasks on the stack or being worked on
};

bool Walk::pop(Task& task)
{
    std::unique_lock lock(m_mutex);
    const auto ready = [this] { return !m_stack.empty() || m_outstanding == 0 || stopped(); };
    // A stop is set without a notification, so a waiting worker looks again now and then.
    while (!m_wake.wait_for(lock, std::chrono::milliseconds(20), ready)) {
    }
    if (m_stack.empty() || stopped())
        return false;
    task = m_stack.back();
    m_stack.pop_back();
    return true;
}

// Opens the folder of a task; a tree's own folder is checked against the walkable predicate
// and gives the tree its device. Returns -1 when there is nothing to read.
int Walk::open(const Task& task)
{
    TreeState& tree = m_trees[task.tree];
    if (!task.parent) {
        const int fd = ::openat(m_parentFd, m_names[task.tree].c_str(), kOpenFlags);
        if (fd < 0) {
            tree.failure = SizeState::Unreadable;
            return -1;
        }
        if (task.tree < m_trustedDevices.size() && m_trustedDevices[task.tree] != 0) {
            tree.device = m_trustedDevices[task.tree];
            return fd;
        }
        struct statx self {};
        if (countedStatx(fd, "", AT_EMPTY_PATH, STATX_TYPE | kStatxMountId, &self) != 0) {
            tree.failure = SizeState::Unreadable;
            ::close(fd);
            return -1;
        }
        if (m_walkable && !m_walkable(self)) {
            tree.failure = SizeState::NotWalked;
            ::close(fd);
            return -1;
        }
        tree.device = deviceOf(self);
        return fd;
    }

    Node* parent = task.parent;
    const int fd = ::openat(parent->fd, parent->names.data() + task.offset, kOpenFlags);
    // A folder removed since it was seen is simply gone; anything else leaves a part unread.
    if (fd < 0 && errno != ENOENT)
        tree.partial.store(true, std::memory_order_relaxed);
    if (parent->unopened.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        ::close(parent->fd);
        delete parent;
    }
    return fd;
}

Node* Walk::read(int fd, TreeState& tree, bool treeRoot, char* buffer,
                 std::vector<uint32_t>& offsets)
{
    Node* node = nullptr;
    int64_t bytes = 0;
    bool partial = false;
    offsets.clear();
    bool anyName = false;
    DirEntries entries(fd, buffer, DirEntries::kBufferSize);
    uint32_t sinceStopCheck = 0;
    while (entries.next()) {
        anyName = true;
        // A huge folder is read in steps small enough for a stop to be noticed at once.
        if (++sinceStopCheck == 256) {
            sinceStopCheck = 0;
            if (stopped())
                break;
        }
        const char* name = entries.name();
        struct statx st;
        if (countedStatx(fd, name, AT_SYMLINK_NOFOLLOW, STATX_TYPE | STATX_SIZE, &st) != 0) {
            if (errno != ENOENT)
                partial = true;
            continue;
        }
        if (!S_ISDIR(st.stx_mode)) {
            bytes += static_cast<int64_t>(st.stx_size);
            continue;
        }
        // A folder on another file system is a mount point: its tree is not this one's.
        if (deviceOf(st) != tree.device)
            continue;
        if (!node) {
            node = new Node;
            node->fd = fd;
        }
        offsets.push_back(static_cast<uint32_t>(node->names.size()));
        node->names.append(name, std::strlen(name) + 1);
    }
    if (entries.error() != 0) {
        // A tree whose own folder gives not a single name could not be read at all.
        if (treeRoot && !anyName) {
            tree.failure = SizeState::Unreadable;
            return nullptr;
        }
        partial = true;
    }
    tree.bytes.fetch_add(bytes, std::memory_order_relaxed);
    if (m_progress && m_progress->bytes)
        m_progress->bytes->fetch_add(bytes, std::memory_order_relaxed);
    if (partial)
        tree.partial.store(true, std::memory_order_relaxed);
    if (node)
        node->unopened.store(static_cast<uint32_t>(offsets.size()), std::memory_order_relaxed);
    return node;
}

// Shares the sub-folders of a folder just read and ends its task, under one lock.
void Walk::finish(Node* node, const std::vector<uint32_t>& offsets, uint32_t tree)
{
    // The tree's count of folders to read takes the new ones before this one leaves it, so it
    // reaches 0 exactly once, when its last folder has been read.
    TreeState& state = m_trees[tree];
    if (node)
        state.pending.fetch_add(int64_t(offsets.size()), std::memory_order_relaxed);
    if (state.pending.fetch_sub(1, std::memory_order_acq_rel) == 1 && m_progress &&
        m_progress->treeDone)
        m_progress->treeDone(tree, resultOf(state));
    bool done;
    {
        std::lock_guard lock(m_mutex);
        if (node) {
            for (size_t i = offsets.size(); i-- > 0;)
                m_stack.push_back(Task{node, offsets[i], tree});
            m_outstanding += offsets.size();
        }
        done = --m_outstanding == 0;
    }
    if (done || offsets.size() > 1)
        m_wake.notify_all();
    else if (node)
        m_wake.notify_one();
}

void Walk::work()
{
    // One buffer per worker for the whole walk: reading a folder allocates nothing.
    std::unique_ptr<char[]> buffer(new char[DirEntries::kBufferSize]);
    std::vector<uint32_t> offsets;
    Task task;
    while (pop(task)) {
        if (m_progress && m_progress->walking) {
            const std::vector<size_t>* numbering = m_progress->numbering;
            m_progress->walking->store(uint32_t(numbering ? (*numbering)[task.tree] : task.tree),
                                       std::memory_order_relaxed);
        }
        Node* node = nullptr;
        const int fd = open(task);
        if (fd >= 0) {
            node = read(fd, m_trees[task.tree], !task.parent, buffer.get(), offsets);
            if (!node)
                ::close(fd);
        }
        finish(node, offsets, task.tree);
        offsets.clear();
    }
}

void Walk::dropWaiting()
{
    for (const Task& task : m_stack) {
        Node* parent = task.parent;
        if (parent && parent->unopened.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            ::close(parent->fd);
            delete parent;
        }
    }
    m_stack.clear();
}

} // namespace

FolderWalker::FolderWalker(unsigned threads)
    : m_threads(threads ? threads : std::max(1u, std::thread::hardware_concurrency()))
{
}

std::vector<FolderSize> FolderWalker::sum(int parentFd, const std::vector<NativeString>& names,
                                          const WalkablePredicate& walkable,
                                          const std::vector<uint64_t>& trustedDevices,
                                          const Progress* progress) const
{
    if (names.empty())
        return {};
    Walk walk(parentFd, names, walkable, trustedDevices, progress);
    std::vector<std::thread> helpers;
    helpers.reserve(m_threads - 1);
    // A machine that cannot start more threads just walks with fewer.
    try {
        for (unsigned i = 1; i < m_threads; ++i)
            helpers.emplace_back([&walk] { walk.work(); });
    } catch (const std::system_error&) {
    }
    walk.work();
    for (std::thread& helper : helpers)
        helper.join();
    return walk.results();
}

} // namespace vennic
