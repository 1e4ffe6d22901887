#include "support/fakefilesystem.h"

#include <ctime>
#include <stdexcept>

namespace vennic::test {

namespace {

std::string text(const NativeString& path)
{
    return std::filesystem::path(path).string();
}

class FakeFolder : public Folder {
public:
    FakeFolder(FakeFileSystem& fs, NativeString path) : m_fs(fs), m_path(std::move(path)) {}

    NativeString Path() const override { return m_path; }
    NativeString Name() const override
    {
        const NativeString name = FakeFileSystem::nameOf(m_path);
        return name.empty() ? m_path : name;
    }
    FolderIdentity Identity() const override
    {
        return {m_path, self().device, self().inode, 0, false};
    }
    std::string Type() const override { return "File Folder"; }
    FolderSize Size() const override
    {
        m_fs.record("Size", m_path);
        m_fs.check(FakeFileSystem::Op::FolderSize, m_path);
        return m_fs.folderSize(m_path);
    }
    FileTime DateCreated() const override { return self().created; }
    FileTime DateLastAccessed() const override { return self().accessed; }
    FileTime DateLastModified() const override { return self().modified; }
    uint32_t Attributes() const override { return self().attributes; }
    std::vector<Entry> SubFolders() const override { return entries(true); }
    std::vector<Entry> Files() const override { return entries(false); }
    void followRead(ReadProgress* progress) override { m_progress = progress; }
    bool readStopped() const override { return m_stopped; }
    std::vector<FolderSize> SubFolderSizes(const std::vector<Entry>& subFolders, unsigned,
                                           SizingProgress* progress) const override
    {
        m_fs.record("SubFolderSizes", m_path);
        m_fs.check(FakeFileSystem::Op::SubFolderSizes, m_path);
        std::vector<FolderSize> sizes(subFolders.size());
        std::vector<bool> done(subFolders.size(), false);
        size_t left = subFolders.size();
        // Folders whose walk is held wait for their release (or a stop); the others end at once,
        // in order, so the test decides the order in which sizes come.
        while (left > 0) {
            for (size_t i = 0; i < subFolders.size(); ++i) {
                const NativeString path = FakeFileSystem::join(m_path, subFolders[i].name);
                if (done[i])
                    continue;
                if (const std::optional<int64_t> counted = m_fs.heldSize(path)) {
                    if (progress && !progress->stop)
                        progress->walking = uint32_t(i);
                    if (!progress || !progress->stop)
                        continue;
                    sizes[i] = {*counted, SizeState::Stopped};
                } else {
                    sizes[i] = sizeOf(path);
                }
                done[i] = true;
                --left;
                if (progress) {
                    progress->bytes += sizes[i].bytes;
                    if (progress->finished)
                        progress->finished(i, sizes[i]);
                }
            }
            if (left > 0)
                m_fs.waitForRelease();
        }
        return sizes;
    }

private:
    FolderSize sizeOf(const NativeString& path) const
    {
        try {
            m_fs.check(FakeFileSystem::Op::FolderSize, path);
            return m_fs.folderSize(path);
        } catch (const FsError&) {
            return {0, SizeState::Unreadable};
        }
    }
    const Entry& self() const
    {
        const auto* node = m_fs.find(m_path);
        if (!node)
            throw FsError(FsErrorNumber::PathNotFound, text(m_path));
        return node->entry;
    }
    std::vector<Entry> entries(bool folders) const
    {
        m_fs.record(folders ? "SubFolders" : "Files", m_path);
        m_fs.check(folders ? FakeFileSystem::Op::SubFolders : FakeFileSystem::Op::Files, m_path);
        const auto* node = m_fs.find(m_path);
        if (!node)
            throw FsError(FsErrorNumber::PathNotFound, text(m_path));
        size_t count = node->children.size();
        if (!m_read) {
            // The first read of the entries may be held, and stopped while it is.
            m_read = true;
            if (const std::optional<size_t> held = m_fs.waitWhileReadHeld(m_path, m_progress)) {
                m_stopped = true;
                m_readCount = std::min(*held, count);
            } else {
                m_readCount = count;
            }
        }
        count = std::min(count, m_readCount);
        std::vector<Entry> result;
        for (size_t i = 0; i < count; ++i) {
            const auto* child = m_fs.find(FakeFileSystem::join(m_path, node->children[i]));
            if (child && child->entry.isFolder == folders)
                result.push_back(child->entry);
        }
        return result;
    }
    mutable bool m_read = false;
    mutable bool m_stopped = false;
    mutable size_t m_readCount = 0;
    ReadProgress* m_progress = nullptr;

    FakeFileSystem& m_fs;
    NativeString m_path;
};

/// A listed folder opened again: each act goes to the fake's file of that name, while it is
/// the listed one.
class FakeFolderHandle : public FolderHandle {
public:
    FakeFolderHandle(FakeFileSystem& fs, NativeString path) : m_fs(fs), m_path(std::move(path)) {}

    NativeString Path() const override { return m_path; }
    std::optional<Entry> Look(const NativeString& name) const override
    {
        const auto* node = m_fs.find(FakeFileSystem::join(m_path, name));
        return node ? std::optional(node->entry) : std::nullopt;
    }
    bool DeleteFile(const NativeString& name, const EntryIdentity* listed, bool force) override
    {
        return act(name, listed, [&](File& file) { file.Delete(force); });
    }
    bool SetAttributes(const NativeString& name, const EntryIdentity* listed,
                       uint32_t attributes) override
    {
        return act(name, listed, [&](File& file) { file.SetAttributes(attributes); });
    }
    bool CopyFile(const NativeString& name, const EntryIdentity* listed, FolderHandle& destination,
                  bool overwrite, const Entry*, const CopyBlockHook& afterBlock) override
    {
        return act(name, listed, [&](File& file) {
            // The copy is whole or not there: a stop at its one block leaves nothing.
            if (afterBlock)
                afterBlock(file.Size());
            file.Copy(FakeFileSystem::join(destination.Path(), name), overwrite);
        });
    }

private:
    template <typename Act> bool act(const NativeString& name, const EntryIdentity* listed, Act&& a)
    {
        const std::optional<Entry> now = Look(name);
        if (now && listed && identityOf(*now) != *listed)
            return false;
        a(*m_fs.GetFile(FakeFileSystem::join(m_path, name)));
        return true;
    }

    FakeFileSystem& m_fs;
    NativeString m_path;
};

class FakeFile : public File {
public:
    FakeFile(FakeFileSystem& fs, NativeString path) : m_fs(fs), m_path(std::move(path)) {}

    NativeString Path() const override { return m_path; }
    NativeString Name() const override { return FakeFileSystem::nameOf(m_path); }
    std::string Type() const override { return "File"; }
    int64_t Size() const override { return self().size; }
    FileTime DateCreated() const override { return self().created; }
    FileTime DateLastAccessed() const override { return self().accessed; }
    FileTime DateLastModified() const override { return self().modified; }
    uint32_t Attributes() const override { return self().attributes; }
    void SetAttributes(uint32_t attributes) override
    {
        m_fs.record("SetAttributes", m_path);
        m_fs.check(FakeFileSystem::Op::SetAttributes, m_path);
        self().attributes = attributes;
    }
    void Copy(const NativeString& destination, bool overwrite) override
    {
        m_fs.copyFile(m_path, destination, overwrite);
    }
    void Delete(bool force) override { m_fs.removeFile(m_path, force); }

private:
    Entry& self() const
    {
        if (!m_fs.find(m_path))
            throw FsError(FsErrorNumber::FileNotFound, text(m_path));
        return m_fs.node(m_path).entry;
    }

    FakeFileSystem& m_fs;
    NativeString m_path;
};

class FakeDrive : public Drive {
public:
    FakeDrive(FakeFileSystem& fs, FakeFileSystem::DriveState& state) : m_fs(fs), m_state(state) {}

    NativeString DriveLetter() const override { return m_state.path; }
    int DriveType() const override { return m_state.driveType; }
    std::string FileSystem() const override { return read().fileSystem; }
    int64_t TotalSize() const override { return read().totalSize; }
    int64_t FreeSpace() const override { return read().freeSpace; }
    int64_t AvailableSpace() const override { return read().availableSpace; }
    int32_t SerialNumber() const override { return read().serialNumber; }
    std::string VolumeName() const override { return read().volumeName; }
    void SetVolumeName(const std::string& name) override { m_fs.writeVolumeName(m_state, name); }
    std::string ShareName() const override { return m_state.shareName; }
    NativeString Path() const override { return m_state.path; }
    std::unique_ptr<Folder> RootFolder() const override
    {
        return std::make_unique<FakeFolder>(m_fs, m_state.path);
    }
    bool IsReady() const override { return m_state.ready; }

private:
    /// A drive that is not ready answers no question about its contents.
    const FakeFileSystem::DriveState& read() const
    {
        m_fs.record("DriveProperties", m_state.path);
        if (!m_state.ready)
            throw FsError(FsErrorNumber::DiskNotReady);
        m_fs.check(FakeFileSystem::Op::DriveProperties, m_state.path);
        return m_state;
    }

    FakeFileSystem& m_fs;
    FakeFileSystem::DriveState& m_state;
};

} // namespace

FakeFileSystem::FakeFileSystem()
{
    addDrive("/");
}

FakeFileSystem::DriveState& FakeFileSystem::addDrive(const NativeString& mountPoint, int driveType,
                                                     const std::string& fileSystem,
                                                     int64_t totalSize, int64_t freeSpace)
{
    DriveState& state = m_drives.emplace_back();
    state.path = normalized(mountPoint);
    state.driveType = driveType;
    state.fileSystem = fileSystem;
    state.totalSize = totalSize;
    state.freeSpace = freeSpace;
    state.availableSpace = freeSpace;
    addFolder(state.path);
    return state;
}

FakeFileSystem::DriveState& FakeFileSystem::drive(const NativeString& mountPoint)
{
    const NativeString path = normalized(mountPoint);
    for (DriveState& state : m_drives)
        if (state.path == path)
            return state;
    throw std::out_of_range("no fake drive " + text(path));
}

FakeFileSystem::Node& FakeFileSystem::makeNode(const NativeString& path, bool isFolder)
{
    const NativeString full = normalized(path);
    if (full.empty() || full.front() != '/')
        throw std::invalid_argument("fake paths begin with \"/\": " + text(path));
    auto found = m_nodes.find(full);
    if (found != m_nodes.end())
        return found->second;
    if (full != "/") {
        Node& parent = makeNode(parentOf(full), true);
        parent.children.push_back(nameOf(full));
    }
    Node& node = m_nodes[full];
    node.entry.name = full == "/" ? full : nameOf(full);
    node.entry.isFolder = isFolder;
    node.entry.attributes = isFolder ? Attr::Directory : 0;
    node.entry.created = node.entry.accessed = node.entry.modified = defaultTime();
    node.entry.device = 1;
    node.entry.inode = m_nextInode++;
    return node;
}

Entry& FakeFileSystem::addFolder(const NativeString& path)
{
    return makeNode(path, true).entry;
}

Entry& FakeFileSystem::addFile(const NativeString& path, int64_t size)
{
    Entry& entry = makeNode(path, false).entry;
    entry.size = size;
    return entry;
}

Entry& FakeFileSystem::entry(const NativeString& path)
{
    return m_nodes.at(normalized(path)).entry;
}

bool FakeFileSystem::exists(const NativeString& path) const
{
    return find(path) != nullptr;
}

std::vector<NativeString> FakeFileSystem::names(const NativeString& folder) const
{
    const Node* node = find(folder);
    return node ? node->children : std::vector<NativeString>{};
}

void FakeFileSystem::setFolderSize(const NativeString& path, FolderSize size)
{
    node(path).size = size;
}

void FakeFileSystem::failOn(Op op, const NativeString& path, int number)
{
    m_failures[{op, normalized(path)}] = number;
}

void FakeFileSystem::clearFailures()
{
    m_failures.clear();
}

std::vector<std::string> FakeFileSystem::calls() const
{
    std::lock_guard lock(m_callsMutex);
    return m_calls;
}

std::vector<std::string> FakeFileSystem::volumeNamesWritten() const
{
    return m_written;
}

FileTime FakeFileSystem::localTime(int year, int month, int day, int hour, int minute, int second)
{
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(mktime(&local));
}

FileTime FakeFileSystem::defaultTime()
{
    return localTime(2026, 12, 8, 7, 29, 42);
}

std::unique_ptr<Drive> FakeFileSystem::GetDrive(const NativeString& driveName)
{
    record("GetDrive", driveName);
    check(Op::GetDrive, driveName);
    const NativeString path = normalized(driveName);
    for (DriveState& state : m_drives)
        if (state.path == path)
            return std::make_unique<FakeDrive>(*this, state);
    throw FsError(FsErrorNumber::DeviceUnavailable, text(driveName));
}

std::unique_ptr<Folder> FakeFileSystem::GetFolder(const NativeString& path)
{
    record("GetFolder", path);
    check(Op::GetFolder, path);
    const Node* found = find(path);
    if (!found || !found->entry.isFolder)
        throw FsError(FsErrorNumber::PathNotFound, text(path));
    return std::make_unique<FakeFolder>(*this, normalized(path));
}

std::unique_ptr<File> FakeFileSystem::GetFile(const NativeString& path)
{
    record("GetFile", path);
    check(Op::GetFile, path);
    const Node* found = find(path);
    if (!found || found->entry.isFolder)
        throw FsError(FsErrorNumber::FileNotFound, text(path));
    return std::make_unique<FakeFile>(*this, normalized(path));
}

bool FakeFileSystem::FileExists(const NativeString& path)
{
    record("FileExists", path);
    const Node* found = find(path);
    return found && !found->entry.isFolder;
}

std::vector<DriveListEntry> FakeFileSystem::Drives()
{
    record("Drives", {});
    std::vector<DriveListEntry> list;
    for (const DriveState& state : m_drives)
        list.push_back({state.path, state.fileSystem, state.driveType});
    return list;
}

NativeString FakeFileSystem::DrivePart(const NativeString& path)
{
    record("DrivePart", path);
    check(Op::DrivePart, path);
    // The mount point that is the longest whole-component prefix of the path.
    const NativeString full = normalized(path);
    NativeString best;
    for (const DriveState& state : m_drives) {
        const NativeString& mount = state.path;
        const bool holds = full == mount || mount == "/" ||
                           (full.size() > mount.size() &&
                            full.compare(0, mount.size(), mount) == 0 && full[mount.size()] == '/');
        if (holds && mount.size() >= best.size())
            best = mount;
    }
    return best;
}

void FakeFileSystem::record(const std::string& operation, const NativeString& path) const
{
    std::lock_guard lock(m_callsMutex);
    m_calls.push_back(path.empty() ? operation : operation + " " + text(path));
}

void FakeFileSystem::check(Op op, const NativeString& path) const
{
    const auto found = m_failures.find({op, normalized(path)});
    if (found != m_failures.end())
        throw FsError(found->second, text(path));
}

FakeFileSystem::Node& FakeFileSystem::node(const NativeString& path)
{
    return m_nodes.at(normalized(path));
}

const FakeFileSystem::Node* FakeFileSystem::find(const NativeString& path) const
{
    const auto found = m_nodes.find(normalized(path));
    return found == m_nodes.end() ? nullptr : &found->second;
}

void FakeFileSystem::holdSize(const NativeString& path, int64_t countedSoFar)
{
    std::lock_guard lock(m_holdMutex);
    m_held[normalized(path)] = countedSoFar;
}

void FakeFileSystem::holdRead(const NativeString& path, size_t readSoFar)
{
    std::lock_guard lock(m_holdMutex);
    m_heldReads[normalized(path)] = readSoFar;
}

void FakeFileSystem::releaseRead(const NativeString& path)
{
    {
        std::lock_guard lock(m_holdMutex);
        m_heldReads.erase(normalized(path));
    }
    m_released.notify_all();
}

std::optional<size_t> FakeFileSystem::waitWhileReadHeld(const NativeString& path,
                                                        ReadProgress* progress) const
{
    std::unique_lock lock(m_holdMutex);
    const NativeString key = normalized(path);
    while (m_heldReads.count(key)) {
        if (progress) {
            const size_t readSoFar = m_heldReads.at(key);
            progress->entries = int64_t(readSoFar);
            if (progress->stop) {
                // A stopped read lets go of its hold: the next read goes through.
                m_heldReads.erase(key);
                return readSoFar;
            }
        }
        m_released.wait_for(lock, std::chrono::milliseconds(5));
    }
    return std::nullopt;
}

void FakeFileSystem::releaseSize(const NativeString& path)
{
    {
        std::lock_guard lock(m_holdMutex);
        m_held.erase(normalized(path));
    }
    m_released.notify_all();
}

std::optional<int64_t> FakeFileSystem::heldSize(const NativeString& path) const
{
    std::lock_guard lock(m_holdMutex);
    const auto held = m_held.find(normalized(path));
    if (held == m_held.end())
        return std::nullopt;
    return held->second;
}

void FakeFileSystem::waitForRelease() const
{
    std::unique_lock lock(m_holdMutex);
    m_released.wait_for(lock, std::chrono::milliseconds(5));
}

FolderSize FakeFileSystem::folderSize(const NativeString& path) const
{
    const Node* folder = find(path);
    if (!folder)
        throw FsError(FsErrorNumber::PathNotFound, text(path));
    if (folder->size)
        return *folder->size;
    FolderSize total;
    for (const NativeString& name : folder->children) {
        const NativeString child = join(normalized(path), name);
        const Node* node = find(child);
        if (!node)
            continue;
        if (!node->entry.isFolder) {
            total.bytes += node->entry.size;
            continue;
        }
        const FolderSize inner = folderSize(child);
        total.bytes += inner.bytes;
        if (inner.state != SizeState::Complete)
            total.state = SizeState::Partial;
    }
    return total;
}

std::unique_ptr<FolderHandle> FakeFileSystem::OpenListedFolder(const FolderIdentity& listed)
{
    record("OpenListedFolder", listed.path);
    const Node* found = find(normalized(listed.path));
    if (!found || !found->entry.isFolder || found->entry.inode != listed.inode ||
        found->entry.device != listed.device)
        return nullptr;
    return std::make_unique<FakeFolderHandle>(*this, normalized(listed.path));
}

void FakeFileSystem::writeVolumeName(DriveState& drive, const std::string& name)
{
    record("SetVolumeName", drive.path);
    if (!drive.ready)
        throw FsError(FsErrorNumber::DiskNotReady);
    check(Op::SetVolumeName, drive.path);
    drive.volumeName = name;
    m_written.push_back(name);
}

void FakeFileSystem::copyFile(const NativeString& source, const NativeString& destination,
                              bool overwrite)
{
    record("Copy", source);
    record("CopyTo", destination);
    check(Op::Copy, source);
    const Node* from = find(source);
    if (!from || from->entry.isFolder)
        throw FsError(FsErrorNumber::FileNotFound, text(source));
    const Node* parent = find(parentOf(normalized(destination)));
    if (!parent || !parent->entry.isFolder)
        throw FsError(FsErrorNumber::PathNotFound, text(destination));
    if (const Node* existing = find(destination)) {
        if (existing->entry.isFolder)
            throw FsError(FsErrorNumber::PathFileAccessError, text(destination));
        if (!overwrite)
            throw FsError(FsErrorNumber::FileAlreadyExists, text(destination));
        if (existing->entry.attributes & Attr::ReadOnly)
            throw FsError(FsErrorNumber::PermissionDenied, text(destination));
    }
    const Entry copied = from->entry;
    Entry& target = addFile(destination, copied.size);
    const NativeString name = target.name;
    const uint64_t inode = target.inode;
    target = copied;
    target.name = name;
    target.inode = inode;
}

void FakeFileSystem::removeFile(const NativeString& path, bool force)
{
    record("Delete", path);
    check(Op::Delete, path);
    const NativeString full = normalized(path);
    const Node* found = find(full);
    if (!found || found->entry.isFolder)
        throw FsError(FsErrorNumber::FileNotFound, text(path));
    if ((found->entry.attributes & Attr::ReadOnly) && !force)
        throw FsError(FsErrorNumber::PermissionDenied, text(path));
    auto& siblings = node(parentOf(full)).children;
    std::erase(siblings, nameOf(full));
    m_nodes.erase(full);
}

NativeString FakeFileSystem::normalized(const NativeString& path)
{
    NativeString p = path;
    while (p.size() > 1 && p.back() == '/')
        p.pop_back();
    return p;
}

NativeString FakeFileSystem::parentOf(const NativeString& path)
{
    const NativeString p = normalized(path);
    const auto slash = p.find_last_of('/');
    if (slash == NativeString::npos)
        return {};
    return slash == 0 ? NativeString("/") : p.substr(0, slash);
}

NativeString FakeFileSystem::nameOf(const NativeString& path)
{
    const NativeString p = normalized(path);
    const auto slash = p.find_last_of('/');
    return slash == NativeString::npos ? p : p.substr(slash + 1);
}

NativeString FakeFileSystem::join(const NativeString& folder, const NativeString& name)
{
    const NativeString f = normalized(folder);
    return f.empty() || f.back() == '/' ? f + name : f + "/" + name;
}

} // namespace vennic::test
