#pragma once

#include "platform/filesystem.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vennic::test {

/// An in-memory FileSystem for what a real one cannot produce on a test machine: a creation
/// time of 1 January 1980, a CD or network drive, a full, compressed or not-ready drive, a
/// volume-name write, a chosen folder size or failure. Paths use "/" and are kept without a
/// trailing "/" (except the root "/"). Folders and files keep the order they were added in.
/// Every operation is recorded (`calls()`), and any of them can be made to fail with an error
/// number for one path (`failOn`).
class FakeFileSystem : public FileSystem {
public:
    /// The operations that can be made to fail.
    enum class Op {
        DrivePart,
        GetDrive,
        GetFolder,
        GetFile,
        DriveProperties, ///< the size, serial number and name reads of a drive (by mount point)
        SetVolumeName,
        SubFolders,
        Files,
        FolderSize,     ///< Folder::Size, and the sub-folder's state in SubFolderSizes
        SubFolderSizes, ///< the whole call, on the parent folder's path
        SetAttributes,
        Copy, ///< by the source path
        Delete,
    };

    struct DriveState {
        NativeString path; ///< the mount point
        int driveType = DriveKind::Fixed;
        std::string fileSystem = "ext4";
        int64_t totalSize = 0;
        int64_t freeSpace = 0;
        int64_t availableSpace = 0;
        int32_t serialNumber = 0;
        std::string volumeName;
        std::string shareName;
        bool ready = true;
    };

    /// A file system with the drive "/" (a fixed ext4 disk) and its root folder.
    FakeFileSystem();

    /// A drive at `mountPoint`, with its root folder. Returns its state for further changes.
    DriveState& addDrive(const NativeString& mountPoint, int driveType = DriveKind::Fixed,
                         const std::string& fileSystem = "ext4", int64_t totalSize = 0,
                         int64_t freeSpace = 0);
    DriveState& drive(const NativeString& mountPoint);

    /// A folder and any missing parents. Returns its entry for changes of times or attributes.
    Entry& addFolder(const NativeString& path);
    /// A file (its parents are made as needed) of `size` bytes.
    Entry& addFile(const NativeString& path, int64_t size = 0);
    /// The entry at `path`; throws std::out_of_range when there is none.
    Entry& entry(const NativeString& path);
    bool exists(const NativeString& path) const;
    /// The names in a folder, in their order.
    std::vector<NativeString> names(const NativeString& folder) const;

    /// Chooses what the size of a folder reports instead of the sum of the files beneath it.
    void setFolderSize(const NativeString& path, FolderSize size);
    /// Holds the walk of the folder at `path` in SubFolderSizes until it is released (or the
    /// walk is stopped: it then comes back Stopped with `countedSoFar` bytes). Thread-safe.
    void holdSize(const NativeString& path, int64_t countedSoFar = 0);
    void releaseSize(const NativeString& path);
    /// Holds the first read of the entries of the folder at `path` until it is released (or
    /// stopped through the folder's ReadProgress: it then gives its first `readSoFar` entries
    /// and says it was stopped, and the next read is not held). Thread-safe.
    void holdRead(const NativeString& path, size_t readSoFar);
    void releaseRead(const NativeString& path);
    /// Makes `op` on `path` throw FsError with `number` until cleared.
    void failOn(Op op, const NativeString& path, int number);
    void clearFailures();

    /// Every operation so far, as "<operation> <path>" texts, such as "GetFolder /data".
    std::vector<std::string> calls() const;
    /// The volume names written with a successful SetVolumeName, in order.
    std::vector<std::string> volumeNamesWritten() const;

    /// A point in local time (the test's time zone).
    static FileTime localTime(int year, int month, int day, int hour = 0, int minute = 0,
                              int second = 0);
    /// The time new entries get: 8 December 2026 7:29:42 local time.
    static FileTime defaultTime();

    std::unique_ptr<Drive> GetDrive(const NativeString& driveName) override;
    std::unique_ptr<Folder> GetFolder(const NativeString& path) override;
    std::unique_ptr<File> GetFile(const NativeString& path) override;
    std::unique_ptr<FolderHandle> OpenListedFolder(const FolderIdentity& listed) override;
    bool FileExists(const NativeString& path) override;
    std::vector<DriveListEntry> Drives() override;
    NativeString DrivePart(const NativeString& path) override;

    // Used by the fake's drive, folder and file objects.
    struct Node {
        Entry entry;
        std::vector<NativeString> children; ///< names, in order
        std::optional<FolderSize> size;
    };
    void record(const std::string& operation, const NativeString& path) const;
    void check(Op op, const NativeString& path) const;
    Node& node(const NativeString& path);
    const Node* find(const NativeString& path) const;
    FolderSize folderSize(const NativeString& path) const;
    std::optional<int64_t> heldSize(const NativeString& path) const;
    /// Waits while the read of `path` is held; the entries read when it was stopped, or
    /// nothing when it was released.
    std::optional<size_t> waitWhileReadHeld(const NativeString& path, ReadProgress* progress) const;
    /// Waits a moment for a release.
    void waitForRelease() const;
    void writeVolumeName(DriveState& drive, const std::string& name);
    void copyFile(const NativeString& source, const NativeString& destination, bool overwrite);
    void removeFile(const NativeString& path, bool force);

    static NativeString normalized(const NativeString& path);
    static NativeString parentOf(const NativeString& path);
    static NativeString nameOf(const NativeString& path);
    static NativeString join(const NativeString& folder, const NativeString& name);

private:
    Node& makeNode(const NativeString& path, bool isFolder);

    std::map<NativeString, Node> m_nodes;
    std::deque<DriveState> m_drives;
    std::map<std::pair<Op, NativeString>, int> m_failures;
    std::vector<std::string> m_written;
    mutable std::mutex m_holdMutex;
    mutable std::condition_variable m_released;
    std::map<NativeString, int64_t> m_held;
    mutable std::map<NativeString, size_t> m_heldReads;
    mutable std::mutex m_callsMutex;
    mutable std::vector<std::string> m_calls;
    uint64_t m_nextInode = 100;
};

} // namespace vennic::test
