// The mount watcher on the real mount table: a mount and an unmount each give one signal.
// Mounting needs the right to mount in this process's namespace; without it the case skips.
#include "platform/mountwatcher.h"

#include "support/tempfolder.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#ifdef __linux__
#include <sys/mount.h>
#endif

using namespace vennic;
using vennic::test::TempFolder;

namespace {

/// How long a change may take to be signalled, and how long the watcher must then stay quiet.
constexpr int signalTimeoutMs = 2000;
constexpr int quietMs = 200;

} // namespace

TEST(MountWatcher, UnopenableTableGivesAnInertWatcher)
{
    TempFolder tmp;
    MountWatcher missing(tmp.pathOf("no/such/mountinfo"));
    EXPECT_FALSE(missing.isActive());

    auto* owned = new MountWatcher("", &missing);
    EXPECT_FALSE(owned->isActive());
    QSignalSpy changed(&missing, &MountWatcher::mountsChanged);
    EXPECT_FALSE(changed.wait(50));
}

#ifdef __linux__

namespace {

/// Unmounts what it mounted when the case ends, whichever way it ends.
class TmpfsMount {
public:
    explicit TmpfsMount(std::string point) : m_point(std::move(point)) {}
    ~TmpfsMount() { unmount(); }

    /// 0, or the errno of the refused mount.
    int mount()
    {
        if (::mount("none", m_point.c_str(), "tmpfs", 0, "size=1m") != 0)
            return errno;
        m_mounted = true;
        return 0;
    }
    bool unmount()
    {
        if (!m_mounted)
            return false;
        m_mounted = umount2(m_point.c_str(), 0) != 0 && umount2(m_point.c_str(), MNT_DETACH) != 0;
        return !m_mounted;
    }

private:
    std::string m_point;
    bool m_mounted = false;
};

} // namespace

TEST(MountWatcher, MountAndUnmountEachSignalOnce)
{
    TempFolder tmp;
    TmpfsMount tmpfs(tmp.folder("mnt"));
    MountWatcher watcher;
    ASSERT_TRUE(watcher.isActive()) << "no /proc/self/mountinfo to watch";
    MountWatcher inert(tmp.pathOf("missing"));
    QSignalSpy changed(&watcher, &MountWatcher::mountsChanged);
    QSignalSpy inertChanged(&inert, &MountWatcher::mountsChanged);

    if (const int error = tmpfs.mount())
        GTEST_SKIP() << "this process may not mount a tmpfs: " << std::strerror(error);
    ASSERT_TRUE(changed.wait(signalTimeoutMs)) << "no signal for the mount";
    // A watcher that the kernel no longer sees as up to date would signal again and again.
    EXPECT_FALSE(changed.wait(quietMs)) << "signals keep coming after one mount";
    EXPECT_EQ(changed.count(), 1);

    ASSERT_TRUE(tmpfs.unmount());
    ASSERT_TRUE(changed.wait(signalTimeoutMs)) << "no signal for the unmount";
    EXPECT_FALSE(changed.wait(quietMs)) << "signals keep coming after one unmount";
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(inertChanged.count(), 0);
}

#endif
