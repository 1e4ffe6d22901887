#pragma once

#include <cstddef>

namespace vennic {

/// Reads the names of an open folder in large batches with getdents64, straight from the
/// kernel's records in a caller's buffer, so no name is copied or allocated while it is looked
/// at. "." and ".." are skipped; names are raw bytes. The folder stays open and owned by the
/// caller.
class DirEntries {
public:
    /// A buffer of 32 to 64 KiB keeps the number of system calls low.
    static constexpr size_t kBufferSize = 48 * 1024;

    DirEntries(int dirFd, char* buffer, size_t size) : m_fd(dirFd), m_buffer(buffer), m_size(size)
    {
    }

    /// Moves to the next name. False at the end of the folder or when a read failed.
    bool next();
    /// The current name, valid until the next call of next().
    const char* name() const { return m_name; }
    /// The current entry's d_type (DT_UNKNOWN when the file system does not say).
    unsigned char type() const { return m_type; }
    /// The errno of a failed read, 0 after a clean end.
    int error() const { return m_error; }

private:
    int m_fd;
    char* m_buffer;
    size_t m_size;
    size_t m_filled = 0;
    size_t m_offset = 0;
    const char* m_name = nullptr;
    unsigned char m_type = 0;
    int m_error = 0;
    bool m_end = false;
};

} // namespace vennic
