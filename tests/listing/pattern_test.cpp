#include "listing/pattern.h"

#include <gtest/gtest.h>

#include <chrono>

using vennic::NamePattern;

namespace {

bool match(const QString& pattern, const QString& name)
{
    return NamePattern(pattern).matches(name);
}

} // namespace

TEST(Pattern, WholeNameMustMatchWholePattern)
{
    EXPECT_TRUE(match("report.txt", "report.txt"));
    EXPECT_FALSE(match("report", "report.txt"));
    EXPECT_FALSE(match("report.txt", "report"));
    EXPECT_FALSE(match("port.txt", "report.txt"));
}

TEST(Pattern, LettersIgnoreCase)
{
    EXPECT_TRUE(match("*.JPG", "photo.jpg"));
    EXPECT_TRUE(match("*.jpg", "Photo.JPG"));
    EXPECT_TRUE(match("ÄRGER.*", "ärger.txt"));
}

TEST(Pattern, StarMatchesAnyRunIncludingNone)
{
    EXPECT_TRUE(match("*", ""));
    EXPECT_TRUE(match("*", "anything"));
    EXPECT_TRUE(match("a*b", "ab"));
    EXPECT_TRUE(match("a*b", "axxxb"));
    EXPECT_FALSE(match("a*b", "axxxbc"));
    EXPECT_TRUE(match("**a**", "a"));
}

TEST(Pattern, StarDotStarNeedsADot)
{
    EXPECT_TRUE(match("*.*", "report.txt"));
    EXPECT_TRUE(match("*.*", ".hidden"));
    EXPECT_TRUE(match("*.*", "name."));
    EXPECT_FALSE(match("*.*", "README"));
    EXPECT_FALSE(match("a.c", "abc"));
}

TEST(Pattern, QuestionMarkIsOneCharacter)
{
    EXPECT_TRUE(match("?.txt", "a.txt"));
    EXPECT_FALSE(match("?.txt", ".txt"));
    EXPECT_FALSE(match("?.txt", "ab.txt"));
    // A character outside the basic plane is one character, not two.
    EXPECT_TRUE(match("?", QString::fromUcs4(U"\U0001F600", 1)));
}

TEST(Pattern, HashIsOneDigit)
{
    EXPECT_TRUE(match("file#.log", "file7.log"));
    EXPECT_FALSE(match("file#.log", "fileX.log"));
    EXPECT_FALSE(match("file#.log", "file12.log"));
    EXPECT_TRUE(match("##", "42"));
}

TEST(Pattern, ListsAndRanges)
{
    EXPECT_TRUE(match("[abc].txt", "b.txt"));
    EXPECT_FALSE(match("[abc].txt", "d.txt"));
    EXPECT_TRUE(match("[a-f]x", "Cx"));
    EXPECT_FALSE(match("[a-f]x", "gx"));
    EXPECT_TRUE(match("[A-F]x", "cx"));
    EXPECT_TRUE(match("[0-9a-c]", "b"));
    EXPECT_TRUE(match("[0-9a-c]", "5"));
    EXPECT_TRUE(match("[-x]", "-"));
    EXPECT_TRUE(match("[x-]", "-"));
}

TEST(Pattern, NegatedList)
{
    EXPECT_TRUE(match("[!abc]", "d"));
    EXPECT_FALSE(match("[!abc]", "a"));
    EXPECT_FALSE(match("[!abc]", "A"));
    EXPECT_FALSE(match("[!a-z]*", "report"));
    EXPECT_TRUE(match("[!a-z]*", "1report"));
}

TEST(Pattern, OtherCharactersAreLiterals)
{
    EXPECT_TRUE(match("a+b(1){2}$^.txt", "a+b(1){2}$^.txt"));
    EXPECT_TRUE(match("a\\b", "a\\b"));
    EXPECT_FALSE(match("a.b", "a\\b"));
    EXPECT_TRUE(match("!x", "!x"));
}

TEST(Pattern, MalformedPatternMatchesNothing)
{
    const NamePattern unclosed("[abc");
    EXPECT_FALSE(unclosed.isValid());
    EXPECT_FALSE(unclosed.matches(u"a"));
    EXPECT_FALSE(unclosed.matches(u"[abc"));
    EXPECT_FALSE(match("*[", "x["));
    EXPECT_FALSE(match("[z-a]", "m"));
}

TEST(Pattern, ManyStarsStayFast)
{
    const NamePattern pattern("*a*a*a*a*a*a*b");
    const QString name(60, QLatin1Char('a'));
    const auto start = std::chrono::steady_clock::now();
    bool matched = false;
    for (int i = 0; i < 1000; ++i)
        matched = matched || pattern.matches(name);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(matched);
    EXPECT_LT(elapsed, std::chrono::milliseconds(500));
    EXPECT_TRUE(pattern.matches(name + QLatin1Char('b')));
}
