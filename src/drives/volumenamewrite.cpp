#include "drives/volumenamewrite.h"

#include "listing/controlchars.h"

namespace vennic {

std::optional<QString> writeVolumeName(FileSystem& fileSystem, const NativeString& drivePath,
                                       const QString& name)
{
    // The system call would stop at a U+0000 and write only what comes before it, and a tab or
    // line break would go into the label where no one sees it; such a name is refused before
    // the drive is even opened.
    if (hasControlCharacter(name))
        return QStringLiteral("The volume name could not be set.\nThe name holds a control "
                              "character (such as a tab or a line break), which a volume name "
                              "cannot hold. The volume name was not changed.");
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
