#include "listing/pattern.h"

#include <QChar>

namespace vennic {

namespace {

/// Reads the code point at `i` (a surrogate pair counts as one character) and moves past it.
char32_t nextCodePoint(QStringView text, qsizetype& i)
{
    const char16_t c = text[i].unicode();
    ++i;
    if (QChar::isHighSurrogate(c) && i < text.size() && text[i].isLowSurrogate())
        return QChar::surrogateToUcs4(c, text[i++].unicode());
    return c;
}

char32_t fold(char32_t c)
{
    return QChar::toCaseFolded(c);
}

} // namespace

NamePattern::NamePattern(const QString& pattern)
{
    const QStringView p(pattern);
    qsizetype i = 0;
    while (i < p.size()) {
        const char32_t c = nextCodePoint(p, i);
        Token token{};
        switch (c) {
        case U'*':
            // Runs of stars mean the same as one star; keeping one keeps matching linear in them.
            if (!m_tokens.empty() && m_tokens.back().kind == Kind::Star)
                continue;
            token.kind = Kind::Star;
            break;
        case U'?':
            token.kind = Kind::AnyOne;
            break;
        case U'#':
            token.kind = Kind::Digit;
            break;
        case U'[': {
            token.kind = Kind::Set;
            token.firstRange = int(m_ranges.size());
            if (i < p.size() && p[i] == QLatin1Char('!')) {
                token.negated = true;
                ++i;
            }
            bool closed = false;
            while (i < p.size()) {
                const char32_t low = nextCodePoint(p, i);
                if (low == U']') {
                    closed = true;
                    break;
                }
                char32_t high = low;
                // A "-" between two characters makes a range; at either end of the list it is
                // a plain character.
                if (i + 1 < p.size() && p[i] == QLatin1Char('-') && p[i + 1] != QLatin1Char(']')) {
                    ++i;
                    high = nextCodePoint(p, i);
                    if (high < low)
                        m_valid = false;
                }
                m_ranges.push_back({low, high});
            }
            if (!closed)
                m_valid = false;
            token.rangeCount = int(m_ranges.size()) - token.firstRange;
            break;
        }
        default:
            token.kind = Kind::Literal;
            token.folded = fold(c);
            break;
        }
        m_tokens.push_back(token);
    }
}

bool NamePattern::inSet(const Token& token, char32_t c) const
{
    // A character is in the list when it, or another case of it, lies in one of the ranges.
    if (c < 0x80) {
        const char32_t lower = fold(c);
        const char32_t upper = c >= U'a' && c <= U'z' ? c - (U'a' - U'A') : c;
        for (int r = token.firstRange; r < token.firstRange + token.rangeCount; ++r) {
            const Range& range = m_ranges[size_t(r)];
            if ((lower >= range.low && lower <= range.high) ||
                (upper >= range.low && upper <= range.high))
                return true;
        }
        return false;
    }
    const char32_t lower = QChar::toLower(c);
    const char32_t upper = QChar::toUpper(c);
    const char32_t folded = fold(c);
    for (int r = token.firstRange; r < token.firstRange + token.rangeCount; ++r) {
        const Range& range = m_ranges[size_t(r)];
        for (const char32_t v : {c, lower, upper, folded})
            if (v >= range.low && v <= range.high)
                return true;
    }
    return false;
}

bool NamePattern::matchesOne(const Token& token, char32_t c) const
{
    switch (token.kind) {
    case Kind::Literal:
        return token.folded == c || token.folded == fold(c);
    case Kind::AnyOne:
        return true;
    case Kind::Digit:
        return c >= U'0' && c <= U'9';
    case Kind::Set:
        return inSet(token, c) != token.negated;
    case Kind::Star:
        break;
    }
    return false;
}

bool NamePattern::matches(QStringView name) const
{
    if (!m_valid)
        return false;
    // Every token but "*" takes exactly one character, so the greedy walk that goes back to
    // the last star on a mismatch finds a match whenever there is one, in polynomial time.
    const size_t tokenCount = m_tokens.size();
    size_t t = 0;
    qsizetype n = 0;
    size_t starToken = SIZE_MAX;
    qsizetype starName = 0;
    while (n < name.size()) {
        if (t < tokenCount && m_tokens[t].kind == Kind::Star) {
            starToken = t++;
            starName = n;
            continue;
        }
        qsizetype next = n;
        const char32_t c = nextCodePoint(name, next);
        if (t < tokenCount && matchesOne(m_tokens[t], c)) {
            ++t;
            n = next;
            continue;
        }
        if (starToken == SIZE_MAX)
            return false;
        // Let the last star take one more character and try again from there.
        t = starToken + 1;
        nextCodePoint(name, starName);
        n = starName;
    }
    while (t < tokenCount && m_tokens[t].kind == Kind::Star)
        ++t;
    return t == tokenCount;
}

} // namespace vennic
