#include "drives/driveinfovalues.h"

#include "drives/serialnumbertext.h"
#include "listing/listingtexts.h"
#include "listing/nativetext.h"

#include <algorithm>
#include <optional>

namespace vennic {

namespace {

/// The value of one drive property, or nothing when the drive cannot give it.
template <typename Read> auto tryRead(Read read) -> std::optional<decltype(read())>
{
    try {
        return read();
    } catch (const FsError&) {
        return std::nullopt;
    }
}

QString sizeValue(const std::optional<int64_t>& size, const QLocale& locale)
{
    return size ? numberText(double(*size), locale) : QString();
}

} // namespace

DriveInfoValues readDriveInfo(const Drive& drive, const QStringList& driveTypeNames,
                              PathStyle style, const QLocale& locale)
{
    DriveInfoValues values;
    const auto letter = tryRead([&] { return drive.DriveLetter(); });
    values.heading = QStringLiteral("Information for Drive ");
    if (letter) {
        values.heading += nativeToQString(*letter);
        // A Windows drive letter comes without its colon; a mount point is shown as it is.
        if (style == PathStyle::Windows)
            values.heading += u':';
    }
    if (const auto name = tryRead([&] { return drive.VolumeName(); }))
        values.volumeName = QString::fromStdString(*name);
    if (const auto share = tryRead([&] { return drive.ShareName(); }))
        values.shareName = QString::fromStdString(*share);
    if (const auto type = tryRead([&] { return drive.DriveType(); }))
        values.driveType = driveTypeNames.value(*type);
    if (const auto fileSystem = tryRead([&] { return drive.FileSystem(); }))
        values.fileSystem = QString::fromStdString(*fileSystem);

    const auto total = tryRead([&] { return drive.TotalSize(); });
    const auto free = tryRead([&] { return drive.FreeSpace(); });
    values.totalSpace = sizeValue(total, locale);
    values.freeSpace = sizeValue(free, locale);
    values.availableSpace = sizeValue(tryRead([&] { return drive.AvailableSpace(); }), locale);
    if (const auto serial = tryRead([&] { return drive.SerialNumber(); }))
        values.serialNumber = serialNumberText(*serial);

    // The root folder of a drive that is not ready is not opened: on a network drive that
    // does not answer the open would wait for the server.
    const bool ready = tryRead([&] { return drive.IsReady(); }).value_or(false);
    if (ready) {
        const auto root = tryRead([&] {
            const std::unique_ptr<Folder> folder = drive.RootFolder();
            return folder ? folder->Path() : NativeString();
        });
        if (root)
            values.rootFolder = nativeToQString(*root);
    }
    if (const auto path = tryRead([&] { return drive.Path(); })) {
        values.drivePath = *path;
        values.path = nativeToQString(*path);
    }
    values.isReady = ready ? QStringLiteral("True") : QStringLiteral("False");
    if (total && free)
        values.usedSpace = numberText(double(*total - *free), locale);

    if (total && free && *total > 0) {
        const double share = double(*free) / double(*total) * 100.0;
        values.freeShare = float(std::clamp(share, 0.0, 100.0));
    }
    return values;
}

} // namespace vennic
