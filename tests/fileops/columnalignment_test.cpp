// The column number of the alignment command and what it changes.
#include "fileops/columnalignment.h"

#include "listing/panelist.h"

#include <gtest/gtest.h>

using namespace vennic;

TEST(ColumnAlignment, ReadsTheLeadingNumberOfTheBox)
{
    EXPECT_EQ(leadingNumber("3"), 3);
    EXPECT_EQ(leadingNumber("  4 2 columns"), 42);
    EXPECT_EQ(leadingNumber("5abc"), 5);
    EXPECT_EQ(leadingNumber("-2.5"), -2.5);
    EXPECT_EQ(leadingNumber(".5"), 0.5);
    EXPECT_EQ(leadingNumber("1e1"), 10);
    EXPECT_EQ(leadingNumber("2d"), 2);
    EXPECT_EQ(leadingNumber("&H1f"), 31);
    EXPECT_EQ(leadingNumber("&O17"), 15);
    EXPECT_EQ(leadingNumber("abc"), 0);
    EXPECT_EQ(leadingNumber(""), 0);
    EXPECT_EQ(leadingNumber("-"), 0);
}

TEST(ColumnAlignment, RoundsHalvesToTheEvenNeighbour)
{
    EXPECT_EQ(roundToInt16(2.5), 2);
    EXPECT_EQ(roundToInt16(3.5), 4);
    EXPECT_EQ(roundToInt16(-2.5), -2);
    EXPECT_EQ(roundToInt16(2.6), 3);
    EXPECT_EQ(roundToInt16(32767.4), 32767);
    EXPECT_EQ(roundToInt16(32767.5), std::nullopt);
    EXPECT_EQ(roundToInt16(-32768.5), -32768);
}

TEST(ColumnAlignment, OnlyANumberThatNamesAColumnChangesIt)
{
    PaneList list(7);
    EXPECT_EQ(alignColumnRight(list, "4.5"), 3); // 4.5 goes to 4: "Created"
    EXPECT_TRUE(list.isRightAligned(ColCreated));
    for (const char* none : {"0", "8", "-1", "x", "99999", "0.4"}) {
        PaneList untouched(7);
        EXPECT_EQ(alignColumnRight(untouched, none), std::nullopt) << none;
        for (int c = 0; c < 7; ++c)
            EXPECT_EQ(untouched.isRightAligned(c), c == ColBytes || c == ColAttributes) << none;
    }
}
