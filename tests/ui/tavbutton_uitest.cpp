#include "ui/tavbutton.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace vennic {
namespace {

std::unique_ptr<TavButton> folderButton()
{
    auto button =
        std::make_unique<TavButton>(QStringLiteral("Folders"), QStringLiteral("No Folders"));
    button->setBackColorUnlatched(QColor(200, 200, 200));
    button->setBackColorLatched(QColor(0, 255, 0));
    button->setTextColorUnlatched(Qt::black);
    button->setTextColorLatched(Qt::red);
    button->resize(80, 25);
    return button;
}

TEST(TavButton, AClickLatchesAndTheNextReleases)
{
    auto button = folderButton();
    QSignalSpy activated(button.get(), &TavButton::activated);
    QSignalSpy latched(button.get(), &TavButton::latchedChanged);
    EXPECT_FALSE(button->Latched());
    EXPECT_EQ(button->caption(), QStringLiteral("Folders"));
    EXPECT_EQ(button->backColor(), QColor(200, 200, 200));

    QTest::mouseClick(button.get(), Qt::LeftButton);
    EXPECT_TRUE(button->Latched());
    EXPECT_EQ(button->caption(), QStringLiteral("No Folders"));
    EXPECT_EQ(button->text(), QStringLiteral("No Folders"));
    EXPECT_EQ(button->backColor(), QColor(0, 255, 0));
    EXPECT_EQ(button->textColor(), QColor(Qt::red));
    EXPECT_EQ(activated.count(), 1);
    EXPECT_EQ(latched.count(), 1);

    button->click();
    EXPECT_FALSE(button->Latched());
    EXPECT_EQ(button->caption(), QStringLiteral("Folders"));
    EXPECT_EQ(activated.count(), 2);
}

TEST(TavButton, SettingTheStateInCodeDoesNotActivate)
{
    auto button = folderButton();
    QSignalSpy activated(button.get(), &TavButton::activated);
    button->setLatched(true);
    EXPECT_TRUE(button->Latched());
    EXPECT_EQ(button->caption(), QStringLiteral("No Folders"));
    button->setLatched(false);
    EXPECT_EQ(activated.count(), 0);
    EXPECT_TRUE(button->property("Latched").isValid());
}

TEST(TavButton, PaintsTheBackColourOfItsState)
{
    auto button = folderButton();
    button->setBevelWidth(3);
    const QPoint inside(8, 5); // within the face, past outline and bevel
    QImage unlatched = button->grab().toImage();
    EXPECT_EQ(unlatched.pixelColor(inside), QColor(200, 200, 200));
    button->setLatched(true);
    QImage latched = button->grab().toImage();
    EXPECT_EQ(latched.pixelColor(inside), QColor(0, 255, 0));
}

TEST(TavButton, DisabledButtonIgnoresClicks)
{
    auto button = folderButton();
    button->setEnabled(false);
    QTest::mouseClick(button.get(), Qt::LeftButton);
    EXPECT_FALSE(button->Latched());
}

} // namespace
} // namespace vennic
