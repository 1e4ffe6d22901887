#pragma once

#include "platform/filesystem.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>

namespace vennic::test {

/// Holds a file command's copy or delete of chosen names until the test releases it, so a test
/// can act while the command runs. A held copy has written its first block: it waits there,
/// still giving the command's block hook its chance to stop it. A held delete waits before it
/// starts. Thread-safe.
class FileGate {
public:
    void hold(const NativeString& name);
    void release(const NativeString& name);
    /// Waits until the worker is held at `name`; false when it did not come within `limit`.
    bool waitUntilHeldAt(const NativeString& name,
                         std::chrono::milliseconds limit = std::chrono::seconds(10));

    /// Called from the worker: waits while `name` is held, calling `whileHeld` now and then.
    void pass(const NativeString& name, const std::function<void()>& whileHeld = {});

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::set<NativeString> m_held;
    std::set<NativeString> m_waiting;
};

/// The machine's file system, with the copies and deletes of its listed folders going through
/// a gate.
class GatedFileSystem : public FileSystem {
public:
    GatedFileSystem(std::unique_ptr<FileSystem> real, FileGate& gate)
        : m_real(std::move(real)), m_gate(gate)
    {
    }
    std::unique_ptr<Drive> GetDrive(const NativeString& driveName) override
    {
        return m_real->GetDrive(driveName);
    }
    std::unique_ptr<Folder> GetFolder(const NativeString& path) override
    {
        return m_real->GetFolder(path);
    }
    std::unique_ptr<File> GetFile(const NativeString& path) override
    {
        return m_real->GetFile(path);
    }
    std::unique_ptr<FolderHandle> OpenListedFolder(const FolderIdentity& listed) override;
    bool FileExists(const NativeString& path) override { return m_real->FileExists(path); }
    std::vector<DriveListEntry> Drives() override { return m_real->Drives(); }
    NativeString DrivePart(const NativeString& path) override { return m_real->DrivePart(path); }

private:
    std::unique_ptr<FileSystem> m_real;
    FileGate& m_gate;
};

} // namespace vennic::test
