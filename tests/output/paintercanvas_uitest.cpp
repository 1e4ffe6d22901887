#include "output/previewcanvas.h"

#include <QFontMetricsF>
#include <gtest/gtest.h>

#include <cmath>

namespace vennic {
namespace {

// Sizes, dates and times are set from their figures' advances without being shaped: they must
// come out exactly as wide as shaping sets them, kerned pairs of letters and signs included.
TEST(PainterCanvas, TextsSetFromTheirFiguresAreAsWideAsShaped)
{
    const QString texts[] = {"1,234,567", "12/8/2026 ", "7:29:42 AM", "P.M.", "A/P",    "AV",
                             "-1.5",      "2026-12-08", "PA.",        "MAP",  "Type: 7"};
    struct Face {
        double points;
        bool bold;
        bool condensed;
    };
    for (const Face face : {Face{8, false, false}, Face{10, true, false}, Face{6, false, true}}) {
        PreviewCanvas canvas;
        canvas.setFontName(QStringLiteral("DejaVu Sans"));
        canvas.setFontSize(face.points);
        canvas.setFontBold(face.bold);
        canvas.setFontCondensed(face.condensed);
        // The sheet measures at 1,440 dots per inch, one dot a twip.
        QImage device(8, 8, QImage::Format_RGB32);
        const int dotsPerMeter = int(std::lround(1440 / 0.0254));
        device.setDotsPerMeterX(dotsPerMeter);
        device.setDotsPerMeterY(dotsPerMeter);
        const QFontMetricsF shaped(canvas.font(), &device);
        for (const QString& text : texts)
            EXPECT_EQ(canvas.TextWidth(text), shaped.horizontalAdvance(text))
                << text.toStdString() << " at " << face.points << " points";
    }
}

} // namespace
} // namespace vennic
