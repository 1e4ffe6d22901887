#include "ui/borderlessdialog.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>

namespace vennic {

BorderlessDialog::BorderlessDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
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
