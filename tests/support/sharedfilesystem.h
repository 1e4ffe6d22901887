#pragma once

#include "platform/filesystem.h"
#include "support/fakefilesystem.h"

namespace vennic::test {

/// Hands one fake file system, owned by the test, to every listing and command of a window:
/// the window asks for a new file system each time, and each one forwards to the same fake.
class SharedFileSystem : public FileSystem {
public:
    explicit SharedFileSystem(FakeFileSystem& fake) : m_fake(fake) {}
    std::unique_ptr<Drive> GetDrive(const NativeString& driveName) override
    {
        return m_fake.GetDrive(driveName);
    }
    std::unique_ptr<Folder> GetFolder(const NativeString& path) override
    {
        return m_fake.GetFolder(path);
    }
    std::unique_ptr<File> GetFile(const NativeString& path) override
    {
        return m_fake.GetFile(path);
    }
    std::unique_ptr<FolderHandle> OpenListedFolder(const FolderIdentity& listed) override
    {
        return m_fake.OpenListedFolder(listed);
    }
    bool FileExists(const NativeString& path) override { return m_fake.FileExists(path); }
    std::vector<DriveListEntry> Drives() override { return m_fake.Drives(); }
    NativeString DrivePart(const NativeString& path) override { return m_fake.DrivePart(path); }

private:
    FakeFileSystem& m_fake;
};

} // namespace vennic::test
