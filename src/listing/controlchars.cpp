#include "listing/controlchars.h"

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
    for (QChar& c : shown)
        if (isControlCode(c.unicode()))
            c = QChar::ReplacementCharacter;
    return shown;
}

} // namespace vennic
