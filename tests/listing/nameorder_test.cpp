// The one order of names that sorting by a text column and the folder comparison share.
#include "listing/nameorder.h"

#include <QCollator>
#include <QLocale>
#include <gtest/gtest.h>

using vennic::NameOrder;

namespace {

const QLocale UnitedStates(QLocale::English, QLocale::UnitedStates);

int sign(int v)
{
    return (v > 0) - (v < 0);
}

} // namespace

TEST(NameOrder, FollowsTheLocaleCollationWithoutRegardToCase)
{
    const NameOrder order(UnitedStates);
    // This Qt collates through ICU: punctuation counts and sorts before digits and letters,
    // the low line before the hyphen and the hyphen before the full stop.
    EXPECT_LT(order.compare("a-b.txt", "a.b.txt"), 0);
    EXPECT_LT(order.compare("data_1.csv", "data.csv"), 0);
    EXPECT_LT(order.compare("report_2.txt", "report.txt"), 0);
    EXPECT_LT(order.compare("\u00e4.txt", "b.txt"), 0);
    EXPECT_LT(order.compare("10", "9"), 0) << "digits are not read as numbers";
    EXPECT_LT(order.compare(" ", "a"), 0) << "the comparison's blank row comes first";
    EXPECT_EQ(order.compare("Report.TXT", "report.txt"), 0);
    EXPECT_EQ(order.compare("\u00c4rger", "\u00e4RGER"), 0);
    EXPECT_NE(order.compare("\u00e4", "a"), 0) << "accents still count";
    EXPECT_NE(order.compare("a.b", "ab"), 0) << "punctuation is not ignored";
}

TEST(NameOrder, KeysAgreeWithTheCollatorAndWithCompare)
{
    QCollator collator(UnitedStates);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const NameOrder order(UnitedStates);
    const QStringList names{
        "a-b.txt", "a.b.txt", "data.csv", "data_1.csv", "Report.TXT", "report.txt", "report_2.txt",
        "\u00e4",  "A",       "b",        " ",          "10",         "9",          "\u00df",
        "ss",      "\u017f",  "s",        "\u03a3",     "\u03c2"};
    for (const QString& a : names)
        for (const QString& b : names) {
            const int byKeys = sign(order.key(a).compare(order.key(b)));
            EXPECT_EQ(byKeys, sign(collator.compare(a, b)))
                << a.toStdString() << " " << b.toStdString();
            EXPECT_EQ(byKeys, sign(order.compare(a, b)));
        }
}

TEST(NameOrder, TheCLocaleIgnoresCaseToo)
{
    // Qt's own keys keep case under the C locale although its comparison does not; the order's
    // keys must not.
    const NameOrder order{QLocale::c()};
    EXPECT_EQ(order.key("README").compare(order.key("readme")), 0);
    EXPECT_EQ(order.compare("Report.TXT", "report.txt"), 0);
    EXPECT_LT(order.compare("a", "B"), 0);
    EXPECT_LT(order.compare("B", "c"), 0);
    EXPECT_LT(order.compare("data.csv", "data_1.csv"), 0) << "code-point order under C";
    EXPECT_LT(order.compare("", "a"), 0);
}

TEST(NameOrder, OtherLocalesCollateTheirOwnWay)
{
    // The keys come from the locale's own collation, not from a root one: Swedish puts "ä"
    // after "z", German sorts it with "a".
    const QLocale swedish(QLocale::Swedish, QLocale::Sweden);
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_GT(NameOrder(swedish).compare("\u00e4ra", "zebra"), 0);
    EXPECT_LT(NameOrder(german).compare("\u00e4ra", "zebra"), 0);
    // A decomposed "ä" is the same name as the composed one.
    EXPECT_EQ(NameOrder(german).compare("a\u0308rger", "\u00c4rger"), 0);

    const QStringList names{"\u00e4ra", "zebra",  "Aa", "\u00e5", "ar", "o", "\u00f6l",    "v", "w",
                            "a\u0308",  "\u00df", "ss", "\u0130", "i",  "I", "Stra\u00dfe"};
    for (const QLocale& locale : {swedish, german, QLocale(QLocale::Turkish, QLocale::Turkey)}) {
        QCollator collator(locale);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        const NameOrder order(locale);
        for (const QString& a : names)
            for (const QString& b : names)
                EXPECT_EQ(sign(order.compare(a, b)), sign(collator.compare(a, b)))
                    << locale.name().toStdString() << " " << a.toStdString() << " "
                    << b.toStdString();
    }
}

TEST(NameOrder, KeysInOneBufferAreTheKeysOfTheTexts)
{
    for (const QLocale& locale : {UnitedStates, QLocale::c()}) {
        const NameOrder order(locale);
        std::string keys;
        const size_t first = order.appendKey("Report.txt", keys);
        const size_t second = order.appendKey("", keys);
        const size_t third = order.appendKey("report.txt.bak", keys);
        ASSERT_EQ(keys.size(), first + second + third);
        const std::string_view all(keys);
        EXPECT_EQ(all.substr(0, first), order.key("report.TXT").bytes());
        EXPECT_EQ(all.substr(first + second), order.key("report.txt.bak").bytes());
        // A name that is the start of another comes first.
        EXPECT_LT(NameOrder::compareKeys(all.substr(0, first), all.substr(first + second)), 0);
        EXPECT_LT(NameOrder::compareKeys(all.substr(first, second), all.substr(0, first)), 0);
    }
    // Bytes compare as unsigned values.
    EXPECT_LT(NameOrder::compareKeys("\x7f", "\x80"), 0);
    EXPECT_EQ(NameOrder::compareKeys("", ""), 0);
}

TEST(NameOrder, TheCLocaleOrdersFoldedTextsByCodeUnit)
{
    const NameOrder order{QLocale::c()};
    QStringList texts;
    for (const char16_t* text :
         {u"a", u"B", u"z", u"ab", u"a\u00e9", u"\u00e9", u"\u00c9", u"\u07ff", u"\u0800",
          u"\ud7ff", u"\U0001f600", u"\ue000", u"\uff21", u"\uffff", u"\u212a", u"k"})
        texts << QString::fromUtf16(text);
    for (const QString& a : texts)
        for (const QString& b : texts)
            EXPECT_EQ(sign(order.compare(a, b)), sign(a.toCaseFolded().compare(b.toCaseFolded())))
                << a.toStdString() << " " << b.toStdString();
}
