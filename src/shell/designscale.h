#pragma once

#include <QFont>

class QPaintDevice;

namespace vennic {

/// The main window was drawn in twips for an 8.25-point narrow face whose average letter is
/// 4.2 points wide. A wider system font needs more room for the same caption, so every length
/// of the window grows by one factor: the system font's average letter against the design's.
class DesignScale {
public:
    /// The design face's average letter width, in points.
    static constexpr double DesignLetterPoints = 4.2;
    /// Captions are never shown smaller than this, whatever the system font.
    static constexpr double MinimumCaptionPoints = 8.0;

    /// The font the window's captions use: `systemFont`, raised to the minimum size.
    static QFont captionFont(const QFont& systemFont);

    /// The factor for the caption font of `systemFont` as drawn on `device`: at least 1, so a
    /// narrow font never squeezes the design.
    static double factor(const QFont& systemFont, const QPaintDevice& device);
};

} // namespace vennic
