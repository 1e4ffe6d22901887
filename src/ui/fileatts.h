#pragma once

#include "ui/borderlessdialog.h"

#include <array>
#include <cstdint>

class QCheckBox;
class QLabel;

namespace vennic {

class AttributeEdit;
class TavButton;
class TavPanel;

/// The "Set file attributes" dialog: a borderless, modal form on the bevel panel `AttribPnl`
/// ("File Attributes") with a box for each of the eight attribute bits, the entry's name in
/// `SelFileName`, and the latching buttons "Set", "Cancel" and "Clear". "Set" accepts the
/// dialog and "Cancel" rejects it; the command that shows it writes only on "Set".
class FileAtts : public BorderlessDialog {
    Q_OBJECT
public:
    explicit FileAtts(QWidget* parent = nullptr);

    /// Unticks all eight boxes.
    void ClearAtts();
    /// Ticks the box of every set bit of `attributes` and enables only the boxes the user may
    /// change; the others carry the reason as their tool tip.
    void showEntry(const AttributeEdit& edit);
    /// The bits of the ticked boxes.
    uint32_t tickedAttributes() const;

    void SetBtn_Click();
    void CancelBtn_Click();
    void ClearBtn_Click();

    TavPanel* AttribPnl = nullptr;
    QCheckBox* AtRO = nullptr; ///< read only, bit 1
    QCheckBox* AtHi = nullptr; ///< hidden, bit 2
    QCheckBox* AtSy = nullptr; ///< system, bit 4
    QCheckBox* AtVo = nullptr; ///< volume, bit 8
    QCheckBox* AtDi = nullptr; ///< directory, bit 16
    QCheckBox* AtAr = nullptr; ///< archive, bit 32
    QCheckBox* AtAl = nullptr; ///< alias (a link or shortcut), bit 1024
    QCheckBox* AtCo = nullptr; ///< compressed, bit 2048
    QLabel* SelFileName = nullptr;
    TavButton* SetBtn = nullptr;
    TavButton* CancelBtn = nullptr;
    TavButton* ClearBtn = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Box {
        QCheckBox* box;
        uint32_t bit;
    };
    /// The boxes in the order of their letters: R H S V D A a C.
    std::array<Box, 8> boxes() const;
    void createControls();
    /// The load: size, placement and the name label's colour.
    void Form_Load();
};

} // namespace vennic
