#include "platform/posix/filecopy_posix.h"

#include "platform/posix/direntries_posix.h"
#include "platform/posix/fdguard_posix.h"
#include "platform/posix/statcounter.h"
#include "platform/posix/statxentry_posix.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string_view>
#include <vector>

namespace vennic {

namespace {

// Blocks of a copy: large enough to cost nothing, small enough that a watcher hears often.
constexpr size_t kCopyBlock = 8 << 20;

// The error of a failed write to the copy. A file-size limit (EFBIG) is the same thing as a
// full disk to the user: the copy does not fit.
FsError writeError(int err, const NativeString& destination)
{
    const std::string detail = "cannot write the copy " + destination + ": " + std::strerror(err);
    if (err == EFBIG)
        return FsError(FsErrorNumber::DiskFull, detail);
    return FsError::fromErrno(err, false, detail);
}

// A hidden name for a temporary file that no other copy in this or another process picks.
std::string temporaryName()
{
    static std::atomic<unsigned> counter{0};
    static thread_local std::mt19937 random{std::random_device{}()};
    char name[80];
    std::snprintf(name, sizeof name, "%s%d-%u-%08x%s", kCopyTemporaryPrefix,
                  static_cast<int>(getpid()), counter.fetch_add(1), static_cast<unsigned>(random()),
                  kCopyTemporarySuffix);
    return name;
}

bool isTemporaryName(std::string_view name)
{
    const std::string_view prefix = kCopyTemporaryPrefix;
    const std::string_view suffix = kCopyTemporarySuffix;
    return name.size() > prefix.size() + suffix.size() && name.substr(0, prefix.size()) == prefix &&
           name.substr(name.size() - suffix.size()) == suffix;
}

// Marks a temporary as being written: the lock goes with the writer, however it ends, so a
// temporary that can be locked has no writer. Where the file system keeps no locks, nothing
// marks it, and nobody removes it.
void lockAsWriting(int fd)
{
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    ::fcntl(fd, F_OFD_SETLK, &lock);
}

// Writes the copy to disk a few blocks behind the copying and lets go of the pages that are on
// disk, so the final flush has little left to wait for and a big copy neither fills the page
// cache nor waits for memory of its own. Only hints: where they fail, the final flush does it all.
class WriteBehind {
public:
    explicit WriteBehind(int fd) : m_fd(fd) {}

    void written(off_t start, off_t length)
    {
        ::sync_file_range(m_fd, start, length, SYNC_FILE_RANGE_WRITE);
        const off_t settled = start + length - kLag;
        if (settled <= m_settled)
            return;
        ::sync_file_range(m_fd, m_settled, settled - m_settled,
                          SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                              SYNC_FILE_RANGE_WAIT_AFTER);
        ::posix_fadvise(m_fd, m_settled, settled - m_settled, POSIX_FADV_DONTNEED);
        m_settled = settled;
    }

private:
    static constexpr off_t kLag = 4 * off_t(kCopyBlock);
    int m_fd;
    off_t m_settled = 0; ///< everything before this is on disk
};

// Copies the bytes [start, end) of `from` to the same place in `to`, in blocks, with
// copy_file_range while the kernel can, else with reads and writes. `done` counts the bytes
// copied over all regions.
void copyRegion(int from, int to, off_t start, off_t end, const NativeString& source,
                const NativeString& destination, const CopyOptions& options, bool& plain,
                int64_t& done, WriteBehind& behind)
{
    off_t pos = start;
    std::vector<char> buffer;
    while (pos < end) {
        const size_t want = size_t(std::min<off_t>(end - pos, off_t(kCopyBlock)));
        ssize_t n = 0;
        if (!plain) {
            loff_t in = pos;
            loff_t out = pos;
            n = ::copy_file_range(from, &in, to, &out, want, 0);
            if (n < 0) {
                const int err = errno;
                if (err == EINTR)
                    continue;
                // File systems and kernels that cannot copy between these files go on with
                // plain reads and writes from the same place.
                if (err != EXDEV && err != ENOSYS && err != EINVAL && err != EOPNOTSUPP &&
                    err != EBADF)
                    throw writeError(err, destination);
                plain = true;
                continue;
            }
        } else {
            if (buffer.empty())
                buffer.resize(256 * 1024);
            n = ::pread(from, buffer.data(), std::min(want, buffer.size()), pos);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                const int err = errno;
                throw FsError::fromErrno(err, false,
                                         "cannot read " + source + ": " + std::strerror(err));
            }
            for (ssize_t put = 0; put < n;) {
                const ssize_t w = ::pwrite(to, buffer.data() + put, size_t(n - put), pos + put);
                if (w < 0) {
                    if (errno == EINTR)
                        continue;
                    throw writeError(errno, destination);
                }
                put += w;
            }
        }
        // The file ended sooner than it was: it shrank while it was copied.
        if (n == 0)
            return;
        behind.written(pos, n);
        pos += n;
        done += n;
        if (options.afterBlock)
            options.afterBlock(done);
    }
}

// Shares the source's blocks with the copy where the file system can (a reflink): no byte is
// copied and the copy takes no room until one of them changes.
bool cloneWhole(int from, int to)
{
#ifdef FICLONE
    return ::ioctl(to, FICLONE, from) == 0;
#else
    (void)from;
    (void)to;
    return false;
#endif
}

// Writes the whole copy into the open temporary file and makes it durable. Only the regions of
// the source that hold data are copied, so a sparse file stays sparse. A source that changes
// meanwhile (its size or modified time) gives no copy at all.
void fillCopy(int from, int to, const struct stat& sourceStat, const NativeString& source,
              const NativeString& destination, const CopyOptions& options)
{
    const off_t size = sourceStat.st_size;
    ::posix_fadvise(from, 0, 0, POSIX_FADV_SEQUENTIAL);
    if (!cloneWhole(from, to)) {
        bool plain = false;
        int64_t done = 0;
        WriteBehind behind(to);
        off_t pos = 0;
        while (pos < size) {
            off_t data = ::lseek(from, pos, SEEK_DATA);
            off_t hole = size;
            if (data < 0) {
                if (errno == ENXIO)
                    break;  // the rest is a hole
                data = pos; // a file system that cannot tell: all of it is data
            } else {
                hole = ::lseek(from, data, SEEK_HOLE);
                if (hole < 0 || hole > size)
                    hole = size;
            }
            if (data >= size)
                break;
            copyRegion(from, to, data, hole, source, destination, options, plain, done, behind);
            pos = hole;
        }
        // The length, with any hole at the end.
        if (::ftruncate(to, size) != 0)
            throw writeError(errno, destination);
    }
    struct stat after {};
    if (::fstat(from, &after) != 0)
        throw FsError::fromErrno(errno, false, source);
    if (after.st_size != sourceStat.st_size || after.st_mtim.tv_sec != sourceStat.st_mtim.tv_sec ||
        after.st_mtim.tv_nsec != sourceStat.st_mtim.tv_nsec)
        throw FsError(FsErrorNumber::PathFileAccessError,
                      source + " changed while it was copied, so the copy was not kept");
    if (::fchmod(to, sourceStat.st_mode & 0777) != 0)
        throw writeError(errno, destination);
    const timespec times[2] = {{0, UTIME_OMIT}, sourceStat.st_mtim};
    if (::futimens(to, times) != 0)
        throw writeError(errno, destination);
    if (::fsync(to) != 0)
        throw writeError(errno, destination);
}

// Gives an unnamed file the name `name` in `dirFd`; fails on an existing name.
bool linkUnnamed(int fd, int dirFd, const char* name)
{
    if (::linkat(fd, "", dirFd, name, AT_EMPTY_PATH) == 0)
        return true;
    // Linking a descriptor itself needs a privilege; its entry in /proc does the same for
    // the file's owner.
    if (errno != ENOENT && errno != EPERM && errno != EACCES)
        return false;
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
    return ::linkat(AT_FDCWD, self, dirFd, name, AT_SYMLINK_FOLLOW) == 0;
}

// Gives the finished temporary file its real name. Without overwrite a file that appeared
// meanwhile is not replaced either; where the file system cannot rename without replacing, a
// second hard link does the same (it fails on an existing name).
bool publishNamed(int dirFd, const std::string& temporary, const NativeString& name, bool overwrite)
{
    if (overwrite)
        return ::renameat(dirFd, temporary.c_str(), dirFd, name.c_str()) == 0;
    if (::renameat2(dirFd, temporary.c_str(), dirFd, name.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    if (::linkat(dirFd, temporary.c_str(), dirFd, name.c_str(), 0) != 0)
        return false;
    ::unlinkat(dirFd, temporary.c_str(), 0);
    return true;
}

[[noreturn]] void refuse(int number, const std::string& detail)
{
    throw FsError(number, detail);
}

// Refuses a destination the copy would damage: a link, a folder, the source itself, a
// read-only file, or any file without `overwrite`.
void checkDestination(int toDir, const NativeString& name, const struct stat& sourceStat,
                      const NativeString& shown, bool overwrite, const Entry* replacing)
{
    struct statx target {};
    if (countedStatx(toDir, name.c_str(), AT_SYMLINK_NOFOLLOW, kEntryStatxMask, &target) != 0) {
        if (errno == ENOENT)
            return;
        const int err = errno;
        throw FsError::fromErrno(err, false, shown + ": " + std::strerror(err));
    }
    if (S_ISLNK(target.stx_mode))
        refuse(FsErrorNumber::PathFileAccessError,
               "the destination " + shown +
                   " is a symbolic link; a copy never writes through a link");
    if (S_ISDIR(target.stx_mode))
        refuse(FsErrorNumber::PathFileAccessError, "the destination " + shown + " is a folder");
    if (target.stx_dev_major == major(sourceStat.st_dev) &&
        target.stx_dev_minor == minor(sourceStat.st_dev) && target.stx_ino == sourceStat.st_ino)
        refuse(FsErrorNumber::PathFileAccessError,
               "the source and the destination " + shown + " are the same file");
    if (!overwrite)
        refuse(FsErrorNumber::FileAlreadyExists, shown + " already exists");
    if (replacing &&
        (identityOf(entryFromStatx(name.c_str(), target, false)) != identityOf(*replacing) ||
         int64_t(target.stx_size) != replacing->size ||
         fileTimeOf(target.stx_mtime) != replacing->modified))
        refuse(FsErrorNumber::FileAlreadyExists,
               shown + " is no longer the file that was to be replaced; it was left as it is");
    if (!(target.stx_mode & S_IWUSR))
        refuse(FsErrorNumber::PermissionDenied, "the destination " + shown + " is read-only");
}

// The copy written into an unnamed file, which takes its name only once it is whole. False
// when the file system offers no unnamed files; nothing was written then.
bool copyUnnamed(int from, const struct stat& sourceStat, const NativeString& shownSource,
                 int toDir, const NativeString& name, const NativeString& shown, bool overwrite,
                 const CopyOptions& options)
{
    FdGuard to(::openat(toDir, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (to.fd < 0) {
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL || errno == ENOENT)
            return false;
        const int err = errno;
        throw FsError::fromErrno(err, false,
                                 "cannot create the copy " + shown + ": " + std::strerror(err));
    }
    lockAsWriting(to.fd);
    fillCopy(from, to.fd, sourceStat, shownSource, shown, options);
    if (!overwrite) {
        if (!linkUnnamed(to.fd, toDir, name.c_str())) {
            const int err = errno;
            if (err == EEXIST)
                refuse(FsErrorNumber::FileAlreadyExists, shown + " already exists");
            throw FsError::fromErrno(err, false,
                                     "cannot name " + shown + ": " + std::strerror(err));
        }
        return true;
    }
    // Replacing takes a rename, which needs a name to rename from: the whole copy gets a
    // temporary one for that moment, still locked as being written.
    std::string temporary;
    bool linked = false;
    for (int attempt = 0; attempt < 100 && !linked; ++attempt) {
        temporary = temporaryName();
        linked = linkUnnamed(to.fd, toDir, temporary.c_str());
        if (!linked && errno != EEXIST)
            break;
    }
    if (!linked) {
        const int err = errno;
        throw FsError::fromErrno(err, false, "cannot name " + shown + ": " + std::strerror(err));
    }
    if (::renameat(toDir, temporary.c_str(), toDir, name.c_str()) != 0) {
        const int err = errno;
        ::unlinkat(toDir, temporary.c_str(), 0);
        throw FsError::fromErrno(err, false, "cannot replace " + shown + ": " + std::strerror(err));
    }
    return true;
}

void copyNamed(int from, const struct stat& sourceStat, const NativeString& shownSource, int toDir,
               const NativeString& name, const NativeString& shown, bool overwrite,
               const CopyOptions& options)
{
    std::string temporary;
    FdGuard to;
    for (int attempt = 0; attempt < 100 && to.fd < 0; ++attempt) {
        temporary = temporaryName();
        to.fd = ::openat(toDir, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (to.fd < 0 && errno != EEXIST)
            break;
    }
    if (to.fd < 0) {
        const int err = errno;
        throw FsError::fromErrno(err, false,
                                 "cannot create the copy " + shown + ": " + std::strerror(err));
    }
    lockAsWriting(to.fd);
    try {
        fillCopy(from, to.fd, sourceStat, shownSource, shown, options);
        // The name changes while the lock is still held, so no sweep takes the whole copy.
        if (!publishNamed(toDir, temporary, name, overwrite)) {
            const int err = errno;
            throw FsError::fromErrno(err, false,
                                     "cannot replace " + shown + ": " + std::strerror(err));
        }
    } catch (...) {
        ::unlinkat(toDir, temporary.c_str(), 0);
        throw;
    }
}

// The folder of a full file path and the file's name in it.
std::pair<NativeString, NativeString> splitPath(const NativeString& path)
{
    const size_t slash = path.rfind('/');
    if (slash == NativeString::npos)
        return {NativeString("."), path};
    return {slash == 0 ? NativeString("/") : path.substr(0, slash), path.substr(slash + 1)};
}

} // namespace

void copyOpenFile(int from, const struct stat& sourceStat, const NativeString& shownSource,
                  int toDir, const NativeString& name, const NativeString& shownDestination,
                  bool overwrite, const CopyOptions& options)
{
    if (name.empty() || name == "." || name == ".." || name.find('/') != NativeString::npos)
        refuse(FsErrorNumber::PathFileAccessError, shownDestination + " names no file");
    if (!S_ISREG(sourceStat.st_mode))
        refuse(FsErrorNumber::PathFileAccessError, shownSource + " is not a regular file");
    checkDestination(toDir, name, sourceStat, shownDestination, overwrite, options.replacing);
    const bool unnamed =
        options.unnamedTemporary && copyUnnamed(from, sourceStat, shownSource, toDir, name,
                                                shownDestination, overwrite, options);
    if (!unnamed) {
        if (!options.staleRemoved || !*options.staleRemoved)
            removeStaleCopyTemporaries(toDir);
        if (options.staleRemoved)
            *options.staleRemoved = true;
        copyNamed(from, sourceStat, shownSource, toDir, name, shownDestination, overwrite, options);
    }
    // The new name is durable only once the folder itself is flushed.
    ::fsync(toDir);
}

void copyFileSafely(const NativeString& source, const NativeString& destination, bool overwrite,
                    const CopyOptions& options)
{
    // Devices, pipes and sockets are refused before they are opened (opening one can block or
    // act on the device); one put in the file's place meanwhile is opened without waiting and
    // refused below.
    struct statx kind {};
    if (countedStatx(AT_FDCWD, source.c_str(), 0, STATX_TYPE, &kind) == 0 &&
        !S_ISREG(kind.stx_mode))
        refuse(FsErrorNumber::PathFileAccessError, source + " is not a regular file");
    FdGuard from(::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (from.fd < 0) {
        const int err = errno;
        throw FsError::fromErrno(err, false, "cannot open " + source + ": " + std::strerror(err));
    }
    struct stat sourceStat {};
    if (::fstat(from.fd, &sourceStat) != 0)
        throw FsError::fromErrno(errno, false, source);
    if (!S_ISREG(sourceStat.st_mode))
        refuse(FsErrorNumber::PathFileAccessError, source + " is not a regular file");
    ::fcntl(from.fd, F_SETFL, 0);

    const auto [folder, name] = splitPath(destination);
    if (name.empty() || name == "." || name == "..")
        refuse(FsErrorNumber::PathFileAccessError, destination + " names no file");
    // A folder that may be written but not listed is still a place for the copy.
    FdGuard dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd < 0 && errno == EACCES)
        dir.fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dir.fd < 0) {
        const int err = errno;
        throw FsError::fromErrno(err, true,
                                 "cannot open the folder " + folder + ": " + std::strerror(err));
    }
    copyOpenFile(from.fd, sourceStat, source, dir.fd, name, destination, overwrite, options);
}

int removeStaleCopyTemporaries(int dirFd)
{
    // A descriptor of its own, so the caller's read position stays; a folder that cannot be
    // listed keeps what it has.
    FdGuard dir(::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd < 0)
        return 0;
    std::vector<std::string> candidates;
    std::vector<char> buffer(DirEntries::kBufferSize);
    DirEntries entries(dir.fd, buffer.data(), buffer.size());
    while (entries.next())
        if (isTemporaryName(entries.name()))
            candidates.emplace_back(entries.name());
    int removed = 0;
    for (const std::string& name : candidates) {
        FdGuard file(::openat(dir.fd, name.c_str(),
                              O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat opened {};
        if (file.fd < 0 || ::fstat(file.fd, &opened) != 0 || !S_ISREG(opened.st_mode))
            continue;
        // A read lock is refused while the writer holds its write lock.
        struct flock lock {};
        lock.l_type = F_RDLCK;
        lock.l_whence = SEEK_SET;
        if (::fcntl(file.fd, F_OFD_SETLK, &lock) != 0)
            continue;
        // Only the very file that was found free goes.
        struct stat now {};
        if (::fstatat(dir.fd, name.c_str(), &now, AT_SYMLINK_NOFOLLOW) == 0 &&
            now.st_dev == opened.st_dev && now.st_ino == opened.st_ino &&
            ::unlinkat(dir.fd, name.c_str(), 0) == 0)
            ++removed;
    }
    return removed;
}

} // namespace vennic
