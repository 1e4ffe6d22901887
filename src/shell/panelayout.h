#pragma once

#include <array>

namespace vennic {

/// A control's place in twips: Left and Top from the top-left corner of the window's client
/// area, Width and Height its size.
struct ControlBox {
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;
    bool operator==(const ControlBox&) const = default;
};

/// The seven controls of one folder pane, in the order they sit from top to bottom.
struct PaneBoxes {
    ControlBox DR1;
    ControlBox Up1;
    ControlBox LVPATH;
    ControlBox LV1;
    ControlBox LVFC;
    ControlBox SelFile;
    ControlBox LVDrive;
    bool operator==(const PaneBoxes&) const = default;
};

/// The window's size as a re-flow reads it, in twips.
struct WindowMeasures {
    float Width = 0;      ///< outer width, frame included
    float Height = 0;     ///< outer height, frame, title bar and menu bar included
    float ScaleWidth = 0; ///< width of the client area
    bool minimized = false;
};

/// The main window's pane layout in twips: the re-flow that runs on every resize and the
/// splitter with which the user drags the boundary between the panes. It works on plain
/// numbers, so the window applies the result to its widgets through one conversion and tests
/// run it on its own.
///
/// The platform refuses a negative width or height. Every such assignment of a re-flow is
/// skipped: the property keeps its value and later steps read it as it stands.
class PaneLayout {
public:
    /// The drive list's design width, and the least it gives up to when pushed right.
    static constexpr float DriveListWidth = 2295;
    static constexpr float MinDriveListWidth = 1000;
    /// A pane's top row, its drive list and up button: at the design's widths, and at the least
    /// the drive list gives up to. A window narrowed until the right pane is narrower than the
    /// design's row shares its width between the panes again.
    static constexpr float UpButtonWidth = 375;
    static constexpr float TopRowWidth = DriveListWidth + 10 + UpButtonWidth;
    static constexpr float MinPaneWidth = MinDriveListWidth + 10 + UpButtonWidth;

    /// The border thickness that stands in for the frame where the window system reports none,
    /// so the margins and the gap between the panes stay equal and wide enough to grab.
    static constexpr float BorderlessSp = 60;

    /// The measures of a window whose frame is `outerWidth` by `outerHeight` around a client
    /// area `clientWidth` wide. With no side border the outer width counts as the client width
    /// plus two borders of `BorderlessSp`.
    static WindowMeasures measure(float outerWidth, float outerHeight, float clientWidth,
                                  bool minimized);

    /// Index 0 the left pane, 1 the right pane.
    std::array<PaneBoxes, 2> pane{};

    float sw = 0;                   ///< half the client width
    float ww = 0;                   ///< half the outer width
    float sp = 0;                   ///< one border: the left margin, the right margin and the gap
    float LL = 0;                   ///< each pane's width in the centred layout
    float CL = 0;                   ///< the right pane's Left in the centred layout
    float CurWinW = 0, CurWinH = 0; ///< the outer size the panes were last laid out for
    float mx = 0;                   ///< X of the pointer's latest move over the bare surface
    bool MD = false;                ///< a splitter drag is under way
    /// The client width and the two borders a drag reads when it starts.
    float dragScaleWidth = 0, dragBorders = 0;
    /// The leftmost Left of the right pane's drive list (and so of its up button): other
    /// controls share their band up to here, and a drive list over them would hide them. A drive
    /// list pushed right narrows, down to MinDriveListWidth, to keep its up button in the pane.
    float rightDriveStart = 0;
    /// How much further down than the design the panes start, below a tool strip that needs
    /// more rows than the design's two: their Tops move down by it and the lists are as much
    /// shorter.
    float drop = 0;

    /// Moves both panes down to start `newDrop` below their design place.
    void setDrop(float newDrop);

    /// The re-flow on a resize: nothing at all while minimized; the centred layout when the
    /// outer size equals the one laid out last (first display, restore from minimized), else
    /// the stretch layout, which keeps the user's split.
    void Form_Resize(const WindowMeasures& window);

    /// Whether a press at (X, Y) starts a drag: Y strictly inside the left list's band.
    bool OverSplitter(int X, int Y) const;

    /// A press on the bare surface, any button. Returns whether it was in the list band, which
    /// starts a drag; the drag then follows the pointer at once.
    bool Form_MouseDown(float X, float Y, float scaleWidth);
    /// A move over the bare surface; during a drag the split follows the pointer.
    void Form_MouseMove(float X);
    /// A release of any button ends the drag.
    void Form_MouseUp();

    /// Starts following the pointer when a drag is under way: reads the client width once and
    /// puts the split at `mx`.
    void VResize(float scaleWidth);

private:
    /// Puts the left pane's right edge at `mx`, the gap `sp` wide, unless either pane would
    /// become narrower than 1 twip.
    void dragTo();
    /// Puts the right pane's drive list at `left`, or at rightDriveStart when that is further
    /// right, and its up button 10 twips after it; the pane ends at `paneRight`.
    void placeRightTopRow(float left, float paneRight);
    void centredLayout(const WindowMeasures& window);
    void stretchLayout(const WindowMeasures& window);
    void verticalChain(float height);
    void verticalCopy();
};

} // namespace vennic
