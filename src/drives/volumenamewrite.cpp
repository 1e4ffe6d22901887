#include "drives/volumenamewrite.h"

namespace vennic {

std::optional<QString> writeVolumeName(FileSystem& fileSystem, const NativeString& drivePath,
                                       const QString& name)
{
    try {
        const std::unique_ptr<Drive> drive = fileSystem.GetDrive(drivePath);
        drive->SetVolumeName(name.toStdString());
    } catch (const FsError& error) {
        return volumeNameFailureText(error);
    }
    return std::nullopt;
}

QString volumeNameFailureText(const FsError& error)
{
    QString text = QStringLiteral("The volume name could not be set.");
    if (!error.detail().empty())
        text += u'\n' + QString::fromStdString(error.detail());
    text += QStringLiteral("\n(%1, error %2)")
                .arg(QString::fromStdString(error.description()))
                .arg(error.number());
    return text;
}

} // namespace vennic
