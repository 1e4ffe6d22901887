#include "output/previewcanvas.h"

#include <QPainter>

#include <cmath>
#include <cstring>

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
    m_finished.clear();
    m_unpacked.clear();
    m_current = blankSheet(pixels);
    resetPosition();
}

QImage PreviewCanvas::page(int index)
{
    finishPainting();
    if (index < 0 || index >= pageCount())
        return {};
    if (index == pageCount() - 1)
        return m_current;
    for (const auto& [unpackedIndex, image] : m_unpacked)
        if (unpackedIndex == index)
            return image;
    const QByteArray bytes = qUncompress(m_finished[size_t(index)]);
    QImage image(m_current.size(), m_current.format());
    if (bytes.size() == image.sizeInBytes())
        std::memcpy(image.bits(), bytes.constData(), size_t(bytes.size()));
    else
        image.fill(Qt::white);
    // A view shows two or three sheets at a time; a few more spare unpacking them again.
    if (m_unpacked.size() >= 6)
        m_unpacked.pop_front();
    m_unpacked.emplace_back(index, image);
    return image;
}

bool PreviewCanvas::startNewPage()
{
    finishPainting();
    // A sheet of text packs to a few tens of kilobytes; kept whole it would be megabytes.
    QByteArray packed =
        qCompress(QByteArray::fromRawData(reinterpret_cast<const char*>(m_current.constBits()),
                                          qsizetype(m_current.sizeInBytes())),
                  1);
    m_finished.push_back(std::move(packed));
    m_current = blankSheet(m_current.size());
    return true;
}

QPainter* PreviewCanvas::pagePainter()
{
    if (!m_painter) {
        QImage& sheet = m_current;
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
