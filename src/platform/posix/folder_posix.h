#pragma once

#include "platform/filesystem.h"
#include "platform/mountinfo.h"

#include <sys/stat.h>

#include <memory>
#include <mutex>
#include <optional>

namespace vennic {

/// A folder of a POSIX file system. It is held open from the moment it is got, so its entries
/// and the sizes of its sub-folders are read relative to that very folder, whatever happens to
/// its path meanwhile. The entries are read once, on first use, and kept.
class PosixFolder : public Folder {
public:
    /// Opens the folder a path names (following a symbolic link to it). Throws FsError: 76 when
    /// the path names no folder, 70 when access is denied.
    static std::unique_ptr<PosixFolder> open(const NativeString& path);
    ~PosixFolder() override;
    PosixFolder(const PosixFolder&) = delete;
    PosixFolder& operator=(const PosixFolder&) = delete;

    NativeString Path() const override { return m_path; }
    NativeString Name() const override;
    FolderIdentity Identity() const override
    {
        return {m_path, m_self.device, m_self.inode, m_self.birth, m_self.isSymlink};
    }
    std::string Type() const override { return "File Folder"; }
    FolderSize Size() const override;
    FileTime DateCreated() const override { return m_self.created; }
    FileTime DateLastAccessed() const override { return m_self.accessed; }
    FileTime DateLastModified() const override { return m_self.modified; }
    uint32_t Attributes() const override { return m_self.attributes; }
    std::vector<Entry> SubFolders() const override;
    std::vector<Entry> Files() const override;
    void followRead(ReadProgress* progress) override { m_readProgress = progress; }
    bool readStopped() const override;
    NativeString LinkTarget(const NativeString& name) const override;
    std::vector<FolderSize> SubFolderSizes(const std::vector<Entry>& subFolders,
                                           unsigned threads = 0,
                                           SizingProgress* progress = nullptr) const override;

private:
    PosixFolder(NativeString path, int fd);

    /// Reads the entries on first use; throws FsError when the folder cannot be read.
    void readEntries() const;
    /// False for a folder on a pseudo or network file system, found by its mount id (or its
    /// device) in the mount table, which is read once, the first time a folder is checked.
    bool walkable(const struct statx& st) const;

    NativeString m_path;
    int m_fd;
    Entry m_self;
    struct statx m_selfStatx {};

    mutable std::mutex m_entriesMutex;
    mutable bool m_entriesRead = false;
    mutable std::vector<Entry> m_subFolders;
    mutable std::vector<Entry> m_files;
    ReadProgress* m_readProgress = nullptr;
    mutable bool m_readStopped = false;

    mutable std::mutex m_mountsMutex;
    mutable std::optional<MountTable> m_mounts;
};

} // namespace vennic
