#include "listing/casefoldclasses.h"

#include <QChar>

#include <algorithm>
#include <utility>

namespace vennic {

namespace {

constexpr char32_t LastCodePoint = 0x10FFFF;

} // namespace

const CaseFoldClasses& CaseFoldClasses::instance()
{
    // A function-local static is built exactly once, even when several threads ask at once.
    static const CaseFoldClasses table;
    return table;
}

CaseFoldClasses::CaseFoldClasses()
{
    // Pairs of (folded character, character) for every character that folding changes, and
    // then the folded characters themselves, so each group holds every character of one fold.
    std::vector<std::pair<char32_t, char32_t>> pairs;
    for (char32_t c = 0; c <= LastCodePoint; ++c) {
        const char32_t folded = QChar::toCaseFolded(c);
        if (folded != c)
            pairs.emplace_back(folded, c);
    }
    const size_t changed = pairs.size();
    for (size_t i = 0; i < changed; ++i) {
        const char32_t folded = pairs[i].first;
        if (QChar::toCaseFolded(folded) == folded)
            pairs.emplace_back(folded, folded);
    }
    std::sort(pairs.begin(), pairs.end());
    pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());

    for (size_t start = 0; start < pairs.size();) {
        size_t end = start;
        while (end < pairs.size() && pairs[end].first == pairs[start].first)
            ++end;
        // A character whose fold belongs to no other character stands alone, like one that
        // folding leaves as it is.
        if (end - start >= 2) {
            const auto first = unsigned(m_members.size());
            for (size_t i = start; i < end; ++i)
                m_members.push_back(pairs[i].second);
            for (size_t i = start; i < end; ++i)
                m_index.push_back({pairs[i].second, first, unsigned(end - start)});
            ++m_classCount;
        }
        start = end;
    }
    std::sort(m_index.begin(), m_index.end(),
              [](const Slot& a, const Slot& b) { return a.member < b.member; });
}

std::span<const char32_t> CaseFoldClasses::classOf(char32_t c) const
{
    const auto found =
        std::lower_bound(m_index.begin(), m_index.end(), c,
                         [](const Slot& slot, char32_t v) { return slot.member < v; });
    if (found == m_index.end() || found->member != c)
        return {};
    return std::span<const char32_t>(m_members).subspan(found->first, found->count);
}

} // namespace vennic
