// Lists the root of a tree with empty patterns, as a pane does: every top-level folder sized.
//   bench_foldersizes <dir> [threads]
// Prints the elapsed time of the listing, the sum of the folder rows' sizes plus the top-level
// files (to compare with `find -xdev ! -type d -printf '%s\n'` summed) and, in a build with
// VENNIC_COUNT_STATS, the number of stat calls.
#include "benchsupport.h"
#include "listing/getlisting.h"
#include "listing/typenames.h"
#include "platform/filesystem.h"
#include "platform/prompts.h"

#if VENNIC_COUNT_STATS
#include "platform/posix/statcounter.h"
#endif

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <dir> [threads]\n", argv[0]);
        return 2;
    }
    QCoreApplication app(argc, argv);
    vennic::TypeNames types;
    vennic::bench::ConsolePrompts prompts;
    auto fs = vennic::makeSystemFileSystem(types.namer());

    vennic::ListingRequest request;
    request.path = argv[1];
    request.options.sizeThreads = argc > 2 ? unsigned(std::atoi(argv[2])) : 2;
    request.driveTypeNames = {"Unknown",      "Removable Media", "Fixed Disk",
                              "Remote Media", "CDRom",           "RAMDisk"};

    const auto start = std::chrono::steady_clock::now();
    const auto result = vennic::runListing(request, *fs, types, prompts);
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    long long total = 0;
    long long unknownFolders = 0;
    for (const auto& row : result.rows) {
        if (row.flags & vennic::PaneRow::SizeUnknown)
            ++unknownFolders;
        else
            total += row.size;
    }
    std::printf("rows %zu, sum of sizes %lld, folders without a size %lld, %.3f s\n",
                result.rows.size(), total, unknownFolders, seconds);
    std::printf("%s\n", qPrintable(result.countLine));
#if VENNIC_COUNT_STATS
    std::printf("stat calls %llu\n", static_cast<unsigned long long>(vennic::statCallCount()));
#endif
    return result.finished ? 0 : 1;
}
