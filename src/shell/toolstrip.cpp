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

StripFlow ToolStrip::flow(float clientWidth, float sp) const
{
    const float driveStart = rowEnd(RowPitch) + Margin;
    const float designEnd = std::max(rowEnd(0), rowEnd(RowPitch)) + Margin;
    if (designEnd <= clientWidth && driveStart + PaneTopRowWidth <= clientWidth - sp)
        return {m_places, 0, driveStart};

    std::vector<std::size_t> order(m_places.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        const ControlBox& x = m_places[a];
        const ControlBox& y = m_places[b];
        return x.Top != y.Top ? x.Top < y.Top : x.Left < y.Left;
    });

    StripFlow flowed;
    flowed.places = m_places;
    float row = 0;
    float end = Margin; // where the current row's last control ends
    const ControlBox* previous = nullptr;
    for (std::size_t i : order) {
        const ControlBox& design = m_places[i];
        float left = Margin;
        if (previous) {
            // Neighbours of one design row keep their gap (an edge they share stays shared),
            // but no wider than a margin; the first of the next design row follows a margin on.
            const float gap =
                previous->Top == design.Top
                    ? std::min(design.Left - (previous->Left + previous->Width), Margin)
                    : Margin;
            left = end + gap;
            if (left + design.Width > clientWidth - Margin) {
                row += RowPitch;
                left = Margin;
            }
        }
        flowed.places[i] = {left, row, design.Width, design.Height};
        end = left + design.Width;
        previous = &design;
    }
    // The panes' top row takes the place of the design's second row, under the last one.
    flowed.drop = row;
    flowed.rightDriveStart = 0;
    return flowed;
}

} // namespace vennic
