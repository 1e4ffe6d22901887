#include "shell/panelayout.h"

#include <gtest/gtest.h>

namespace vennic {
namespace {

/// The panes at their design positions: pane 0 at 120, pane 1 at 3120 twips.
PaneLayout designLayout()
{
    PaneLayout layout;
    for (size_t p = 0; p < 2; ++p) {
        const float x = p == 0 ? 120 : 3120;
        PaneBoxes& pane = layout.pane[p];
        pane.DR1 = {x, 360, 2295, 315};
        pane.Up1 = {x + 2280, 360, 375, 375};
        pane.LVPATH = {x, 720, 2895, 285};
        pane.LV1 = {x, 1080, 2895, 1575};
        pane.LVFC = pane.SelFile = pane.LVDrive = {x, 2655, 2895, 255};
    }
    return layout;
}

/// A framed window: 60-twip borders around a client area 11880 twips wide.
const WindowMeasures Framed{12000, 8000, 11880, false};

/// The design layout after the first display of a window of `window`'s size: loading stored
/// that size, so the first resize centres the panes. `rightDriveStart` is where the right
/// pane's drive list may start at the leftmost.
PaneLayout shown(const WindowMeasures& window = Framed, float rightDriveStart = 0)
{
    PaneLayout layout = designLayout();
    layout.rightDriveStart = rightDriveStart;
    layout.CurWinW = window.Width;
    layout.CurWinH = window.Height;
    layout.Form_Resize(window);
    return layout;
}

/// Drags the split from the gap to `x` and lets go.
void dragTo(PaneLayout& layout, float x, float scaleWidth = Framed.ScaleWidth)
{
    ASSERT_TRUE(layout.Form_MouseDown(layout.CL - layout.sp / 2, 3000, scaleWidth));
    layout.Form_MouseMove(x);
    layout.Form_MouseUp();
}

void expectPaneAt(const PaneBoxes& pane, float left, float width)
{
    for (const ControlBox* box :
         {&pane.LVPATH, &pane.LV1, &pane.LVFC, &pane.SelFile, &pane.LVDrive}) {
        EXPECT_EQ(box->Left, left);
        EXPECT_EQ(box->Width, width);
    }
    EXPECT_EQ(pane.DR1.Left, left);
    EXPECT_EQ(pane.Up1.Left, left + pane.DR1.Width + 10);
}

void expectLabelsStackedUnderList(const PaneBoxes& pane)
{
    EXPECT_EQ(pane.LVFC.Top, pane.LV1.Top + pane.LV1.Height);
    EXPECT_EQ(pane.SelFile.Top, pane.LVFC.Top + pane.LVFC.Height);
    EXPECT_EQ(pane.LVDrive.Top, pane.SelFile.Top + pane.SelFile.Height);
}

TEST(PaneLayout, WindowWithoutSideBordersCountsTwoBordersOfSixty)
{
    const WindowMeasures bare = PaneLayout::measure(9000, 6000, 9000, false);
    EXPECT_EQ(bare.Width, 9120);
    EXPECT_EQ(bare.Height, 6000);
    EXPECT_EQ(bare.ScaleWidth, 9000);
    const WindowMeasures framed = PaneLayout::measure(9090, 6000, 9000, true);
    EXPECT_EQ(framed.Width, 9090);
    EXPECT_TRUE(framed.minimized);

    PaneLayout layout = shown(bare);
    EXPECT_EQ(layout.sp, 60);
    EXPECT_EQ(layout.pane[0].LV1.Left, 60);
    EXPECT_EQ(layout.pane[1].LV1.Left + layout.pane[1].LV1.Width, 9000 - 60);
}

TEST(PaneLayout, UnchangedSizeCentresBothPanes)
{
    const PaneLayout layout = shown();
    EXPECT_EQ(layout.sw, 5940);
    EXPECT_EQ(layout.ww, 6000);
    EXPECT_EQ(layout.sp, 60);
    EXPECT_EQ(layout.LL, 5850);
    EXPECT_EQ(layout.CL, 5970);
    expectPaneAt(layout.pane[0], 60, 5850);
    expectPaneAt(layout.pane[1], 5970, 5850);
    // Margins and gap are one border each.
    EXPECT_EQ(layout.pane[1].LV1.Left - (60 + 5850), 60);
    EXPECT_EQ(Framed.ScaleWidth - (5970 + 5850), 60);

    for (const PaneBoxes& pane : layout.pane) {
        EXPECT_EQ(pane.LV1.Top, 1080) << "the list's top never moves";
        EXPECT_EQ(pane.LV1.Height, 8000 - 3000);
        expectLabelsStackedUnderList(pane);
        EXPECT_EQ(pane.DR1.Top, 360);
        EXPECT_EQ(pane.LVPATH.Height, 285);
    }
    EXPECT_EQ(layout.CurWinW, 12000);
    EXPECT_EQ(layout.CurWinH, 8000);
}

TEST(PaneLayout, CountLabelOfTheRightPaneTakesTheListWidth)
{
    PaneLayout layout = designLayout();
    layout.pane[0].LVFC.Width = 10; // refused below: the client is too narrow for any pane
    layout.pane[0].LV1.Width = 700;
    layout.CurWinW = 500;
    layout.CurWinH = 4000;
    layout.Form_Resize({500, 4000, 200, false}); // borders of 150 around 200 twips
    EXPECT_LT(layout.LL, 0);
    EXPECT_EQ(layout.pane[0].LV1.Width, 700) << "a negative width is refused";
    EXPECT_EQ(layout.pane[0].LVFC.Width, 10);
    EXPECT_EQ(layout.pane[1].LVFC.Width, 700);
    EXPECT_EQ(layout.pane[1].SelFile.Width, 2895);
    EXPECT_EQ(layout.pane[0].LV1.Left, 150) << "the Lefts are still set";
    EXPECT_EQ(layout.pane[1].LV1.Left, 175);
}

TEST(PaneLayout, ChangedSizeStretchesAndKeepsTheSplit)
{
    PaneLayout layout = shown();
    dragTo(layout, 4000);
    const PaneBoxes leftBefore = layout.pane[0];
    const float rightLeft = layout.pane[1].LV1.Left;

    layout.Form_Resize({15000, 9000, 14880, false}); // dragging the frame or maximizing
    EXPECT_EQ(layout.pane[0].LV1.Width, leftBefore.LV1.Width);
    EXPECT_EQ(layout.pane[0].LV1.Left, leftBefore.LV1.Left);
    EXPECT_EQ(layout.pane[0].DR1, leftBefore.DR1);
    expectPaneAt(layout.pane[1], rightLeft, 15000 - rightLeft - 180);
    EXPECT_EQ(layout.pane[1].LV1.Left + layout.pane[1].LV1.Width, 14880 - 60);
    for (const PaneBoxes& pane : layout.pane) {
        EXPECT_EQ(pane.LV1.Height, 6000);
        expectLabelsStackedUnderList(pane);
    }
    EXPECT_EQ(layout.CurWinW, 15000);
    EXPECT_EQ(layout.CurWinH, 9000);
    EXPECT_EQ(layout.CL, 7470) << "the centred values are kept for the next centring";
}

TEST(PaneLayout, AResizeWhileLoadingStretchesTheDesignPositions)
{
    PaneLayout layout = designLayout();
    layout.Form_Resize(Framed); // the size stored at load is still zero
    EXPECT_EQ(layout.pane[0].LV1.Left, 120);
    EXPECT_EQ(layout.pane[0].LV1.Width, 2895);
    EXPECT_EQ(layout.pane[1].LV1.Left, 3120);
    EXPECT_EQ(layout.pane[1].LV1.Width, 12000 - 3120 - 180);
    EXPECT_EQ(layout.CurWinW, 12000);
}

TEST(PaneLayout, RightPaneWidthRoundsHalfToEven)
{
    PaneLayout layout = shown();
    layout.CurWinW = 0; // force the stretch layout
    layout.pane[1].LV1.Left = 5970;
    layout.Form_Resize({12000, 8000, 11881, false}); // sp = 59.5: 12000 - 5970 - 178.5
    EXPECT_EQ(layout.sp, 59.5f);
    EXPECT_EQ(layout.pane[1].LV1.Width, 5852);
    layout.pane[1].LV1.Left = 5971;
    layout.Form_Resize({12000, 8001, 11881, false}); // 5850.5
    EXPECT_EQ(layout.pane[1].LV1.Width, 5850);
    EXPECT_EQ(layout.pane[1].LVDrive.Width, 5850);
}

TEST(PaneLayout, MinimizedChangesNothingAndRestoreRecentres)
{
    PaneLayout layout = shown();
    dragTo(layout, 3000);
    const PaneLayout before = layout;

    layout.Form_Resize({2400, 500, 2000, true});
    EXPECT_EQ(layout.pane, before.pane);
    EXPECT_EQ(layout.sp, before.sp);
    EXPECT_EQ(layout.sw, before.sw);
    EXPECT_EQ(layout.CurWinW, before.CurWinW);
    EXPECT_EQ(layout.CurWinH, before.CurWinH);

    layout.Form_Resize(Framed); // restored: the size laid out last
    expectPaneAt(layout.pane[0], 60, 5850);
    expectPaneAt(layout.pane[1], 5970, 5850);
}

TEST(PaneLayout, ShortWindowKeepsTheListHeightAndStacksTheLabels)
{
    PaneLayout layout = shown();
    layout.pane[0].LV1.Height = 1234; // as a refused height would leave it
    layout.Form_Resize({12000, 2500, 11880, false});
    for (const PaneBoxes& pane : layout.pane) {
        EXPECT_EQ(pane.LV1.Height, 1234);
        EXPECT_EQ(pane.LVFC.Top, 1080 + 1234);
        expectLabelsStackedUnderList(pane);
    }
    EXPECT_EQ(layout.CurWinH, 2500);
}

TEST(PaneLayout, PressStartsADragOnlyStrictlyInsideTheListBand)
{
    PaneLayout layout = shown(); // the list spans 1080 to 6080
    EXPECT_FALSE(layout.OverSplitter(5910, 1080));
    EXPECT_TRUE(layout.OverSplitter(5910, 1081));
    EXPECT_TRUE(layout.OverSplitter(5910, 6079));
    EXPECT_FALSE(layout.OverSplitter(5910, 6080));
    EXPECT_TRUE(layout.OverSplitter(-500, 3000)) << "X is not tested";

    // The press point is rounded first, a half to the even neighbour.
    const PaneLayout before = layout;
    for (float y : {1080.5f, 6079.5f, 1000.0f, 7000.0f}) {
        EXPECT_FALSE(layout.Form_MouseDown(5910, y, Framed.ScaleWidth)) << y;
        EXPECT_FALSE(layout.MD) << y;
        EXPECT_EQ(layout.pane, before.pane) << y;
    }
    EXPECT_TRUE(layout.Form_MouseDown(5910, 1081.5f, Framed.ScaleWidth));
    EXPECT_TRUE(layout.MD);
    layout.Form_MouseUp();
    EXPECT_FALSE(layout.MD);
}

TEST(PaneLayout, DragMovesTheSplitWithTheGapKept)
{
    PaneLayout layout = shown();
    const PaneBoxes leftBefore = layout.pane[0];
    const PaneBoxes rightBefore = layout.pane[1];
    ASSERT_TRUE(layout.Form_MouseDown(5940, 3000, Framed.ScaleWidth));
    EXPECT_EQ(layout.pane[0].LV1.Width, 5880) << "the split jumps to the press point";
    layout.Form_MouseMove(3000);

    EXPECT_EQ(layout.mx, 3000);
    expectPaneAt(layout.pane[1], 3060, 11880 - 120 - 3000);
    for (const ControlBox* box : {&layout.pane[0].LVPATH, &layout.pane[0].LV1, &layout.pane[0].LVFC,
                                  &layout.pane[0].SelFile, &layout.pane[0].LVDrive}) {
        EXPECT_EQ(box->Left, 60);
        EXPECT_EQ(box->Width, 2940) << "the left pane's right edge is at the pointer, less sp";
    }
    EXPECT_EQ(layout.pane[0].DR1, leftBefore.DR1);
    EXPECT_EQ(layout.pane[0].Up1, leftBefore.Up1);
    for (size_t p = 0; p < 2; ++p) {
        const PaneBoxes& before = p == 0 ? leftBefore : rightBefore;
        EXPECT_EQ(layout.pane[p].LV1.Top, before.LV1.Top);
        EXPECT_EQ(layout.pane[p].LV1.Height, before.LV1.Height);
        EXPECT_EQ(layout.pane[p].LVDrive.Top, before.LVDrive.Top);
        EXPECT_EQ(layout.pane[p].DR1.Width, before.DR1.Width);
    }
    EXPECT_EQ(layout.CL, 5970);
    EXPECT_EQ(layout.CurWinW, 12000);

    layout.Form_MouseUp();
    const PaneLayout released = layout;
    layout.Form_MouseMove(7000);
    EXPECT_EQ(layout.pane, released.pane) << "after the release the split stays";
    EXPECT_EQ(layout.mx, 7000);
}

TEST(PaneLayout, DragIgnoresPositionsThatLeaveAPaneNarrowerThanOneTwip)
{
    PaneLayout layout = shown();
    // A press in the left margin starts a drag, but nothing moves yet.
    const PaneLayout before = layout;
    ASSERT_TRUE(layout.Form_MouseDown(30, 3000, Framed.ScaleWidth));
    EXPECT_EQ(layout.pane, before.pane);

    layout.Form_MouseMove(60.5f);
    EXPECT_EQ(layout.pane, before.pane);
    layout.Form_MouseMove(61);
    EXPECT_EQ(layout.pane[0].LV1.Width, 1);
    layout.Form_MouseMove(-400);
    EXPECT_EQ(layout.pane[0].LV1.Width, 1);

    // The right pane stops at 1 twip: c = 11880 - (120 + mx).
    layout.Form_MouseMove(11759);
    EXPECT_EQ(layout.pane[1].LV1.Width, 1);
    EXPECT_EQ(layout.pane[1].LV1.Left + 1, 11880 - 60);
    layout.Form_MouseMove(11759.5f);
    EXPECT_EQ(layout.pane[1].LV1.Width, 1);
    EXPECT_EQ(layout.pane[0].LV1.Width, 11759 - 60);
}

TEST(PaneLayout, ANarrowRightPaneKeepsItsSplitUntilTheWindowNarrowsPastIt)
{
    PaneLayout layout = shown();
    dragTo(layout, 9800);
    const PaneBoxes& right = layout.pane[1];
    EXPECT_EQ(right.Up1.Left + right.Up1.Width, right.LV1.Left + right.LV1.Width)
        << "the drive list narrows to keep its up button in the pane";
    dragTo(layout, 11000);
    ASSERT_EQ(layout.pane[1].LV1.Left, 11060);
    ASSERT_EQ(layout.pane[1].LV1.Width, 760);

    layout.Form_Resize({12500, 7000, 12380, false}); // wider: the user's split stays
    expectPaneAt(layout.pane[1], 11060, 12500 - 11060 - 180);
    EXPECT_EQ(layout.pane[0].LV1.Width, 10940);

    // Narrower, the right pane would leave the window (w = 9000 - 11060 - 180 < 0): both
    // panes share the width again.
    layout.Form_Resize({9000, 7000, 8880, false});
    expectPaneAt(layout.pane[0], 60, 4350);
    expectPaneAt(layout.pane[1], 4470, 4350);
    EXPECT_EQ(layout.pane[1].LV1.Height, 4000) << "the heights still follow the window";
    EXPECT_EQ(layout.CurWinW, 9000);
}

TEST(PaneLayout, DragReadsTheClientWidthWhenItStarts)
{
    PaneLayout layout = shown();
    ASSERT_TRUE(layout.Form_MouseDown(5910, 3000, Framed.ScaleWidth));
    layout.Form_Resize({15000, 8000, 14880, false}); // a resize during the drag
    layout.Form_MouseMove(5000);
    EXPECT_EQ(layout.pane[1].LV1.Width, 11880 - 120 - 5000);
}

TEST(PaneLayout, TheRightDriveListNeverStartsUnderTheControlsThatShareItsBand)
{
    PaneLayout layout = shown(Framed, 7000);
    const PaneBoxes& right = layout.pane[1];
    // The pane below starts at the split; only its top row waits for the band to be free.
    EXPECT_EQ(right.LV1.Left, 5970);
    EXPECT_EQ(right.LVPATH.Left, 5970);
    EXPECT_EQ(right.DR1.Left, 7000);
    EXPECT_EQ(right.Up1.Left, 7000 + right.DR1.Width + 10);

    // A drag to the left keeps it there; one past that point takes it along again.
    dragTo(layout, 3000);
    EXPECT_EQ(right.LV1.Left, 3060);
    EXPECT_EQ(right.DR1.Left, 7000);
    dragTo(layout, 8000);
    EXPECT_EQ(right.DR1.Left, 8060);
    EXPECT_EQ(right.Up1.Left, 8060 + right.DR1.Width + 10);
    EXPECT_EQ(layout.pane[0].DR1.Left, 60) << "the left pane's top row never moves";
}

TEST(PaneLayout, APushedDriveListNarrowsToKeepItsUpButtonInThePane)
{
    PaneLayout layout = shown(Framed, 10000);
    const PaneBoxes& right = layout.pane[1];
    const float paneRight = right.LV1.Left + right.LV1.Width;
    EXPECT_EQ(right.DR1.Left, 10000);
    EXPECT_EQ(right.Up1.Left + right.Up1.Width, paneRight);
    EXPECT_EQ(right.DR1.Width, paneRight - 10000 - 10 - 375);

    // Not below its least width; and back to its own width once the band is free again.
    layout.rightDriveStart = 11000;
    dragTo(layout, 5000);
    EXPECT_EQ(right.DR1.Width, PaneLayout::MinDriveListWidth);
    layout.rightDriveStart = 0;
    dragTo(layout, 4000);
    EXPECT_EQ(right.DR1.Left, 4060);
    EXPECT_EQ(right.DR1.Width, PaneLayout::DriveListWidth);
}

} // namespace
} // namespace vennic
