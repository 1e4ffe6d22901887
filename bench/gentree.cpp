// Generates the benchmark folder trees, reproducibly from a seed:
//   gentree big <dir> [seed]   about 200,000 files in 20,000 folders of depth 1 to 12, with hard
//                              links, symbolic links (to "/", "/proc", dangling, to folders),
//                              sparse files and a fixed mix of about 20 extensions;
//   gentree flat <dir> [seed]  one folder of 100,000 files and 50 sub-folders;
//   gentree flat1m <dir> [seed] the same with 1,000,000 files;
//   gentree small <dir> [seed] one folder of 90 files and 10 small sub-folders.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

const char* const kExtensions[] = {"txt", "cpp", "h",   "jpg", "png",    "pdf", "doc",
                                   "xls", "zip", "gz",  "mp3", "json",   "xml", "html",
                                   "css", "js",  "log", "csv", "tar.gz", "md"};

void die(const std::string& what)
{
    std::perror(what.c_str());
    std::exit(1);
}

void makeDir(const std::string& path)
{
    if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST)
        die("mkdir " + path);
}

/// Writes a file of `size` bytes; sparse files get only their length.
void makeFile(const std::string& path, long size, bool sparse)
{
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        die("open " + path);
    if (sparse) {
        if (ftruncate(fd, size) != 0)
            die("ftruncate " + path);
    } else {
        static const std::string block(65536, 'v');
        long left = size;
        while (left > 0) {
            const long n = left < static_cast<long>(block.size()) ? left : block.size();
            if (write(fd, block.data(), n) != n)
                die("write " + path);
            left -= n;
        }
    }
    close(fd);
}

struct Generator {
    std::mt19937_64 rng;
    explicit Generator(unsigned long seed) : rng(seed) {}

    long pick(long lo, long hi) { return std::uniform_int_distribution<long>(lo, hi)(rng); }
    std::string extension() { return kExtensions[pick(0, std::size(kExtensions) - 1)]; }
    /// File sizes: mostly small, some medium, rarely large.
    long fileSize()
    {
        const long r = pick(0, 999);
        if (r < 50)
            return 0;
        if (r < 900)
            return pick(1, 2048);
        if (r < 995)
            return pick(2049, 65536);
        return pick(65537, 4 << 20);
    }
};

void big(const std::string& root, unsigned long seed)
{
    Generator g(seed);
    makeDir(root);
    struct Dir {
        std::string path;
        int depth;
    };
    std::vector<Dir> dirs;
    const int kTop = 24;
    for (int i = 0; i < kTop; ++i) {
        dirs.push_back({root + "/top" + std::to_string(i), 1});
        makeDir(dirs.back().path);
    }
    while (dirs.size() < 20000) {
        const Dir& parent = dirs[g.pick(0, dirs.size() - 1)];
        if (parent.depth >= 12)
            continue;
        Dir d{parent.path + "/d" + std::to_string(dirs.size()), parent.depth + 1};
        makeDir(d.path);
        dirs.push_back(d);
    }
    std::vector<std::string> files;
    for (int i = 0; i < 200000; ++i) {
        const bool atTop = i < 40;
        const std::string folder = atTop ? root : dirs[g.pick(0, dirs.size() - 1)].path;
        const std::string path = folder + "/f" + std::to_string(i) + "." + g.extension();
        const bool sparse = g.pick(0, 199) == 0;
        makeFile(path, sparse ? g.pick(1 << 20, 64 << 20) : g.fileSize(), sparse);
        files.push_back(path);
    }
    // Hard links: each name counts, so totals exceed du's.
    for (int i = 0; i < 2000; ++i) {
        const std::string& target = files[g.pick(0, files.size() - 1)];
        const std::string link = dirs[g.pick(0, dirs.size() - 1)].path + "/hl" + std::to_string(i);
        if (::link(target.c_str(), link.c_str()) != 0)
            die("link " + link);
    }
    // Symbolic links: counted by their own size, never followed.
    const char* const targets[] = {"/", "/proc", "/nonexistent/dangling", ".."};
    for (int i = 0; i < 1000; ++i) {
        const std::string link = dirs[g.pick(0, dirs.size() - 1)].path + "/sl" + std::to_string(i);
        const std::string target =
            i % 5 == 4 ? dirs[g.pick(0, dirs.size() - 1)].path : std::string(targets[i % 4]);
        if (symlink(target.c_str(), link.c_str()) != 0)
            die("symlink " + link);
    }
    // At the top only a dangling link: a link to a folder there would be a folder row without
    // a size, which `find` still counts by the link's own size.
    if (symlink("/nonexistent/dangling", (root + "/toplink").c_str()) != 0)
        die("symlink toplink");
}

void flat(const std::string& root, unsigned long seed, int files = 100000)
{
    Generator g(seed);
    makeDir(root);
    for (int i = 0; i < 50; ++i) {
        const std::string d = root + "/sub" + std::to_string(i);
        makeDir(d);
        for (int j = 0; j < 5; ++j)
            makeFile(d + "/x" + std::to_string(j) + ".txt", g.fileSize(), false);
    }
    for (int i = 0; i < files; ++i)
        makeFile(root + "/file" + std::to_string(i) + "." + g.extension(), g.pick(0, 4096), true);
}

void small(const std::string& root, unsigned long seed)
{
    Generator g(seed);
    makeDir(root);
    for (int i = 0; i < 10; ++i) {
        const std::string d = root + "/folder" + std::to_string(i);
        makeDir(d);
        for (int j = 0; j < 10; ++j)
            makeFile(d + "/n" + std::to_string(j) + ".txt", g.fileSize(), false);
    }
    for (int i = 0; i < 90; ++i)
        makeFile(root + "/file" + std::to_string(i) + "." + g.extension(), g.fileSize(), false);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s big|flat|flat1m|small <dir> [seed]\n", argv[0]);
        return 2;
    }
    const std::string kind = argv[1];
    const unsigned long seed = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 20261208;
    if (kind == "big")
        big(argv[2], seed);
    else if (kind == "flat")
        flat(argv[2], seed);
    else if (kind == "flat1m")
        flat(argv[2], seed, 1000000);
    else if (kind == "small")
        small(argv[2], seed);
    else {
        std::fprintf(stderr, "unknown tree kind %s\n", kind.c_str());
        return 2;
    }
    return 0;
}
