#pragma once

#include "output/paintercanvas.h"

#include <QString>

#include <memory>

class QPrinter;

namespace vennic {

/// The printer as a Canvas. One object lives as long as the program and keeps its orientation,
/// font and colour from one command to the next. A job opens with the first output and ends
/// with `EndDoc`; device units are twips times the printer's resolution divided by 1,440, and
/// x = 0 is the left edge of the printable area. A text line that would pass the bottom of the
/// printable area starts a new page.
class PrinterCanvas : public PainterCanvas {
public:
    /// Draws on `printer`, starting upright and in `font`.
    PrinterCanvas(std::unique_ptr<QPrinter> printer, const QFont& font);
    ~PrinterCanvas() override;

    QPrinter& printer() const { return *m_printer; }
    /// Draws on `printer` from the next job on, in the orientation this canvas has; font and
    /// colour stay. Only between jobs.
    void replacePrinter(std::unique_ptr<QPrinter> printer);
    /// True between the first output of a job and its `EndDoc`.
    bool jobOpen() const;
    /// Pages of the open or last job.
    int pageCount() const { return m_pages; }
    /// What went wrong in the last job, empty when nothing did. A new job clears it.
    QString error() const { return m_error; }
    /// Ends the open job before its end: a PDF file being written is removed (a file that had
    /// the name before stays as it was), and a printer is asked to cancel the job. False when
    /// the printer would not cancel it and the pages drawn so far went to it.
    bool AbortDoc();

    int Orientation() const override;
    void setOrientation(int orientation) override;
    double ScaleWidth() const override;
    double ScaleHeight() const override;
    void EndDoc() override;

protected:
    const QPaintDevice* metricsDevice() const override;
    QPainter* pagePainter() override;
    bool startNewPage() override;
    double unitsPerTwipX() const override;
    double unitsPerTwipY() const override;

private:
    QString printerName() const;
    /// A PDF job writes into a file of its own beside the one named and puts it in that
    /// name's place only when the job ends well, so that no half-written file ever bears the
    /// name. False when no such file can be made there.
    bool startPdfFile();
    /// Ends the PDF file of the job: in the named file's place when `keep`, else removed.
    void finishPdfFile(bool keep);

    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
    QString m_error;
    QString m_pdfName; ///< the name a PDF job's file is to have; empty outside a PDF job
    int m_pages = 0;
    bool m_failed = false; ///< the open job could not start; output is dropped until EndDoc
};

} // namespace vennic
