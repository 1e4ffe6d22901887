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

TEST(Pattern, ListsFoldCaseAsPlainLettersDo)
{
    // Characters whose case folding meets another letter's: the long s, the Kelvin sign, the
    // capital sharp s, the final sigma.
    EXPECT_TRUE(match("[\u017F]", "S"));
    EXPECT_TRUE(match("[\u017F]", "s"));
    EXPECT_TRUE(match("[s]", "\u017F"));
    EXPECT_TRUE(match("[\u212A]", "k"));
    EXPECT_TRUE(match("[\u212A]", "K"));
    EXPECT_TRUE(match("[K]", "\u212A"));
    EXPECT_TRUE(match("[\u1E9E]", "\u00DF"));
    EXPECT_TRUE(match("[\u00DF]", "\u1E9E"));
    EXPECT_TRUE(match("[\u03C2]", "\u03A3"));
    EXPECT_TRUE(match("[\u03C2]", "\u03C3"));
    EXPECT_TRUE(match("[\u03A3]", "\u03C2"));
    EXPECT_TRUE(match("[\u212A-\u212B]", "\u00E5"));
    EXPECT_TRUE(match("[\u017F]*.txt", "Setup.txt"));
    EXPECT_FALSE(match("[\u017F]", "t"));
    EXPECT_FALSE(match("[\u212A]", "x"));
    EXPECT_FALSE(match("[\u00DF]", "s"));

    EXPECT_FALSE(match("[!\u017F]", "S"));
    EXPECT_FALSE(match("[!\u212A]", "k"));
    EXPECT_TRUE(match("[!\u212A]", "x"));
    EXPECT_FALSE(match("[!\u03C3]*", "\u03C2\u03B1"));
}

TEST(Pattern, RangesAgreeWithPlainLetters)
{
    EXPECT_TRUE(match("[a-c]", "B"));
    EXPECT_TRUE(match("[A-C]", "b"));
    EXPECT_FALSE(match("[!a]", "A"));
    EXPECT_TRUE(match("[a-z]", "\u212A"));
    EXPECT_TRUE(match("[a-z]", "\u017F"));
    // A range of capitals holds the small letters too, whichever end the small ones lie at.
    EXPECT_TRUE(match("[X-Z]x", "yX"));
    EXPECT_FALSE(match("[X-Z]", "w"));

    // For every character of the basic plane, a one-letter list takes exactly what the plain
    // letter takes, and its negation exactly the rest.
    const std::u32string letters = U"akKsS\u017F\u212A\u00DF\u1E9E\u03C2\u03C3\u03A3"
                                   U"i\u0130\u0131\u00B5\u00C5\u03B8\u1E9B";
    for (const char32_t letter : letters) {
        const QString text = QString::fromUcs4(&letter, 1);
        const NamePattern plain(text);
        const NamePattern list(u'[' + text + u']');
        const NamePattern negated(QStringLiteral("[!") + text + u']');
        for (char32_t c = 1; c < 0x10000; ++c) {
            if (QChar::isSurrogate(c))
                continue;
            // Not fromUcs4: it drops a leading U+FEFF as a byte-order mark.
            const QString name{QChar(char16_t(c))};
            const bool expected = plain.matches(name);
            ASSERT_EQ(list.matches(name), expected) << unsigned(letter) << " " << unsigned(c);
            ASSERT_EQ(negated.matches(name), !expected) << unsigned(letter) << " " << unsigned(c);
        }
    }
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

TEST(Pattern, ListsOnLongNamesStayFast)
{
    const NamePattern pattern("*[!x]*[\u212A-\u212B]*[a-c]#");
    const QString ascii = QString(200, QLatin1Char('q')) + QStringLiteral("kb7");
    const QString greek = QString(200, QChar(0x03C3)) + QStringLiteral("\u00C5b7");
    const auto start = std::chrono::steady_clock::now();
    int matched = 0;
    for (int i = 0; i < 1000; ++i)
        matched += int(pattern.matches(ascii)) + int(pattern.matches(greek));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(matched, 2000);
    EXPECT_LT(elapsed, std::chrono::milliseconds(1000));
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
