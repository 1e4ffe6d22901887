#include "shell/designscale.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPaintDevice>

#include <algorithm>

namespace vennic {

QFont DesignScale::captionFont(const QFont& systemFont)
{
    QFont font = systemFont;
    // A font given in pixels has no point size of its own; its real size in points counts.
    if (QFontInfo(systemFont).pointSizeF() < MinimumCaptionPoints)
        font.setPointSizeF(MinimumCaptionPoints);
    return font;
}

double DesignScale::factor(const QFont& systemFont, const QPaintDevice& device)
{
    static const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const QFont font = captionFont(systemFont);
    const QFontMetricsF metrics(font, &device);
    const double dpi = device.logicalDpiY();
    // Measured in points, the factor is the same on any screen: the twips conversion already
    // accounts for the screen's resolution.
    const double letterPoints =
        metrics.horizontalAdvance(letters) / double(letters.size()) * 72.0 / dpi;
    return std::max(1.0, letterPoints / DesignLetterPoints);
}

} // namespace vennic
