#pragma once

#include "platform/filesystem.h"

#include <QString>

#include <string>

namespace vennic {

/// The display text of a native name or path. POSIX names are bytes, shown as UTF-8; bytes
/// that are not valid UTF-8 become replacement characters (the row keeps the native name).
inline QString nativeToQString(const std::string& native)
{
    return QString::fromUtf8(native.data(), qsizetype(native.size()));
}

inline QString nativeToQString(const std::wstring& native)
{
    return QString::fromStdWString(native);
}

} // namespace vennic
