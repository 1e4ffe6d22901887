#pragma once

#include "drives/driveinfovalues.h"
#include "ui/borderlessdialog.h"

#include <functional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace vennic {

class TavPanel;

/// The "Drive Information" dialog: a borderless, modeless form on the bevel panel
/// `DriveInfoPnl` whose caption is the heading. It shows a drive's names, type, file system,
/// sizes, serial number, paths and readiness, a bar for the free share of the disk, and lets
/// the user change the volume name. One instance serves both panes; a fill replaces every
/// value. "Set" is disabled after the load, after each fill and after each successful write,
/// and any change of the volume-name box enables it.
class DriveInfo : public BorderlessDialog {
    Q_OBJECT
public:
    /// Writes a volume name to the drive at `drivePath`; true when it was written. The owner
    /// reports a failure to the user.
    using VolumeNameWriter =
        std::function<bool(const NativeString& drivePath, const QString& name)>;

    explicit DriveInfo(QWidget* parent = nullptr);

    void setVolumeNameWriter(VolumeNameWriter writer) { m_writer = std::move(writer); }

    /// Puts a drive's values into the dialog in the written order and disables "Set".
    void fill(const DriveInfoValues& values);
    /// The free share of the disk the bar shows, in percent.
    float freeShare() const { return m_freeShare; }
    /// The drive the volume name is written to: the one of the last fill.
    const NativeString& drivePath() const { return m_drivePath; }

    void OKButton_Click();
    void VolLblTxt_Change();
    void VolNamSetBtn_Click();

    TavPanel* DriveInfoPnl = nullptr;
    QLabel* VolNamLbl1 = nullptr;
    QLineEdit* VolLblTxt = nullptr;
    QPushButton* VolNamSetBtn = nullptr;
    QLabel* DrvTypLbl1 = nullptr;
    QLabel* DrvTypLbl2 = nullptr;
    QLabel* ShrNamLbl1 = nullptr;
    QLabel* ShrNamLbl2 = nullptr;
    QLabel* FilSysLbl1 = nullptr;
    QLabel* FilSysLbl2 = nullptr;
    QLabel* TotSpcLbl1 = nullptr;
    QLabel* TotSpcLbl2 = nullptr;
    QLabel* FreSpcLbl1 = nullptr;
    QLabel* FreSpcLbl2 = nullptr;
    QLabel* AvlSpcLbl1 = nullptr;
    QLabel* AvlSpcLbl2 = nullptr;
    QLabel* UsdSpcLbl1 = nullptr;
    QLabel* UsdSpcLbl2 = nullptr;
    QLabel* SerNumLbl1 = nullptr;
    QLabel* SerNumLbl2 = nullptr;
    QLabel* RotFdrLbl1 = nullptr;
    QLabel* RotFdrLbl2 = nullptr;
    QLabel* DrvPatLbl1 = nullptr;
    QLabel* DrvPatLbl2 = nullptr;
    QLabel* IsRdyLbl1 = nullptr;
    QLabel* IsRdyLbl2 = nullptr;
    QProgressBar* DskSpcPB = nullptr;
    QLabel* Label1 = nullptr; ///< "Used", at the bar's left end
    QLabel* Label2 = nullptr; ///< "Free", at its right end
    QPushButton* OKButton = nullptr;

private:
    void createControls();
    /// The load: tool tip, "Set" disabled, placement and size.
    void Form_Load();

    VolumeNameWriter m_writer;
    NativeString m_drivePath;
    float m_freeShare = 0;
};

} // namespace vennic
