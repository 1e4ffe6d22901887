#include "platform/posix/direntries_posix.h"

#include <dirent.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>

namespace vennic {

namespace {

// The record the kernel writes for getdents64; glibc's dirent64 has the same layout but the
// fields are read through offsets so nothing depends on that.
constexpr size_t kRecLenOffset = offsetof(struct dirent64, d_reclen);
constexpr size_t kTypeOffset = offsetof(struct dirent64, d_type);
constexpr size_t kNameOffset = offsetof(struct dirent64, d_name);

bool isDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

} // namespace

bool DirEntries::next()
{
    for (;;) {
        if (m_offset >= m_filled) {
            if (m_end)
                return false;
            long n;
            do {
                n = syscall(SYS_getdents64, m_fd, m_buffer, m_size);
            } while (n < 0 && errno == EINTR);
            if (n <= 0) {
                m_end = true;
                m_error = n < 0 ? errno : 0;
                return false;
            }
            m_filled = static_cast<size_t>(n);
            m_offset = 0;
        }
        const char* record = m_buffer + m_offset;
        unsigned short recLen;
        __builtin_memcpy(&recLen, record + kRecLenOffset, sizeof recLen);
        m_offset += recLen;
        m_name = record + kNameOffset;
        m_type = static_cast<unsigned char>(record[kTypeOffset]);
        if (!isDotOrDotDot(m_name))
            return true;
    }
}

} // namespace vennic
