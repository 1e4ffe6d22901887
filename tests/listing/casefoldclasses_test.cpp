// The groups of characters that case folding makes equal, which name pattern lists rely on.
#include "listing/casefoldclasses.h"

#include <QChar>
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <thread>
#include <vector>

using vennic::CaseFoldClasses;

namespace {

std::vector<char32_t> classOf(char32_t c)
{
    const auto alike = CaseFoldClasses::instance().classOf(c);
    return {alike.begin(), alike.end()};
}

} // namespace

TEST(CaseFoldClasses, BuildsOnceForAllThreadsQuickly)
{
    const auto start = std::chrono::steady_clock::now();
    std::vector<const CaseFoldClasses*> seen(4);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = &CaseFoldClasses::instance(); });
    for (std::thread& thread : threads)
        thread.join();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    for (const CaseFoldClasses* table : seen)
        EXPECT_EQ(table, seen.front());
    std::cout << "fold groups built in "
              << std::chrono::duration<double, std::milli>(elapsed).count() << " ms\n";
    EXPECT_LT(elapsed, std::chrono::milliseconds(500));
}

TEST(CaseFoldClasses, LettersThatFoldAlikeShareAGroup)
{
    EXPECT_EQ(classOf(U'k'), (std::vector<char32_t>{U'K', U'k', 0x212A}));
    EXPECT_EQ(classOf(0x212A), classOf(U'K'));
    EXPECT_EQ(classOf(U'S'), (std::vector<char32_t>{U'S', U's', 0x017F}));
    EXPECT_EQ(classOf(0x1E9E), (std::vector<char32_t>{0x00DF, 0x1E9E}));
    EXPECT_EQ(classOf(0x03C2), (std::vector<char32_t>{0x03A3, 0x03C2, 0x03C3}));
    EXPECT_EQ(classOf(U'x'), (std::vector<char32_t>{U'X', U'x'}));
    // Characters without another case, and the dotted capital I, which simple folding leaves
    // alone, form no group.
    EXPECT_TRUE(classOf(U'1').empty());
    EXPECT_TRUE(classOf(U'.').empty());
    EXPECT_TRUE(classOf(0x0130).empty());
    EXPECT_TRUE(classOf(0x1F600).empty());
}

TEST(CaseFoldClasses, GroupsAreExactlyTheFoldsOfEveryCodePoint)
{
    const CaseFoldClasses& table = CaseFoldClasses::instance();
    size_t members = 0;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        const char32_t folded = QChar::toCaseFolded(c);
        const auto alike = table.classOf(c);
        if (alike.empty()) {
            // Alone: nothing else folds to what it folds to.
            ASSERT_TRUE(folded == c || table.classOf(folded).empty()) << unsigned(c);
            continue;
        }
        ++members;
        bool self = false;
        for (const char32_t x : alike) {
            ASSERT_EQ(QChar::toCaseFolded(x), folded) << unsigned(c) << " " << unsigned(x);
            self = self || x == c;
        }
        ASSERT_TRUE(self) << unsigned(c);
        if (folded != c)
            ASSERT_EQ(table.classOf(folded).size(), alike.size()) << unsigned(c);
    }
    EXPECT_GT(table.classCount(), 1000u);
    EXPECT_GE(members, 2 * table.classCount());
}
