#include "fileops/columnalignment.h"

#include "listing/panelist.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace vennic {

namespace {

/// The value of the digits in `base` that stand in `text` from `from` on, as far as they go.
double digitsValue(const QString& text, qsizetype from, int base)
{
    double value = 0;
    for (qsizetype pos = from; pos < text.size(); ++pos) {
        const char16_t c = text[pos].unicode();
        const int digit = c >= u'0' && c <= u'9'   ? c - u'0'
                          : c >= u'a' && c <= u'f' ? c - u'a' + 10
                          : c >= u'A' && c <= u'F' ? c - u'A' + 10
                                                   : base;
        if (digit >= base)
            break;
        value = value * base + digit;
    }
    return value;
}

} // namespace

double leadingNumber(const QString& original)
{
    QString text;
    text.reserve(original.size());
    for (const QChar c : original)
        if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r')
            text += c;

    if (text.startsWith(QLatin1String("&H"), Qt::CaseInsensitive))
        return digitsValue(text, 2, 16);
    if (text.startsWith(QLatin1String("&O"), Qt::CaseInsensitive))
        return digitsValue(text, 2, 8);

    qsizetype pos = 0;
    // The longest prefix of the form [sign] digits [. digits] [E|D [sign] digits].
    QString number;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-'))
        number += text[pos++];
    const auto takeDigits = [&] {
        qsizetype taken = 0;
        while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
            number += text[pos++];
            ++taken;
        }
        return taken;
    };
    qsizetype mantissaDigits = takeDigits();
    if (pos < text.size() && text[pos] == u'.') {
        number += text[pos++];
        mantissaDigits += takeDigits();
    }
    if (mantissaDigits == 0)
        return 0;
    if (pos < text.size() &&
        (text[pos] == u'E' || text[pos] == u'e' || text[pos] == u'D' || text[pos] == u'd')) {
        const qsizetype mark = pos;
        QString exponent = QStringLiteral("e");
        ++pos;
        if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-'))
            exponent += text[pos++];
        const qsizetype before = number.size();
        if (takeDigits() > 0) {
            number.insert(before, exponent);
        } else {
            number.truncate(before);
            pos = mark;
        }
    }
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok ? value : 0;
}

std::optional<int16_t> roundToInt16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // The default rounding mode rounds halves to the even neighbour.
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(previous);
    if (rounded < std::numeric_limits<int16_t>::min() ||
        rounded > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return int16_t(rounded);
}

std::optional<int> alignColumnRight(PaneList& list, const QString& numberText)
{
    const std::optional<int16_t> n = roundToInt16(leadingNumber(numberText));
    if (!n || *n < 1 || *n > list.columnCount())
        return std::nullopt;
    const int column = *n - 1;
    list.setRightAligned(column, true);
    return column;
}

} // namespace vennic
