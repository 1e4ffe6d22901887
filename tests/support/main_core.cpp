// Test main for logic tests: a QCoreApplication, the English/United States locale and a pinned
// time zone, so texts of numbers and dates are the same on every machine.
#include <QCoreApplication>
#include <QLocale>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

int main(int argc, char** argv)
{
    setenv("TZ", "America/New_York", 1);
    tzset();
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
