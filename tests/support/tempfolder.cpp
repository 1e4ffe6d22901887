#include "support/tempfolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace vennic::test {

namespace {

[[noreturn]] void fail(const std::string& what, const std::string& path)
{
    throw std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

using std::chrono::duration_cast;
using std::chrono::nanoseconds;

timespec toTimespec(std::chrono::system_clock::time_point t)
{
    const auto ns = duration_cast<nanoseconds>(t.time_since_epoch()).count();
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(ns / 1000000000);
    ts.tv_nsec = static_cast<long>(ns % 1000000000);
    if (ts.tv_nsec < 0) {
        ts.tv_nsec += 1000000000;
        --ts.tv_sec;
    }
    return ts;
}

// Removes everything inside the folder open at `dirFd`, relative to that descriptor, so trees
// deeper than PATH_MAX go too. Folders are made searchable first: a test may leave one at 000.
void removeContents(int dirFd)
{
    DIR* dir = fdopendir(dirFd);
    if (!dir) {
        close(dirFd);
        return;
    }
    std::vector<std::string> names;
    while (dirent* e = readdir(dir)) {
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
            names.emplace_back(e->d_name);
    }
    const int fd = dirfd(dir);
    for (const std::string& name : names) {
        struct stat st {};
        if (fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            fchmodat(fd, name.c_str(), 0700, 0);
            const int child = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
            if (child >= 0)
                removeContents(child);
            unlinkat(fd, name.c_str(), AT_REMOVEDIR);
        } else {
            unlinkat(fd, name.c_str(), 0);
        }
    }
    closedir(dir);
}

} // namespace

TempFolder::TempFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = (tmp && *tmp) ? tmp : "/tmp";
    while (pattern.size() > 1 && pattern.back() == '/')
        pattern.pop_back();
    pattern += "/vennic-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data()))
        fail("cannot create temporary folder", pattern);
    m_path = buffer.data();
}

TempFolder::~TempFolder()
{
    chmod(m_path.c_str(), 0700);
    const int fd = open(m_path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    if (fd >= 0)
        removeContents(fd);
    rmdir(m_path.c_str());
}

std::string TempFolder::pathOf(const std::string& relative) const
{
    return relative.empty() ? m_path : m_path + "/" + relative;
}

void TempFolder::makeParents(const std::string& relative)
{
    for (size_t slash = relative.find('/'); slash != std::string::npos;
         slash = relative.find('/', slash + 1)) {
        const std::string parent = pathOf(relative.substr(0, slash));
        if (mkdir(parent.c_str(), 0755) != 0 && errno != EEXIST)
            fail("cannot create folder", parent);
    }
}

std::string TempFolder::file(const std::string& relative, int64_t size, mode_t mode)
{
    std::string content(static_cast<size_t>(size), '\0');
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>('a' + i % 26);
    return fileWithContent(relative, content, mode);
}

std::string TempFolder::fileWithContent(const std::string& relative, const std::string& content,
                                        mode_t mode)
{
    makeParents(relative);
    const std::string full = pathOf(relative);
    const int fd = open(full.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        fail("cannot create file", full);
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = write(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            close(fd);
            fail("cannot write file", full);
        }
        done += static_cast<size_t>(n);
    }
    fchmod(fd, mode);
    close(fd);
    return full;
}

std::string TempFolder::folder(const std::string& relative, mode_t mode)
{
    makeParents(relative);
    const std::string full = pathOf(relative);
    if (mkdir(full.c_str(), 0700) != 0 && errno != EEXIST)
        fail("cannot create folder", full);
    if (chmod(full.c_str(), mode) != 0)
        fail("cannot set mode of", full);
    return full;
}

std::string TempFolder::symlink(const std::string& relative, const std::string& target)
{
    makeParents(relative);
    const std::string full = pathOf(relative);
    if (::symlink(target.c_str(), full.c_str()) != 0)
        fail("cannot create symbolic link", full);
    return full;
}

std::string TempFolder::hardLink(const std::string& relative, const std::string& existingRelative)
{
    makeParents(relative);
    const std::string full = pathOf(relative);
    if (link(pathOf(existingRelative).c_str(), full.c_str()) != 0)
        fail("cannot create hard link", full);
    return full;
}

std::string TempFolder::fifo(const std::string& relative, mode_t mode)
{
    makeParents(relative);
    const std::string full = pathOf(relative);
    if (mkfifo(full.c_str(), 0600) != 0 || chmod(full.c_str(), mode) != 0)
        fail("cannot create named pipe", full);
    return full;
}

void TempFolder::setTimes(const std::string& relative,
                          std::chrono::system_clock::time_point accessed,
                          std::chrono::system_clock::time_point modified)
{
    const std::string full = pathOf(relative);
    const timespec times[2] = {toTimespec(accessed), toTimespec(modified)};
    if (utimensat(AT_FDCWD, full.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
        fail("cannot set times of", full);
}

void TempFolder::setMode(const std::string& relative, mode_t mode)
{
    const std::string full = pathOf(relative);
    if (chmod(full.c_str(), mode) != 0)
        fail("cannot set mode of", full);
}

namespace {

void chownContents(int dirFd, uid_t uid, gid_t gid)
{
    DIR* dir = fdopendir(dirFd);
    if (!dir) {
        close(dirFd);
        return;
    }
    const int fd = dirfd(dir);
    while (dirent* e = readdir(dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
            continue;
        fchownat(fd, e->d_name, uid, gid, AT_SYMLINK_NOFOLLOW);
        struct stat st {};
        const bool isFolder =
            e->d_type == DT_DIR ||
            (e->d_type == DT_UNKNOWN && fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
             S_ISDIR(st.st_mode));
        if (isFolder) {
            const int child = openat(fd, e->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
            if (child >= 0)
                chownContents(child, uid, gid);
        }
    }
    closedir(dir);
}

} // namespace

void TempFolder::handOverTo(uid_t uid, gid_t gid)
{
    if (chown(m_path.c_str(), uid, gid) != 0 || chmod(m_path.c_str(), 0755) != 0)
        fail("cannot hand over", m_path);
    const int fd = open(m_path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    if (fd >= 0)
        chownContents(fd, uid, gid);
}

std::string TempFolder::readAll(const std::string& fullPath)
{
    std::string content;
    const int fd = open(fullPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return content;
    char buffer[65536];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0)
        content.append(buffer, static_cast<size_t>(n));
    close(fd);
    return content;
}

bool TempFolder::exists(const std::string& fullPath)
{
    struct stat st {};
    return lstat(fullPath.c_str(), &st) == 0;
}

mode_t TempFolder::modeOf(const std::string& fullPath)
{
    struct stat st {};
    if (lstat(fullPath.c_str(), &st) != 0)
        return mode_t(-1);
    return st.st_mode & 07777;
}

std::vector<std::string> TempFolder::namesIn(const std::string& fullPath)
{
    std::vector<std::string> names;
    DIR* dir = opendir(fullPath.c_str());
    if (!dir)
        return names;
    while (dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    closedir(dir);
    return names;
}

int TempFolder::countNamesStartingWith(const std::string& fullPath, const std::string& prefix)
{
    int count = 0;
    for (const std::string& name : namesIn(fullPath))
        if (name.rfind(prefix, 0) == 0)
            ++count;
    return count;
}

} // namespace vennic::test
