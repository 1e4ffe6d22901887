// The file-system services on Linux and other POSIX systems.
#include "platform/filesystem.h"

#include "platform/mountinfo.h"
#include "platform/pathrules.h"
#include "platform/posix/drive_posix.h"
#include "platform/posix/file_posix.h"
#include "platform/posix/folder_posix.h"
#include "platform/posix/folderhandle_posix.h"

namespace vennic {

namespace {

/// The file-system service on POSIX systems. Folders and files are read with the system calls
/// (never through a toolkit's directory classes, which drop names that are not UTF-8); drives
/// are the mounted file systems of the kernel's mount table.
class PosixFileSystem : public FileSystem {
public:
    explicit PosixFileSystem(TypeNamer typeNamer) : m_typeNamer(std::move(typeNamer)) {}

    std::unique_ptr<Drive> GetDrive(const NativeString& driveName) override
    {
        // The drive outlives this service (a pane keeps it), so its root folder is opened by a
        // free function rather than through this object.
        return openPosixDrive(driveName, MountTable::read(),
                              [](const NativeString& path) -> std::unique_ptr<Folder> {
                                  return PosixFolder::open(path);
                              });
    }

    std::unique_ptr<Folder> GetFolder(const NativeString& path) override
    {
        return PosixFolder::open(path);
    }

    std::unique_ptr<File> GetFile(const NativeString& path) override
    {
        return PosixFile::open(path, m_typeNamer);
    }

    std::unique_ptr<FolderHandle> OpenListedFolder(const FolderIdentity& listed) override
    {
        return PosixFolderHandle::open(listed);
    }

    bool FileExists(const NativeString& path) override { return posixFileExists(path); }

    std::vector<DriveListEntry> Drives() override
    {
        return userDrives(MountTable::read(), DriveClassifier());
    }

    NativeString DrivePart(const NativeString& path) override
    {
        return PathRules(PathStyle::Posix).drivePart(path);
    }

private:
    TypeNamer m_typeNamer;
};

} // namespace

std::unique_ptr<FileSystem> makeSystemFileSystem(TypeNamer typeNamer)
{
    return std::make_unique<PosixFileSystem>(std::move(typeNamer));
}

} // namespace vennic
