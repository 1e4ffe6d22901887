#include "shell/toolstrip.h"

#include <gtest/gtest.h>

namespace vennic {
namespace {

TEST(ToolStrip, AWidenedControlMovesTheRestOfItsRowAlongAndNoOtherRow)
{
    // Two rows; the first two controls share an edge in the design, as drawn.
    const ToolStrip strip({{{100, 0, 500, 375}, 0},
                           {{585, 0, 400, 375}, 700},
                           {{1000, 0, 300, 375}, 200},
                           {{1400, 0, 300, 375}, 0},
                           {{700, 360, 300, 375}, 450},
                           {{1100, 360, 300, 375}, 0}});
    EXPECT_EQ(strip.place(0), (ControlBox{100, 0, 500, 375})) << "wide enough: unchanged";
    EXPECT_EQ(strip.place(1), (ControlBox{585, 0, 700, 375})) << "grows to its caption";
    EXPECT_EQ(strip.place(2), (ControlBox{1300, 0, 300, 375})) << "moved; its caption fits";
    EXPECT_EQ(strip.place(3), (ControlBox{1700, 0, 300, 375}));
    // The second row moves by its own growth only, never the first row's.
    EXPECT_EQ(strip.place(4), (ControlBox{700, 360, 450, 375}));
    EXPECT_EQ(strip.place(5), (ControlBox{1250, 360, 300, 375}));
    EXPECT_EQ(strip.rowEnd(0), 2000);
    EXPECT_EQ(strip.rowEnd(360), 1550);
    EXPECT_EQ(strip.rowEnd(720), 0) << "no such row";
}

TEST(ToolStrip, ControlsThatFitKeepTheirDesignPlaces)
{
    const ToolStrip strip({{{6000, 360, 735, 285}, 0}, {{6720, 360, 495, 315}, 495}});
    EXPECT_EQ(strip.place(0), (ControlBox{6000, 360, 735, 285}));
    EXPECT_EQ(strip.place(1), (ControlBox{6720, 360, 495, 315}));
    EXPECT_EQ(strip.rowEnd(360), 7215);
}

} // namespace
} // namespace vennic
