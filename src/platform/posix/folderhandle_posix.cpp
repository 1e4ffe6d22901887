#include "platform/posix/folderhandle_posix.h"

#include "platform/posix/fdguard_posix.h"
#include "platform/posix/filecopy_posix.h"
#include "platform/posix/statcounter.h"
#include "platform/posix/statxentry_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vennic {

namespace {

FsError systemError(int err, const NativeString& shown)
{
    return FsError::fromErrno(err, false, shown + ": " + std::strerror(err));
}

// The entry of the open descriptor `fd`, which was opened as `name` in the folder `dirFd`
// without following a link.
Entry entryOfOpened(int fd, int dirFd, const NativeString& name, const NativeString& shown)
{
    struct statx st {};
    if (countedStatx(fd, "", AT_EMPTY_PATH | AT_SYMLINK_NOFOLLOW, kEntryStatxMask, &st) != 0)
        throw systemError(errno, shown);
    const bool linkToFolder = S_ISLNK(st.stx_mode) && linkLeadsToFolder(dirFd, name.c_str());
    return entryFromStatx(name.c_str(), st, linkToFolder);
}

bool sameEntry(const struct stat& st, const Entry& entry)
{
    return uint64_t(st.st_dev) == entry.device && uint64_t(st.st_ino) == entry.inode;
}

} // namespace

std::unique_ptr<PosixFolderHandle> PosixFolderHandle::open(const FolderIdentity& listed)
{
    if (listed.path.empty())
        return nullptr;
    const int noFollow = listed.throughLink ? 0 : O_NOFOLLOW;
    int fd = ::open(listed.path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | noFollow);
    // A folder that may be written but not listed is still a place for a copy.
    if (fd < 0 && errno == EACCES)
        fd = ::open(listed.path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC | noFollow);
    if (fd < 0) {
        const int err = errno;
        if (err == ENOENT || err == ENOTDIR || err == ELOOP)
            return nullptr;
        throw FsError::fromErrno(err, true, listed.path + ": " + std::strerror(err));
    }
    std::unique_ptr<PosixFolderHandle> handle(new PosixFolderHandle(listed.path, fd));
    struct statx st {};
    if (countedStatx(fd, "", AT_EMPTY_PATH, kEntryStatxMask, &st) != 0) {
        const int err = errno;
        throw FsError::fromErrno(err, true, listed.path + ": " + std::strerror(err));
    }
    if (!S_ISDIR(st.stx_mode) || deviceOf(st) != listed.device || st.stx_ino != listed.inode ||
        entryFromStatx(".", st, false).birth != listed.birth)
        return nullptr;
    return handle;
}

PosixFolderHandle::~PosixFolderHandle()
{
    ::close(m_fd);
}

NativeString PosixFolderHandle::shown(const NativeString& name) const
{
    if (!m_path.empty() && m_path.back() == '/')
        return m_path + name;
    return m_path + '/' + name;
}

std::optional<Entry> PosixFolderHandle::Look(const NativeString& name) const
{
    struct statx st {};
    if (countedStatx(m_fd, name.c_str(), AT_SYMLINK_NOFOLLOW, kEntryStatxMask, &st) != 0) {
        if (errno == ENOENT)
            return std::nullopt;
        throw systemError(errno, shown(name));
    }
    const bool linkToFolder = S_ISLNK(st.stx_mode) && linkLeadsToFolder(m_fd, name.c_str());
    return entryFromStatx(name.c_str(), st, linkToFolder);
}

Entry PosixFolderHandle::present(const NativeString& name) const
{
    std::optional<Entry> entry = Look(name);
    if (!entry)
        throw FsError(FsErrorNumber::FileNotFound, shown(name) + " is no longer there");
    return std::move(*entry);
}

bool PosixFolderHandle::DeleteFile(const NativeString& name, const EntryIdentity* listed,
                                   bool force)
{
    const Entry entry = present(name);
    if (listed && identityOf(entry) != *listed)
        return false;
    if (entry.isFolder)
        throw FsError(FsErrorNumber::PathFileAccessError, shown(name) + " is a folder, not a file");
    if (!force && (entry.attributes & Attr::ReadOnly))
        throw FsError(FsErrorNumber::PermissionDenied, shown(name) + " is read-only");
    // unlink removes the name itself: a symbolic link goes, its target stays. The system has no
    // removal by descriptor, so the look just above is as close to the act as it can come.
    if (::unlinkat(m_fd, name.c_str(), 0) != 0)
        throw systemError(errno, shown(name));
    return true;
}

bool PosixFolderHandle::SetAttributes(const NativeString& name, const EntryIdentity* listed,
                                      uint32_t attributes)
{
    // The entry is pinned first: what is checked is what gets written.
    FdGuard pinned(::openat(m_fd, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (pinned.fd < 0) {
        if (errno == ENOENT)
            throw FsError(FsErrorNumber::FileNotFound, shown(name) + " is no longer there");
        throw systemError(errno, shown(name));
    }
    const Entry entry = entryOfOpened(pinned.fd, m_fd, name, shown(name));
    if (listed && identityOf(entry) != *listed)
        return false;
    constexpr uint32_t writable = Attr::ReadOnly | Attr::Hidden | Attr::System | Attr::Archive;
    const uint32_t changed = (attributes ^ entry.attributes) & writable;
    if (changed == 0)
        return true;
    if (entry.isSymlink)
        throw FsError(FsErrorNumber::PathFileAccessError,
                      shown(name) + " is a symbolic link: it has no attributes of its own, and "
                                    "nothing is written through it");
    if (entry.isFolder)
        throw FsError(FsErrorNumber::PathFileAccessError, shown(name) + " is a folder");
    if (const char* bit = unstorableAttribute(changed))
        throw FsError(FsErrorNumber::PathFileAccessError,
                      std::string("the file system cannot store the ") + bit + " attribute");

    struct stat st {};
    if (::fstat(pinned.fd, &st) != 0)
        throw systemError(errno, shown(name));
    const mode_t mode = st.st_mode & 07777;
    const mode_t wanted = (attributes & Attr::ReadOnly) ? (mode & ~mode_t(0222)) : (mode | S_IWUSR);
    // The descriptor's entry in /proc leads to the pinned file itself. Without /proc, the
    // system's own no-follow change is the only safe one; it refuses where it cannot be sure.
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", pinned.fd);
    if (::fchmodat(AT_FDCWD, self, wanted, 0) == 0)
        return true;
    if (errno != ENOENT)
        throw systemError(errno, shown(name));
    if (::fchmodat(m_fd, name.c_str(), wanted, AT_SYMLINK_NOFOLLOW) != 0)
        throw systemError(errno, shown(name));
    return true;
}

bool PosixFolderHandle::CopyFile(const NativeString& name, const EntryIdentity* listed,
                                 FolderHandle& destination, bool overwrite, const Entry* replacing,
                                 const CopyBlockHook& afterBlock)
{
    auto* target = dynamic_cast<PosixFolderHandle*>(&destination);
    if (!target)
        throw FsError(FsErrorNumber::PathFileAccessError, "the destination is not a folder here");
    const Entry entry = present(name);
    if (listed && identityOf(entry) != *listed)
        return false;
    // A link is followed only where the listing showed a link; a link without a listing is
    // never followed.
    const bool followLink = listed && (listed->kind & Attr::Alias);
    if (entry.isFolder)
        throw FsError(FsErrorNumber::PathFileAccessError, shown(name) + " is a folder");
    if (entry.isSymlink && !followLink)
        throw FsError(FsErrorNumber::PathFileAccessError,
                      shown(name) + " is a symbolic link; it was not followed");
    // Devices, pipes and sockets are refused before they are opened (opening one can block or
    // act on the device).
    struct statx kind {};
    const int follow = followLink ? 0 : AT_SYMLINK_NOFOLLOW;
    if (countedStatx(m_fd, name.c_str(), follow, STATX_TYPE, &kind) == 0 && !S_ISREG(kind.stx_mode))
        throw FsError(FsErrorNumber::PathFileAccessError, shown(name) + " is not a regular file");

    const int noFollow = followLink ? 0 : O_NOFOLLOW;
    FdGuard from(
        ::openat(m_fd, name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | noFollow));
    if (from.fd < 0) {
        // A link put in the file's place since it was looked at.
        if (errno == ELOOP && listed)
            return false;
        throw FsError::fromErrno(errno, false,
                                 "cannot open " + shown(name) + ": " + std::strerror(errno));
    }
    struct stat sourceStat {};
    if (::fstat(from.fd, &sourceStat) != 0)
        throw systemError(errno, shown(name));
    if (!followLink && !sameEntry(sourceStat, entry))
        return false;
    if (!S_ISREG(sourceStat.st_mode))
        throw FsError(FsErrorNumber::PathFileAccessError, shown(name) + " is not a regular file");
    ::fcntl(from.fd, F_SETFL, 0);
    CopyOptions options;
    options.staleRemoved = &target->m_staleRemoved;
    options.replacing = replacing;
    options.afterBlock = afterBlock;
    copyOpenFile(from.fd, sourceStat, shown(name), target->m_fd, name, target->shown(name),
                 overwrite, options);
    return true;
}

} // namespace vennic
