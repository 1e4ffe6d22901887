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

private:
    std::vector<ControlBox> m_places;
};

} // namespace vennic
