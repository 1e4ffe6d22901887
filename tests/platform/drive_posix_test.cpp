#include "platform/posix/drive_posix.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <sys/statvfs.h>

using namespace vennic;

namespace {

/// Remembers the path the drive asks its root folder for; the folder itself is not needed.
struct RecordingOpener {
    std::shared_ptr<std::string> asked = std::make_shared<std::string>();
    std::function<std::unique_ptr<Folder>(const NativeString&)> opener() const
    {
        auto target = asked;
        return [target](const NativeString& path) {
            *target = path;
            return std::unique_ptr<Folder>();
        };
    }
};

} // namespace

TEST(PosixDrive, LiveRootDriveHasConsistentProperties)
{
    const MountTable table = MountTable::read();
    const MountEntry* rootMount = table.byMountPoint("/");
    ASSERT_NE(rootMount, nullptr);
    RecordingOpener recorder;
    const auto drive = openPosixDrive("/", table, recorder.opener());

    EXPECT_TRUE(drive->IsReady());
    EXPECT_EQ(drive->DriveLetter(), "/");
    EXPECT_EQ(drive->Path(), "/");
    EXPECT_EQ(drive->FileSystem(), rootMount->fsType);
    EXPECT_GT(drive->TotalSize(), 0);
    EXPECT_LE(drive->FreeSpace(), drive->TotalSize());
    EXPECT_LE(drive->AvailableSpace(), drive->FreeSpace());
    EXPECT_GE(drive->DriveType(), DriveKind::Unknown);
    EXPECT_LE(drive->DriveType(), DriveKind::RamDisk);
    if (!isNetworkFileSystem(rootMount->fsType))
        EXPECT_EQ(drive->ShareName(), "");

    struct statvfs sv {};
    ASSERT_EQ(statvfs("/", &sv), 0);
    EXPECT_EQ(drive->SerialNumber(), static_cast<int32_t>(static_cast<uint32_t>(sv.f_fsid)));

    drive->RootFolder();
    EXPECT_EQ(*recorder.asked, "/");
}

TEST(PosixDrive, RootFolderOfAMountPointEndsWithASlash)
{
    const MountTable table = MountTable::read();
    RecordingOpener recorder;
    const auto drive = openPosixDrive("/proc/", table, recorder.opener());
    EXPECT_EQ(drive->Path(), "/proc");
    drive->RootFolder();
    EXPECT_EQ(*recorder.asked, "/proc/");
}

// A network mount is asked on a thread of its own; one that answers is ready and names its
// share. The table is canned so the live root can stand in for the server.
TEST(PosixDrive, NetworkDriveIsAskedOffThreadAndNamesItsShare)
{
    const auto table = MountTable::parse("1 0 0:60 / / rw - nfs4 server:/export rw\n");
    const auto drive = openPosixDrive("/", table, nullptr);
    EXPECT_TRUE(drive->IsReady());
    EXPECT_GT(drive->TotalSize(), 0);
    EXPECT_EQ(drive->ShareName(), "server:/export");
    EXPECT_EQ(drive->DriveType(), DriveKind::Remote);
    EXPECT_EQ(drive->VolumeName(), "");
    EXPECT_EQ(drive->RootFolder(), nullptr);
}

TEST(PosixDrive, UnknownSpecificationIsDeviceUnavailable)
{
    const MountTable table = MountTable::read();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const std::string driveName : {std::string("/no/such/mount"), std::string(),
                                        std::string("C:"), dir.path().toStdString()}) {
        try {
            openPosixDrive(driveName, table, nullptr);
            ADD_FAILURE() << "no error for " << driveName;
        } catch (const FsError& e) {
            EXPECT_EQ(e.number(), FsErrorNumber::DeviceUnavailable) << driveName;
        }
    }
}

TEST(PosixDrive, VolumeNameErrorsGiveTheReason)
{
    struct Case {
        int err;
        const char* fsType;
        int number;
        const char* detail;
    };
    const Case cases[] = {
        {EPERM, "ext4", 70, "Changing the volume name needs administrator rights."},
        {EACCES, "ext4", 70, "Changing the volume name needs administrator rights."},
        {EINVAL, "btrfs", 75, "The file system does not accept this name."},
        {ERANGE, "xfs", 75, "The file system does not accept this name."},
        {ENOTTY, "vfat", 75, "A FAT or exFAT volume cannot be relabelled while it is mounted."},
        {EOPNOTSUPP, "exfat", 75,
         "A FAT or exFAT volume cannot be relabelled while it is mounted."},
        {ENOSYS, "msdos", 75, "A FAT or exFAT volume cannot be relabelled while it is mounted."},
        {ENOTTY, "tmpfs", 75, "This file system does not support changing its volume name."},
        {EOPNOTSUPP, "nfs4", 75, "This file system does not support changing its volume name."},
        {EROFS, "iso9660", 70, "The drive is read-only."},
    };
    for (const auto& c : cases) {
        const FsError e = volumeNameError(c.err, c.fsType);
        EXPECT_EQ(e.number(), c.number) << c.err << " " << c.fsType;
        EXPECT_EQ(e.detail(), c.detail) << c.err << " " << c.fsType;
    }
    EXPECT_FALSE(volumeNameError(EIO, "ext4").detail().empty());
    EXPECT_EQ(volumeNameError(EIO, "ext4").number(), FsErrorNumber::DeviceIoError);
}

TEST(PosixDrive, NetworkVolumeNameWriteIsRefusedWithoutTouchingTheServer)
{
    const auto table = MountTable::parse("1 0 0:60 / / rw - cifs //srv/share rw\n");
    const auto drive = openPosixDrive("/", table, nullptr);
    try {
        drive->SetVolumeName("NEW");
        ADD_FAILURE() << "a network volume was relabelled";
    } catch (const FsError& e) {
        EXPECT_EQ(e.detail(), "This file system does not support changing its volume name.");
    }
}

TEST(PosixDrive, DecodesUdevLabelEscapes)
{
    EXPECT_EQ(decodeLabelEscapes("My\\x20Disk"), "My Disk");
    EXPECT_EQ(decodeLabelEscapes("a\\x2fb\\x5C"), "a/b\\");
    EXPECT_EQ(decodeLabelEscapes("cut\\x2"), "cut\\x2");
    EXPECT_EQ(decodeLabelEscapes("a\\x2Fb\\x5c1"), "a/b\\1");
    EXPECT_EQ(decodeLabelEscapes("bad\\xZZ"), "bad\\xZZ");
    EXPECT_EQ(decodeLabelEscapes("plain"), "plain");
}
