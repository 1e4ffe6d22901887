// Prints a pane of listed rows to a PDF file as the "Print" button does, and times it.
//   bench_print [rows] [file] [runs]
// rows: 100000 by default; file: /tmp/vennic-bench-print.pdf by default; runs: 3, the median
// is printed with the number of pages. `pdftotext -layout` of two builds' files compares their
// pages.
#include "benchrows.h"
#include "listing/listingtexts.h"
#include "listing/panelist.h"
#include "output/listingpages.h"
#include "output/printedlisting.h"
#include "ui/printercanvas.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPrinter>

#include <cstdio>
#include <cstdlib>

using namespace vennic::bench;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    const QString file =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/tmp/vennic-bench-print.pdf");
    const int runs = std::max(1, argc > 3 ? std::atoi(argv[3]) : 3);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    vennic::TypeNames types;
    vennic::PaneList list(vennic::PaneColumnCount);
    list.setTextMaker(std::make_shared<vennic::ListingTexts>(types));
    list.setRows(makeRows(count, types));
    vennic::PrintedListing listing;
    listing.rows = &list;
    listing.path = QStringLiteral("/var/tmp/vb/flat");
    listing.count = QStringLiteral("%1 Files, 0 Folders").arg(count);
    listing.fontName = QStringLiteral("DejaVu Sans");

    std::vector<double> times;
    int pages = 0;
    for (int run = 0; run < runs; ++run) {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(file);
        printer->setPageSize(QPageSize(QPageSize::A4));
        QElapsedTimer timer;
        timer.start();
        vennic::PrinterCanvas canvas(std::move(printer), QFont(listing.fontName));
        vennic::printFullPage(canvas, listing, false);
        times.push_back(double(timer.nsecsElapsed()) / 1e9);
        pages = canvas.pageCount();
    }
    std::printf("%d rows, %d pages: %.3f s (median of %d)\n", count, pages, median(times), runs);
    return 0;
}
