#pragma once

#include "output/canvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QRawFont>
#include <QSet>

#include <array>
#include <memory>

class QPainter;
class QPaintDevice;

namespace vennic {

/// A Canvas that draws with a QPainter on a device a fixed number of device units per twip
/// across and down: the printer and the preview's sheet. Texts are placed with the top of
/// their line at `CurrentY` and measured on the device they are drawn on. Where the surface has
/// pages, a text line or a picture that would pass the bottom starts a new one; a picture keeps
/// its place beside the line it belongs to. Rules are drawn in black whatever the text colour.
class PainterCanvas : public Canvas {
public:
    QString FontName() const override { return m_font.family(); }
    void setFontName(const QString& name) override;
    double FontSize() const override { return m_font.pointSizeF(); }
    void setFontSize(double points) override;
    bool FontBold() const override { return m_font.bold(); }
    void setFontBold(bool bold) override;
    bool FontCondensed() const override;
    void setFontCondensed(bool condensed) override;
    uint32_t ForeColor() const override { return m_color; }
    void setForeColor(uint32_t color) override { m_color = color; }
    double CurrentX() const override { return m_x; }
    void setCurrentX(double x) override { m_x = x; }
    double CurrentY() const override { return m_y; }
    void setCurrentY(double y) override { m_y = y; }
    void Print(const QString& text) override { printText(text, true); }
    void PrintOn(const QString& text) override { printText(text, false); }
    double TextWidth(const QString& text) const override;
    double TextHeight(const QString& text) const override;
    using Canvas::PaintPicture;
    void PaintPicture(const QImage& picture, double x, double y, double width,
                      double height) override;
    void Line(double x1, double y1, double x2, double y2) override;

    /// The font texts are printed in now, in its condensed face when that is on.
    QFont font() const;

protected:
    PainterCanvas();

    /// The device texts are measured on.
    virtual const QPaintDevice* metricsDevice() const = 0;
    /// The painter of the present page, opening the job first when none is open; null when
    /// nothing can be drawn (the job could not start).
    virtual QPainter* pagePainter() = 0;
    /// Starts a new page of the open job; false where the surface has no pages, so drawing
    /// goes on below its bottom.
    virtual bool startNewPage() = 0;
    /// Device units per twip across and down.
    virtual double unitsPerTwipX() const = 0;
    virtual double unitsPerTwipY() const = 0;

    /// Puts the position back at the top-left corner, as at the start of a job.
    void resetPosition() { m_x = m_y = 0; }

private:
    void printText(const QString& text, bool endLine);
    /// Starts a new page when something reaching `bottom` would pass the page's bottom and
    /// the current line is not already at the top; true when a page was started.
    bool breakPageBefore(double bottom);

    /// The family of the condensed face of `m_font`'s family; empty when none is installed.
    QString condensedFamily() const;

    /// A text's glyphs placed on their line, as the painter draws them; a text seen only once
    /// so far has none yet.
    struct LaidOutText {
        QList<QGlyphRun> runs;
        qreal ascent = 0;
        bool laidOut = false;
    };
    /// Draws `text` with the top of its line at the current position.
    void drawLine(QPainter& painter, const QString& text);

    /// What is known of one face of the font on one device, made once: its metrics and the
    /// width of every text measured so far (sizes, dates and types repeat on every row). The
    /// device's resolution is kept too: a device made where another was is not the same one.
    struct Measures {
        const QPaintDevice* device;
        int dpiX;
        int dpiY;
        QFontMetricsF metrics;
        QHash<QString, qreal> widths;
        /// Each text drawn more than once so far as laid out once, with the ascent of the line
        /// it was laid out in: a listing's types, attributes and dates come again and again.
        QHash<QString, LaidOutText> laidOut;
        /// The glyph and advance of each figure, separator and letter of sizes, dates and
        /// times, and the pairs of them the font sets closer or further apart than their
        /// advances: a text of these alone with no such pair is set by adding up advances,
        /// as shaping it would set it, without the cost of shaping.
        struct Figures {
            bool made = false;
            QRawFont font;
            QHash<char16_t, std::pair<quint32, qreal>> glyphs;
            QSet<quint32> kernedPairs;
        };
        Figures figures;
    };
    /// The measures of the font (`condensed`: of its condensed face) on `device`.
    Measures& measures(bool condensed, const QPaintDevice* device) const;
    /// `text` in the current face laid out on `measures`' device, made when it comes the second
    /// time; null the first time. Laying out costs more than drawing a text once.
    const LaidOutText* laidOut(Measures& measures, const QString& text) const;
    /// The width of `text` in the current face and its glyphs, set from `measures`' figures;
    /// false when the text has anything else in it.
    bool setFromFigures(Measures& measures, const QString& text, qreal* width,
                        LaidOutText* laid) const;
    /// The font changed: what was measured no longer holds.
    void forgetMeasures();

    QFont m_font;
    /// Of the plain face and the condensed one, on the metrics device and on the painter's.
    mutable std::array<std::unique_ptr<Measures>, 4> m_measures;
    bool m_condensed = false;
    uint32_t m_color = 0;
    double m_x = 0;
    double m_y = 0;
};

} // namespace vennic
