#include "platform/pathrules.h"

#include "platform/mountinfo.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace vennic;

TEST(PathRulesWindows, UpOneLevel)
{
    const PathRules rules(PathStyle::Windows);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"C:\\Data", "C:\\"},
        {"C:\\Data\\Sub", "C:\\Data"},
        {"C:\\Data\\Sub\\", "C:\\Data\\Sub"},
        {"C:\\", "C:\\"},
        {"C:", "C:"},
        {"", ""},
        {"abcd", "abcd"},
        {"\\\\srv\\share", "\\\\srv"},
    };
    for (const auto& [path, up] : cases)
        EXPECT_EQ(rules.upOneLevel(path), up) << path;
}

TEST(PathRulesPosix, UpOneLevel)
{
    const PathRules rules(PathStyle::Posix);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/home/ann", "/home"},
        {"/home/ann/", "/home"},
        {"/home", "/"},
        {"/home//", "/"},
        {"/", "/"},
        {"//", "/"},
        {"abcd", "abcd"},
        {"", ""},
        {"/media/My Disk/x", "/media/My Disk"},
    };
    for (const auto& [path, up] : cases)
        EXPECT_EQ(rules.upOneLevel(path), up) << path;
}

TEST(PathRules, FolderTextAndDriveRoot)
{
    const PathRules windows(PathStyle::Windows);
    EXPECT_EQ(windows.folderText("C:\\Data"), "C:\\Data\\");
    EXPECT_EQ(windows.folderText("C:\\"), "C:\\");
    EXPECT_EQ(windows.folderText("C:"), "C:\\");
    EXPECT_EQ(windows.driveRoot("C:"), "C:\\");
    EXPECT_EQ(windows.drivePart("D:\\Data\\x.txt"), "D:");
    EXPECT_EQ(windows.separator(), '\\');

    const PathRules posix(PathStyle::Posix);
    EXPECT_EQ(posix.folderText("/home/ann"), "/home/ann/");
    EXPECT_EQ(posix.folderText("/"), "/");
    EXPECT_EQ(posix.driveRoot("/media/usb"), "/media/usb");
    EXPECT_EQ(posix.separator(), '/');
    EXPECT_EQ(PathRules::nativeStyle(), PathStyle::Posix);
}

TEST(PathRulesPosix, DrivePartOfLivePathsIsAMountPointHoldingThem)
{
    const PathRules rules(PathStyle::Posix);
    const MountTable table = MountTable::read();
    EXPECT_EQ(rules.drivePart("/"), "/");

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string real = std::filesystem::canonical(dir.path().toStdString()).string();
    const std::string drive = rules.drivePart(real);
    ASSERT_NE(table.byMountPoint(drive), nullptr) << drive;
    EXPECT_EQ(real.compare(0, drive.size(), drive), 0) << drive << " does not hold " << real;

    // A path that does not exist (yet) belongs to the drive of its nearest existing folder.
    EXPECT_EQ(rules.drivePart(real + "/missing/deeper/file.txt"), drive);
    EXPECT_EQ(rules.drivePart("/proc/self/status"), "/proc");
}

// A table that is not this system's: mount ids never match, so the longest mount-point prefix
// of the resolved path decides.
TEST(PathRulesPosix, DrivePartFallsBackToTheLongestMountPrefix)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string base = std::filesystem::canonical(dir.path().toStdString()).string();
    std::filesystem::create_directories(base + "/My Disk/data");
    std::filesystem::create_directories(base + "/mnt/data");
    std::filesystem::create_directory_symlink(base + "/mnt/data", base + "/link");
    const std::string file = base + "/mountinfo";
    std::ofstream(file) << "900001 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
                        << "900002 900001 8:2 / " << base << "/My\\040Disk rw - vfat /dev/sdb1 rw\n"
                        << "900003 900001 8:3 / " << base << "/mnt rw - ext4 /dev/sdc1 rw\n";
    const PathRules rules(PathStyle::Posix, file);

    EXPECT_EQ(rules.drivePart(base + "/My Disk/data"), base + "/My Disk");
    EXPECT_EQ(rules.drivePart(base + "/My Disk/data/not/yet"), base + "/My Disk");
    EXPECT_EQ(rules.drivePart(base + "/link/x"), base + "/mnt") << "the link is followed";
    EXPECT_EQ(rules.drivePart(base + "/mntx"), "/");
    EXPECT_EQ(rules.drivePart(base), "/");
}
