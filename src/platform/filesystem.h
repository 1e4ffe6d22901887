#pragma once

#include "platform/fserror.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vennic {

/// A name or path as the system spells it: bytes on POSIX, which need not be valid UTF-8.
using NativeString = std::filesystem::path::string_type;
/// A point in time of a file-system entry.
using FileTime = std::chrono::system_clock::time_point;

/// Attribute bits of folders and files.
namespace Attr {
constexpr uint32_t ReadOnly = 1;
constexpr uint32_t Hidden = 2;
constexpr uint32_t System = 4;
constexpr uint32_t Volume = 8;
constexpr uint32_t Directory = 16;
constexpr uint32_t Archive = 32;
constexpr uint32_t Alias = 1024;
constexpr uint32_t Compressed = 2048;
} // namespace Attr

/// Drive type values; they index the drive-type names of the main window.
namespace DriveKind {
constexpr int Unknown = 0;
constexpr int Removable = 1;
constexpr int Fixed = 2;
constexpr int Remote = 3;
constexpr int CdRom = 4;
constexpr int RamDisk = 5;
} // namespace DriveKind

/// One sub-folder or file of a folder with the values of a single stat call. A symbolic link
/// to a folder is a folder entry (attributes D and a) whose size is never followed. When the
/// stat call failed (a folder that may be read but not searched gives names and kinds only),
/// `statFailed` says so: size, times and attributes are then unknown, not zero.
struct Entry {
    NativeString name;
    int64_t size = 0;
    FileTime created;
    FileTime accessed;
    FileTime modified;
    uint32_t attributes = 0;
    bool isFolder = false;
    bool isSymlink = false;
    bool statFailed = false; // beside the other flags: a listing holds millions of entries
    uint64_t device = 0;
    uint64_t inode = 0;
    /// The birth time in nanoseconds since the epoch, where the file system keeps one; else 0.
    int64_t birth = 0;
};

/// What tells one entry of a file system from another: its device, its inode, its kind and,
/// where the file system keeps one, its birth time (an inode number freed by a removal may be
/// given to the next file made). A name that leads to an entry with other values is no longer
/// the entry that was listed under it (it was replaced, made again or swapped for a link).
struct EntryIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    /// The attribute bits that say what it is: Directory, Alias (a link) and System (a device,
    /// pipe or socket). A plain file has none of them.
    uint32_t kind = 0;
    int64_t birth = 0;
    bool operator==(const EntryIdentity&) const = default;
};

/// The identity of an entry from its single stat call.
inline EntryIdentity identityOf(const Entry& entry)
{
    return {entry.device, entry.inode,
            entry.attributes & (Attr::Directory | Attr::Alias | Attr::System), entry.birth};
}

/// A folder as a listing saw it: the path it was reached by and the folder that path led to.
struct FolderIdentity {
    NativeString path;
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t birth = 0; ///< as in EntryIdentity
    /// The path's last name was a symbolic link to the folder when it was listed.
    bool throughLink = false;
};

/// How much of a folder's tree could be summed.
enum class SizeState : uint8_t {
    Complete,   ///< every part was read
    Partial,    ///< some parts could not be read; the sum covers the readable parts only
    Unreadable, ///< the folder could not be read at all; the size is unknown
    NotWalked,  ///< a pseudo or network file system, or a symbolic link: not walked
    Stopped,    ///< the walk was stopped before it ended; the sum covers the parts counted
};

/// The total size of a folder: the sum of st_size of every non-directory name beneath it,
/// hard links once per name, symbolic links by their own size, within its own file system.
struct FolderSize {
    int64_t bytes = 0;
    SizeState state = SizeState::Complete;
    bool known() const
    {
        return state == SizeState::Complete || state == SizeState::Partial ||
               state == SizeState::Stopped;
    }
};

/// Follows and steers a walk of sub-folder sizes from another thread. Every member may be read
/// and `stop` set while the walk runs.
struct SizingProgress {
    static constexpr uint32_t NoFolder = UINT32_MAX;

    /// Set to end the walk soon: folders not finished come back Stopped with their sums so far.
    std::atomic<bool> stop{false};
    /// Bytes counted so far over all the folders.
    std::atomic<int64_t> bytes{0};
    /// The index (in the sub-folders asked for) of a folder whose tree is being walked.
    std::atomic<uint32_t> walking{NoFolder};
    /// Called from a worker as soon as one folder's size is known, with its index. A folder
    /// may also be left to the returned sizes; none is reported twice.
    std::function<void(size_t index, const FolderSize& size)> finished;
};

/// Follows the read of a folder's entries from another thread and ends it early when asked.
struct ReadProgress {
    /// Entries read so far.
    std::atomic<int64_t> entries{0};
    /// Set to end the read soon: the entries read so far are the folder's, and
    /// Folder::readStopped() says so.
    std::atomic<bool> stop{false};
};

/// Gives the type text of a file from its name (the desktop's description of its kind).
using TypeNamer = std::function<std::string(const NativeString& name)>;

/// A folder object: its own properties and its entries, read once and kept.
class Folder {
public:
    virtual ~Folder() = default;

    virtual NativeString Path() const = 0;
    virtual NativeString Name() const = 0;
    /// The path and the folder it led to when this object was got.
    virtual FolderIdentity Identity() const = 0;
    /// "File Folder" on every system.
    virtual std::string Type() const = 0;
    /// The size of everything beneath the folder. Throws FsError when the folder cannot be read.
    virtual FolderSize Size() const = 0;
    virtual FileTime DateCreated() const = 0;
    virtual FileTime DateLastAccessed() const = 0;
    virtual FileTime DateLastModified() const = 0;
    virtual uint32_t Attributes() const = 0;
    /// Sub-folders and files in the order the system gives them. Both come from one read of
    /// the folder; they throw FsError when it cannot be read.
    virtual std::vector<Entry> SubFolders() const = 0;
    virtual std::vector<Entry> Files() const = 0;
    /// Reports the read of the entries, made by the first of SubFolders() and Files() after
    /// this, to `progress` (which outlives the read).
    virtual void followRead(ReadProgress* progress) { (void)progress; }
    /// True when the read was stopped: the entries are those read before the stop.
    virtual bool readStopped() const { return false; }
    /// Where the symbolic link `name` of this folder points, read without following it;
    /// empty when it is no link or cannot be read.
    virtual NativeString LinkTarget(const NativeString& name) const
    {
        (void)name;
        return {};
    }
    /// The sizes of the given sub-folders of this folder, computed in parallel on up to
    /// `threads` workers (0: as many as the machine has). The result is in the same order.
    /// With `progress`, the walk reports as it goes and ends early when asked to.
    virtual std::vector<FolderSize> SubFolderSizes(const std::vector<Entry>& subFolders,
                                                   unsigned threads = 0,
                                                   SizingProgress* progress = nullptr) const = 0;
};

/// A file object.
class File {
public:
    virtual ~File() = default;

    virtual NativeString Path() const = 0;
    virtual NativeString Name() const = 0;
    virtual std::string Type() const = 0;
    virtual int64_t Size() const = 0;
    virtual FileTime DateCreated() const = 0;
    virtual FileTime DateLastAccessed() const = 0;
    virtual FileTime DateLastModified() const = 0;
    virtual uint32_t Attributes() const = 0;
    /// Writes the attributes that differ from the file's present ones, in one call. Bits the
    /// system cannot store (on POSIX: hidden, system, archive) throw FsError. A symbolic link
    /// is never written through.
    virtual void SetAttributes(uint32_t attributes) = 0;
    /// Copies the file to `destination` (a full file path). With `overwrite`, an existing file
    /// there is replaced; the copy never leaves a half-written destination behind.
    virtual void Copy(const NativeString& destination, bool overwrite) = 0;
    /// Deletes the file (a symbolic link as a link). Without `force` a read-only file is refused.
    virtual void Delete(bool force) = 0;
};

/// Called by a copy after each block it wrote, with the bytes copied so far. It may end the copy
/// by throwing; the destination is then left as it was before, with no temporary behind.
using CopyBlockHook = std::function<void(int64_t bytesSoFar)>;

/// A folder a listing saw, opened again for one command. Every act names an entry of this very
/// folder by its name, whatever happens to the folder's path meanwhile, and no path is joined,
/// so no length limit but the name's own applies. A name is passed to the system as it is.
/// Given the identity a listing saw under the name, an act goes ahead only while the name
/// still leads to that entry: otherwise it touches nothing and returns false. A link is never
/// followed where anything but a link was listed.
class FolderHandle {
public:
    virtual ~FolderHandle() = default;

    virtual NativeString Path() const = 0;
    /// The entry `name` leads to now (a link as the link itself); nothing when there is none.
    /// Throws FsError when the name cannot be looked at.
    virtual std::optional<Entry> Look(const NativeString& name) const = 0;
    /// Removes the file `name` (a link as a link). A folder is refused; so is, without
    /// `force`, a file whose R letter is set (70). A missing name throws 53.
    virtual bool DeleteFile(const NativeString& name, const EntryIdentity* listed, bool force) = 0;
    /// Writes the attributes of `name` that differ from its present ones, as
    /// File::SetAttributes does.
    virtual bool SetAttributes(const NativeString& name, const EntryIdentity* listed,
                               uint32_t attributes) = 0;
    /// Copies the file `name` into `destination` under the same name, as File::Copy does. A
    /// link that was listed as a link is copied as the file it leads to; where a file was
    /// listed, a link put in its place is refused. With `overwrite` and `replacing`, a file of
    /// the destination is replaced only while it is that very file as the user saw it (the
    /// same entry, size and modified time); another one there is refused (58). `afterBlock`
    /// follows the copy as it goes.
    virtual bool CopyFile(const NativeString& name, const EntryIdentity* listed,
                          FolderHandle& destination, bool overwrite,
                          const Entry* replacing = nullptr,
                          const CopyBlockHook& afterBlock = {}) = 0;
};

/// A drive object: on POSIX, a mounted file system named by its mount point.
class Drive {
public:
    virtual ~Drive() = default;

    virtual NativeString DriveLetter() const = 0;
    virtual int DriveType() const = 0;
    virtual std::string FileSystem() const = 0;
    virtual int64_t TotalSize() const = 0;
    virtual int64_t FreeSpace() const = 0;
    virtual int64_t AvailableSpace() const = 0;
    virtual int32_t SerialNumber() const = 0;
    virtual std::string VolumeName() const = 0;
    /// Relabels the whole file system. Throws FsError with the system's reason on failure.
    virtual void SetVolumeName(const std::string& name) = 0;
    virtual std::string ShareName() const = 0;
    virtual NativeString Path() const = 0;
    virtual std::unique_ptr<Folder> RootFolder() const = 0;
    virtual bool IsReady() const = 0;
};

/// A drive a user can pick in a pane's drive list.
struct DriveListEntry {
    NativeString path;      ///< the mount point (a drive root such as "C:\" on Windows)
    std::string fileSystem; ///< the file-system type, such as "ext4"
    int driveType = DriveKind::Unknown;
};

/// The file-system services: every access to drives, folders and files goes through here.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    /// The drive a drive name names (a mount point on POSIX). Throws FsError (68,
    /// "Device unavailable") for one that does not exist.
    virtual std::unique_ptr<Drive> GetDrive(const NativeString& driveName) = 0;
    /// The folder a full path names. Throws FsError (76) when it names no folder.
    virtual std::unique_ptr<Folder> GetFolder(const NativeString& path) = 0;
    /// The file a full path names. Throws FsError (53) for a missing file.
    virtual std::unique_ptr<File> GetFile(const NativeString& path) = 0;
    /// Opens again the folder a listing saw, to act in it: the path is opened without
    /// following a last link (unless the listing was reached through one) and must lead to the
    /// same device and inode. Nothing when it no longer leads to that folder (it was removed,
    /// renamed, made again or swapped for a link); throws FsError when it cannot be opened.
    /// Nothing stays open once the handle goes.
    virtual std::unique_ptr<FolderHandle> OpenListedFolder(const FolderIdentity& listed) = 0;
    /// True when a file (not a folder) of that path exists.
    virtual bool FileExists(const NativeString& path) = 0;
    /// The drives a user would pick, for the drive lists.
    virtual std::vector<DriveListEntry> Drives() = 0;
    /// The drive part of a path (on POSIX the mount point of the file system holding it).
    virtual NativeString DrivePart(const NativeString& path) = 0;
};

/// Creates the service of the system Vennic runs on.
std::unique_ptr<FileSystem> makeSystemFileSystem(TypeNamer typeNamer);

} // namespace vennic
