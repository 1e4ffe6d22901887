#include "platform/posix/folder_posix.h"

#include "platform/posix/direntries_posix.h"
#include "platform/posix/folderwalker_posix.h"
#include "platform/posix/statcounter.h"
#include "platform/posix/statxentry_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vennic {

namespace {

// The last name of a path ("/" for the root itself), trailing separators ignored.
NativeString lastName(const NativeString& path)
{
    size_t end = path.size();
    while (end > 1 && path[end - 1] == '/')
        --end;
    const size_t slash = path.rfind('/', end - 1);
    if (slash == NativeString::npos)
        return path.substr(0, end);
    if (end == 1)
        return path.substr(0, 1);
    return path.substr(slash + 1, end - slash - 1);
}

// An entry of a name that could be read but not looked at (a folder readable but not
// searchable): only what the folder's own record says, its kind, and that the rest is unknown.
Entry bareEntry(const char* name, unsigned char type)
{
    Entry entry;
    entry.name = name;
    entry.statFailed = true;
    entry.isFolder = type == DT_DIR;
    entry.isSymlink = type == DT_LNK;
    if (entry.isFolder)
        entry.attributes |= Attr::Directory;
    if (entry.isSymlink)
        entry.attributes |= Attr::Alias;
    if (name[0] == '.')
        entry.attributes |= Attr::Hidden;
    return entry;
}

} // namespace

std::unique_ptr<PosixFolder> PosixFolder::open(const NativeString& path)
{
    const char* text = path.c_str();
    if (path.empty())
        throw FsError(FsErrorNumber::PathNotFound, "empty path");
    const int fd = ::open(text, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        throw FsError::fromErrno(err, true, path + ": " + std::strerror(err));
    }
    return std::unique_ptr<PosixFolder>(new PosixFolder(path, fd));
}

PosixFolder::PosixFolder(NativeString path, int fd) : m_path(std::move(path)), m_fd(fd)
{
    struct statx st {};
    if (countedStatx(m_fd, "", AT_EMPTY_PATH, kEntryStatxMask, &st) != 0) {
        const int err = errno;
        ::close(m_fd);
        throw FsError::fromErrno(err, true, m_path + ": " + std::strerror(err));
    }
    const NativeString name = lastName(m_path);
    m_self = entryFromStatx(name.c_str(), st, false);
    m_selfStatx = st;
    // A folder reached through a symbolic link shows the link's letter as its row does.
    struct statx link {};
    if (countedStatx(AT_FDCWD, m_path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_TYPE, &link) == 0 &&
        S_ISLNK(link.stx_mode)) {
        m_self.attributes |= Attr::Alias;
        m_self.isSymlink = true;
    }
}

PosixFolder::~PosixFolder()
{
    ::close(m_fd);
}

NativeString PosixFolder::Name() const
{
    return lastName(m_path);
}

NativeString PosixFolder::LinkTarget(const NativeString& name) const
{
    // A target may be longer than the first guess; readlinkat says so by filling the buffer.
    std::string target(256, '\0');
    for (;;) {
        const ssize_t got = ::readlinkat(m_fd, name.c_str(), target.data(), target.size());
        if (got < 0)
            return {};
        if (size_t(got) < target.size()) {
            target.resize(size_t(got));
            return target;
        }
        if (target.size() >= (size_t(1) << 20))
            return {};
        target.resize(target.size() * 2);
    }
}

void PosixFolder::readEntries() const
{
    std::lock_guard lock(m_entriesMutex);
    if (m_entriesRead)
        return;
    std::vector<Entry> subFolders;
    std::vector<Entry> files;
    std::vector<char> buffer(DirEntries::kBufferSize);
    ::lseek(m_fd, 0, SEEK_SET);
    DirEntries entries(m_fd, buffer.data(), buffer.size());
    int64_t read = 0;
    while (entries.next()) {
        // A stop is looked for now and then: the atomic costs little beside a stat.
        if (m_readProgress && (++read & 255) == 0) {
            m_readProgress->entries.store(read, std::memory_order_relaxed);
            if (m_readProgress->stop.load(std::memory_order_relaxed)) {
                m_readStopped = true;
                break;
            }
        }
        const char* name = entries.name();
        struct statx st {};
        Entry entry;
        if (countedStatx(m_fd, name, AT_SYMLINK_NOFOLLOW, kEntryStatxMask, &st) == 0) {
            const bool linkToFolder = S_ISLNK(st.stx_mode) && linkLeadsToFolder(m_fd, name);
            entry = entryFromStatx(name, st, linkToFolder);
        } else if (errno == ENOENT) {
            continue; // removed since the folder was read
        } else {
            entry = bareEntry(name, entries.type());
        }
        (entry.isFolder ? subFolders : files).push_back(std::move(entry));
    }
    if (entries.error() != 0) {
        const int err = entries.error();
        throw FsError::fromErrno(err, true, m_path + ": " + std::strerror(err));
    }
    m_subFolders = std::move(subFolders);
    m_files = std::move(files);
    m_entriesRead = true;
}

bool PosixFolder::readStopped() const
{
    std::lock_guard lock(m_entriesMutex);
    return m_readStopped;
}

std::vector<Entry> PosixFolder::SubFolders() const
{
    readEntries();
    return m_subFolders;
}

std::vector<Entry> PosixFolder::Files() const
{
    readEntries();
    return m_files;
}

bool PosixFolder::walkable(const struct statx& st) const
{
    std::lock_guard lock(m_mountsMutex);
    if (!m_mounts)
        m_mounts = MountTable::read();
    const MountEntry* mount = nullptr;
    if (st.stx_mask & kStatxMountId)
        mount = m_mounts->byMountId(st.stx_mnt_id);
    if (!mount) {
        for (const MountEntry& entry : m_mounts->entries()) {
            if (entry.major == st.stx_dev_major && entry.minor == st.stx_dev_minor) {
                mount = &entry;
                break;
            }
        }
    }
    return !mount || !(isPseudoFileSystem(mount->fsType) || isNetworkFileSystem(mount->fsType));
}

FolderSize PosixFolder::Size() const
{
    const FolderWalker walker;
    const auto walkableHere = [this](const struct statx& st) { return walkable(st); };
    const FolderSize size = walker.sum(m_fd, {NativeString(".")}, walkableHere).front();
    if (size.state == SizeState::Unreadable)
        throw FsError(FsErrorNumber::PermissionDenied, m_path + " cannot be read");
    return size;
}

std::vector<FolderSize> PosixFolder::SubFolderSizes(const std::vector<Entry>& subFolders,
                                                    unsigned threads,
                                                    SizingProgress* progress) const
{
    std::vector<FolderSize> sizes(subFolders.size());
    std::vector<NativeString> names;
    std::vector<size_t> walked;
    // A sub-folder on this folder's own (walkable) file system was stat'ed when it was listed;
    // only one on another file system needs its own check.
    const bool selfWalkable = walkable(m_selfStatx);
    std::vector<uint64_t> trustedDevices;
    for (size_t i = 0; i < subFolders.size(); ++i) {
        // A symbolic link is never followed, so a link to a folder has no size of its own.
        if (!subFolders[i].isFolder || subFolders[i].isSymlink) {
            sizes[i].state = SizeState::NotWalked;
            continue;
        }
        names.push_back(subFolders[i].name);
        walked.push_back(i);
        const bool sameDevice = subFolders[i].device != 0 && subFolders[i].device == m_self.device;
        trustedDevices.push_back(selfWalkable && sameDevice ? subFolders[i].device : 0);
    }
    const FolderWalker walker(threads);
    FolderWalker::Progress walkProgress;
    if (progress) {
        walkProgress.stop = &progress->stop;
        walkProgress.bytes = &progress->bytes;
        walkProgress.walking = &progress->walking;
        walkProgress.numbering = &walked;
        if (progress->finished)
            walkProgress.treeDone = [&](uint32_t tree, const FolderSize& size) {
                progress->finished(walked[tree], size);
            };
    }
    const std::vector<FolderSize> results = walker.sum(
        m_fd, names, [this](const struct statx& st) { return walkable(st); }, trustedDevices,
        progress ? &walkProgress : nullptr);
    for (size_t k = 0; k < walked.size(); ++k)
        sizes[walked[k]] = results[k];
    return sizes;
}

} // namespace vennic
