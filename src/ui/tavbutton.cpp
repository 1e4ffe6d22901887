#include "ui/tavbutton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace vennic {

TavButton::TavButton(QWidget* parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    m_fontUnlatched = m_fontLatched = font();
    m_backUnlatched = m_backLatched = palette().color(QPalette::Button);
    m_textUnlatched = m_textLatched = palette().color(QPalette::ButtonText);
    m_outline = palette().color(QPalette::Shadow);
    connect(this, &QAbstractButton::toggled, this, [this](bool latched) {
        setText(caption());
        update();
        Q_EMIT latchedChanged(latched);
    });
    connect(this, &QAbstractButton::clicked, this, &TavButton::activated);
}

TavButton::TavButton(const QString& captionUnlatched, const QString& captionLatched,
                     QWidget* parent)
    : TavButton(parent)
{
    m_captionUnlatched = captionUnlatched;
    m_captionLatched = captionLatched;
    setText(caption());
}

void TavButton::setLatched(bool latched)
{
    setChecked(latched);
}

void TavButton::setCaptionUnlatched(const QString& caption)
{
    m_captionUnlatched = caption;
    setText(this->caption());
    update();
}

void TavButton::setCaptionLatched(const QString& caption)
{
    m_captionLatched = caption;
    setText(this->caption());
    update();
}

void TavButton::setFontUnlatched(const QFont& font)
{
    m_fontUnlatched = font;
    updateGeometry();
    update();
}

void TavButton::setFontLatched(const QFont& font)
{
    m_fontLatched = font;
    updateGeometry();
    update();
}

void TavButton::setFonts(const QFont& font)
{
    setFont(font);
    setFontUnlatched(font);
    setFontLatched(font);
}

void TavButton::setBackColorUnlatched(const QColor& color)
{
    m_backUnlatched = color;
    update();
}

void TavButton::setBackColorLatched(const QColor& color)
{
    m_backLatched = color;
    update();
}

void TavButton::setTextColorUnlatched(const QColor& color)
{
    m_textUnlatched = color;
    update();
}

void TavButton::setTextColorLatched(const QColor& color)
{
    m_textLatched = color;
    update();
}

void TavButton::setOutlineColor(const QColor& color)
{
    m_outline = color;
    update();
}

void TavButton::setBevelWidth(int width)
{
    m_bevelWidth = std::max(0, width);
    update();
}

void TavButton::setTextShadow(bool shadow)
{
    m_textShadow = shadow;
    update();
}

void TavButton::setXVisible(bool visible)
{
    m_xVisible = visible;
    update();
}

QSize TavButton::sizeHint() const
{
    const QFontMetrics unlatched(m_fontUnlatched);
    const QFontMetrics latched(m_fontLatched);
    const int w = std::max(unlatched.horizontalAdvance(m_captionUnlatched),
                           latched.horizontalAdvance(m_captionLatched));
    const int h = std::max(unlatched.height(), latched.height());
    return {w + 2 * m_bevelWidth + 12, h + 2 * m_bevelWidth + 6};
}

void TavButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const bool down = Latched() || isDown();
    QRect r = rect();
    p.fillRect(r, isEnabled() ? backColor() : palette().color(QPalette::Button));

    p.setPen(m_outline);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    r.adjust(1, 1, -1, -1);

    // The bevel: light top-left and dark bottom-right when raised, the other way when down.
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    const QColor topLeft = down ? dark : light;
    const QColor bottomRight = down ? light : dark;
    for (int i = 0; i < m_bevelWidth && r.width() > 2 && r.height() > 2; ++i) {
        p.setPen(topLeft);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        r.adjust(1, 1, -1, -1);
    }

    QRect textRect = r;
    if (down)
        textRect.translate(1, 1);
    p.setFont(Latched() ? m_fontLatched : m_fontUnlatched);
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    if (m_textShadow && isEnabled()) {
        p.setPen(palette().color(QPalette::Light));
        p.drawText(textRect.translated(1, 1), flags, caption());
    }
    p.setPen(isEnabled() ? textColor() : palette().color(QPalette::Disabled, QPalette::ButtonText));
    p.drawText(textRect, flags, caption());

    if (m_xVisible) {
        const int s = std::max(4, r.height() / 4);
        const QPoint c(r.right() - s, r.top() + 1);
        p.setPen(QPen(textColor(), 1));
        p.drawLine(c, c + QPoint(s, s));
        p.drawLine(c + QPoint(s, 0), c + QPoint(0, s));
    }

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = r.adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}

} // namespace vennic
