#pragma once

#include <QPoint>
#include <QWidget>

class QLabel;
class QPushButton;

namespace vennic {

/// The warning shown before the column alignment: a borderless window in the shape of an
/// octagon with the label "WARNING!!" and the buttons `BtnOK` and `BtnCancel`. It is shown
/// without waiting. "OK" sets `answer` (the main window's `DelAll`) and hides the form; "Cancel"
/// hides it and sets nothing. The user moves it by dragging its surface with the left mouse button.
class AlertForm : public QWidget {
    Q_OBJECT
public:
    AlertForm(QWidget& owner, bool& answer);

    QLabel* Label1 = nullptr; ///< "WARNING!!"
    QLabel* Label2 = nullptr; ///< what the command about to run does
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnCancel = nullptr;

    void BtnOK_Click();
    void BtnCancel_Click();

Q_SIGNALS:
    /// The form went away, by either button, by a close from the window system or by the
    /// program: whoever waits for its answer stops waiting.
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    /// The octagon of the form's shape inside its rectangle.
    QPolygon outline() const;

    bool& m_answer;
    bool m_dragging = false;
    QPoint m_grabOffset; ///< the press position relative to the window's top-left corner
};

} // namespace vennic
