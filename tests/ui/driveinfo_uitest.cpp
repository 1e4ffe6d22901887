#include "ui/driveinfo.h"

#include "ui/tavpanel.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace vennic {
namespace {

DriveInfoValues sampleValues()
{
    DriveInfoValues v;
    v.heading = "Information for Drive /data";
    v.drivePath = "/data";
    v.volumeName = "ARCHIVE";
    v.fileSystem = "ext4";
    v.freeSpace = "1,234,567,890";
    return v;
}

TEST(DriveInfo, LoadsWithItsControlsAndPlacement)
{
    DriveInfo dialog;
    EXPECT_EQ(dialog.windowTitle(), "Drive Information");
    EXPECT_FALSE(dialog.isModal());
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(dialog.size(), dialog.DriveInfoPnl->size());
    EXPECT_EQ(dialog.VolLblTxt->toolTip(), "Volume name not to exceed 11 characters.");
    EXPECT_EQ(dialog.VolLblTxt->maxLength(), 32767) << "the box itself does not limit the length";
    EXPECT_FALSE(dialog.VolNamSetBtn->isEnabled());
    // Every control sits inside the panel.
    for (QWidget* child : dialog.DriveInfoPnl->findChildren<QWidget*>())
        EXPECT_TRUE(dialog.DriveInfoPnl->rect().contains(child->geometry()))
            << child->objectName().toStdString();
}

TEST(DriveInfo, OpensOnScreenWhenItsOwnerLiesBeyondIt)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QWidget owner;
    owner.setGeometry(screen.right() + 400, screen.bottom() + 400, 300, 200);
    owner.show();
    DriveInfo dialog(&owner);
    EXPECT_EQ(dialog.y(), screen.top() + screen.height() / 2 - dialog.height() / 2);
    EXPECT_EQ(dialog.x(), screen.left() + screen.width() / 2 - dialog.width() / 2);
}

TEST(DriveInfo, SetIsEnabledByTypingAndDisabledOnlyBySuccess)
{
    DriveInfo dialog;
    std::vector<std::pair<NativeString, QString>> writes;
    bool succeed = false;
    dialog.setVolumeNameWriter([&](const NativeString& path, const QString& name) {
        writes.emplace_back(path, name);
        return succeed;
    });
    dialog.fill(sampleValues());
    QTest::keyClicks(dialog.VolLblTxt, "2");
    EXPECT_TRUE(dialog.VolNamSetBtn->isEnabled());

    QTest::mouseClick(dialog.VolNamSetBtn, Qt::LeftButton);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0], std::make_pair(NativeString("/data"), QString("ARCHIVE2")));
    EXPECT_TRUE(dialog.VolNamSetBtn->isEnabled()) << "a failed write keeps Set enabled";

    succeed = true;
    QTest::mouseClick(dialog.VolNamSetBtn, Qt::LeftButton);
    EXPECT_EQ(writes.size(), 2u);
    EXPECT_FALSE(dialog.VolNamSetBtn->isEnabled());
    EXPECT_EQ(dialog.FreSpcLbl2->text(), "1,234,567,890") << "the other values stay";

    dialog.show();
    QTest::mouseClick(dialog.OKButton, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
}

void sendMouse(QWidget* widget, QEvent::Type type, QPoint local, Qt::MouseButton button)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, local, widget->mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

TEST(DriveInfo, DraggingAnywhereMovesTheWindow)
{
    DriveInfo dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.move(100, 100);

    // A press on a value label goes on to the panel; the window follows until the release.
    QWidget* label = dialog.FilSysLbl2;
    const QPoint start = label->rect().center();
    sendMouse(label, QEvent::MouseButtonPress, start, Qt::LeftButton);
    EXPECT_TRUE(dialog.isDragging());
    sendMouse(label, QEvent::MouseMove, start + QPoint(30, 20), Qt::LeftButton);
    sendMouse(label, QEvent::MouseButtonRelease, start + QPoint(30, 20), Qt::LeftButton);
    EXPECT_EQ(dialog.pos(), QPoint(130, 120));
    EXPECT_FALSE(dialog.isDragging());

    // Any button drags, on the panel's bare surface too.
    const QPoint bare(4, dialog.height() - 4);
    sendMouse(dialog.DriveInfoPnl, QEvent::MouseButtonPress, bare, Qt::RightButton);
    sendMouse(dialog.DriveInfoPnl, QEvent::MouseMove, bare + QPoint(-10, 5), Qt::RightButton);
    sendMouse(dialog.DriveInfoPnl, QEvent::MouseButtonRelease, bare, Qt::RightButton);
    EXPECT_EQ(dialog.pos(), QPoint(120, 125));
}

} // namespace
} // namespace vennic
