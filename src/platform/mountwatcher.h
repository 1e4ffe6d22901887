#pragma once

#include <QObject>
#include <QTimer>

#include <string>

class QSocketNotifier;

namespace vennic {

/// Tells when a file system is mounted or unmounted (or remounted) by watching the kernel's
/// mount table of this process. The kernel marks the table file as having an exceptional
/// condition when the table changes, so the watcher waits in the event loop and never polls.
///
/// A burst of changes, such as a tree of mounts going away at once, gives one signal. When the
/// table file cannot be opened, or on a system without one, the watcher is inert: it never
/// signals and isActive() is false.
class MountWatcher : public QObject {
    Q_OBJECT

public:
    explicit MountWatcher(const std::string& mountInfoFile = "/proc/self/mountinfo",
                          QObject* parent = nullptr);
    ~MountWatcher() override;
    MountWatcher(const MountWatcher&) = delete;
    MountWatcher& operator=(const MountWatcher&) = delete;

    /// True when the table file is open and watched.
    bool isActive() const { return m_fd >= 0; }

Q_SIGNALS:
    /// The mount table has changed; read it again (MountTable::read) to see how.
    void mountsChanged();

private:
    void tableSignalled();
    /// Reads the table file from its start to its end, which the kernel takes as having seen
    /// the change, so the next one is signalled again.
    void readToEnd();

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QTimer m_settle;
};

} // namespace vennic
