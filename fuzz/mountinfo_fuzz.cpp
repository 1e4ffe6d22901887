// Fuzzes the mount table reader with arbitrary bytes as the text of /proc/self/mountinfo. The
// kernel writes the table, but mount points, sources and labels come from whoever mounts a
// medium or a FUSE file system, and the escapes of their spaces, tabs, line ends and
// backslashes ("\040") are decoded here. Besides the sanitizers' checks: the entries read,
// written again as the kernel writes them, read back the same; any text written that way in
// every text field reads back as itself; every entry is found by its mount id; and the mount
// that holds a path is mounted on the path or on one of its parents.
#include "platform/mountinfo.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

using vennic::MountEntry;
using vennic::MountTable;

namespace {

[[noreturn]] void fail(const char* what, const std::string& text)
{
    std::fprintf(stderr, "mountinfo_fuzz: %s\n%s\n", what, text.c_str());
    std::abort();
}

// A text as the kernel writes it in the table: a space, tab, line feed and backslash as a
// backslash and three octal digits.
std::string escaped(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\\') {
            const auto u = static_cast<unsigned char>(c);
            out += '\\';
            out += char('0' + (u >> 6));
            out += char('0' + ((u >> 3) & 7));
            out += char('0' + (u & 7));
        } else {
            out += c;
        }
    }
    return out;
}

std::string lineOf(const MountEntry& e)
{
    std::string line = std::to_string(e.mountId) + ' ' + std::to_string(e.parentId) + ' ' +
                       std::to_string(e.major) + ':' + std::to_string(e.minor) + ' ' +
                       escaped(e.root) + ' ' + escaped(e.mountPoint) + " rw - " + escaped(e.fsType);
    // The reader leaves a missing source or super-options field empty, and an empty field is
    // no field at all.
    if (!e.source.empty())
        line += ' ' + escaped(e.source);
    if (!e.superOptions.empty())
        line += ' ' + escaped(e.superOptions);
    return line + '\n';
}

bool sameEntry(const MountEntry& a, const MountEntry& b)
{
    return a.mountId == b.mountId && a.parentId == b.parentId && a.major == b.major &&
           a.minor == b.minor && a.root == b.root && a.mountPoint == b.mountPoint &&
           a.fsType == b.fsType && a.source == b.source && a.superOptions == b.superOptions;
}

// Whether a mount on `point` holds `path` by whole components: "/a" holds "/a" and "/a/b",
// not "/ab".
bool holds(const std::string& point, const std::string& path)
{
    if (point == "/")
        return !path.empty() && path.front() == '/';
    return path.compare(0, point.size(), point) == 0 &&
           (path.size() == point.size() || path[point.size()] == '/');
}

void checkHolder(const MountTable& table, const std::string& path)
{
    if (const MountEntry* holder = table.byPathPrefix(path);
        holder && !holds(holder->mountPoint, path))
        fail("the mount found for a path is not on the path or one of its parents",
             path + " on " + holder->mountPoint);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const MountTable table = MountTable::parse(text);

    std::string again;
    for (const MountEntry& e : table.entries()) {
        const MountEntry* found = table.byMountId(e.mountId);
        if (!found || found->mountId != e.mountId)
            fail("an entry read is not found by its mount id", e.mountPoint);
        if (!e.mountPoint.empty() && e.mountPoint.front() == '/') {
            checkHolder(table, e.mountPoint);
            checkHolder(table, e.mountPoint + "/x");
        }
        again += lineOf(e);
    }
    const MountTable reread = MountTable::parse(again);
    if (reread.entries().size() != table.entries().size())
        fail("entries written again as the kernel writes them read as more or fewer", again);
    for (size_t i = 0; i < table.entries().size(); ++i)
        if (!sameEntry(reread.entries()[i], table.entries()[i]))
            fail("an entry written again as the kernel writes it reads back changed", again);

    // The whole input as each text of one line, escaped as the kernel escapes it.
    if (!text.empty()) {
        const std::string field = escaped(text);
        const MountTable one = MountTable::parse("1 0 8:1 " + field + ' ' + field + " rw - " +
                                                 field + ' ' + field + ' ' + field + '\n');
        if (one.entries().size() != 1)
            fail("a line of escaped texts was not read as one entry", text);
        const MountEntry& e = one.entries().front();
        if (e.root != text || e.mountPoint != text || e.fsType != text || e.source != text ||
            e.superOptions != text)
            fail("an escaped text does not read back as itself", text);
    }
    return 0;
}
