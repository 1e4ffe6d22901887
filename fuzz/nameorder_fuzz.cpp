// Fuzzes the one order of names. The input splits at its first two line feeds into three names,
// each tried decoded as UTF-8 (as a native name becomes a row's text, invalid bytes and all)
// and with the same bytes read as UTF-16, which reaches lone surrogates. The keys are made as
// the sort makes them, one after another in one buffer, and compared byte by byte; a sort
// given anything but a strict weak order may run past its range, so the order on the three
// names must be one: irreflexive, asymmetric and transitive, with "neither comes first"
// transitive too. It must also agree with compare() and with a key made on its own, and with
// a locale, with the collator's own comparison.
#include "listing/nameorder.h"

#include <QCollator>
#include <QLocale>
#include <QString>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

using vennic::NameOrder;

namespace {

using Names = std::array<QString, 3>;

[[noreturn]] void fail(const char* what, const QLocale& locale, const Names& names)
{
    std::fprintf(stderr, "nameorder_fuzz: %s (locale %s)\n", what,
                 locale.name().toUtf8().constData());
    for (const QString& name : names) {
        std::fprintf(stderr, "name:");
        for (const QChar c : name)
            std::fprintf(stderr, " %04x", unsigned(c.unicode()));
        std::fprintf(stderr, "\n");
    }
    std::abort();
}

int sign(int v)
{
    return (v > 0) - (v < 0);
}

struct Ordered {
    QLocale locale;
    NameOrder order;
    /// The collator the order follows; none under the C locale.
    std::unique_ptr<QCollator> collator;
};

std::unique_ptr<QCollator> caseInsensitiveCollator(const QLocale& locale)
{
    if (locale.language() == QLocale::C)
        return nullptr;
    auto collator = std::make_unique<QCollator>(locale);
    collator->setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

Ordered orderFor(const QLocale& locale)
{
    return {locale, NameOrder(locale), caseInsensitiveCollator(locale)};
}

// The C locale, one without contractions and one with them ("aa" sorts as one letter).
std::array<Ordered, 3>& orders()
{
    static std::array<Ordered, 3> all = {orderFor(QLocale::c()),
                                         orderFor(QLocale(QLocale::English, QLocale::UnitedStates)),
                                         orderFor(QLocale(QLocale::Danish, QLocale::Denmark))};
    return all;
}

bool isAscii(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

void check(const Ordered& o, const Names& names)
{
    std::string buffer;
    std::array<size_t, 4> starts{};
    for (size_t i = 0; i < names.size(); ++i)
        starts[i + 1] = starts[i] + o.order.appendKey(names[i], buffer);
    if (starts[3] != buffer.size())
        fail("the key lengths do not add up to the buffer", o.locale, names);
    const std::string_view all(buffer);
    std::array<std::string_view, 3> keys;
    for (size_t i = 0; i < keys.size(); ++i)
        keys[i] = all.substr(starts[i], starts[i + 1] - starts[i]);
    const auto less = [&](size_t a, size_t b) {
        return NameOrder::compareKeys(keys[a], keys[b]) < 0;
    };
    const auto same = [&](size_t a, size_t b) { return !less(a, b) && !less(b, a); };

    for (size_t a = 0; a < 3; ++a) {
        if (less(a, a))
            fail("a name comes before itself", o.locale, names);
        if (o.order.key(names[a]).bytes() != keys[a])
            fail("a key made in a shared buffer differs from one made alone", o.locale, names);
        for (size_t b = 0; b < 3; ++b) {
            if (less(a, b) && less(b, a))
                fail("two names each come before the other", o.locale, names);
            const int byKeys = sign(NameOrder::compareKeys(keys[a], keys[b]));
            if (sign(o.order.compare(names[a], names[b])) != byKeys)
                fail("compare() disagrees with the keys", o.locale, names);
            // QCollator puts an empty text first without asking the collator, which finds it
            // equal to a text of ignorable characters only (U+0001, say), as the keys do.
            if (o.collator && !names[a].isEmpty() && !names[b].isEmpty() &&
                sign(o.collator->compare(names[a], names[b])) != byKeys)
                fail("the keys disagree with the collator", o.locale, names);
            for (size_t c = 0; c < 3; ++c) {
                if (less(a, b) && less(b, c) && !less(a, c))
                    fail("the order is not transitive", o.locale, names);
                if (same(a, b) && same(b, c) && !same(a, c))
                    fail("names that count as the same are not all the same", o.locale, names);
            }
        }
        // Case does not count: in ASCII, where no contraction of the locales here takes one
        // case and not the other, a name and its capitals are the same name.
        if (o.locale.language() != QLocale::Danish && isAscii(names[a]) &&
            o.order.compare(names[a], names[a].toUpper()) != 0)
            fail("a name and its capitals are not the same name", o.locale, names);
    }
}

QString fromUtf16Bytes(const uint8_t* data, size_t size)
{
    QString text(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data, size / 2 * 2);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::array<const uint8_t*, 3> begins{};
    std::array<size_t, 3> sizes{};
    const uint8_t* rest = data;
    size_t left = size;
    for (size_t i = 0; i < 3; ++i) {
        const auto* split =
            i < 2 ? static_cast<const uint8_t*>(std::memchr(rest, '\n', left)) : nullptr;
        begins[i] = rest;
        sizes[i] = split ? size_t(split - rest) : left;
        rest += sizes[i];
        left -= sizes[i];
        if (split) {
            ++rest;
            --left;
        }
    }
    Names utf8, utf16;
    for (size_t i = 0; i < 3; ++i) {
        utf8[i] = QString::fromUtf8(reinterpret_cast<const char*>(begins[i]), qsizetype(sizes[i]));
        utf16[i] = fromUtf16Bytes(begins[i], sizes[i]);
    }
    for (const Ordered& o : orders()) {
        check(o, utf8);
        check(o, utf16);
    }
    return 0;
}
