#include "ui/printercanvas.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

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
        AbortDoc();
}

void PrinterCanvas::replacePrinter(std::unique_ptr<QPrinter> printer)
{
    if (jobOpen() || !printer)
        return;
    printer->setPageOrientation(m_printer->pageLayout().orientation());
    m_printer = std::move(printer);
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
        const bool failed = m_printer->printerState() == QPrinter::Error ||
                            m_printer->printerState() == QPrinter::Aborted;
        if (failed)
            m_error = QStringLiteral("The printer %1 reported an error; the listing may not "
                                     "have printed completely.")
                          .arg(printerName());
        finishPdfFile(!failed);
    }
    m_failed = false;
    resetPosition();
}

bool PrinterCanvas::AbortDoc()
{
    bool aborted = true;
    if (m_painter->isActive()) {
        // A PDF file is simply not kept; a printer's job is taken back where the printer can.
        aborted = !m_pdfName.isEmpty() || m_printer->abort();
        m_painter->end();
        finishPdfFile(false);
    }
    m_failed = false;
    resetPosition();
    return aborted;
}

bool PrinterCanvas::startPdfFile()
{
    m_pdfName.clear();
    if (m_printer->outputFormat() != QPrinter::PdfFormat || m_printer->outputFileName().isEmpty())
        return true;
    const QFileInfo named(m_printer->outputFileName());
    // The temporary file only reserves a free name; the printer makes the file again, with the
    // permissions any new file gets.
    QTemporaryFile reserved(named.absolutePath() + QStringLiteral("/.") + named.fileName() +
                            QStringLiteral(".XXXXXX"));
    reserved.setAutoRemove(false);
    if (!reserved.open())
        return false;
    const QString partName = reserved.fileName();
    reserved.close();
    QFile::remove(partName);
    m_pdfName = m_printer->outputFileName();
    m_printer->setOutputFileName(partName);
    return true;
}

void PrinterCanvas::finishPdfFile(bool keep)
{
    if (m_pdfName.isEmpty())
        return;
    const QString partName = m_printer->outputFileName();
    m_printer->setOutputFileName(m_pdfName);
    m_pdfName.clear();
    if (keep) {
        // One rename replaces a file of the same name whole, never leaving it half written.
        std::error_code error;
        std::filesystem::rename(QFile::encodeName(partName).toStdString(),
                                QFile::encodeName(m_printer->outputFileName()).toStdString(),
                                error);
        if (!error)
            return;
        m_error = QStringLiteral("The PDF file \"%1\" could not be written.")
                      .arg(m_printer->outputFileName());
    }
    QFile::remove(partName);
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
    if (!startPdfFile() || !m_painter->begin(m_printer.get())) {
        finishPdfFile(false);
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
        return QLatin1Char('"') +
               QFileInfo(m_pdfName.isEmpty() ? m_printer->outputFileName() : m_pdfName).fileName() +
               QLatin1Char('"');
    return QLatin1Char('"') + m_printer->printerName() + QLatin1Char('"');
}

} // namespace vennic
