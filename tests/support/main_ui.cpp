// Test main for form tests: a QApplication on the offscreen platform (set here because CTest's
// test discovery runs the programs outside any test environment), the English/United States
// locale and a pinned time zone.
#include <QApplication>
#include <QLocale>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("TZ", "America/New_York", 1);
    tzset();
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
