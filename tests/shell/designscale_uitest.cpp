#include "shell/designscale.h"

#include <QFontInfo>
#include <QImage>
#include <gtest/gtest.h>

namespace vennic {
namespace {

TEST(DesignScale, GrowsWithTheFontAndNeverShrinksTheDesign)
{
    QImage device(10, 10, QImage::Format_RGB32);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9);
    const double nine = DesignScale::factor(font, device);
    EXPECT_GT(nine, 1.1) << "a 9-point DejaVu Sans is wider than the design face";
    font.setPointSizeF(18);
    EXPECT_NEAR(DesignScale::factor(font, device) / nine, 2.0, 0.05);

    // A screen of twice the resolution draws the same font twice as wide in pixels; the
    // factor stays, since the twips conversion counts the resolution already.
    QImage sharp(10, 10, QImage::Format_RGB32);
    sharp.setDotsPerMeterX(device.dotsPerMeterX() * 2);
    sharp.setDotsPerMeterY(device.dotsPerMeterY() * 2);
    font.setPointSizeF(9);
    EXPECT_NEAR(DesignScale::factor(font, sharp), nine, 0.05);

    font.setPointSizeF(3);
    EXPECT_GE(DesignScale::factor(font, device), 1.0);
}

TEST(DesignScale, CaptionsAreNeverSmallerThanEightPoints)
{
    QFont tiny(QStringLiteral("DejaVu Sans"));
    tiny.setPointSizeF(5);
    EXPECT_EQ(DesignScale::captionFont(tiny).pointSizeF(), 8.0);
    QFont pixels(QStringLiteral("DejaVu Sans"));
    pixels.setPixelSize(4);
    EXPECT_GE(QFontInfo(DesignScale::captionFont(pixels)).pointSizeF(), 7.9);
    QFont large(QStringLiteral("DejaVu Sans"));
    large.setPointSizeF(11);
    EXPECT_EQ(DesignScale::captionFont(large).pointSizeF(), 11.0) << "a larger font is kept";
}

} // namespace
} // namespace vennic
