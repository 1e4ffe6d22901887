#pragma once

#include "output/paintercanvas.h"

#include <QImage>
#include <QSize>

#include <memory>

namespace vennic {

/// The preview's sheet: an image of a fixed size in pixels whose drawing area is given a scale
/// of its own (`ScaleWidth` by `ScaleHeight` units, the printer's page in twips), so what is
/// drawn on it is a miniature of the printed page. It has no pages: what does not fit is
/// drawn below the sheet's lower edge and is not seen. It keeps its orientation and has no job
/// to end.
class PreviewCanvas : public PainterCanvas {
public:
    PreviewCanvas();
    ~PreviewCanvas() override;

    /// Makes a white sheet of `pixels` and gives its drawing area `scaleWidth` by
    /// `scaleHeight` units; the position goes back to the top-left corner.
    void reset(QSize pixels, double scaleWidth, double scaleHeight);
    /// The sheet as drawn so far.
    const QImage& sheet();

    int Orientation() const override { return Portrait; }
    void setOrientation(int) override {}
    double ScaleWidth() const override { return m_scaleWidth; }
    double ScaleHeight() const override { return m_scaleHeight; }
    void EndDoc() override {}

protected:
    const QPaintDevice* metricsDevice() const override { return &m_sheet; }
    QPainter* pagePainter() override;
    bool startNewPage() override { return false; }
    /// The painter scales twips to the sheet's pixels, so drawing and measuring is in twips.
    double unitsPerTwipX() const override { return 1; }
    double unitsPerTwipY() const override { return 1; }

private:
    /// Ends the painter so the image can be read or replaced.
    void finishPainting();

    QImage m_sheet;
    std::unique_ptr<QPainter> m_painter;
    double m_scaleWidth = 12240;
    double m_scaleHeight = 15840;
};

} // namespace vennic
