#include "drives/volumenamewrite.h"

#include "platform/posix/drive_posix.h"
#include "support/fakefilesystem.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cerrno>

namespace vennic {
namespace {

using test::FakeFileSystem;

TEST(VolumeNameWrite, WritesTheNameToTheDrive)
{
    FakeFileSystem fake;
    fake.addDrive("/media/usb", DriveKind::Removable, "ext4", 1000, 500);
    EXPECT_EQ(writeVolumeName(fake, "/media/usb", QStringLiteral("BACKUP 2026")), std::nullopt);
    EXPECT_EQ(fake.volumeNamesWritten(), std::vector<std::string>{"BACKUP 2026"});
    EXPECT_EQ(fake.drive("/media/usb").volumeName, "BACKUP 2026");
}

TEST(VolumeNameWrite, FailureGivesTheErrorAndWritesNothing)
{
    FakeFileSystem fake;
    fake.addDrive("/media/usb");
    fake.failOn(FakeFileSystem::Op::SetVolumeName, "/media/usb", FsErrorNumber::PermissionDenied);
    const auto failure = writeVolumeName(fake, "/media/usb", QStringLiteral("X"));
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->contains("could not be set")) << failure->toStdString();
    EXPECT_TRUE(failure->contains("Permission denied, error 70")) << failure->toStdString();
    EXPECT_TRUE(fake.volumeNamesWritten().empty());

    const auto gone = writeVolumeName(fake, "/media/nothing", QStringLiteral("X"));
    ASSERT_TRUE(gone);
    EXPECT_TRUE(gone->contains("error 68")) << gone->toStdString();
}

TEST(VolumeNameWrite, NamesWithControlCharactersAreRefusedBeforeTheDriveIsOpened)
{
    // The system call would stop at U+0000 and write "a"; the others would go into the label.
    for (const QString& name : {QString::fromUtf16(u"a\u0000b", 3), QStringLiteral("a\tb"),
                                QStringLiteral("a\nb"), QStringLiteral("a\x7f")}) {
        FakeFileSystem fake;
        fake.addDrive("/media/usb").volumeName = "OLD";
        const auto failure = writeVolumeName(fake, "/media/usb", name);
        ASSERT_TRUE(failure);
        EXPECT_TRUE(failure->contains("control character")) << failure->toStdString();
        EXPECT_TRUE(fake.calls().empty()) << "the drive was opened";
        EXPECT_EQ(fake.drive("/media/usb").volumeName, "OLD");
    }
}

/// Each refusal of the real write reaches the user with the system's reason. The errors are
/// made by the real drive code's own mapping; the write itself is never called here, since it
/// would relabel a whole file system.
TEST(VolumeNameWrite, SystemRefusalsBecomeClearMessages)
{
    struct Case {
        int err;
        const char* fsType;
        const char* reason;
    };
    const Case cases[] = {
        {EPERM, "ext4", "needs administrator rights"},
        {EACCES, "ext4", "needs administrator rights"},
        {EINVAL, "ext4", "does not accept this name"},
        {ENOTTY, "vfat", "FAT or exFAT volume cannot be relabelled while it is mounted"},
        {EOPNOTSUPP, "exfat", "FAT or exFAT volume cannot be relabelled while it is mounted"},
        {ENOTTY, "tmpfs", "does not support changing its volume name"},
        {EROFS, "iso9660", "read-only"},
    };
    for (const Case& c : cases) {
        const QString text = volumeNameFailureText(volumeNameError(c.err, c.fsType));
        EXPECT_TRUE(text.startsWith("The volume name could not be set.")) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromLatin1(c.reason))) << text.toStdString();
        EXPECT_TRUE(text.contains(QRegularExpression("error \\d+\\)$"))) << text.toStdString();
    }
}

} // namespace
} // namespace vennic
