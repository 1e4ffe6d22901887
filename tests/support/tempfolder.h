#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace vennic::test {

/// One fresh temporary folder under the system's temporary folder (TMPDIR, else /tmp), removed
/// with everything in it when the object goes away, however deep the tree or strict its modes.
///
/// Paths are native byte strings (std::string), so names that are not valid UTF-8 work:
/// `tmp.file("caf\xe9.txt", 10)`. Every helper takes a path relative to the folder, creates the
/// missing parent folders (mode 0755) and returns the full path. Modes are set exactly (the
/// umask does not apply). A helper that fails throws std::runtime_error with the reason.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    /// The folder's full path, without a trailing "/".
    const std::string& path() const { return m_path; }
    /// path() + "/" + relative.
    std::string pathOf(const std::string& relative) const;

    /// A file of `size` bytes (a repeating pattern) with the given permission bits.
    std::string file(const std::string& relative, int64_t size = 0, mode_t mode = 0644);
    /// A file holding exactly `content`.
    std::string fileWithContent(const std::string& relative, const std::string& content,
                                mode_t mode = 0644);
    /// A folder (and its parents); an existing folder gets the mode.
    std::string folder(const std::string& relative, mode_t mode = 0755);
    /// A symbolic link at `relative` whose text is `target` (need not exist).
    std::string symlink(const std::string& relative, const std::string& target);
    /// A second name for an existing file.
    std::string hardLink(const std::string& relative, const std::string& existingRelative);
    /// A named pipe.
    std::string fifo(const std::string& relative, mode_t mode = 0644);

    /// Sets the access and modification times of an entry, not following a symbolic link.
    void setTimes(const std::string& relative, std::chrono::system_clock::time_point accessed,
                  std::chrono::system_clock::time_point modified);
    /// Sets the permission bits of an entry.
    void setMode(const std::string& relative, mode_t mode);

    /// Hands the whole tree to uid/gid (lchown of every entry) and makes the folder itself
    /// world-searchable, so a child process running as that user can reach what the test built.
    /// Used with runAsNobody().
    void handOverTo(uid_t uid, gid_t gid);

    /// The content of a file (empty when it cannot be read).
    static std::string readAll(const std::string& fullPath);
    /// True when an entry of that full path exists (a dangling link counts).
    static bool exists(const std::string& fullPath);
    /// The permission bits of an entry, not following a symbolic link; mode_t(-1) when there
    /// is no entry.
    static mode_t modeOf(const std::string& fullPath);
    /// The names in a folder in the order the system gives them, without "." and "..".
    static std::vector<std::string> namesIn(const std::string& fullPath);
    /// How many names in a folder start with `prefix`.
    static int countNamesStartingWith(const std::string& fullPath, const std::string& prefix);

private:
    void makeParents(const std::string& relative);

    std::string m_path;
};

} // namespace vennic::test
