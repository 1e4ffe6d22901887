#include "platform/mountinfo.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace vennic;

namespace {

void writeFile(const std::string& path, const std::string& content)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path) << content;
}

std::vector<std::string> mountPoints(const std::vector<DriveListEntry>& drives)
{
    std::vector<std::string> points;
    for (const auto& d : drives)
        points.push_back(d.path);
    return points;
}

} // namespace

TEST(MountTable, ParsesFieldsOptionalFieldsAndEscapes)
{
    const auto table = MountTable::parse(
        "27 1 254:0 / / rw,relatime shared:1 master:3 - ext4 /dev/vda rw,discard\n"
        "40 27 8:17 /sub /media/My\\040Disk\\011tab\\012nl\\134back rw - vfat "
        "/dev/sdb1 rw,fmask=0022\n"
        "41 27 0:50 / /mnt/share rw,nosuid - cifs //server/My\\040Share rw\n");
    ASSERT_EQ(table.entries().size(), 3u);

    const MountEntry& root = table.entries()[0];
    EXPECT_EQ(root.mountId, 27u);
    EXPECT_EQ(root.parentId, 1u);
    EXPECT_EQ(root.major, 254u);
    EXPECT_EQ(root.minor, 0u);
    EXPECT_EQ(root.fsType, "ext4");
    EXPECT_EQ(root.source, "/dev/vda");
    EXPECT_EQ(root.superOptions, "rw,discard");

    const MountEntry& usb = table.entries()[1];
    EXPECT_EQ(usb.root, "/sub");
    EXPECT_EQ(usb.mountPoint, "/media/My Disk\ttab\nnl\\back");
    EXPECT_EQ(usb.minor, 17u);
    EXPECT_EQ(table.entries()[2].source, "//server/My Share");
}

TEST(MountTable, SkipsMalformedLinesAndReadsNothingFromAMissingFile)
{
    const auto table = MountTable::parse("garbage\n"
                                         "1 2 x:y / / rw - ext4 /dev/a rw\n"
                                         "5 1 8:1 / /data rw shared:2\n" // no "-" separator
                                         "\n"
                                         "6 1 8:2 / /ok rw - xfs /dev/sda2 rw");
    ASSERT_EQ(table.entries().size(), 1u);
    EXPECT_EQ(table.entries()[0].mountPoint, "/ok");

    QTemporaryDir dir;
    EXPECT_TRUE(MountTable::read(dir.filePath("none").toStdString()).entries().empty());
    const std::string file = dir.filePath("mountinfo").toStdString();
    writeFile(file, "7 1 8:1 / / rw - ext4 /dev/sda1 rw\n");
    EXPECT_EQ(MountTable::read(file).entries().size(), 1u);
}

// The kernel lists mounts in an order that need not be the order they were made: here the
// root comes after its children, as it does in some containers.
TEST(MountTable, FindsMountsByPathAcrossStacksAndOvermounts)
{
    const auto table = MountTable::parse("22 27 0:21 / /proc rw - proc proc rw\n"
                                         "27 1 254:0 / / rw - ext4 /dev/vda rw\n"
                                         "30 27 8:1 / /home rw - ext4 /dev/sda1 rw\n"
                                         "31 27 8:2 / /a/b rw - ext4 /dev/sda2 rw\n"
                                         "32 27 8:3 / /a rw - ext4 /dev/sda3 rw\n"
                                         "33 30 8:4 / /home/ann rw - ext4 /dev/sda4 rw\n"
                                         "34 33 8:5 / /home/ann rw - xfs /dev/sda5 rw\n");
    ASSERT_NE(table.byMountId(31), nullptr);
    EXPECT_EQ(table.byMountId(31)->mountPoint, "/a/b");
    EXPECT_EQ(table.byMountId(99), nullptr);

    EXPECT_EQ(table.byPathPrefix("/homework")->mountId, 27u);
    EXPECT_EQ(table.byPathPrefix("/home/x")->mountId, 30u);
    EXPECT_EQ(table.byPathPrefix("/proc/1/fd")->mountId, 22u);
    // /home/ann is mounted twice; the later mount sits on the earlier one.
    EXPECT_EQ(table.byPathPrefix("/home/ann/Data/")->mountId, 34u);
    EXPECT_EQ(table.byMountPoint("/home/ann/")->mountId, 34u);
    // /a was mounted after /a/b and hides it.
    EXPECT_EQ(table.byPathPrefix("/a/b/c")->mountId, 32u);
    EXPECT_EQ(table.byMountPoint("/a/b"), nullptr);
    EXPECT_EQ(table.byMountPoint("/home/x"), nullptr);
    EXPECT_EQ(table.byMountPoint("/")->mountId, 27u);
    EXPECT_EQ(table.byPathPrefix("relative"), nullptr);
}

TEST(FileSystemKinds, TellPseudoAndNetworkFileSystems)
{
    for (const char* type : {"proc", "sysfs", "cgroup2", "devpts", "mqueue", "debugfs", "bpf",
                             "autofs", "fusectl", "fuse.gvfsd-fuse", "fuse.portal"})
        EXPECT_TRUE(isPseudoFileSystem(type)) << type;
    for (const char* type : {"ext4", "tmpfs", "overlay", "nfs", "vfat", "iso9660"})
        EXPECT_FALSE(isPseudoFileSystem(type)) << type;

    for (const char* type : {"nfs", "nfs4", "cifs", "smb3", "smbfs", "9p", "afs", "ceph",
                             "glusterfs", "fuse.sshfs", "fuse.rclone", "davfs"})
        EXPECT_TRUE(isNetworkFileSystem(type)) << type;
    for (const char* type : {"ext4", "fuseblk", "fuse", "overlay", "tmpfs", "proc"})
        EXPECT_FALSE(isNetworkFileSystem(type)) << type;
}

/// A canned /sys with a fixed disk sda (partition sda1), a removable stick sdb (partition
/// sdb1), a removable disk sdc used whole, and an optical drive sr0.
class DriveClassifierTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_sys = m_dir.filePath("sys").toStdString();
        addDisk("pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0/block/sda", "0");
        addPartition("pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0/block/sda", "sda1",
                     "8:1");
        addDisk("pci0000:00/0000:00:14.0/usb2/2-1/host6/target6:0:0/6:0:0:0/block/sdb", "1");
        addPartition("pci0000:00/0000:00:14.0/usb2/2-1/host6/target6:0:0/6:0:0:0/block/sdb", "sdb1",
                     "8:17");
        addDisk("pci0000:00/usb3/block/sdc", "1");
        link("pci0000:00/usb3/block/sdc", "8:32");
        addDisk("pci0000:00/ata2/block/sr0", "1");
        link("pci0000:00/ata2/block/sr0", "11:0");
    }

    void addDisk(const std::string& path, const std::string& removable)
    {
        writeFile(m_sys + "/devices/" + path + "/removable", removable + "\n");
    }
    void addPartition(const std::string& disk, const std::string& name, const std::string& dev)
    {
        writeFile(m_sys + "/devices/" + disk + "/" + name + "/partition", "1\n");
        link(disk + "/" + name, dev);
    }
    void link(const std::string& devicePath, const std::string& dev)
    {
        std::filesystem::create_directories(m_sys + "/dev/block");
        std::filesystem::create_directory_symlink("../../devices/" + devicePath,
                                                  m_sys + "/dev/block/" + dev);
    }

    int typeOf(const std::string& line) const
    {
        const auto table = MountTable::parse(line);
        EXPECT_EQ(table.entries().size(), 1u) << line;
        return table.entries().empty() ? -1 : DriveClassifier(m_sys).driveType(table.entries()[0]);
    }

    QTemporaryDir m_dir;
    std::string m_sys;
};

TEST_F(DriveClassifierTest, BlockDevicesByTheirDisksRemovableFlag)
{
    EXPECT_EQ(typeOf("40 1 8:17 / /media/stick rw - vfat /dev/sdb1 rw"), DriveKind::Removable);
    EXPECT_EQ(typeOf("41 1 8:32 / /media/whole rw - exfat /dev/sdc rw"), DriveKind::Removable);
    EXPECT_EQ(typeOf("42 1 8:1 / / rw - ext4 /dev/sda1 rw"), DriveKind::Fixed);
    // A device /sys does not know, holding a disk file system, is still fixed storage.
    EXPECT_EQ(typeOf("43 1 259:3 / /data rw - ext4 /dev/nvme0n1p3 rw"), DriveKind::Fixed);
}

TEST_F(DriveClassifierTest, FileSystemKindsComeBeforeTheDevice)
{
    EXPECT_EQ(typeOf("50 1 0:60 / /mnt/nfs rw - nfs4 server:/export rw"), DriveKind::Remote);
    EXPECT_EQ(typeOf("51 1 0:61 / /mnt/ssh rw - fuse.sshfs ann@host:/ rw"), DriveKind::Remote);
    EXPECT_EQ(typeOf("52 1 11:0 / /media/cd ro - iso9660 /dev/sr0 ro"), DriveKind::CdRom);
    EXPECT_EQ(typeOf("53 1 8:17 / /media/dvd ro - udf /dev/sdb1 ro"), DriveKind::CdRom);
    EXPECT_EQ(typeOf("54 1 0:40 / /tmp rw - tmpfs tmpfs rw"), DriveKind::RamDisk);
    EXPECT_EQ(typeOf("55 1 0:41 / /mnt/ram rw - ramfs ramfs rw"), DriveKind::RamDisk);
}

TEST_F(DriveClassifierTest, DevicelessFileSystems)
{
    EXPECT_EQ(typeOf("60 1 0:21 / /proc rw - proc proc rw"), DriveKind::Unknown);
    EXPECT_EQ(typeOf("61 1 0:70 / / rw - overlay overlay rw,lowerdir=/l"), DriveKind::Fixed);
    EXPECT_EQ(typeOf("62 1 0:71 / /tank rw - zfs tank/data rw"), DriveKind::Fixed);
    EXPECT_EQ(typeOf("63 1 0:72 /@home /home rw - btrfs /dev/sda1 rw"), DriveKind::Fixed);
    EXPECT_EQ(typeOf("64 1 0:73 / /mnt/odd rw - fuse.unknownfs odd rw"), DriveKind::Unknown);
}

TEST(UserDrives, ListsWhatAUserWouldPick)
{
    const auto table = MountTable::parse("27 1 254:0 / / rw - ext4 /dev/vda rw\n"
                                         "22 27 0:21 / /proc rw - proc proc rw\n"
                                         "23 27 0:22 / /sys rw - sysfs sysfs rw\n"
                                         "24 27 0:6 / /dev rw - devtmpfs devtmpfs rw\n"
                                         "25 24 0:23 / /dev/shm rw - tmpfs tmpfs rw\n"
                                         "26 27 0:24 / /run rw - tmpfs tmpfs rw\n"
                                         "28 26 0:25 / /run/user/1000 rw - tmpfs tmpfs rw\n"
                                         "29 27 0:26 / /tmp rw - tmpfs tmpfs rw\n"
                                         "30 27 7:1 / /snap/core/123 ro - squashfs /dev/loop1 ro\n"
                                         "31 27 8:1 / /home rw - ext4 /dev/sda1 rw\n"
                                         "32 27 8:17 / /media/usb rw - vfat /dev/sdb1 rw\n"
                                         "33 27 8:18 / /media/usb rw - exfat /dev/sdb2 rw\n"
                                         "34 27 0:60 / /mnt/nfs rw - nfs4 server:/export rw\n"
                                         "37 27 8:3 / /boot/efi rw - vfat /dev/sda3 rw\n"
                                         "38 23 0:30 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
                                         "39 31 8:4 / /home/ann/old rw - ext4 /dev/sda4 rw\n"
                                         "40 27 8:5 / /home rw - ext4 /dev/sda5 rw\n");
    QTemporaryDir dir;
    const auto drives = userDrives(table, DriveClassifier(dir.filePath("nosys").toStdString()));

    // /home/ann/old was hidden when /home was mounted again over it.
    EXPECT_EQ(mountPoints(drives), (std::vector<std::string>{"/", "/boot/efi", "/home",
                                                             "/media/usb", "/mnt/nfs", "/tmp"}));
    for (const auto& d : drives) {
        if (d.path == "/media/usb")
            EXPECT_EQ(d.fileSystem, "exfat") << "the last mount at a point is the one shown";
        if (d.path == "/mnt/nfs")
            EXPECT_EQ(d.driveType, DriveKind::Remote);
        if (d.path == "/tmp")
            EXPECT_EQ(d.driveType, DriveKind::RamDisk);
    }
}

TEST(UserDrives, SkipsBindMountsOfSingleFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string base = std::filesystem::canonical(dir.path().toStdString()).string();
    writeFile(base + "/hosts", "127.0.0.1 localhost\n");
    std::filesystem::create_directory(base + "/folder");

    // Only "/" is mounted beneath, so both bind mounts are reachable whatever holds the
    // temporary folder.
    const auto table = MountTable::parse("27 1 254:0 / / rw - ext4 /dev/vda rw\n"
                                         "35 27 254:0 /etc/hosts " +
                                         base +
                                         "/hosts rw - ext4 /dev/vda rw\n"
                                         "36 27 254:0 /srv " +
                                         base + "/folder rw - ext4 /dev/vda rw\n");
    const auto drives = userDrives(table, DriveClassifier(base + "/nosys"));
    EXPECT_EQ(mountPoints(drives), (std::vector<std::string>{"/", base + "/folder"}));
}
