#include "ui/printerformatfrm.h"

#include "shell/twips.h"
#include "ui/tavbutton.h"
#include "ui/tavpanel.h"
#include "ui/twipsgeometry.h"

#include <QApplication>
#include <QRadioButton>

namespace vennic {

PrinterFormatFrm::PrinterFormatFrm(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("PrinterFormatFrm"));
    setWindowTitle(QStringLiteral("Printer Format"));
    QFont designFont = QApplication::font();
    designFont.setPointSizeF(8.25);
    setFont(designFont);

    TavPanel1 = new TavPanel(QStringLiteral("Printer Orientation:"), this);
    TavPanel1->setObjectName(QStringLiteral("TavPanel1"));
    POLand = new QRadioButton(QStringLiteral("Landscape"), TavPanel1);
    POLand->setObjectName(QStringLiteral("POLand"));
    POPort = new QRadioButton(QStringLiteral("Portrait"), TavPanel1);
    POPort->setObjectName(QStringLiteral("POPort"));
    POPort->setChecked(true);

    TavPanel2 = new TavPanel(QStringLiteral("Font & Colors"), this);
    TavPanel2->setObjectName(QStringLiteral("TavPanel2"));

    TavButton1 = new TavButton(QStringLiteral("OK"), QStringLiteral("OK"), this);
    TavButton1->setObjectName(QStringLiteral("TavButton1"));
    TavButton1->setBevelWidth(4);
    TavButton1->setBackColorLatched(QColor(0, 255, 0));
    TavButton1->setTextShadow(true);
    TavButton1->setFonts(designFont);
    connect(TavButton1, &TavButton::activated, this, &PrinterFormatFrm::TavButton1_Click);

    for (TavPanel* panel : {TavPanel1, TavPanel2}) {
        panel->setOuterBevel(2);
        panel->setGap(2);
        panel->setInnerBevel(1);
        panel->setPanelFont(designFont);
    }

    setGeometryTwips(TavPanel1, 120, 120, 3960, 1320);
    setGeometryTwips(POLand, 240, 480, 1800, 300);
    setGeometryTwips(POPort, 240, 840, 1800, 300);
    setGeometryTwips(TavPanel2, 120, 1560, 3960, 1080);
    setGeometryTwips(TavButton1, 1560, 2820, 1080, 420);
    setFixedSize(twipsToPixels(4200, logicalDpiX()), twipsToPixels(3360, logicalDpiY()));
}

void PrinterFormatFrm::setPO(TavButton* po)
{
    disconnect(m_poConnection);
    m_po = po;
    if (po)
        m_poConnection = connect(po, &TavButton::latchedChanged, this, &PrinterFormatFrm::showPO);
    showPO();
}

void PrinterFormatFrm::TavButton1_Click()
{
    if (m_po)
        m_po->setLatched(POLand->isChecked());
    // "OK" reads the same in both states; it is left up for the next time the dialog opens.
    TavButton1->setLatched(false);
    close();
}

void PrinterFormatFrm::showEvent(QShowEvent* event)
{
    showPO();
    QWidget::showEvent(event);
}

void PrinterFormatFrm::showPO()
{
    const bool landscape = m_po && m_po->Latched();
    POLand->setChecked(landscape);
    POPort->setChecked(!landscape);
}

} // namespace vennic
