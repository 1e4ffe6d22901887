#include "ui/tavpanel.h"

#include <QMouseEvent>
#include <QPainter>

namespace vennic {

namespace {

/// Draws `width` rings inward from `r`, top-left in one colour and bottom-right in the other,
/// and returns what is left inside.
QRect drawBevel(QPainter& p, QRect r, int width, const QColor& topLeft, const QColor& bottomRight)
{
    for (int i = 0; i < width && r.width() > 1 && r.height() > 1; ++i) {
        p.setPen(topLeft);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        r.adjust(1, 1, -1, -1);
    }
    return r;
}

} // namespace

TavPanel::TavPanel(QWidget* parent) : QWidget(parent)
{
    m_font = font();
    m_panelColor = palette().color(QPalette::Window);
    m_gapColor = m_panelColor;
    m_bevelTopLeft = palette().color(QPalette::Light);
    m_bevelBottomRight = palette().color(QPalette::Dark);
}

TavPanel::TavPanel(const QString& caption, QWidget* parent) : TavPanel(parent)
{
    m_caption = caption;
}

void TavPanel::setPanelCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

void TavPanel::setPanelFont(const QFont& font)
{
    m_font = font;
    update();
}

void TavPanel::setPanelColor(const QColor& color)
{
    m_panelColor = color;
    update();
}

void TavPanel::setGap(int pixels)
{
    m_gap = std::max(0, pixels);
    update();
}

void TavPanel::setGapColor(const QColor& color)
{
    m_gapColor = color;
    update();
}

void TavPanel::setInnerBevel(int pixels)
{
    m_innerBevel = std::max(0, pixels);
    update();
}

void TavPanel::setOuterBevel(int pixels)
{
    m_outerBevel = std::max(0, pixels);
    update();
}

void TavPanel::setBevelColorTopLeft(const QColor& color)
{
    m_bevelTopLeft = color;
    update();
}

void TavPanel::setBevelColorBottomRight(const QColor& color)
{
    m_bevelBottomRight = color;
    update();
}

void TavPanel::setCurrentY(double y)
{
    m_currentY = y;
    update();
}

void TavPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), m_gapColor);
    // The outer bevel is raised and the inner one sunk, so the gap reads as a groove.
    QRect r = drawBevel(p, rect(), m_outerBevel, m_bevelTopLeft, m_bevelBottomRight);
    r.adjust(m_gap, m_gap, -m_gap, -m_gap);
    r = drawBevel(p, r, m_innerBevel, m_bevelBottomRight, m_bevelTopLeft);
    p.fillRect(r, m_panelColor);
    if (m_caption.isEmpty())
        return;
    p.setFont(m_font);
    p.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics metrics(m_font);
    const int baseline = m_currentY > 0 ? int(m_currentY) : r.top() + 2 + metrics.ascent();
    p.drawText(QPoint(r.left() + 4, baseline), m_caption);
}

void TavPanel::mousePressEvent(QMouseEvent* event)
{
    m_pressed = true;
    Q_EMIT mousePressed(event->button(), event->modifiers(), event->position());
}

void TavPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_pressed && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    m_pressed = false;
}

} // namespace vennic
