#include "ui/widgetprompts.h"

#include <gtest/gtest.h>

namespace vennic {
namespace {

TEST(WidgetPrompts, FilterPairsBecomeDialogFilters)
{
    EXPECT_EQ(WidgetPrompts::dialogFilter(QStringLiteral("Folder listing |*.tav")),
              QStringLiteral("Folder listing (*.tav)"));
    EXPECT_EQ(WidgetPrompts::dialogFilter(QStringLiteral("Listings|*.tav;*.txt|All files|*.*")),
              QStringLiteral("Listings (*.tav *.txt);;All files (*.*)"));
    EXPECT_EQ(WidgetPrompts::dialogFilter(QString()), QString());
}

TEST(WidgetPrompts, EveryBoxTitleNamesTheProgram)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", "Vennic"},
        {"Vennic", "Vennic"},
        {"Print", "Vennic - Print"},
        {"Vennic - Confirm Delete", "Vennic - Confirm Delete"},
    };
    for (const auto& [given, shown] : cases)
        EXPECT_EQ(WidgetPrompts::boxTitle(QString::fromLatin1(given)), QString::fromLatin1(shown));
}

} // namespace
} // namespace vennic
