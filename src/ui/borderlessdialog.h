#pragma once

#include <QDialog>
#include <QPoint>

namespace vennic {

class TavPanel;

/// A dialog without a window frame, built on a bevel panel, that the user moves by pressing
/// any mouse button anywhere on its surface and dragging. Where the window system offers a
/// system move (a window manager that supports it) that is used; elsewhere the dialog follows
/// the mouse events itself, so it moves on a bare X server and under the offscreen platform.
class BorderlessDialog : public QDialog {
    Q_OBJECT
public:
    explicit BorderlessDialog(QWidget* parent = nullptr);
    /// The dialogs' shared start: the object name and title, modal or not, and the design's
    /// 8.25-point font.
    BorderlessDialog(QWidget* parent, const char* objectName, const QString& title, bool modal);

    /// A press on the form or on its panel: the dialog starts to follow the mouse.
    void Form_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, float X, float Y);

    /// Starts moving the window for a press at `globalPosition`; the window follows the mouse
    /// until the button is released.
    void startDrag(QPoint globalPosition);
    bool isDragging() const { return m_dragging; }

protected:
    /// The bevelled panel that carries the dialog's controls, `caption` in bold on its border,
    /// at the top left and `width` by `height` twips; a press on it starts a drag.
    TavPanel* createPanel(const QString& caption, const char* objectName, double width,
                          double height);
    /// Lets a press on `surface` (a panel, and the labels on it that pass their presses on)
    /// be followed by the drag's moves and release.
    void followDragOn(QWidget* surface);
    /// The load placement: the dialog as large as `panel`, centred over its parent window, and
    /// then centred on the screen along each axis on which its edge lies beyond the screen.
    void placeOnLoad(QWidget* panel);
    /// Moves the top edge to the screen's middle when it lies below the screen's height, and
    /// the left edge likewise when it lies beyond the screen's width.
    void centreWhenOffScreen();

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// Follows one mouse event of a drag; true when the event belonged to it.
    bool followDrag(QEvent* event);

    bool m_dragging = false;
    QPoint m_grabOffset; ///< the press position relative to the window's top-left corner
};

} // namespace vennic
