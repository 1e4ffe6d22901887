#include "platform/posix/file_posix.h"

#include "platform/posix/filecopy_posix.h"
#include "platform/posix/statcounter.h"
#include "platform/posix/statxentry_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vennic {

namespace {

NativeString lastName(const NativeString& path)
{
    const size_t slash = path.rfind('/');
    return slash == NativeString::npos ? path : path.substr(slash + 1);
}

// The entry a path names now, not following a final symbolic link. False when it is missing;
// other failures throw.
bool statPath(const NativeString& path, struct statx& st)
{
    if (countedStatx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, kEntryStatxMask, &st) == 0)
        return true;
    const int err = errno;
    if (err == ENOENT)
        return false;
    throw FsError::fromErrno(err, false, path + ": " + std::strerror(err));
}

bool namesFolder(const NativeString& path, const struct statx& st)
{
    return S_ISDIR(st.stx_mode) ||
           (S_ISLNK(st.stx_mode) && linkLeadsToFolder(AT_FDCWD, path.c_str()));
}

} // namespace

std::unique_ptr<PosixFile> PosixFile::open(const NativeString& path, TypeNamer typeNamer)
{
    struct statx st {};
    if (path.empty() || !statPath(path, st))
        throw FsError(FsErrorNumber::FileNotFound, path);
    if (namesFolder(path, st))
        throw FsError(FsErrorNumber::FileNotFound, path + " is a folder, not a file");
    const NativeString name = lastName(path);
    Entry entry = entryFromStatx(name.c_str(), st, false);
    return std::unique_ptr<PosixFile>(new PosixFile(path, std::move(typeNamer), std::move(entry)));
}

PosixFile::PosixFile(NativeString path, TypeNamer typeNamer, Entry entry)
    : m_path(std::move(path)), m_typeNamer(std::move(typeNamer)), m_entry(std::move(entry))
{
}

std::string PosixFile::Type() const
{
    return m_typeNamer ? m_typeNamer(m_entry.name) : std::string("File");
}

void PosixFile::SetAttributes(uint32_t attributes)
{
    struct statx st {};
    if (!statPath(m_path, st))
        throw FsError(FsErrorNumber::FileNotFound, m_path);
    const uint32_t present = attributesOf(m_entry.name.c_str(), st, false);
    constexpr uint32_t writable = Attr::ReadOnly | Attr::Hidden | Attr::System | Attr::Archive;
    const uint32_t changed = (attributes ^ present) & writable;
    if (changed == 0)
        return;
    if (S_ISLNK(st.stx_mode))
        throw FsError(FsErrorNumber::PathFileAccessError,
                      m_path + " is a symbolic link: it has no attributes of its own, and "
                               "nothing is written through it");
    if (const char* name = unstorableAttribute(changed))
        throw FsError(FsErrorNumber::PathFileAccessError,
                      std::string("the file system cannot store the ") + name + " attribute");

    const mode_t mode = st.stx_mode & 07777;
    const mode_t wanted = (attributes & Attr::ReadOnly) ? (mode & ~mode_t(0222)) : (mode | S_IWUSR);
    // AT_SYMLINK_NOFOLLOW: a link put in the file's place meanwhile is refused, not followed.
    if (::fchmodat(AT_FDCWD, m_path.c_str(), wanted, AT_SYMLINK_NOFOLLOW) != 0) {
        const int err = errno;
        throw FsError::fromErrno(err, false, m_path + ": " + std::strerror(err));
    }
    m_entry.attributes = (m_entry.attributes & ~Attr::ReadOnly) | (attributes & Attr::ReadOnly);
}

void PosixFile::Copy(const NativeString& destination, bool overwrite)
{
    copyFileSafely(m_path, destination, overwrite);
}

void PosixFile::Delete(bool force)
{
    struct statx st {};
    if (!statPath(m_path, st))
        throw FsError(FsErrorNumber::FileNotFound, m_path);
    if (S_ISDIR(st.stx_mode))
        throw FsError(FsErrorNumber::PathFileAccessError, m_path + " is a folder, not a file");
    if (!force && (attributesOf(m_entry.name.c_str(), st, false) & Attr::ReadOnly))
        throw FsError(FsErrorNumber::PermissionDenied, m_path + " is read-only");
    // unlink removes the name itself: a symbolic link goes, its target stays.
    if (::unlinkat(AT_FDCWD, m_path.c_str(), 0) != 0) {
        const int err = errno;
        throw FsError::fromErrno(err, false, m_path + ": " + std::strerror(err));
    }
}

bool posixFileExists(const NativeString& path)
{
    struct statx st {};
    if (path.empty() ||
        countedStatx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_TYPE, &st) != 0)
        return false;
    return !namesFolder(path, st);
}

} // namespace vennic
