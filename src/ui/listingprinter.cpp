#include "ui/listingprinter.h"

#include "listing/panelist.h"
#include "output/listingpages.h"
#include "output/previewcanvas.h"
#include "platform/prompts.h"
#include "ui/imagelists.h"
#include "ui/printercanvas.h"
#include "ui/printpreviewform.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

namespace vennic {

namespace {

/// The listing with the folder picture filled in when the window left it out.
PrintedListing withPicture(PrintedListing listing)
{
    if (listing.folderPicture.isNull())
        listing.folderPicture = ImageLists::instance().SmallIconImage();
    return listing;
}

} // namespace

ListingPrinter::ListingPrinter(PrinterProvider provider, QFont startFont)
    : m_provider(std::move(provider)), m_startFont(std::move(startFont))
{
    if (m_startFont == QFont())
        m_startFont = QApplication::font();
}

ListingPrinter::~ListingPrinter()
{
    if (m_preview && !m_preview->parent())
        delete m_preview;
}

std::unique_ptr<QPrinter> ListingPrinter::systemPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull() || QPrinterInfo::availablePrinters().isEmpty())
        return nullptr;
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    // The printer starts on the locale's paper; jobs go on the paper its queue is set up for.
    const QPageSize paper = info.defaultPageSize();
    if (paper.isValid())
        printer->setPageSize(paper);
    return printer;
}

bool ListingPrinter::systemSetupDialog(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    // The set-up chooses where prints go; the whole listing always prints.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    // Accepting the set-up prints nothing yet.
    for (QDialogButtonBox* buttons : dialog.findChildren<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    return dialog.exec() == QDialog::Accepted;
}

void ListingPrinter::printSetup(Prompts& prompts)
{
    if (refuseWhileRunning(prompts) || !m_setupDialog)
        return;
    // The dialog starts from the printer prints go to now, or from the system's default.
    PrinterCanvas& current = canvas();
    std::unique_ptr<QPrinter> chosen = m_toPdf ? systemPrinter() : nullptr;
    if (!chosen) {
        chosen = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (!m_toPdf && current.printer().outputFormat() == QPrinter::NativeFormat)
            chosen->setPrinterName(current.printer().printerName());
        chosen->setPageLayout(current.printer().pageLayout());
        chosen->setCopyCount(current.printer().copyCount());
    }
    if (!m_setupDialog(*chosen, m_windowParent))
        return;
    // A PDF file chosen in the dialog is written without asking for its name again.
    if (chosen->outputFormat() == QPrinter::PdfFormat && chosen->outputFileName().isEmpty())
        return;
    current.replacePrinter(std::move(chosen));
    m_toPdf = false;
}

PrinterCanvas& ListingPrinter::canvas()
{
    if (!m_canvas) {
        std::unique_ptr<QPrinter> printer = m_provider ? m_provider() : nullptr;
        m_toPdf = !printer;
        if (!printer) {
            // Without a printer the page is the default paper, written as PDF.
            printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
        }
        m_canvas = std::make_unique<PrinterCanvas>(std::move(printer), m_startFont);
    }
    return *m_canvas;
}

bool ListingPrinter::printsToPdf()
{
    canvas();
    return m_toPdf;
}

bool ListingPrinter::prepareJob(Prompts& prompts)
{
    if (!printsToPdf())
        return true;
    FileDialogRequest request;
    request.title = QStringLiteral("Print to PDF File");
    request.filter = QStringLiteral("PDF file|*.pdf");
    if (m_lastPdf.isEmpty()) {
        request.initialFolder = QDir::homePath();
        request.initialFile = QStringLiteral("listing.pdf");
    } else {
        request.initialFolder = QFileInfo(m_lastPdf).absolutePath();
        request.initialFile = QFileInfo(m_lastPdf).fileName();
    }
    std::optional<QString> file = prompts.saveFileName(request);
    if (!file || file->isEmpty())
        return false;
    // A name typed without any extension gets the one the file will have.
    if (QFileInfo(*file).suffix().isEmpty())
        file->append(QStringLiteral(".pdf"));
    m_lastPdf = *file;
    canvas().printer().setOutputFileName(*file);
    return true;
}

void ListingPrinter::reportJob(Prompts& prompts)
{
    const QString error = canvas().error();
    if (!error.isEmpty())
        prompts.message(error, QStringLiteral("Print"));
}

bool ListingPrinter::refuseWhileRunning(Prompts& prompts)
{
    if (!m_run)
        return false;
    prompts.message(QStringLiteral("A print is still being made. Wait for it to end, or press "
                                   "Esc to stop it, and try again."),
                    QStringLiteral("Print"));
    return true;
}

void ListingPrinter::startRun(Prompts* prompts, Canvas& target, const PrintedListing& listing,
                              ListingPagesJob::Layout layout, bool landscape)
{
    const bool preview = layout == ListingPagesJob::Layout::Preview;
    m_runPrompts = prompts;
    m_run = std::make_unique<PrintRun>(
        ListingPagesJob(target, listing, layout, landscape), m_windowParent,
        preview ? QStringLiteral("Print Preview") : QStringLiteral("Print"),
        [this, preview] { return preview ? QStringLiteral("Drawing the preview") : printDetail(); },
        m_pacing);
    QObject::connect(m_run.get(), &PrintRun::finished, m_run.get(), [this] { endRun(); });
    m_run->start();
}

QString ListingPrinter::printDetail()
{
    PrinterCanvas& printer = canvas();
    const QPrinter& device = printer.printer();
    const QString where = m_toPdf ? QFileInfo(m_lastPdf).fileName()
                          : device.outputFormat() == QPrinter::PdfFormat
                              ? QFileInfo(device.outputFileName()).fileName()
                              : device.printerName();
    return QStringLiteral("Printing page %1 to \"%2\"").arg(printer.pageCount()).arg(where);
}

void ListingPrinter::endRun()
{
    // The run may end inside its own start; it goes once the event loop has it again.
    PrintRun* run = m_run.release();
    run->deleteLater();
    if (run->job().layout() == ListingPagesJob::Layout::Preview) {
        // A stopped preview shows as much as was drawn.
        if (m_preview)
            m_preview->showSheet();
        return;
    }
    Prompts& prompts = *m_runPrompts;
    if (!run->stopped()) {
        reportJob(prompts);
        return;
    }
    PrinterCanvas& printer = canvas();
    const int pages = printer.pageCount();
    const bool aborted = printer.AbortDoc();
    QString said;
    if (run->rowsChanged())
        said = QStringLiteral("The list changed while it was printed, so the print was stopped.");
    if (!aborted)
        said += (said.isEmpty() ? QString() : QStringLiteral(" ")) +
                QStringLiteral("The printer \"%1\" could not take the job back: the first %2 "
                               "pages went to it.")
                    .arg(printer.printer().printerName())
                    .arg(pages);
    else if (m_toPdf && run->rowsChanged())
        said += QStringLiteral(" No file was written.");
    if (!said.isEmpty())
        prompts.message(said, QStringLiteral("Print"));
}

void ListingPrinter::printFull(Prompts& prompts, const PrintedListing& listing, bool landscape)
{
    if (refuseWhileRunning(prompts) || !prepareJob(prompts))
        return;
    startRun(&prompts, canvas(), withPicture(listing), ListingPagesJob::Layout::Full, landscape);
}

void ListingPrinter::printRows(Prompts& prompts, const PrintedListing& listing)
{
    if (refuseWhileRunning(prompts))
        return;
    if (!listing.rows || listing.rows->rowCount() == 0) {
        prompts.message(QStringLiteral("The list has no rows to print."), QStringLiteral("Print"));
        return;
    }
    if (!prepareJob(prompts))
        return;
    startRun(&prompts, canvas(), withPicture(listing), ListingPagesJob::Layout::Rows, false);
}

void ListingPrinter::printSmall(Prompts& prompts, const PrintedListing& listing, bool landscape)
{
    if (refuseWhileRunning(prompts) || !prepareJob(prompts))
        return;
    startRun(&prompts, canvas(), listing, ListingPagesJob::Layout::Small, landscape);
}

PrintPreviewForm* ListingPrinter::previewForm() const
{
    return m_preview;
}

PrintPreviewForm* ListingPrinter::showPreview(const PrintedListing& listing)
{
    if (m_run)
        return m_preview;
    if (!m_preview)
        m_preview = new PrintPreviewForm(m_windowParent);
    PrinterCanvas& printer = canvas();
    m_preview->startSheet(printer.ScaleWidth(), printer.ScaleHeight());
    // The preview has nothing to ask or say: what it has drawn it shows.
    startRun(nullptr, m_preview->canvas(), withPicture(listing), ListingPagesJob::Layout::Preview,
             false);
    return m_preview;
}

} // namespace vennic
