#include "output/previewcanvas.h"

#include <QPainter>

#include <cmath>

namespace vennic {

PreviewCanvas::PreviewCanvas()
{
    reset(QSize(816, 1056), m_scaleWidth, m_scaleHeight);
}

PreviewCanvas::~PreviewCanvas()
{
    finishPainting();
}

namespace {

/// A white sheet of `pixels` on which texts are laid out at 1,440 dots per inch.
QImage blankSheet(QSize pixels)
{
    QImage sheet(pixels.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    // Texts are laid out at 1,440 dots per inch, one dot a twip, and the painter scales the
    // whole drawing down to the sheet. Measured at the sheet's own few dots per inch, texts
    // would come out rounded and hinted wider than on paper, and right-aligned columns that
    // just fit on paper would run into each other.
    const int dotsPerMeter = int(std::lround(1440 / 0.0254));
    sheet.setDotsPerMeterX(dotsPerMeter);
    sheet.setDotsPerMeterY(dotsPerMeter);
    return sheet;
}

} // namespace

void PreviewCanvas::reset(QSize pixels, double scaleWidth, double scaleHeight)
{
    finishPainting();
    m_scaleWidth = scaleWidth > 0 ? scaleWidth : 1;
    m_scaleHeight = scaleHeight > 0 ? scaleHeight : 1;
    m_pages.clear();
    m_pages.push_back(blankSheet(pixels));
    resetPosition();
}

const QImage& PreviewCanvas::page(int index)
{
    finishPainting();
    return m_pages.at(size_t(index));
}

bool PreviewCanvas::startNewPage()
{
    finishPainting();
    m_pages.push_back(blankSheet(pageSize()));
    return true;
}

QPainter* PreviewCanvas::pagePainter()
{
    if (!m_painter) {
        QImage& sheet = m_pages.back();
        m_painter = std::make_unique<QPainter>(&sheet);
        m_painter->setRenderHint(QPainter::Antialiasing);
        m_painter->setRenderHint(QPainter::TextAntialiasing);
        m_painter->setRenderHint(QPainter::SmoothPixmapTransform);
        m_painter->scale(sheet.width() / m_scaleWidth, sheet.height() / m_scaleHeight);
    }
    return m_painter.get();
}

void PreviewCanvas::finishPainting()
{
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
}

} // namespace vennic
