#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QWidget>

namespace vennic {

/// A bevelled panel with a caption: an outer bevel, a gap of `gap` pixels in the gap colour,
/// an inner bevel, and the caption drawn on the panel colour. Its press events let a form
/// start moving its window from the panel's surface.
class TavPanel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString panelcaption READ panelCaption WRITE setPanelCaption)
    Q_PROPERTY(int gap READ gap WRITE setGap)
    Q_PROPERTY(int innerbevel READ innerBevel WRITE setInnerBevel)
    Q_PROPERTY(int outerbevel READ outerBevel WRITE setOuterBevel)
public:
    explicit TavPanel(QWidget* parent = nullptr);
    explicit TavPanel(const QString& caption, QWidget* parent = nullptr);

    QString panelCaption() const { return m_caption; }
    void setPanelCaption(const QString& caption);
    QFont panelFont() const { return m_font; }
    void setPanelFont(const QFont& font);
    QColor panelColor() const { return m_panelColor; }
    void setPanelColor(const QColor& color);
    int gap() const { return m_gap; }
    void setGap(int pixels);
    QColor gapColor() const { return m_gapColor; }
    void setGapColor(const QColor& color);
    int innerBevel() const { return m_innerBevel; }
    void setInnerBevel(int pixels);
    int outerBevel() const { return m_outerBevel; }
    void setOuterBevel(int pixels);
    QColor bevelColorTopLeft() const { return m_bevelTopLeft; }
    void setBevelColorTopLeft(const QColor& color);
    QColor bevelColorBottomRight() const { return m_bevelBottomRight; }
    void setBevelColorBottomRight(const QColor& color);
    /// The caption's baseline in pixels from the top; 0 places it just inside the bevels.
    double currentY() const { return m_currentY; }
    void setCurrentY(double y);

    /// The width of the frame the bevels and the gap take on each side.
    int frameWidth() const { return m_outerBevel + m_gap + m_innerBevel; }

Q_SIGNALS:
    /// A click on the panel's surface.
    void clicked();
    /// A mouse press on the panel's surface, in panel coordinates.
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_caption;
    QFont m_font;
    QColor m_panelColor;
    QColor m_gapColor;
    QColor m_bevelTopLeft;
    QColor m_bevelBottomRight;
    int m_gap = 0;
    int m_innerBevel = 1;
    int m_outerBevel = 2;
    double m_currentY = 0;
    bool m_pressed = false;
};

} // namespace vennic
