#pragma once

#include "platform/filesystem.h"

#include <memory>

namespace vennic {

/// A file of a POSIX file system: any entry that is not a folder (a regular file, a named
/// pipe, a device, a socket, or a symbolic link, which is taken as the link itself). Its
/// values come from one statx of the path when the object is made.
class PosixFile : public File {
public:
    /// Throws FsError 53 when the path names nothing, a folder or a link to a folder.
    static std::unique_ptr<PosixFile> open(const NativeString& path, TypeNamer typeNamer);

    NativeString Path() const override { return m_path; }
    NativeString Name() const override { return m_entry.name; }
    /// The type namer's text for the name; "File" without a namer.
    std::string Type() const override;
    int64_t Size() const override { return m_entry.size; }
    FileTime DateCreated() const override { return m_entry.created; }
    FileTime DateLastAccessed() const override { return m_entry.accessed; }
    FileTime DateLastModified() const override { return m_entry.modified; }
    uint32_t Attributes() const override { return m_entry.attributes; }
    /// Only a change of R is written, in one chmod that never follows a link: R set clears
    /// every write bit, R cleared sets the owner's. A change of H, S or A throws 75, as does
    /// any change on a symbolic link.
    void SetAttributes(uint32_t attributes) override;
    void Copy(const NativeString& destination, bool overwrite) override;
    /// Removes the name (a symbolic link as a link). A folder is refused; without `force` so is
    /// a file whose R letter is set (70).
    void Delete(bool force) override;

private:
    PosixFile(NativeString path, TypeNamer typeNamer, Entry entry);

    NativeString m_path;
    TypeNamer m_typeNamer;
    Entry m_entry;
};

/// True when a file (anything but a folder or a link to one) of that path exists.
bool posixFileExists(const NativeString& path);

} // namespace vennic
