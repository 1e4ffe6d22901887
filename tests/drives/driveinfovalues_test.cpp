#include "drives/driveinfovalues.h"
#include "drives/serialnumbertext.h"

#include "listing/listingtexts.h"
#include "platform/mountinfo.h"
#include "support/fakefilesystem.h"

#include <gtest/gtest.h>

#include <sys/statvfs.h>

namespace vennic {
namespace {

using test::FakeFileSystem;

const QStringList TypeNames = {"Unknown",      "Removable Media", "Fixed Disk",
                               "Remote Media", "CDRom",           "RAMDisk"};

DriveInfoValues valuesOf(FakeFileSystem& fake, const NativeString& mountPoint)
{
    return readDriveInfo(*fake.GetDrive(mountPoint), TypeNames, PathStyle::Posix);
}

TEST(DriveInfoValues, FixedDiskShowsGroupedSizesUsedSpaceAndFreeShare)
{
    FakeFileSystem fake;
    auto& drive = fake.addDrive("/data", DriveKind::Fixed, "ext4", 10'000'000'000, 1'234'567'890);
    drive.availableSpace = 1'000'000'000;
    drive.serialNumber = 0x1A2B3C4D;
    drive.volumeName = "ARCHIVE";

    const DriveInfoValues v = valuesOf(fake, "/data");
    EXPECT_EQ(v.heading, "Information for Drive /data");
    EXPECT_EQ(v.volumeName, "ARCHIVE");
    EXPECT_EQ(v.shareName, "");
    EXPECT_EQ(v.driveType, "Fixed Disk");
    EXPECT_EQ(v.fileSystem, "ext4");
    EXPECT_EQ(v.totalSpace, "10,000,000,000");
    EXPECT_EQ(v.freeSpace, "1,234,567,890");
    EXPECT_EQ(v.availableSpace, "1,000,000,000");
    EXPECT_EQ(v.usedSpace, "8,765,432,110");
    EXPECT_EQ(v.serialNumber, "1A2B3C4D");
    EXPECT_EQ(v.rootFolder, "/data");
    EXPECT_EQ(v.path, "/data");
    EXPECT_EQ(v.drivePath, "/data");
    EXPECT_EQ(v.isReady, "True");
    EXPECT_NEAR(v.freeShare, 12.3456789, 1e-4);
}

TEST(DriveInfoValues, FullOrEmptySizedDiskShowsEmptyTextsAndAnEmptyBar)
{
    FakeFileSystem fake;
    fake.addDrive("/full", DriveKind::Fixed, "xfs", 5'000'000, 0);
    const DriveInfoValues full = valuesOf(fake, "/full");
    EXPECT_EQ(full.freeSpace, "");
    EXPECT_EQ(full.availableSpace, "");
    EXPECT_EQ(full.usedSpace, "5,000,000");
    EXPECT_EQ(full.freeShare, 0);

    fake.addDrive("/none", DriveKind::Unknown, "none", 0, 0);
    const DriveInfoValues none = valuesOf(fake, "/none");
    EXPECT_EQ(none.totalSpace, "");
    EXPECT_EQ(none.driveType, "Unknown");
    EXPECT_EQ(none.freeShare, 0);
}

TEST(DriveInfoValues, NetworkDriveShowsItsShareAndRemoteMedia)
{
    FakeFileSystem fake;
    auto& drive = fake.addDrive("/mnt/team", DriveKind::Remote, "cifs", 4096, 1024);
    drive.shareName = "//server/team";
    const DriveInfoValues v = valuesOf(fake, "/mnt/team");
    EXPECT_EQ(v.driveType, "Remote Media");
    EXPECT_EQ(v.shareName, "//server/team");
    EXPECT_EQ(v.fileSystem, "cifs");
    EXPECT_NEAR(v.freeShare, 25.0, 1e-6);
}

TEST(DriveInfoValues, DriveThatIsNotReadyShowsWhatCanBeRead)
{
    FakeFileSystem fake;
    auto& drive = fake.addDrive("/media/cdrom", DriveKind::CdRom, "iso9660", 700'000'000, 0);
    drive.volumeName = "DISC";
    drive.serialNumber = 77;
    drive.ready = false;
    const DriveInfoValues v = valuesOf(fake, "/media/cdrom");
    EXPECT_EQ(v.heading, "Information for Drive /media/cdrom");
    EXPECT_EQ(v.driveType, "CDRom");
    EXPECT_EQ(v.path, "/media/cdrom");
    EXPECT_EQ(v.isReady, "False");
    for (const QString& unread : {v.volumeName, v.fileSystem, v.totalSpace, v.freeSpace,
                                  v.availableSpace, v.usedSpace, v.serialNumber, v.rootFolder})
        EXPECT_EQ(unread, "");
    EXPECT_EQ(v.freeShare, 0);
}

TEST(SerialNumberText, UpperCaseHexWithoutLeadingZerosAndTwosComplement)
{
    EXPECT_EQ(serialNumberText(0), "0");
    EXPECT_EQ(serialNumberText(0xABC), "ABC");
    EXPECT_EQ(serialNumberText(0x0FFFFFFF), "FFFFFFF") << "below 16^7: seven digits";
    EXPECT_EQ(serialNumberText(0x10000000), "10000000");
    EXPECT_EQ(serialNumberText(-1), "FFFFFFFF");
    EXPECT_EQ(serialNumberText(int32_t(0x8000000A)), "8000000A") << "top bit set";
}

/// The sizes of the real root file system agree with statvfs.
TEST(DriveInfoValues, RealRootFileSystemMatchesStatvfs)
{
    const auto fs = makeSystemFileSystem([](const NativeString&) { return std::string("File"); });
    const NativeString mountPoint = fs->DrivePart("/");
    ASSERT_EQ(mountPoint, "/");
    const DriveInfoValues v = readDriveInfo(*fs->GetDrive(mountPoint), TypeNames);
    struct statvfs sv {};
    ASSERT_EQ(statvfs("/", &sv), 0);
    const auto unit = int64_t(sv.f_frsize);
    EXPECT_EQ(v.heading, "Information for Drive /");
    EXPECT_EQ(v.totalSpace, numberText(double(int64_t(sv.f_blocks) * unit)));
    EXPECT_EQ(v.serialNumber, serialNumberText(int32_t(uint32_t(sv.f_fsid & 0xFFFFFFFFu))));
    EXPECT_EQ(v.rootFolder, "/");
    EXPECT_EQ(v.path, "/");
    EXPECT_EQ(v.isReady, "True");
    EXPECT_FALSE(v.fileSystem.isEmpty());
    // Free space moves while other programs write; it must agree to within 256 MiB.
    const auto number = [](QString text) { return text.remove(u',').toLongLong(); };
    const int64_t free = int64_t(sv.f_bfree) * unit;
    EXPECT_NEAR(double(number(v.freeSpace)), double(free), 256.0 * 1024 * 1024);
    EXPECT_NEAR(double(number(v.availableSpace)), double(int64_t(sv.f_bavail) * unit),
                256.0 * 1024 * 1024);
    EXPECT_NEAR(v.freeShare, double(free) / double(int64_t(sv.f_blocks) * unit) * 100, 1.0);
}

} // namespace
} // namespace vennic
