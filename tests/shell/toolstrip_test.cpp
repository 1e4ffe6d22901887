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

/// Two rows shaped like the window's: a long first row, a short second row whose controls sit
/// far right, neighbours sharing an edge.
ToolStrip twoRows()
{
    return ToolStrip({{{120, 0, 495, 375}},
                      {{600, 0, 735, 375}},
                      {{1320, 0, 2000, 375}},
                      {{3305, 0, 1500, 375}},
                      {{2760, 360, 375, 375}},
                      {{6000, 360, 735, 285}},
                      {{6720, 360, 495, 315}}});
}

TEST(ToolStripFlow, KeepsTheDesignWhereItFitsAndElseFillsRowsInOrderAndMovesThePanesDown)
{
    struct Case {
        float width;
        float drop;            // the Top of the last row: one row leaves the panes' band free
        float rightDriveStart; // 0 where nothing shares the panes' band
    };
    // The second row ends at 7215; the right pane's top row needs 1385 after a margin.
    for (const Case c : {Case{12000, 0, 7335}, Case{8840, 0, 7335}, Case{8700, 0, 0},
                         Case{5000, 360, 0}, Case{3000, 1080, 0}}) {
        SCOPED_TRACE(c.width);
        const ToolStrip strip = twoRows();
        const StripFlow flow = strip.flow(c.width, 60);
        EXPECT_EQ(flow.drop, c.drop);
        EXPECT_EQ(flow.rightDriveStart, c.rightDriveStart);
        for (std::size_t i = 0; i < 7; ++i) {
            const ControlBox& box = flow.places[i];
            if (c.rightDriveStart > 0) {
                EXPECT_EQ(box, strip.place(i)) << "the design's place, control " << i;
                continue;
            }
            EXPECT_EQ(box.Width, strip.place(i).Width);
            EXPECT_GE(box.Left, ToolStrip::Margin);
            EXPECT_LE(box.Left + box.Width, c.width - ToolStrip::Margin);
            if (i == 0)
                continue;
            // Each control follows the one before: further right in its row, or first in a row
            // under it. An edge shared in the design stays shared, never more.
            const ControlBox& before = flow.places[i - 1];
            if (box.Top == before.Top)
                EXPECT_GE(box.Left, before.Left + before.Width - 15) << i;
            else
                EXPECT_EQ(box,
                          (ControlBox{ToolStrip::Margin, before.Top + 360, box.Width, box.Height}))
                    << i;
        }
    }
}

} // namespace
} // namespace vennic
