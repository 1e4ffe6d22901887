// Starts, lists one folder into a shown report view and exits after the first painted frame.
//   bench_flatlist <dir>            the whole-process benchmark (compare with `ls -l`)
//   bench_flatlist <dir> --measure  also times, in the same process, the first sort by every
//                                   column in both directions (repaint included) and the next
//                                   listing's drop of the rows (to the end of the model reset)
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "benchsupport.h"
#include "listing/getlisting.h"
#include "listing/listingtexts.h"
#include "listing/panelist.h"
#include "listing/rowsort.h"
#include "listing/typenames.h"
#include "platform/filesystem.h"
#include "platform/prompts.h"
#include "ui/panelistview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <dir> [--measure]\n", argv[0]);
        return 2;
    }
    const bool measure = argc > 2 && std::strcmp(argv[2], "--measure") == 0;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);

    vennic::TypeNames types;
    vennic::bench::ConsolePrompts prompts;
    vennic::PaneList list(8);
    list.setTextMaker(std::make_shared<vennic::ListingTexts>(types));
    vennic::PaneListView view;
    view.setModel(&list);
    view.setViewMode(vennic::PaneListView::Report);
    view.resize(900, 700);

    auto fs = vennic::makeSystemFileSystem(types.namer());
    vennic::ListingRequest request;
    request.path = argv[1];
    request.driveTypeNames = {"Unknown",      "Removable Media", "Fixed Disk",
                              "Remote Media", "CDRom",           "RAMDisk"};
    auto result = vennic::runListing(request, *fs, types, prompts);
    list.setRows(std::move(result.rows));

    vennic::bench::QuitAtFirstPaint firstPaint;
    view.reportView()->viewport()->installEventFilter(&firstPaint);
    view.show();
    app.exec();
    if (!measure)
        return 0;

    std::printf("%d rows\n", list.rowCount());
    QElapsedTimer timer;
    for (int column = 0; column < list.columnCount(); ++column) {
        for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            timer.start();
            list.reorder(vennic::sortOrder(list, column, order));
            view.reportView()->viewport()->repaint();
            std::printf("sort column %d %s: %.3f s\n", column,
                        order == Qt::AscendingOrder ? "up" : "down", timer.nsecsElapsed() / 1e9);
        }
    }
    std::vector<double> drops;
    for (int i = 0; i < 5; ++i) {
        auto again = vennic::runListing(request, *fs, types, prompts);
        list.setRows(std::move(again.rows));
        timer.start();
        list.clear();
        drops.push_back(timer.nsecsElapsed() / 1e9);
    }
    std::printf("drop of the rows, median of 5: %.4f s\n", median(drops));
    return 0;
}
