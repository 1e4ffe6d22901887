#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdint>

namespace vennic {

/// The number of statx calls made by the file-system service since the last reset. It counts
/// only in builds with VENNIC_COUNT_STATS (the benchmarks); elsewhere it stays 0.
uint64_t statCallCount();
void resetStatCallCount();

namespace detail {
void countStatCall();
} // namespace detail

/// statx, counted in benchmark builds. Every statx of the POSIX service goes through here.
inline int countedStatx(int dirFd, const char* path, int flags, unsigned mask, struct statx* out)
{
#if VENNIC_COUNT_STATS
    detail::countStatCall();
#endif
    return ::statx(dirFd, path, flags, mask, out);
}

} // namespace vennic
