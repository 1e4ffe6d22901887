#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <vector>

namespace vennic {

/// A name pattern of the filter boxes, compiled once and matched against many names. The whole
/// name must match the whole pattern, letters without regard to case: "*" matches any run of
/// characters (also none), "?" one character, "#" one digit, "[list]" one character of the list
/// (ranges such as "[a-f]" allowed), "[!list]" one character not in it; every other character,
/// "." included, matches itself. Without regard to case means through simple case folding, in
/// lists as for plain letters: a name character is in a list when it, or any character that
/// folds to the same character, lies in one of the list's ranges ("[ſ]" lets "S" through as
/// "s" does). A malformed pattern (an unclosed "[" or a reversed range) matches nothing.
/// Matching takes at most pattern length times name length steps.
class NamePattern {
public:
    explicit NamePattern(const QString& pattern);

    bool matches(QStringView name) const;
    bool isValid() const { return m_valid; }

private:
    enum class Kind : unsigned char { Literal, AnyOne, Digit, Set, Star };
    struct Range {
        char32_t low;
        char32_t high;
    };
    struct Token {
        Kind kind;
        bool negated = false;
        char32_t folded = 0; ///< the case-folded character of a literal
        int firstRange = 0;  ///< a set's ranges in m_ranges
        int rangeCount = 0;
        /// A set's answer for each character below 128, worked out once, so that the common
        /// names of plain letters need no look-up of the fold groups.
        std::array<uint64_t, 2> ascii{};
    };

    bool matchesOne(const Token& token, char32_t c) const;
    bool inSet(const Token& token, char32_t c) const;
    bool inRanges(const Token& token, char32_t c) const;
    void fillAsciiAnswers(Token& token) const;

    std::vector<Token> m_tokens;
    std::vector<Range> m_ranges;
    bool m_valid = true;
};

} // namespace vennic
