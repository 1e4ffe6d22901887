// The one order of names that sorting by a text column and the folder comparison share.
#include "listing/nameorder.h"

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
