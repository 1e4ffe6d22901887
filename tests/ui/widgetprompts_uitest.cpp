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

} // namespace
} // namespace vennic
