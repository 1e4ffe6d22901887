#include "shell/toolstrip.h"

#include <algorithm>

namespace vennic {

ToolStrip::ToolStrip(std::vector<StripControl> controls)
{
    m_places.reserve(controls.size());
    for (const StripControl& control : controls) {
        ControlBox box = control.design;
        // Each control moves by what every control before it in its row grew, so controls
        // that overlap in the design (a shared edge) overlap the same after.
        for (const StripControl& other : controls)
            if (other.design.Top == box.Top && other.design.Left < control.design.Left)
                box.Left += std::max(0.0f, other.captionWidth - other.design.Width);
        box.Width = std::max(box.Width, control.captionWidth);
        m_places.push_back(box);
    }
}

float ToolStrip::rowEnd(float top) const
{
    float end = 0;
    for (const ControlBox& box : m_places)
        if (box.Top == top)
            end = std::max(end, box.Left + box.Width);
    return end;
}

} // namespace vennic
