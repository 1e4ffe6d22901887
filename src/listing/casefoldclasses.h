#pragma once

#include <span>
#include <vector>

namespace vennic {

/// The characters that simple case folding (QChar::toCaseFolded) makes equal, grouped: "k",
/// "K" and the Kelvin sign form one group, "s", "S" and the long s another. A name pattern uses
/// the groups so that a list such as "[ſ]" lets through every character a plain letter of the
/// same group would. Built once, on first use, by one pass over every code point; the table is
/// read-only afterwards and safe to share between threads.
class CaseFoldClasses {
public:
    /// The table of this Qt's case folding.
    static const CaseFoldClasses& instance();

    /// Every character that folds to the same character as `c`, `c` included, in ascending
    /// order. Empty when `c` folds alike with no other character.
    std::span<const char32_t> classOf(char32_t c) const;

    /// How many groups of two or more characters there are.
    size_t classCount() const { return m_classCount; }

private:
    CaseFoldClasses();

    struct Slot {
        char32_t member;
        unsigned first; ///< the member's group in m_members
        unsigned count;
    };

    std::vector<char32_t> m_members; ///< the groups one after the other
    std::vector<Slot> m_index;       ///< one slot per member, sorted by member
    size_t m_classCount = 0;
};

} // namespace vennic
