#pragma once

#include "platform/filesystem.h"

#include <QString>
#include <QStringView>

namespace vennic {

/// True when `c` is a control character: codes 0 to 31 and 127. A name or path that holds one
/// never becomes a path: the system calls stop at U+0000, so they would act on a shorter name
/// than the one shown, and the others do not show as what they are.
constexpr bool isControlCode(char32_t c)
{
    return c < 32 || c == 127;
}

bool hasControlCharacter(QStringView text);
/// The same for a native name or path. POSIX names are bytes; every byte of a multi-byte
/// UTF-8 sequence is 128 or more, so a byte test finds exactly the control characters.
bool hasControlCharacter(const NativeString& native);

/// The text with each control character replaced by U+FFFD, the mark of a character that
/// cannot be shown, as bytes that are not UTF-8 are: a name such as "keep.txt", U+0000,
/// " (copy)" then shows that it holds more than "keep.txt (copy)". (The pictures of the
/// control characters, U+2400 on, are missing from the common desktop fonts.)
QString withVisibleControls(const QString& text);

} // namespace vennic
