#include "output/paintercanvas.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QTextLayout>

namespace vennic {

namespace {

/// A colour in blue-green-red byte order.
QColor fromBgr(uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

/// The thickness of a rule: half a point.
constexpr double RuleTwips = 10;

} // namespace

PainterCanvas::PainterCanvas()
{
    // Sizes are set in points so that each device resolves them at its own resolution.
    m_font.setPointSizeF(8);
}

void PainterCanvas::setFontName(const QString& name)
{
    if (name == m_font.family())
        return;
    m_font.setFamily(name);
    forgetMeasures();
}

void PainterCanvas::setFontSize(double points)
{
    if (points <= 0 || points == m_font.pointSizeF())
        return;
    m_font.setPointSizeF(points);
    forgetMeasures();
}

void PainterCanvas::setFontBold(bool bold)
{
    if (bold == m_font.bold())
        return;
    m_font.setBold(bold);
    forgetMeasures();
}

void PainterCanvas::forgetMeasures()
{
    for (auto& measures : m_measures)
        measures.reset();
}

PainterCanvas::Measures& PainterCanvas::measures(bool condensed, const QPaintDevice* device) const
{
    const size_t slot = (device == metricsDevice() ? 0 : 2) + (condensed ? 1 : 0);
    std::unique_ptr<Measures>& measures = m_measures[slot];
    // A name seen once rarely comes again; the table is emptied before it grows large.
    const int dpiX = device->logicalDpiX();
    const int dpiY = device->logicalDpiY();
    if (!measures || measures->device != device || measures->dpiX != dpiX ||
        measures->dpiY != dpiY || measures->widths.size() > 100000)
        measures.reset(new Measures{
            device, dpiX, dpiY, QFontMetricsF(condensed ? font() : m_font, device), {}, {}, {}});
    return *measures;
}

bool PainterCanvas::FontCondensed() const
{
    return m_condensed && !condensedFamily().isEmpty();
}

void PainterCanvas::setFontCondensed(bool condensed)
{
    m_condensed = condensed;
}

QString PainterCanvas::condensedFamily() const
{
    // Fonts ship their condensed faces as a family of their own ("DejaVu Sans Condensed"). A
    // face the font database does not hold is never made up by stretching the letters.
    static QHash<QString, QString> known;
    const QString family = QFontInfo(m_font).family();
    const auto found = known.constFind(family);
    if (found != known.cend())
        return *found;
    const QString condensed = family + QStringLiteral(" Condensed");
    const QString face =
        QFontDatabase::families().contains(condensed, Qt::CaseInsensitive) ? condensed : QString();
    known.insert(family, face);
    return face;
}

QFont PainterCanvas::font() const
{
    if (!m_condensed)
        return m_font;
    const QString family = condensedFamily();
    if (family.isEmpty())
        return m_font;
    QFont condensed = m_font;
    condensed.setFamily(family);
    return condensed;
}

double PainterCanvas::TextWidth(const QString& text) const
{
    // Texts are drawn with the device's vertical scale in both directions and then stretched
    // to the horizontal scale, so their width in twips is measured with the vertical one.
    Measures& measured = measures(m_condensed, metricsDevice());
    auto found = measured.widths.constFind(text);
    if (found == measured.widths.cend()) {
        qreal width = 0;
        if (!setFromFigures(measured, text, &width, nullptr))
            width = measured.metrics.horizontalAdvance(text);
        found = measured.widths.insert(text, width);
    }
    return *found / unitsPerTwipY();
}

bool PainterCanvas::setFromFigures(Measures& measures, const QString& text, qreal* width,
                                   LaidOutText* laid) const
{
    Measures::Figures& figures = measures.figures;
    if (!figures.made) {
        figures.made = true;
        static const QString characters = QStringLiteral("0123456789,.:/- APM");
        for (const QChar c : characters) {
            QTextLayout layout(QString(c), font(), const_cast<QPaintDevice*>(measures.device));
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            const QList<QGlyphRun> runs = layout.glyphRuns();
            // A character the font lacks comes from another font; such texts are shaped.
            if (runs.size() != 1 || runs[0].glyphIndexes().size() != 1 ||
                (figures.font.isValid() && runs[0].rawFont() != figures.font))
                continue;
            figures.font = runs[0].rawFont();
            figures.glyphs.insert(c.unicode(), {runs[0].glyphIndexes()[0],
                                                measures.metrics.horizontalAdvance(QString(c))});
        }
        for (auto a = figures.glyphs.cbegin(); a != figures.glyphs.cend(); ++a)
            for (auto b = figures.glyphs.cbegin(); b != figures.glyphs.cend(); ++b)
                if (measures.metrics.horizontalAdvance(QString(QChar(a.key())) + QChar(b.key())) !=
                    a->second + b->second)
                    figures.kernedPairs.insert(quint32(a.key()) << 16 | b.key());
    }
    if (text.isEmpty() || figures.glyphs.isEmpty())
        return false;
    QList<quint32> glyphs;
    QList<QPointF> positions;
    qreal x = 0;
    char16_t previous = 0;
    for (const QChar c : text) {
        const auto glyph = figures.glyphs.constFind(c.unicode());
        if (glyph == figures.glyphs.cend() ||
            (previous && figures.kernedPairs.contains(quint32(previous) << 16 | c.unicode())))
            return false;
        if (laid) {
            glyphs.append(glyph->first);
            positions.append(QPointF(x, 0));
        }
        x += glyph->second;
        previous = c.unicode();
    }
    if (width)
        *width = x;
    if (laid) {
        QGlyphRun run;
        run.setRawFont(figures.font);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        *laid = LaidOutText{{run}, 0, true};
    }
    return true;
}

double PainterCanvas::TextHeight(const QString&) const
{
    // A line is as high in the condensed face as in the font it belongs to.
    return measures(false, metricsDevice()).metrics.lineSpacing() / unitsPerTwipY();
}

bool PainterCanvas::breakPageBefore(double bottom)
{
    if (m_y <= 0 || bottom <= ScaleHeight())
        return false;
    if (!startNewPage())
        return false;
    m_y = 0;
    return true;
}

const PainterCanvas::LaidOutText* PainterCanvas::laidOut(Measures& measures,
                                                         const QString& text) const
{
    // A text seen once rarely comes again; the table is emptied before it grows large.
    if (measures.laidOut.size() > 100000)
        measures.laidOut.clear();
    LaidOutText& laid = measures.laidOut[text];
    if (laid.laidOut)
        return &laid;
    // Sizes, dates and times are set from their figures at once; other texts are laid out
    // when they come again.
    if (setFromFigures(measures, text, nullptr, &laid))
        return &laid;
    if (laid.ascent == 0) {
        laid.ascent = -1; // seen once
        return nullptr;
    }
    // Laid out as the painter lays out a text it draws at a point: on one line, left to
    // right unless the text itself runs the other way.
    QTextLayout layout(text, font(), const_cast<QPaintDevice*>(measures.device));
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(Qt::LeftToRight);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    laid.runs = layout.glyphRuns();
    laid.ascent = line.isValid() ? line.y() + line.ascent() : 0;
    laid.laidOut = true;
    return &laid;
}

void PainterCanvas::drawLine(QPainter& painter, const QString& text)
{
    const double ux = unitsPerTwipX();
    const double uy = unitsPerTwipY();
    // The painter's state changes only where a text needs another one: on a PDF page each
    // change is written out, and a listing's texts mostly share one colour and face.
    const QPen pen(fromBgr(m_color));
    if (painter.pen() != pen)
        painter.setPen(pen);
    const LaidOutText* laid = laidOut(measures(m_condensed, painter.device()), text);
    if (!laid && painter.font() != font())
        painter.setFont(font());
    // Every face of a line stands on the baseline of the line's own font.
    const double baseline = measures(false, painter.device()).metrics.ascent();
    QPointF origin(m_x * ux, m_y * uy);
    if (ux != uy) {
        painter.save();
        painter.translate(origin);
        painter.scale(ux / uy, 1);
        origin = QPointF();
    }
    if (laid) {
        for (const QGlyphRun& run : laid->runs)
            painter.drawGlyphRun(origin + QPointF(0, baseline - laid->ascent), run);
    } else {
        painter.drawText(origin + QPointF(0, baseline), text);
    }
    if (ux != uy)
        painter.restore();
}

void PainterCanvas::printText(const QString& text, bool endLine)
{
    const double lineHeight = TextHeight(text);
    breakPageBefore(m_y + lineHeight);
    if (QPainter* painter = pagePainter(); painter && !text.isEmpty())
        drawLine(*painter, text);
    if (endLine) {
        m_x = 0;
        m_y += lineHeight;
    } else {
        m_x += TextWidth(text);
    }
}

void PainterCanvas::PaintPicture(const QImage& picture, double x, double y, double width,
                                 double height)
{
    const double lineY = m_y;
    if (breakPageBefore(y + height))
        y -= lineY;
    QPainter* painter = pagePainter();
    if (!painter || picture.isNull())
        return;
    const double ux = unitsPerTwipX();
    const double uy = unitsPerTwipY();
    painter->drawImage(QRectF(x * ux, y * uy, width * ux, height * uy), picture);
}

void PainterCanvas::Line(double x1, double y1, double x2, double y2)
{
    if (QPainter* painter = pagePainter()) {
        const double ux = unitsPerTwipX();
        const double uy = unitsPerTwipY();
        // A rule stays at least one device pixel thick however small the drawing is scaled.
        QPen pen(Qt::black, RuleTwips * uy, Qt::SolidLine, Qt::FlatCap);
        if (pen.widthF() * painter->transform().m22() < 1) {
            pen.setWidth(1);
            pen.setCosmetic(true);
        }
        if (painter->pen() != pen)
            painter->setPen(pen);
        painter->drawLine(QPointF(x1 * ux, y1 * uy), QPointF(x2 * ux, y2 * uy));
    }
    m_x = x2;
    m_y = y2;
}

} // namespace vennic
