#pragma once

#include "platform/filesystem.h"

#include <sys/stat.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vennic {

/// Sums the sizes of folder trees: the st_size of every non-folder name beneath each folder
/// (hard links once per name, symbolic links by their own size, never followed), staying on the
/// file system each folder lives on.
///
/// All trees share one stack of folders waiting to be read, worked off by a pool of threads, so
/// one huge tree spreads over every worker as well as many small ones do. The walk is
/// iterative and works relative to open folder descriptors (openat, getdents64, one statx per
/// name), so depth and path length do not matter. Sums do not depend on the order folders are
/// read in, so the result equals that of a serial pass.
class FolderWalker {
public:
    /// Decides from a folder's own statx (type, device and mount id) whether its tree may be
    /// walked at all; pseudo and network file systems are not. Called once per tree, from
    /// any worker.
    using WalkablePredicate = std::function<bool(const struct statx&)>;

    /// What a walk reports while it runs and how it is stopped. Trees are numbered in the order
    /// of the names asked for.
    struct Progress {
        /// Set from any thread: the walk ends soon, and trees not finished come back Stopped.
        const std::atomic<bool>* stop = nullptr;
        /// Bytes counted so far, over all trees.
        std::atomic<int64_t>* bytes = nullptr;
        /// The number of a tree a worker is reading a folder of: its place in `numbering` when
        /// given, else in the names.
        std::atomic<uint32_t>* walking = nullptr;
        const std::vector<size_t>* numbering = nullptr;
        /// Called from a worker when a tree's size is known, once per tree.
        std::function<void(uint32_t tree, const FolderSize& size)> treeDone;
    };

    /// `threads` 0 uses as many workers as the machine has threads.
    explicit FolderWalker(unsigned threads = 0);

    /// The sizes of the folders `names` inside the folder open at `parentFd` (which stays open
    /// and owned by the caller); "." names that folder itself. One result per name, in order:
    /// Unreadable when the folder cannot be opened, NotWalked when `walkable` refuses it,
    /// Partial when some folder or name below could not be read, else Complete.
    /// `trustedDevices`, when given, holds per name the device its folder is already known to
    /// lie on and may be walked on (or 0): such a tree's root needs no statx of its own, so a
    /// listing stats every folder once.
    std::vector<FolderSize> sum(int parentFd, const std::vector<NativeString>& names,
                                const WalkablePredicate& walkable,
                                const std::vector<uint64_t>& trustedDevices = {},
                                const Progress* progress = nullptr) const;

    unsigned threads() const { return m_threads; }

private:
    unsigned m_threads;
};

} // namespace vennic
