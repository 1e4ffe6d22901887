#include "platform/mountwatcher.h"

#ifdef __linux__
#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vennic {

#ifdef __linux__

namespace {

/// How long the watcher waits after a change before it signals, so changes that follow
/// within this time are reported with it.
constexpr int settleMilliseconds = 20;

} // namespace

MountWatcher::MountWatcher(const std::string& mountInfoFile, QObject* parent) : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleMilliseconds);
    connect(&m_settle, &QTimer::timeout, this, &MountWatcher::mountsChanged);

    m_fd = open(mountInfoFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        return;
    // The kernel compares the table's change count with the one it last reported to this
    // file; reading the file once here makes the starting point the table as it is now.
    readToEnd();
    // A table file is always readable, so only the exceptional condition (POLLPRI and
    // POLLERR) tells of a change.
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Exception, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &MountWatcher::tableSignalled);
}

MountWatcher::~MountWatcher()
{
    // The notifier must leave the event loop before its descriptor is closed.
    delete m_notifier;
    if (m_fd >= 0)
        close(m_fd);
}

void MountWatcher::tableSignalled()
{
    readToEnd();
    // Started only when idle, so a steady stream of changes still signals once per settling time
    // instead of being held back until it ends.
    if (!m_settle.isActive())
        m_settle.start();
}

void MountWatcher::readToEnd()
{
    if (lseek(m_fd, 0, SEEK_SET) < 0)
        return;
    char buffer[16384];
    for (;;) {
        const ssize_t n = read(m_fd, buffer, sizeof buffer);
        if (n > 0)
            continue;
        if (n < 0 && errno == EINTR)
            continue;
        return;
    }
}

#else

// Without a mount table file to watch the watcher stays inert.
MountWatcher::MountWatcher(const std::string&, QObject* parent) : QObject(parent) {}

MountWatcher::~MountWatcher() = default;

void MountWatcher::tableSignalled() {}

void MountWatcher::readToEnd() {}

#endif

} // namespace vennic
