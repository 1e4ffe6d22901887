#pragma once

#include "platform/filesystem.h"
#include "platform/pathrules.h"

#include <QLocale>
#include <QString>
#include <QStringList>

namespace vennic {

/// What the drive dialog shows for one drive, read in the order the dialog fills its values.
/// A value the drive cannot give (a drive that is not ready has no sizes, serial number or
/// volume name) is an empty text.
struct DriveInfoValues {
    QString heading; ///< "Information for Drive " and the drive's name
    /// The drive's path as the system spells it: the volume-name write goes to this drive.
    NativeString drivePath;
    QString volumeName;
    QString shareName;
    QString driveType;
    QString fileSystem;
    QString totalSpace;
    QString freeSpace;
    QString availableSpace;
    QString serialNumber;
    QString rootFolder;
    QString path;
    QString isReady; ///< "True" or "False"
    QString usedSpace;
    /// The free share of the disk in percent; 0 when the sizes cannot be read or the total is 0.
    float freeShare = 0;
};

/// Reads every value the drive dialog shows. Sizes use "#,###" in `locale` (0 gives an empty
/// text, so a full disk shows no free space). The heading names the drive by its letter and
/// a colon in the Windows style and by its mount point in the POSIX style. Never throws: a
/// value that fails to read stays empty.
DriveInfoValues readDriveInfo(const Drive& drive, const QStringList& driveTypeNames,
                              PathStyle style = PathRules::nativeStyle(),
                              const QLocale& locale = QLocale());

} // namespace vennic
