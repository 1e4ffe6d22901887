#include "ui/driveinfo.h"

#include "shell/twips.h"
#include "ui/tavpanel.h"
#include "ui/twipsgeometry.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <cmath>

namespace vennic {

namespace {

// Design measures in twips: a column of captions and a column of values, one row each.
constexpr double PanelWidth = 5400;
constexpr double PanelHeight = 5100;
constexpr double CaptionLeft = 180;
constexpr double CaptionWidth = 1380;
constexpr double ValueLeft = 1620;
constexpr double ValueWidth = 3600;
constexpr double FirstRowTop = 420;
constexpr double RowStep = 300;
constexpr double RowHeight = 255;

} // namespace

DriveInfo::DriveInfo(QWidget* parent)
    : BorderlessDialog(parent, "DriveInfo", QStringLiteral("Drive Information"), false)
{
    createControls();
    Form_Load();
}

void DriveInfo::createControls()
{
    DriveInfoPnl =
        createPanel(QStringLiteral("Test Panel"), "DriveInfoPnl", PanelWidth, PanelHeight);

    struct Row {
        QLabel*& caption;
        QLabel** value; ///< null for the volume-name row, whose value is the text box
        const char* name;
        const char* text;
    };
    const Row rows[] = {
        {VolNamLbl1, nullptr, "VolNamLbl1", "Volume Name:"},
        {DrvTypLbl1, &DrvTypLbl2, "DrvTypLbl", "Drive Type:"},
        {ShrNamLbl1, &ShrNamLbl2, "ShrNamLbl", "Share Name:"},
        {FilSysLbl1, &FilSysLbl2, "FilSysLbl", "File System:"},
        {TotSpcLbl1, &TotSpcLbl2, "TotSpcLbl", "Total Space:"},
        {FreSpcLbl1, &FreSpcLbl2, "FreSpcLbl", "Free Space:"},
        {AvlSpcLbl1, &AvlSpcLbl2, "AvlSpcLbl", "Available Space:"},
        {UsdSpcLbl1, &UsdSpcLbl2, "UsdSpcLbl", "Used Space"},
        {SerNumLbl1, &SerNumLbl2, "SerNumLbl", "Serial Number:"},
        {RotFdrLbl1, &RotFdrLbl2, "RotFdrLbl", "Root Folder:"},
        {DrvPatLbl1, &DrvPatLbl2, "DrvPatLbl", "Path:"},
        {IsRdyLbl1, &IsRdyLbl2, "IsRdyLbl", "Is Ready:"},
    };
    double top = FirstRowTop;
    for (const Row& row : rows) {
        row.caption = new QLabel(QString::fromLatin1(row.text), DriveInfoPnl);
        const QString name = QString::fromLatin1(row.name);
        row.caption->setObjectName(row.value ? name + u'1' : name);
        setGeometryTwips(row.caption, CaptionLeft, top, CaptionWidth, RowHeight);
        if (row.value) {
            // Placeholders of the design; every fill overwrites them.
            *row.value = new QLabel(QStringLiteral("Label"), DriveInfoPnl);
            (*row.value)->setObjectName(name + u'2');
            setGeometryTwips(*row.value, ValueLeft, top, ValueWidth, RowHeight);
        }
        top += RowStep;
    }

    VolLblTxt = new QLineEdit(DriveInfoPnl);
    VolLblTxt->setObjectName(QStringLiteral("VolLblTxt"));
    setGeometryTwips(VolLblTxt, ValueLeft, FirstRowTop - 30, 2640, 285);
    VolNamSetBtn = new QPushButton(QStringLiteral("Set"), DriveInfoPnl);
    VolNamSetBtn->setObjectName(QStringLiteral("VolNamSetBtn"));
    setGeometryTwips(VolNamSetBtn, ValueLeft + 2700, FirstRowTop - 30, 780, 285);

    const double barTop = top + 60;
    Label1 = new QLabel(QStringLiteral("Used"), DriveInfoPnl);
    Label1->setObjectName(QStringLiteral("Label1"));
    setGeometryTwips(Label1, CaptionLeft, barTop, 540, RowHeight);
    DskSpcPB = new QProgressBar(DriveInfoPnl);
    DskSpcPB->setObjectName(QStringLiteral("DskSpcPB"));
    DskSpcPB->setRange(0, 100);
    DskSpcPB->setValue(0);
    // The bar holds the free share, so it fills from the end labelled "Free" and says how much.
    DskSpcPB->setInvertedAppearance(true);
    DskSpcPB->setTextVisible(true);
    DskSpcPB->setFormat(QStringLiteral("%p% free"));
    setGeometryTwips(DskSpcPB, CaptionLeft + 600, barTop, PanelWidth - 2 * CaptionLeft - 1200,
                     RowHeight);
    Label2 = new QLabel(QStringLiteral("Free"), DriveInfoPnl);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setGeometryTwips(Label2, PanelWidth - CaptionLeft - 540, barTop, 540, RowHeight);

    OKButton = new QPushButton(QStringLiteral("OK"), DriveInfoPnl);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    setGeometryTwips(OKButton, (PanelWidth - 900) / 2, barTop + 420, 900, 375);

    // Return in the name box is no reason to close the dialog: neither button is the default.
    for (QPushButton* button : {VolNamSetBtn, OKButton}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    connect(OKButton, &QPushButton::clicked, this, &DriveInfo::OKButton_Click);
    connect(VolNamSetBtn, &QPushButton::clicked, this, &DriveInfo::VolNamSetBtn_Click);
    connect(VolLblTxt, &QLineEdit::textChanged, this, &DriveInfo::VolLblTxt_Change);
}

void DriveInfo::Form_Load()
{
    VolLblTxt->setToolTip(QStringLiteral("Volume name not to exceed 11 characters."));
    VolNamSetBtn->setEnabled(false);
    placeOnLoad(DriveInfoPnl);
}

void DriveInfo::fill(const DriveInfoValues& values)
{
    m_drivePath = values.drivePath;
    DriveInfoPnl->setPanelCaption(values.heading);
    VolLblTxt->setText(values.volumeName);
    ShrNamLbl2->setText(values.shareName);
    DrvTypLbl2->setText(values.driveType);
    FilSysLbl2->setText(values.fileSystem);
    TotSpcLbl2->setText(values.totalSpace);
    FreSpcLbl2->setText(values.freeSpace);
    AvlSpcLbl2->setText(values.availableSpace);
    SerNumLbl2->setText(values.serialNumber);
    RotFdrLbl2->setText(values.rootFolder);
    DrvPatLbl2->setText(values.path);
    IsRdyLbl2->setText(values.isReady);
    UsdSpcLbl2->setText(values.usedSpace);
    m_freeShare = values.freeShare;
    DskSpcPB->setValue(int(std::lround(values.freeShare)));
    // Putting the name into the box enabled "Set"; nothing has been typed yet.
    VolNamSetBtn->setEnabled(false);
}

void DriveInfo::OKButton_Click()
{
    hide();
}

void DriveInfo::VolLblTxt_Change()
{
    VolNamSetBtn->setEnabled(true);
}

void DriveInfo::VolNamSetBtn_Click()
{
    // After a failure "Set" stays enabled, so the user can correct the name and try again.
    if (m_writer && m_writer(m_drivePath, VolLblTxt->text()))
        VolNamSetBtn->setEnabled(false);
}

} // namespace vennic
