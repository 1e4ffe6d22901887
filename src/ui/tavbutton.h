#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QFont>

namespace vennic {

/// A push button that latches: a click toggles `Latched`, and the button shows its latched
/// caption, font and colours while it is down. Drawn by itself with a bevel of `bevelwidth`
/// pixels, raised when unlatched and sunk when latched, and an optional text shadow.
class TavButton : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(bool Latched READ Latched WRITE setLatched NOTIFY latchedChanged)
    Q_PROPERTY(QString captionunlatched READ captionUnlatched WRITE setCaptionUnlatched)
    Q_PROPERTY(QString captionlatched READ captionLatched WRITE setCaptionLatched)
    Q_PROPERTY(int bevelwidth READ bevelWidth WRITE setBevelWidth)
    Q_PROPERTY(bool textshadow READ textShadow WRITE setTextShadow)
    Q_PROPERTY(bool xvisible READ xVisible WRITE setXVisible)
public:
    explicit TavButton(QWidget* parent = nullptr);
    TavButton(const QString& captionUnlatched, const QString& captionLatched,
              QWidget* parent = nullptr);

    bool Latched() const { return isChecked(); }
    /// Sets the state without raising the button's activation.
    void setLatched(bool latched);

    QString captionUnlatched() const { return m_captionUnlatched; }
    void setCaptionUnlatched(const QString& caption);
    QString captionLatched() const { return m_captionLatched; }
    void setCaptionLatched(const QString& caption);
    /// The caption of the present state.
    QString caption() const { return Latched() ? m_captionLatched : m_captionUnlatched; }

    QFont fontUnlatched() const { return m_fontUnlatched; }
    void setFontUnlatched(const QFont& font);
    QFont fontLatched() const { return m_fontLatched; }
    void setFontLatched(const QFont& font);
    /// Sets both fonts.
    void setFonts(const QFont& font);

    QColor backColorUnlatched() const { return m_backUnlatched; }
    void setBackColorUnlatched(const QColor& color);
    QColor backColorLatched() const { return m_backLatched; }
    void setBackColorLatched(const QColor& color);
    QColor textColorUnlatched() const { return m_textUnlatched; }
    void setTextColorUnlatched(const QColor& color);
    QColor textColorLatched() const { return m_textLatched; }
    void setTextColorLatched(const QColor& color);
    QColor outlineColor() const { return m_outline; }
    void setOutlineColor(const QColor& color);
    /// The back and text colours of the present state.
    QColor backColor() const { return Latched() ? m_backLatched : m_backUnlatched; }
    QColor textColor() const { return Latched() ? m_textLatched : m_textUnlatched; }

    int bevelWidth() const { return m_bevelWidth; }
    void setBevelWidth(int width);
    bool textShadow() const { return m_textShadow; }
    void setTextShadow(bool shadow);
    /// Draws a small cross in the top-right corner of the face.
    bool xVisible() const { return m_xVisible; }
    void setXVisible(bool visible);

    QSize sizeHint() const override;

Q_SIGNALS:
    /// The button was clicked; `Latched` already holds the new state.
    void activated();
    void latchedChanged(bool latched);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_captionUnlatched;
    QString m_captionLatched;
    QFont m_fontUnlatched;
    QFont m_fontLatched;
    QColor m_backUnlatched;
    QColor m_backLatched;
    QColor m_textUnlatched;
    QColor m_textLatched;
    QColor m_outline;
    int m_bevelWidth = 3;
    bool m_textShadow = false;
    bool m_xVisible = false;
};

} // namespace vennic
