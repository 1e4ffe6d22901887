#include "platform/desktoplauncher.h"

#include <QByteArray>
#include <QDesktopServices>
#include <QUrl>

#include <string>

namespace vennic {

namespace {

/// A file URL of a POSIX path: built from the path's bytes, percent-encoded, so a name that is
/// not UTF-8 reaches the opener as the system spells it.
[[maybe_unused]] QUrl fileUrl(const std::string& path)
{
    const QByteArray bytes(path.data(), qsizetype(path.size()));
    return QUrl::fromEncoded(QByteArrayLiteral("file://") + bytes.toPercentEncoding("/"));
}

[[maybe_unused]] QUrl fileUrl(const std::wstring& path)
{
    return QUrl::fromLocalFile(QString::fromStdWString(path));
}

} // namespace

bool DesktopLauncher::open(const NativeString& path)
{
    const QUrl url = fileUrl(path);
    return url.isValid() && QDesktopServices::openUrl(url);
}

} // namespace vennic
