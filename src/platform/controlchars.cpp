#include "platform/controlchars.h"

#include <algorithm>

namespace vennic {

bool hasControlCharacter(QStringView text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return isControlCode(c.unicode()); });
}

bool hasControlCharacter(const NativeString& native)
{
    return std::any_of(native.begin(), native.end(), [](auto c) {
        using Unit = std::make_unsigned_t<NativeString::value_type>;
        return isControlCode(char32_t(Unit(c)));
    });
}

QString withVisibleControls(const QString& text)
{
    if (!hasControlCharacter(text))
        return text;
    QString shown = text;
    for (QChar& c : shown) {
        const char16_t code = c.unicode();
        if (code < 32)
            c = QChar(char16_t(0x2400 + code));
        else if (code == 127)
            c = QChar(char16_t(0x2421));
    }
    return shown;
}

} // namespace vennic
