#pragma once

#include "output/paintercanvas.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <deque>
#include <memory>
#include <utility>
#include <vector>

namespace vennic {

/// The preview's sheets: images of a fixed size in pixels whose drawing area is given a scale
/// of its own (`ScaleWidth` by `ScaleHeight` units, the printer's page in twips), so what is
/// drawn on each is a miniature of a printed page. A text line that would pass the bottom
/// starts a new sheet, where the printer starts a new page. It keeps its orientation and has
/// no job to end. A finished sheet is kept compressed, so a listing of many pages keeps
/// only a little memory for each.
class PreviewCanvas : public PainterCanvas {
public:
    PreviewCanvas();
    ~PreviewCanvas() override;

    /// Drops every sheet, makes one white sheet of `pixels` and gives its drawing area
    /// `scaleWidth` by `scaleHeight` units; the position goes back to the top-left corner.
    void reset(QSize pixels, double scaleWidth, double scaleHeight);
    /// The first sheet as drawn so far.
    QImage sheet() { return page(0); }
    /// Sheets drawn on so far, at least one.
    int pageCount() const { return int(m_finished.size()) + 1; }
    /// Sheet `index` (from 0) as drawn so far.
    QImage page(int index);
    /// The size of every sheet, in pixels.
    QSize pageSize() const { return m_current.size(); }

    int Orientation() const override { return Portrait; }
    void setOrientation(int) override {}
    double ScaleWidth() const override { return m_scaleWidth; }
    double ScaleHeight() const override { return m_scaleHeight; }
    void EndDoc() override {}

protected:
    const QPaintDevice* metricsDevice() const override { return &m_current; }
    QPainter* pagePainter() override;
    bool startNewPage() override;
    /// The painter scales twips to the sheet's pixels, so drawing and measuring is in twips.
    double unitsPerTwipX() const override { return 1; }
    double unitsPerTwipY() const override { return 1; }

private:
    /// Ends the painter so the image can be read or replaced.
    void finishPainting();

    /// The sheets before the last, their pixels packed.
    std::vector<QByteArray> m_finished;
    /// The last sheet, the one drawn on.
    QImage m_current;
    /// The finished sheets last shown, unpacked, the latest at the back.
    std::deque<std::pair<int, QImage>> m_unpacked;
    std::unique_ptr<QPainter> m_painter;
    double m_scaleWidth = 12240;
    double m_scaleHeight = 15840;
};

} // namespace vennic
