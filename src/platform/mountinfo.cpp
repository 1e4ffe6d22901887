#include "platform/mountinfo.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string_view>
#include <sys/stat.h>
#include <unordered_set>

namespace vennic {

namespace {

/// The kernel writes a space, tab, newline and backslash in a path as a backslash and three
/// octal digits ("\040"); any other backslash stays as it is.
std::string decodeOctalEscapes(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size()) {
            const char a = text[i + 1], b = text[i + 2], c = text[i + 3];
            if (a >= '0' && a <= '3' && b >= '0' && b <= '7' && c >= '0' && c <= '7') {
                out.push_back(static_cast<char>((a - '0') * 64 + (b - '0') * 8 + (c - '0')));
                i += 3;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && line[pos] == ' ')
            ++pos;
        if (pos >= line.size())
            break;
        size_t end = line.find(' ', pos);
        if (end == std::string_view::npos)
            end = line.size();
        fields.push_back(line.substr(pos, end - pos));
        pos = end;
    }
    return fields;
}

bool parseUnsigned(std::string_view text, uint64_t& value)
{
    if (text.empty())
        return false;
    uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + static_cast<uint64_t>(c - '0');
    }
    value = v;
    return true;
}

/// One line: "id parent major:minor root mount-point options [optional fields] - type source
/// super-options". The optional fields run up to the lone "-".
bool parseLine(std::string_view line, MountEntry& entry)
{
    const auto fields = splitFields(line);
    if (fields.size() < 7)
        return false;
    size_t dash = 6;
    while (dash < fields.size() && fields[dash] != "-")
        ++dash;
    if (dash + 1 >= fields.size())
        return false;
    uint64_t major = 0, minor = 0;
    const auto devices = fields[2];
    const size_t colon = devices.find(':');
    if (!parseUnsigned(fields[0], entry.mountId) || !parseUnsigned(fields[1], entry.parentId) ||
        colon == std::string_view::npos || !parseUnsigned(devices.substr(0, colon), major) ||
        !parseUnsigned(devices.substr(colon + 1), minor))
        return false;
    entry.major = static_cast<unsigned>(major);
    entry.minor = static_cast<unsigned>(minor);
    entry.root = decodeOctalEscapes(fields[3]);
    entry.mountPoint = decodeOctalEscapes(fields[4]);
    entry.fsType = decodeOctalEscapes(fields[dash + 1]);
    entry.source = dash + 2 < fields.size() ? decodeOctalEscapes(fields[dash + 2]) : std::string();
    entry.superOptions =
        dash + 3 < fields.size() ? decodeOctalEscapes(fields[dash + 3]) : std::string();
    return true;
}

/// The prefixes of an absolute path at each component boundary: "/", "/a", "/a/b".
std::vector<std::string> componentPrefixes(const std::string& path)
{
    std::vector<std::string> prefixes{"/"};
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            if (path[i - 1] != '/')
                prefixes.push_back(path.substr(0, i));
        }
    }
    return prefixes;
}

/// True when `prefix` is `path` itself or an ancestor of it by whole components.
bool isComponentPrefix(const std::string& prefix, const std::string& path)
{
    if (prefix == "/")
        return !path.empty() && path.front() == '/';
    if (path.compare(0, prefix.size(), prefix) != 0)
        return false;
    return path.size() == prefix.size() || path[prefix.size()] == '/';
}

std::string withoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool isUnder(const std::string& path, const char* folder)
{
    return isComponentPrefix(folder, path) && path != folder;
}

} // namespace

MountTable MountTable::read(const std::string& mountInfoFile)
{
    std::ifstream in(mountInfoFile, std::ios::binary);
    if (!in)
        return {};
    std::ostringstream text;
    text << in.rdbuf();
    return parse(text.str());
}

MountTable MountTable::parse(const std::string& text)
{
    MountTable table;
    std::string_view rest(text);
    while (!rest.empty()) {
        size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        MountEntry entry;
        if (parseLine(line, entry))
            table.m_entries.push_back(std::move(entry));
    }
    table.index();
    return table;
}

void MountTable::index()
{
    m_children.clear();
    std::unordered_set<uint64_t> ids;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        m_children[{m_entries[i].parentId, m_entries[i].mountPoint}] = i;
        ids.insert(m_entries[i].mountId);
    }
    // The root is the "/" mount whose parent lies outside this namespace's table.
    m_root = m_entries.size();
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const MountEntry& e = m_entries[i];
        if (e.mountPoint == "/" && (e.parentId == e.mountId || !ids.count(e.parentId))) {
            m_root = i;
            break;
        }
    }
}

const MountEntry* MountTable::rootMount() const
{
    return m_root < m_entries.size() ? &m_entries[m_root] : nullptr;
}

const MountEntry* MountTable::resolve(const std::string& path) const
{
    const MountEntry* current = rootMount();
    if (!current) {
        // A table without a tree of parents: the last mount on the longest prefix holds it.
        const MountEntry* best = nullptr;
        for (const auto& e : m_entries) {
            if (isComponentPrefix(e.mountPoint, path) &&
                (!best || e.mountPoint.size() >= best->mountPoint.size()))
                best = &e;
        }
        return best;
    }
    for (const auto& prefix : componentPrefixes(path)) {
        // Mounts stack: a mount on the same point whose parent is the current one hides it.
        for (size_t guard = 0; guard <= m_entries.size(); ++guard) {
            auto it = m_children.find({current->mountId, prefix});
            if (it == m_children.end() || &m_entries[it->second] == current)
                break;
            current = &m_entries[it->second];
        }
    }
    return current;
}

const MountEntry* MountTable::byMountId(uint64_t id) const
{
    for (const auto& e : m_entries) {
        if (e.mountId == id)
            return &e;
    }
    return nullptr;
}

const MountEntry* MountTable::byPathPrefix(const std::string& path) const
{
    if (path.empty() || path.front() != '/')
        return nullptr;
    return resolve(withoutTrailingSlashes(path));
}

const MountEntry* MountTable::byMountPoint(const std::string& path) const
{
    if (path.empty() || path.front() != '/')
        return nullptr;
    const std::string point = withoutTrailingSlashes(path);
    const MountEntry* found = resolve(point);
    return found && found->mountPoint == point ? found : nullptr;
}

// clang-format off
bool isPseudoFileSystem(const std::string& fsType)
{
    static const std::unordered_set<std::string> pseudo = {
        "proc", "sysfs", "cgroup", "cgroup2", "devpts", "devtmpfs", "mqueue", "debugfs",
        "tracefs", "securityfs", "pstore", "bpf", "configfs", "fusectl", "hugetlbfs", "autofs",
        "binfmt_misc", "efivarfs", "selinuxfs", "smackfs", "apparmorfs", "rpc_pipefs", "nfsd",
        "nsfs", "sockfs", "pipefs", "anon_inodefs", "cpuset", "usbfs", "xenfs", "resctrl",
        "fuse.gvfsd-fuse", "fuse.portal", "fuse.lxcfs"};
    return pseudo.count(fsType) != 0;
}

bool isNetworkFileSystem(const std::string& fsType)
{
    static const std::unordered_set<std::string> network = {
        "nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "9p", "afs", "ceph", "glusterfs",
        "lustre", "gpfs", "beegfs", "orangefs", "coda", "davfs", "sshfs", "vboxsf",
        "fuse.sshfs", "fuse.rclone", "fuse.s3fs", "fuse.glusterfs", "fuse.ceph-fuse",
        "fuse.davfs2", "fuse.curlftpfs", "fuse.gcsfuse", "fuse.goofys", "fuse.juicefs",
        "fuse.smbnetfs", "fuse.moosefs", "fuse.lizardfs", "fuse.blobfuse2", "fuse.geesefs",
        "fuse.mountpoint-s3"};
    return network.count(fsType) != 0;
}
// clang-format on

std::vector<DriveListEntry> userDrives(const MountTable& table, const DriveClassifier& classifier)
{
    std::vector<DriveListEntry> drives;
    for (const auto& e : table.entries()) {
        if (isPseudoFileSystem(e.fsType))
            continue;
        // Only the mount a path reaches is listed: stacked and overmounted ones are skipped,
        // and a mount point mounted twice shows once, as its last mount.
        if (table.byMountPoint(e.mountPoint) != &e)
            continue;
        if (e.fsType == "squashfs" &&
            (isUnder(e.mountPoint, "/snap") || isUnder(e.mountPoint, "/var/lib/snapd/snap")))
            continue;
        // The system's own memory file systems (/dev/shm, /run, /run/user/…) are no drives;
        // one elsewhere, such as /tmp, is something a user may want to look at.
        const bool inSystemFolder =
            isComponentPrefix("/dev", e.mountPoint) || isComponentPrefix("/run", e.mountPoint) ||
            isComponentPrefix("/sys", e.mountPoint) || isComponentPrefix("/proc", e.mountPoint);
        if ((e.fsType == "tmpfs" || e.fsType == "ramfs") && inSystemFolder)
            continue;
        if (!isNetworkFileSystem(e.fsType)) {
            // A bind mount of a single file (such as a container's /etc/hosts) is no drive.
            // Only local file systems are looked at: a network one could hang the call.
            struct stat st {};
            if (lstat(e.mountPoint.c_str(), &st) == 0 && !S_ISDIR(st.st_mode))
                continue;
        }
        drives.push_back({e.mountPoint, e.fsType, classifier.driveType(e)});
    }
    std::sort(drives.begin(), drives.end(), [](const DriveListEntry& a, const DriveListEntry& b) {
        if ((a.path == "/") != (b.path == "/"))
            return a.path == "/";
        return a.path < b.path;
    });
    return drives;
}

} // namespace vennic
