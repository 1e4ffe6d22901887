#include "platform/posix/filecopy_posix.h"

#include "platform/posix/statcounter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace vennic {

namespace {

// Closes a descriptor when the scope ends.
struct FdGuard {
    int fd = -1;
    ~FdGuard()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// The error of a failed write to the copy. A file-size limit (EFBIG) is the same thing as a
// full disk to the user: the copy does not fit.
FsError writeError(int err, const NativeString& destination)
{
    const std::string detail = "cannot write the copy " + destination + ": " + std::strerror(err);
    if (err == EFBIG)
        return FsError(FsErrorNumber::DiskFull, detail);
    return FsError::fromErrno(err, false, detail);
}

// A hidden name for the temporary file that no other copy in this or another process picks.
std::string temporaryName()
{
    static std::atomic<unsigned> counter{0};
    static thread_local std::mt19937 random{std::random_device{}()};
    char name[64];
    std::snprintf(name, sizeof name, ".vennic-copy-%d-%u-%08x.tmp", static_cast<int>(getpid()),
                  counter.fetch_add(1), static_cast<unsigned>(random()));
    return name;
}

bool copyRange(int from, int to, const NativeString& destination, bool& fallBack)
{
    for (;;) {
        const ssize_t n = ::copy_file_range(from, nullptr, to, nullptr, 1 << 30, 0);
        if (n > 0)
            continue;
        if (n == 0)
            return true;
        const int err = errno;
        if (err == EINTR)
            continue;
        // File systems and kernels that cannot copy between these files fall back to plain
        // reads and writes; nothing has been written when they say so.
        if (err == EXDEV || err == ENOSYS || err == EINVAL || err == EOPNOTSUPP || err == EBADF) {
            fallBack = true;
            return false;
        }
        throw writeError(err, destination);
    }
}

void copyByReadWrite(int from, int to, const NativeString& source, const NativeString& destination)
{
    std::vector<char> buffer(256 * 1024);
    for (;;) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            throw FsError::fromErrno(err, false,
                                     "cannot read " + source + ": " + std::strerror(err));
        }
        if (got == 0)
            return;
        ssize_t done = 0;
        while (done < got) {
            const ssize_t put = ::write(to, buffer.data() + done, static_cast<size_t>(got - done));
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                throw writeError(errno, destination);
            }
            done += put;
        }
    }
}

// Writes the whole copy into the open temporary file and makes it durable.
void fillCopy(int from, int to, const struct stat& sourceStat, const NativeString& source,
              const NativeString& destination)
{
    bool fallBack = false;
    if (!copyRange(from, to, destination, fallBack) && fallBack) {
        if (::lseek(from, 0, SEEK_SET) != 0 || ::ftruncate(to, 0) != 0 ||
            ::lseek(to, 0, SEEK_SET) != 0)
            throw writeError(errno, destination);
        copyByReadWrite(from, to, source, destination);
    }
    if (::fchmod(to, sourceStat.st_mode & 0777) != 0)
        throw writeError(errno, destination);
    const timespec times[2] = {{0, UTIME_OMIT}, sourceStat.st_mtim};
    if (::futimens(to, times) != 0)
        throw writeError(errno, destination);
    if (::fsync(to) != 0)
        throw writeError(errno, destination);
}

// Gives the finished temporary file its real name. Without overwrite a file that appeared
// meanwhile is not replaced either; where the file system cannot rename without replacing, a
// second hard link does the same (it fails on an existing name).
bool publish(int dirFd, const std::string& temporary, const NativeString& name, bool overwrite)
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

} // namespace

void copyFileSafely(const NativeString& source, const NativeString& destination, bool overwrite)
{
    // Devices, pipes and sockets are refused before they are opened (opening one can block or
    // act on the device); one put in the file's place meanwhile is opened without waiting and
    // refused below.
    struct statx kind {};
    if (countedStatx(AT_FDCWD, source.c_str(), 0, STATX_TYPE, &kind) == 0 &&
        !S_ISREG(kind.stx_mode))
        refuse(FsErrorNumber::PathFileAccessError, source + " is not a regular file");
    FdGuard from{::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)};
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

    const size_t slash = destination.rfind('/');
    const NativeString folder = slash == NativeString::npos ? NativeString(".")
                                : slash == 0                ? NativeString("/")
                                                            : destination.substr(0, slash);
    const NativeString name =
        slash == NativeString::npos ? destination : destination.substr(slash + 1);
    if (name.empty() || name == "." || name == "..")
        refuse(FsErrorNumber::PathFileAccessError, destination + " names no file");

    // A folder that may be written but not listed is still a place for the copy.
    FdGuard dir{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (dir.fd < 0 && errno == EACCES)
        dir.fd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dir.fd < 0) {
        const int err = errno;
        throw FsError::fromErrno(err, true,
                                 "cannot open the folder " + folder + ": " + std::strerror(err));
    }

    struct statx target {};
    const bool exists = countedStatx(dir.fd, name.c_str(), AT_SYMLINK_NOFOLLOW,
                                     STATX_TYPE | STATX_MODE | STATX_INO, &target) == 0;
    if (exists) {
        if (S_ISLNK(target.stx_mode))
            refuse(FsErrorNumber::PathFileAccessError,
                   "the destination " + destination +
                       " is a symbolic link; a copy never writes through a link");
        if (S_ISDIR(target.stx_mode))
            refuse(FsErrorNumber::PathFileAccessError,
                   "the destination " + destination + " is a folder");
        if (target.stx_dev_major == major(sourceStat.st_dev) &&
            target.stx_dev_minor == minor(sourceStat.st_dev) && target.stx_ino == sourceStat.st_ino)
            refuse(FsErrorNumber::PathFileAccessError,
                   "the source and the destination " + destination + " are the same file");
        if (!overwrite)
            refuse(FsErrorNumber::FileAlreadyExists, destination + " already exists");
        if (!(target.stx_mode & S_IWUSR))
            refuse(FsErrorNumber::PermissionDenied,
                   "the destination " + destination + " is read-only");
    } else if (errno != ENOENT) {
        const int err = errno;
        throw FsError::fromErrno(err, false, destination + ": " + std::strerror(err));
    }

    std::string temporary;
    FdGuard to;
    for (int attempt = 0; attempt < 100 && to.fd < 0; ++attempt) {
        temporary = temporaryName();
        to.fd = ::openat(dir.fd, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (to.fd < 0 && errno != EEXIST)
            break;
    }
    if (to.fd < 0) {
        const int err = errno;
        throw FsError::fromErrno(err, false,
                                 "cannot create a file in " + folder + ": " + std::strerror(err));
    }

    try {
        fillCopy(from.fd, to.fd, sourceStat, source, destination);
        const int closed = ::close(to.fd);
        to.fd = -1;
        if (closed != 0)
            throw writeError(errno, destination);
        if (!publish(dir.fd, temporary, name, overwrite)) {
            const int err = errno;
            throw FsError::fromErrno(err, false,
                                     "cannot replace " + destination + ": " + std::strerror(err));
        }
    } catch (...) {
        ::unlinkat(dir.fd, temporary.c_str(), 0);
        throw;
    }
    // The new name is durable only once the folder itself is flushed.
    ::fsync(dir.fd);
}

} // namespace vennic
