#pragma once

#include <QPointer>
#include <QWidget>

class QRadioButton;

namespace vennic {

class TavButton;
class TavPanel;

/// The "Printer Format" dialog: the orientation choices "Landscape" and "Portrait" in the
/// "Printer Orientation:" panel, an empty "Font & Colors" panel and an "OK" button. It is not
/// modal. Its option buttons show the state of the main window's `PO` button whenever it is
/// shown (and while `PO` changes), and "OK" latches or unlatches `PO` to match the choice and
/// closes the dialog.
class PrinterFormatFrm : public QWidget {
    Q_OBJECT
public:
    explicit PrinterFormatFrm(QWidget* parent = nullptr);

    /// The orientation button the dialog shows and sets; may be null.
    TavButton* PO() const { return m_po; }
    void setPO(TavButton* po);

    /// "OK": applies the chosen orientation to `PO` and closes the dialog.
    void TavButton1_Click();

    TavPanel* TavPanel1 = nullptr;
    QRadioButton* POLand = nullptr;
    QRadioButton* POPort = nullptr;
    TavPanel* TavPanel2 = nullptr;
    TavButton* TavButton1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    /// Sets the option buttons from `PO`'s latched state.
    void showPO();

    QPointer<TavButton> m_po;
    QMetaObject::Connection m_poConnection;
};

} // namespace vennic
