#include "ui/printercanvas.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrinter>

namespace vennic {

PrinterCanvas::PrinterCanvas(std::unique_ptr<QPrinter> printer, const QFont& font)
    : m_printer(std::move(printer)), m_painter(std::make_unique<QPainter>())
{
    m_printer->setPageOrientation(QPageLayout::Portrait);
    setFontName(font.family());
    setFontSize(font.pointSizeF() > 0 ? font.pointSizeF() : 8);
    setFontBold(font.bold());
}

PrinterCanvas::~PrinterCanvas()
{
    if (m_painter->isActive())
        m_painter->end();
}

bool PrinterCanvas::jobOpen() const
{
    return m_painter->isActive() || m_failed;
}

int PrinterCanvas::Orientation() const
{
    return m_printer->pageLayout().orientation() == QPageLayout::Landscape ? Landscape : Portrait;
}

void PrinterCanvas::setOrientation(int orientation)
{
    // During a job the printer takes a new orientation from its next page on.
    m_printer->setPageOrientation(orientation == Landscape ? QPageLayout::Landscape
                                                           : QPageLayout::Portrait);
}

double PrinterCanvas::ScaleWidth() const
{
    return m_printer->pageLayout().paintRectPixels(m_printer->resolution()).width() /
           unitsPerTwipX();
}

double PrinterCanvas::ScaleHeight() const
{
    return m_printer->pageLayout().paintRectPixels(m_printer->resolution()).height() /
           unitsPerTwipY();
}

void PrinterCanvas::EndDoc()
{
    if (m_painter->isActive()) {
        m_painter->end();
        if (m_printer->printerState() == QPrinter::Error ||
            m_printer->printerState() == QPrinter::Aborted)
            m_error = QStringLiteral("The printer %1 reported an error; the listing may not "
                                     "have printed completely.")
                          .arg(printerName());
    }
    m_failed = false;
    resetPosition();
}

const QPaintDevice* PrinterCanvas::metricsDevice() const
{
    return m_printer.get();
}

QPainter* PrinterCanvas::pagePainter()
{
    if (m_painter->isActive())
        return m_painter.get();
    if (m_failed)
        return nullptr;
    m_error.clear();
    m_pages = 0;
    if (!m_painter->begin(m_printer.get())) {
        m_failed = true;
        m_error = m_printer->outputFormat() == QPrinter::PdfFormat
                      ? QStringLiteral("The PDF file \"%1\" could not be written.")
                            .arg(m_printer->outputFileName())
                      : QStringLiteral("The printer %1 could not start the print job.")
                            .arg(printerName());
        return nullptr;
    }
    m_pages = 1;
    return m_painter.get();
}

bool PrinterCanvas::startNewPage()
{
    if (!pagePainter())
        return false;
    if (!m_printer->newPage()) {
        m_error = QStringLiteral("The printer %1 could not start a new page.").arg(printerName());
        return false;
    }
    ++m_pages;
    return true;
}

double PrinterCanvas::unitsPerTwipX() const
{
    return m_printer->resolution() / 1440.0;
}

double PrinterCanvas::unitsPerTwipY() const
{
    return m_printer->resolution() / 1440.0;
}

QString PrinterCanvas::printerName() const
{
    if (m_printer->outputFormat() == QPrinter::PdfFormat)
        return QLatin1Char('"') + QFileInfo(m_printer->outputFileName()).fileName() +
               QLatin1Char('"');
    return QLatin1Char('"') + m_printer->printerName() + QLatin1Char('"');
}

} // namespace vennic
