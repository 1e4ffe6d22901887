#include "ui/borderlessdialog.h"

#include "ui/tavpanel.h"
#include "ui/twipsgeometry.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

namespace vennic {

BorderlessDialog::BorderlessDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
}

BorderlessDialog::BorderlessDialog(QWidget* parent, const char* objectName, const QString& title,
                                   bool modal)
    : BorderlessDialog(parent)
{
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(title);
    setModal(modal);
    QFont designFont = QApplication::font();
    designFont.setPointSizeF(8.25);
    setFont(designFont);
}

TavPanel* BorderlessDialog::createPanel(const QString& caption, const char* objectName,
                                        double width, double height)
{
    auto* panel = new TavPanel(caption, this);
    panel->setObjectName(QString::fromLatin1(objectName));
    panel->setOuterBevel(2);
    panel->setGap(2);
    panel->setInnerBevel(1);
    QFont headingFont = font();
    headingFont.setBold(true);
    panel->setPanelFont(headingFont);
    setGeometryTwips(panel, 0, 0, width, height);
    connect(panel, &TavPanel::mousePressed, this,
            [this, panel](Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF position) {
                const QPointF onForm = panel->mapTo(this, position);
                Form_MouseDown(button, shift, float(onForm.x()), float(onForm.y()));
            });
    followDragOn(panel);
    return panel;
}

void BorderlessDialog::Form_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, float X, float Y)
{
    startDrag(mapToGlobal(QPointF(X, Y)).toPoint());
}

void BorderlessDialog::startDrag(QPoint globalPosition)
{
    // A system move needs a window manager; without one it reports failure and the dialog
    // follows the mouse itself.
    if (QWindow* window = windowHandle(); window && window->startSystemMove())
        return;
    m_dragging = true;
    m_grabOffset = globalPosition - pos();
}

void BorderlessDialog::followDragOn(QWidget* surface)
{
    surface->installEventFilter(this);
}

void BorderlessDialog::placeOnLoad(QWidget* panel)
{
    setFixedSize(panel->size());
    if (const QWidget* owner = parentWidget(); owner && owner->isVisible()) {
        const QRect area = owner->frameGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    centreWhenOffScreen();
}

void BorderlessDialog::centreWhenOffScreen()
{
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    QPoint place = pos();
    if (place.y() > area.bottom())
        place.setY(area.top() + area.height() / 2 - height() / 2);
    if (place.x() > area.right())
        place.setX(area.left() + area.width() / 2 - width() / 2);
    move(place);
}

void BorderlessDialog::mousePressEvent(QMouseEvent* event)
{
    startDrag(event->globalPosition().toPoint());
    event->accept();
}

void BorderlessDialog::mouseMoveEvent(QMouseEvent* event)
{
    if (!followDrag(event))
        QDialog::mouseMoveEvent(event);
}

void BorderlessDialog::mouseReleaseEvent(QMouseEvent* event)
{
    if (!followDrag(event))
        QDialog::mouseReleaseEvent(event);
}

bool BorderlessDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (followDrag(event))
        return true;
    return QDialog::eventFilter(watched, event);
}

bool BorderlessDialog::followDrag(QEvent* event)
{
    if (!m_dragging)
        return false;
    if (event->type() == QEvent::MouseMove) {
        move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - m_grabOffset);
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        m_dragging = false;
        return true;
    }
    return false;
}

} // namespace vennic
