// Fuzzes the name-pattern matcher. The input up to its first line feed is the pattern, the rest
// the name. Each pair is tried twice: decoded as UTF-8, as typed text and listed names arrive,
// and with the same bytes read as UTF-16, which reaches surrogate pairs and lone surrogates.
// Besides the sanitizers' checks (and libFuzzer's time-out on a match that backtracks without
// end), a few rules that every pattern and every name keep are checked.
#include "listing/pattern.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using vennic::NamePattern;

namespace {

[[noreturn]] void fail(const char* what, const QString& pattern, const QString& name)
{
    std::fprintf(stderr, "pattern_fuzz: %s\npattern: %s\nname: %s\n", what,
                 pattern.toUtf8().constData(), name.toUtf8().constData());
    std::abort();
}

// The name as a pattern that matches just that name: each wildcard character in a list of its own.
QString literalPattern(const QString& name)
{
    QString pattern;
    for (const QChar c : name) {
        if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('#') ||
            c == QLatin1Char('[')) {
            pattern += QLatin1Char('[');
            pattern += c;
            pattern += QLatin1Char(']');
        } else {
            pattern += c;
        }
    }
    return pattern;
}

// As many "?" as the name has characters, a surrogate pair counting as one.
QString anyOnePattern(const QString& name)
{
    qsizetype characters = 0;
    for (qsizetype i = 0; i < name.size(); ++i, ++characters)
        if (name[i].isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate())
            ++i;
    return QString(characters, QLatin1Char('?'));
}

bool hasWildcards(const QString& pattern)
{
    for (const QChar c : pattern)
        if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('#') ||
            c == QLatin1Char('['))
            return true;
    return false;
}

void check(const QString& pattern, const QString& name)
{
    const NamePattern compiled(pattern);
    const bool matched = compiled.matches(name);
    if (!compiled.isValid()) {
        if (matched || compiled.matches(QString()) || compiled.matches(pattern))
            fail("a malformed pattern matched", pattern, name);
        return;
    }
    if (!hasWildcards(pattern) && !compiled.matches(pattern))
        fail("a pattern without wildcards does not match itself", pattern, name);
    if (!matched)
        return;
    // A star more at either end takes nothing, or lets the name grow at that end. "x" joins no
    // surrogate pair.
    const QString star(QLatin1Char('*'));
    const QString more(QLatin1Char('x'));
    if (!NamePattern(pattern + star).matches(name) || !NamePattern(star + pattern).matches(name))
        fail("a star more at one end does not match what the pattern matched", pattern, name);
    if (!NamePattern(pattern + star).matches(name + more))
        fail("a trailing star does not take an added last character", pattern, name);
    if (!NamePattern(star + pattern).matches(more + name))
        fail("a leading star does not take an added first character", pattern, name);
}

QString fromUtf16Bytes(const uint8_t* data, size_t size)
{
    QString text(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data, size / 2 * 2);
    return text;
}

// Rules that hold for every name, whatever the pattern.
void checkName(const QString& name)
{
    if (!NamePattern(literalPattern(name)).matches(name))
        fail("a name does not match itself with its wildcards in lists", literalPattern(name),
             name);
    if (!NamePattern(anyOnePattern(name)).matches(name))
        fail("a name does not match a \"?\" for each of its characters", anyOnePattern(name), name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto* split = static_cast<const uint8_t*>(std::memchr(data, '\n', size));
    const size_t patternSize = split ? size_t(split - data) : size;
    const uint8_t* nameData = split ? split + 1 : data + size;
    const size_t nameSize = size - size_t(nameData - data);

    const QString name8 =
        QString::fromUtf8(reinterpret_cast<const char*>(nameData), qsizetype(nameSize));
    const QString name16 = fromUtf16Bytes(nameData, nameSize);
    check(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(patternSize)), name8);
    check(fromUtf16Bytes(data, patternSize), name16);
    checkName(name8);
    checkName(name16);
    return 0;
}
