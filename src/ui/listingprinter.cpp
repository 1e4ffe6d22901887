#include "ui/listingprinter.h"

#include "listing/panelist.h"
#include "output/listingpages.h"
#include "platform/prompts.h"
#include "ui/imagelists.h"
#include "ui/printercanvas.h"
#include "ui/printpreviewform.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>

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
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
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

void ListingPrinter::printFull(Prompts& prompts, const PrintedListing& listing, bool landscape)
{
    if (!prepareJob(prompts))
        return;
    printFullPage(canvas(), withPicture(listing), landscape);
    reportJob(prompts);
}

void ListingPrinter::printRows(Prompts& prompts, const PrintedListing& listing)
{
    if (!listing.rows || listing.rows->rowCount() == 0) {
        prompts.message(QStringLiteral("The list has no rows to print."), QStringLiteral("Print"));
        return;
    }
    if (!prepareJob(prompts))
        return;
    printListRows(canvas(), withPicture(listing));
    reportJob(prompts);
}

void ListingPrinter::printSmall(Prompts& prompts, const PrintedListing& listing, bool landscape)
{
    if (!prepareJob(prompts))
        return;
    printSmallPage(canvas(), listing, landscape);
    reportJob(prompts);
}

PrintPreviewForm* ListingPrinter::previewForm() const
{
    return m_preview;
}

PrintPreviewForm* ListingPrinter::showPreview(const PrintedListing& listing)
{
    if (!m_preview)
        m_preview = new PrintPreviewForm(m_windowParent);
    PrinterCanvas& printer = canvas();
    m_preview->PrintPreview(withPicture(listing), printer.ScaleWidth(), printer.ScaleHeight());
    return m_preview;
}

} // namespace vennic
