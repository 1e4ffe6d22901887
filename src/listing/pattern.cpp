#include "listing/pattern.h"

#include "listing/casefoldclasses.h"

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

/// The other case of a basic Latin letter; other characters stay as they are.
char32_t otherAsciiCase(char32_t c)
{
    if (c >= U'a' && c <= U'z')
        return c - (U'a' - U'A');
    if (c >= U'A' && c <= U'Z')
        return c + (U'a' - U'A');
    return c;
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
            fillAsciiAnswers(token);
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

bool NamePattern::inRanges(const Token& token, char32_t c) const
{
    for (int r = token.firstRange; r < token.firstRange + token.rangeCount; ++r) {
        const Range& range = m_ranges[size_t(r)];
        if (c >= range.low && c <= range.high)
            return true;
    }
    return false;
}

bool NamePattern::inSet(const Token& token, char32_t c) const
{
    if (c < 0x80)
        return (token.ascii[c >> 6] >> (c & 63)) & 1;
    // A character is in the list when it, or any character that folds as it does, lies in one
    // of the ranges: exactly the characters a plain letter of the list would match.
    const std::span<const char32_t> alike = CaseFoldClasses::instance().classOf(c);
    if (alike.empty())
        return inRanges(token, c);
    for (const char32_t x : alike)
        if (inRanges(token, x))
            return true;
    return false;
}

void NamePattern::fillAsciiAnswers(Token& token) const
{
    // With every range below 128 the only other character that can be in them is the other
    // case of a letter, so the fold groups (and the pass that builds them) are not needed.
    bool asciiRanges = true;
    for (int r = token.firstRange; r < token.firstRange + token.rangeCount; ++r)
        asciiRanges = asciiRanges && m_ranges[size_t(r)].high < 0x80;
    for (char32_t c = 0; c < 0x80; ++c) {
        bool in = false;
        if (asciiRanges) {
            in = inRanges(token, c) || inRanges(token, otherAsciiCase(c));
        } else {
            const std::span<const char32_t> alike = CaseFoldClasses::instance().classOf(c);
            in = inRanges(token, c);
            for (const char32_t x : alike)
                in = in || inRanges(token, x);
        }
        if (in)
            token.ascii[c >> 6] |= uint64_t(1) << (c & 63);
    }
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
