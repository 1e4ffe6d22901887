#include "listing/nameorder.h"

#include <unicode/ucol.h>

#include <algorithm>
#include <cstring>

namespace vennic {

namespace {

/// Opens the locale's collator set up as QCollator sets up a case-insensitive one without
/// numeric mode that does not ignore punctuation, so that its keys order as QCollator compares.
/// Null under the C locale or when the collator cannot be opened.
UCollator* openCollator(const QLocale& locale)
{
    if (locale.language() == QLocale::C)
        return nullptr;
    const QByteArray name = locale.bcp47Name().replace(u'-', u'_').toLatin1();
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open(name.constData(), &status);
    if (U_FAILURE(status))
        return nullptr;
    ucol_setAttribute(collator, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    // The secondary strength tells accents apart but not case.
    ucol_setAttribute(collator, UCOL_STRENGTH, UCOL_SECONDARY, &status);
    ucol_setAttribute(collator, UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
    ucol_setAttribute(collator, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    if (U_FAILURE(status)) {
        ucol_close(collator);
        return nullptr;
    }
    return collator;
}

/// Whether every code unit of the text is below U+0300, where the combining marks begin. Such a
/// text needs no normalization: none of its characters combines with the one before.
bool belowCombiningMarks(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x300; });
}

/// Appends the code units of a text, each written as UTF-8 writes a code point (a surrogate
/// too, as the value it has): shorter values take fewer bytes and no value's bytes begin
/// another's, so the keys order byte by byte as QString orders the texts, by code unit.
void appendCodeUnits(const QString& text, std::string& keys)
{
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit < 0x80) {
            keys += char(unit);
        } else if (unit < 0x800) {
            keys += char(0xc0 | unit >> 6);
            keys += char(0x80 | (unit & 0x3f));
        } else {
            keys += char(0xe0 | unit >> 12);
            keys += char(0x80 | ((unit >> 6) & 0x3f));
            keys += char(0x80 | (unit & 0x3f));
        }
    }
}

} // namespace

NameOrder::NameOrder(const QLocale& locale)
{
    UCollator* collator = openCollator(locale);
    if (!collator)
        return;
    m_collator.reset(collator, ucol_close);
    // A collator that skips the normalization check gives the same keys for text that needs no
    // normalization, and most names are such text; it makes their keys faster.
    UErrorCode status = U_ZERO_ERROR;
    UCollator* plain = ucol_clone(collator, &status);
    ucol_setAttribute(plain, UCOL_NORMALIZATION_MODE, UCOL_OFF, &status);
    if (U_SUCCESS(status))
        m_plain.reset(plain, ucol_close);
    else if (plain)
        ucol_close(plain);
}

NameOrder::Key NameOrder::key(const QString& text) const
{
    Key key;
    appendKey(text, key.m_bytes);
    return key;
}

size_t NameOrder::appendKey(const QString& text, std::string& keys) const
{
    const size_t start = keys.size();
    if (!m_collator) {
        const bool ascii =
            std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
        if (ascii) {
            // In ASCII only the capital letters fold, and each code unit is one byte of the key.
            keys.reserve(start + size_t(text.size()));
            for (const QChar c : text) {
                const char16_t unit = c.unicode();
                keys += char(unit >= u'A' && unit <= u'Z' ? unit + (u'a' - u'A') : unit);
            }
        } else {
            appendCodeUnits(text.toCaseFolded(), keys);
        }
        return keys.size() - start;
    }
    const UCollator* collator =
        m_plain && belowCombiningMarks(text) ? m_plain.get() : m_collator.get();
    const auto* units = reinterpret_cast<const UChar*>(text.constData());
    const auto length = int32_t(text.size());
    // Most keys fit in this room; a longer one is made again in the room it asked for.
    size_t room = 16 + size_t(length) + size_t(length) / 2;
    for (;;) {
        keys.resize(start + room);
        const int32_t made =
            ucol_getSortKey(collator, units, length,
                            reinterpret_cast<uint8_t*>(keys.data() + start), int32_t(room));
        if (made > 0 && size_t(made) <= room) {
            // The closing zero byte is left out: no other byte of a key is zero, so the keys
            // keep their order without it.
            keys.resize(start + size_t(made) - 1);
            return size_t(made) - 1;
        }
        if (made <= 0) {
            keys.resize(start);
            return 0;
        }
        room = size_t(made);
    }
}

int NameOrder::compare(const QString& a, const QString& b) const
{
    std::string keys;
    const size_t first = appendKey(a, keys);
    appendKey(b, keys);
    const std::string_view both(keys);
    return compareKeys(both.substr(0, first), both.substr(first));
}

int NameOrder::compareKeys(std::string_view a, std::string_view b)
{
    const size_t common = std::min(a.size(), b.size());
    if (common != 0)
        if (const int order = std::memcmp(a.data(), b.data(), common))
            return order;
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

} // namespace vennic
