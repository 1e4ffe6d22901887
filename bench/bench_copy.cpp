// Copies one file the way the "Copy" button does: into a temporary of the destination folder,
// data regions only, flushed to disk, then renamed into place. Compare with `cp --sparse=auto`.
//   bench_copy make <folder>          writes <folder>/dense.bin (2 GiB of data) and
//                                     <folder>/sparse.bin (2 GiB with a 1 MiB run of data
//                                     every 64 MiB)
//   bench_copy <source> <destination> [--named]
//                                     copies, replacing the destination (with --named through
//                                     a named temporary, as where unnamed files are not offered)
#include "platform/posix/filecopy_posix.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr off_t kSize = off_t(2) << 30;

bool writeFile(const std::string& path, bool sparse)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    std::vector<char> block(1 << 20);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = char('a' + i % 26);
    const off_t step = sparse ? off_t(64) << 20 : off_t(block.size());
    bool ok = true;
    for (off_t at = 0; ok && at < kSize; at += step)
        ok = ::pwrite(fd, block.data(), block.size(), at) == ssize_t(block.size());
    ok = ok && ::ftruncate(fd, kSize) == 0;
    return ::close(fd) == 0 && ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "make") == 0) {
        const std::string folder = argv[2];
        if (!writeFile(folder + "/dense.bin", false) || !writeFile(folder + "/sparse.bin", true)) {
            std::perror("make");
            return 1;
        }
        return 0;
    }
    if (argc != 3 && !(argc == 4 && std::strcmp(argv[3], "--named") == 0)) {
        std::fprintf(stderr, "usage: %s make <folder> | %s <source> <destination>\n", argv[0],
                     argv[0]);
        return 2;
    }
    try {
        vennic::CopyOptions options;
        options.unnamedTemporary = argc == 3;
        vennic::copyFileSafely(argv[1], argv[2], true, options);
    } catch (const vennic::FsError& error) {
        std::fprintf(stderr, "%s%d: %s\n", error.description().c_str(), error.number(),
                     error.detail().c_str());
        return 1;
    }
    return 0;
}
