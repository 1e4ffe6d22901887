#pragma once

#include "platform/filesystem.h"

#include <memory>

namespace vennic {

/// A listed folder of a POSIX file system, opened again for one command and held open only as
/// long as the command needs it. Every act goes through the folder's descriptor with the *at()
/// calls and never follows a link in a name's place, unless a link is what was listed.
class PosixFolderHandle : public FolderHandle {
public:
    /// Opens the folder a listing saw. Nothing when its path no longer leads to it; throws
    /// FsError when it cannot be opened for another reason.
    static std::unique_ptr<PosixFolderHandle> open(const FolderIdentity& listed);
    ~PosixFolderHandle() override;
    PosixFolderHandle(const PosixFolderHandle&) = delete;
    PosixFolderHandle& operator=(const PosixFolderHandle&) = delete;

    NativeString Path() const override { return m_path; }
    std::optional<Entry> Look(const NativeString& name) const override;
    bool DeleteFile(const NativeString& name, const EntryIdentity* listed, bool force) override;
    /// Only a change of R is written, in one chmod of the very file that was checked: R set
    /// clears every write bit, R cleared sets the owner's. A change of H, S or A throws 75, as
    /// does any change on a symbolic link or a folder.
    bool SetAttributes(const NativeString& name, const EntryIdentity* listed,
                       uint32_t attributes) override;
    bool CopyFile(const NativeString& name, const EntryIdentity* listed, FolderHandle& destination,
                  bool overwrite, const Entry* replacing = nullptr,
                  const CopyBlockHook& afterBlock = {}) override;

private:
    PosixFolderHandle(NativeString path, int fd) : m_path(std::move(path)), m_fd(fd) {}

    /// The folder's path with the name, for messages only.
    NativeString shown(const NativeString& name) const;
    /// The entry `name` leads to now; throws 53 when there is none.
    Entry present(const NativeString& name) const;

    NativeString m_path;
    int m_fd;
    bool m_staleRemoved = false;
};

} // namespace vennic
