#include "support/gatedfilesystem.h"

namespace vennic::test {

namespace {

class GatedFolderHandle : public FolderHandle {
public:
    GatedFolderHandle(std::unique_ptr<FolderHandle> real, FileGate& gate)
        : m_real(std::move(real)), m_gate(gate)
    {
    }
    /// The real handle a copy writes into.
    FolderHandle& real() { return *m_real; }

    NativeString Path() const override { return m_real->Path(); }
    std::optional<Entry> Look(const NativeString& name) const override
    {
        return m_real->Look(name);
    }
    bool DeleteFile(const NativeString& name, const EntryIdentity* listed, bool force) override
    {
        m_gate.pass(name);
        return m_real->DeleteFile(name, listed, force);
    }
    bool SetAttributes(const NativeString& name, const EntryIdentity* listed,
                       uint32_t attributes) override
    {
        return m_real->SetAttributes(name, listed, attributes);
    }
    bool CopyFile(const NativeString& name, const EntryIdentity* listed, FolderHandle& destination,
                  bool overwrite, const Entry* replacing, const CopyBlockHook& afterBlock) override
    {
        auto* gated = dynamic_cast<GatedFolderHandle*>(&destination);
        FolderHandle& target = gated ? gated->real() : destination;
        const CopyBlockHook held = [&](int64_t bytes) {
            if (afterBlock)
                afterBlock(bytes);
            m_gate.pass(name, [&] {
                if (afterBlock)
                    afterBlock(bytes);
            });
        };
        return m_real->CopyFile(name, listed, target, overwrite, replacing, held);
    }

private:
    std::unique_ptr<FolderHandle> m_real;
    FileGate& m_gate;
};

} // namespace

void FileGate::hold(const NativeString& name)
{
    const std::lock_guard lock(m_mutex);
    m_held.insert(name);
}

void FileGate::release(const NativeString& name)
{
    {
        const std::lock_guard lock(m_mutex);
        m_held.erase(name);
    }
    m_changed.notify_all();
}

bool FileGate::waitUntilHeldAt(const NativeString& name, std::chrono::milliseconds limit)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, limit, [&] { return m_waiting.count(name) > 0; });
}

void FileGate::pass(const NativeString& name, const std::function<void()>& whileHeld)
{
    std::unique_lock lock(m_mutex);
    if (!m_held.count(name))
        return;
    m_waiting.insert(name);
    m_changed.notify_all();
    struct Leave {
        FileGate& gate;
        const NativeString& name;
        ~Leave() { gate.m_waiting.erase(name); }
    } leave{*this, name};
    while (m_held.count(name)) {
        m_changed.wait_for(lock, std::chrono::milliseconds(5));
        if (whileHeld) {
            // The hook may throw to stop the copy; it runs without the lock.
            lock.unlock();
            try {
                whileHeld();
            } catch (...) {
                lock.lock();
                throw;
            }
            lock.lock();
        }
    }
}

std::unique_ptr<FolderHandle> GatedFileSystem::OpenListedFolder(const FolderIdentity& listed)
{
    std::unique_ptr<FolderHandle> real = m_real->OpenListedFolder(listed);
    if (!real)
        return nullptr;
    return std::make_unique<GatedFolderHandle>(std::move(real), m_gate);
}

} // namespace vennic::test
