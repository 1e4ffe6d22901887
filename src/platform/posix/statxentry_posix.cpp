#include "platform/posix/statxentry_posix.h"

#include "platform/posix/statcounter.h"

#include <sys/sysmacros.h>

namespace vennic {

FileTime fileTimeOf(const struct statx_timestamp& t)
{
    const auto since = std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
    return FileTime(std::chrono::duration_cast<FileTime::duration>(since));
}

FileTime createdTimeOf(const struct statx& st)
{
    if ((st.stx_mask & STATX_BTIME) && (st.stx_btime.tv_sec != 0 || st.stx_btime.tv_nsec != 0))
        return fileTimeOf(st.stx_btime);
    return fileTimeOf(st.stx_mtime);
}

uint64_t deviceOf(const struct statx& st)
{
    return makedev(st.stx_dev_major, st.stx_dev_minor);
}

uint32_t attributesOf(const char* name, const struct statx& st, bool linkToFolder)
{
    uint32_t bits = 0;
    const mode_t type = st.stx_mode & S_IFMT;
    // A link's own permission bits mean nothing, so a link is never read-only.
    if (type != S_IFLNK && !(st.stx_mode & S_IWUSR))
        bits |= Attr::ReadOnly;
    if (name[0] == '.')
        bits |= Attr::Hidden;
    if (type == S_IFCHR || type == S_IFBLK || type == S_IFIFO || type == S_IFSOCK)
        bits |= Attr::System;
    if (type == S_IFDIR || (type == S_IFLNK && linkToFolder))
        bits |= Attr::Directory;
    if (type == S_IFLNK)
        bits |= Attr::Alias;
    if (st.stx_attributes & STATX_ATTR_COMPRESSED)
        bits |= Attr::Compressed;
    return bits;
}

bool linkLeadsToFolder(int dirFd, const char* name)
{
    struct statx target {};
    return countedStatx(dirFd, name, 0, STATX_TYPE, &target) == 0 && S_ISDIR(target.stx_mode);
}

const char* unstorableAttribute(uint32_t changed)
{
    if (changed & Attr::Hidden)
        return "hidden (a name beginning with \".\" is what makes a file hidden)";
    if (changed & Attr::System)
        return "system";
    if (changed & Attr::Archive)
        return "archive";
    return nullptr;
}

Entry entryFromStatx(const char* name, const struct statx& st, bool linkToFolder)
{
    Entry entry;
    entry.name = name;
    entry.size = static_cast<int64_t>(st.stx_size);
    entry.created = createdTimeOf(st);
    entry.accessed = fileTimeOf(st.stx_atime);
    entry.modified = fileTimeOf(st.stx_mtime);
    entry.attributes = attributesOf(name, st, linkToFolder);
    entry.isSymlink = S_ISLNK(st.stx_mode);
    entry.isFolder = S_ISDIR(st.stx_mode) || (entry.isSymlink && linkToFolder);
    entry.device = deviceOf(st);
    entry.inode = st.stx_ino;
    if ((st.stx_mask & STATX_BTIME) && (st.stx_btime.tv_sec != 0 || st.stx_btime.tv_nsec != 0))
        entry.birth = st.stx_btime.tv_sec * 1'000'000'000LL + st.stx_btime.tv_nsec;
    return entry;
}

} // namespace vennic
