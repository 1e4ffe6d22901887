#include "ui/printerformatfrm.h"
#include "ui/tavbutton.h"
#include "ui/tavpanel.h"

#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace vennic {
namespace {

TEST(PrinterFormatFrm, HasItsPanelsOptionsAndOkButton)
{
    PrinterFormatFrm form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Printer Format"));
    EXPECT_EQ(form.TavPanel1->panelCaption(), QStringLiteral("Printer Orientation:"));
    EXPECT_EQ(form.TavPanel2->panelCaption(), QStringLiteral("Font & Colors"));
    EXPECT_EQ(form.POLand->text(), QStringLiteral("Landscape"));
    EXPECT_EQ(form.POPort->text(), QStringLiteral("Portrait"));
    EXPECT_EQ(form.POLand->parentWidget(), form.TavPanel1);
    EXPECT_EQ(form.TavButton1->captionUnlatched(), QStringLiteral("OK"));
    EXPECT_EQ(form.TavButton1->captionLatched(), QStringLiteral("OK"));
    EXPECT_EQ(form.TavButton1->backColorLatched(), QColor(0, 255, 0));
    EXPECT_EQ(form.TavButton1->bevelWidth(), 4);
}

TEST(PrinterFormatFrm, ShowsTheStateOfPO)
{
    TavButton po(QStringLiteral("Portrait"), QStringLiteral("Landscape"));
    po.setLatched(true);
    PrinterFormatFrm form;
    form.setPO(&po);
    form.show();
    EXPECT_FALSE(form.isModal());
    EXPECT_TRUE(form.POLand->isChecked());
    EXPECT_FALSE(form.POPort->isChecked());
    po.setLatched(false);
    EXPECT_TRUE(form.POPort->isChecked()) << "follows PO while open";
}

TEST(PrinterFormatFrm, OkAppliesTheChoiceToPOAndCloses)
{
    TavButton po(QStringLiteral("Portrait"), QStringLiteral("Landscape"));
    PrinterFormatFrm form;
    form.setPO(&po);
    form.show();
    QTest::mouseClick(form.POLand, Qt::LeftButton);
    EXPECT_FALSE(po.Latched()) << "choosing alone changes nothing";
    QTest::mouseClick(form.TavButton1, Qt::LeftButton);
    EXPECT_TRUE(po.Latched());
    EXPECT_EQ(po.caption(), QStringLiteral("Landscape"));
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.TavButton1->Latched());

    form.show();
    EXPECT_TRUE(form.POLand->isChecked());
    QTest::mouseClick(form.POPort, Qt::LeftButton);
    QTest::mouseClick(form.TavButton1, Qt::LeftButton);
    EXPECT_FALSE(po.Latched());
    EXPECT_FALSE(form.isVisible());
}

TEST(PrinterFormatFrm, WithoutPOOkJustCloses)
{
    PrinterFormatFrm form;
    form.show();
    EXPECT_TRUE(form.POPort->isChecked());
    QTest::mouseClick(form.TavButton1, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
}

} // namespace
} // namespace vennic
