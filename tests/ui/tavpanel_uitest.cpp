#include "ui/tavpanel.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace vennic {
namespace {

TEST(TavPanel, PressAndClickComeAsEvents)
{
    TavPanel panel(QStringLiteral("File Attributes"));
    panel.resize(200, 100);
    QSignalSpy pressed(&panel, &TavPanel::mousePressed);
    QSignalSpy clicked(&panel, &TavPanel::clicked);
    QTest::mousePress(&panel, Qt::RightButton, Qt::ShiftModifier, QPoint(30, 40));
    ASSERT_EQ(pressed.count(), 1);
    EXPECT_EQ(pressed[0][0].value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(pressed[0][1].value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
    EXPECT_EQ(pressed[0][2].toPointF(), QPointF(30, 40));
    QTest::mouseRelease(&panel, Qt::RightButton, Qt::ShiftModifier, QPoint(30, 40));
    EXPECT_EQ(clicked.count(), 1);
}

TEST(TavPanel, PaintsPanelColourInsideTheBevels)
{
    TavPanel panel(QStringLiteral("Test Panel"));
    panel.setOuterBevel(2);
    panel.setGap(3);
    panel.setInnerBevel(1);
    panel.setPanelColor(QColor(10, 20, 200));
    panel.setGapColor(QColor(250, 250, 0));
    panel.resize(120, 60);
    EXPECT_EQ(panel.frameWidth(), 6);
    const QImage image = panel.grab().toImage();
    EXPECT_EQ(image.pixelColor(3, 30), QColor(250, 250, 0)) << "the gap";
    EXPECT_EQ(image.pixelColor(100, 50), QColor(10, 20, 200)) << "the panel";
}

} // namespace
} // namespace vennic
