#pragma once

#include "shell/panelayout.h"

#include <cstddef>
#include <vector>

namespace vennic {

/// One control of the window's tool strip: its design place in twips and the width its
/// caption needs at the font it is shown in (0 for controls without a caption).
struct StripControl {
    ControlBox design;
    float captionWidth = 0;
};

/// The strip as laid out for one client width: every control's place, how much further down
/// than the design the panes start, and where the right pane's drive list may begin.
struct StripFlow {
    std::vector<ControlBox> places;
    float drop = 0;
    float rightDriveStart = 0;
};

/// The tool strip's rows as they are placed: each control as wide as its design or its caption,
/// whichever is wider, and every control right of a widened one in the same row moved along by
/// as much, so the design's order, rows and gaps stay. Controls sharing a Top form a row.
class ToolStrip {
public:
    explicit ToolStrip(std::vector<StripControl> controls);

    /// The place of control `index`, in the order given.
    const ControlBox& place(std::size_t index) const { return m_places[index]; }
    /// The right edge of the row whose Top is `top`: where that row's last control ends.
    float rowEnd(float top) const;

    /// The strip in a client area `clientWidth` wide with borders `sp`. Where the two design
    /// rows and the right pane's top row beside the second fit, every control keeps its place.
    /// Otherwise the controls, in their order row by row, fill rows of the client's width one
    /// under the other, and the panes start under the last row, their drive lists free of the
    /// strip.
    StripFlow flow(float clientWidth, float sp) const;

    static constexpr float Margin = 120;   ///< from the client's edges to the strip
    static constexpr float RowPitch = 360; ///< from one row's Top to the next
    /// What the right pane's top row needs beside the strip: a drive list given up to its
    /// least width, the 10-twip gap and the up button.
    static constexpr float PaneTopRowWidth = PaneLayout::MinPaneWidth;

private:
    std::vector<ControlBox> m_places;
};

} // namespace vennic
