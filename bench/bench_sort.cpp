// Times sortOrder on a pane list of listed rows, by every column in both directions.
//   bench_sort [rows] [runs] [locale] [column]
// rows: 1000000 by default; runs: 5 by default, the median is printed; locale: a locale name
// such as "de_DE" or "C", English/United States by default; column: one column number (0 Name
// to 7 the second Bytes) instead of all. Beside the time each line prints the processor time of
// all threads, which depends less on what else the machine runs. Each line also prints a checksum
// of the order, so that two builds (or two machines) can be checked to sort alike.
#include "benchrows.h"
#include "listing/listingtexts.h"
#include "listing/panelist.h"
#include "listing/rowsort.h"
#include "listing/typenames.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocale>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

using namespace vennic::bench;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int runs = std::max(1, argc > 2 ? std::atoi(argv[2]) : 5);
    QLocale::setDefault(argc > 3 ? QLocale(QString::fromLocal8Bit(argv[3]))
                                 : QLocale(QLocale::English, QLocale::UnitedStates));
    const int only = argc > 4 ? std::atoi(argv[4]) : -1;

    vennic::TypeNames types;
    vennic::PaneList list(8);
    list.setTextMaker(std::make_shared<vennic::ListingTexts>(types));
    list.setRows(makeRows(count, types));
    std::printf("%d rows, locale %s, median of %d runs\n", list.rowCount(),
                qPrintable(QLocale().name()), runs);

    // The type look-ups of every name, as a listing makes them (the cache is warm after the
    // first run).
    {
        std::vector<double> times;
        uint64_t sum = 0;
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer timer;
            timer.start();
            std::vector<int> indices;
            indices.reserve(size_t(list.rowCount()));
            for (int i = 0; i < list.rowCount(); ++i)
                indices.push_back(types.indexOf(list.row(i).nativeName));
            times.push_back(double(timer.nsecsElapsed()) / 1e9);
            sum = checksum(indices);
        }
        std::printf("%-15s %.3f s                        types %016llx\n", "Type look-ups",
                    median(times), static_cast<unsigned long long>(sum));
    }

    static const char* const columns[] = {"Name",       "Type",     "Bytes",    "Created",
                                          "Attributes", "Accessed", "Modified", "Bytes (2)"};
    double worst = 0;
    for (int column = 0; column < list.columnCount(); ++column) {
        if (only >= 0 && column != only)
            continue;
        for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            std::vector<double> times;
            std::vector<double> processor;
            uint64_t sum = 0;
            for (int run = 0; run < runs; ++run) {
                QElapsedTimer timer;
                const std::clock_t started = std::clock();
                timer.start();
                const std::vector<int> sorted = vennic::sortOrder(list, column, order);
                times.push_back(double(timer.nsecsElapsed()) / 1e9);
                processor.push_back(double(std::clock() - started) / CLOCKS_PER_SEC);
                sum = checksum(sorted);
            }
            const double time = median(times);
            worst = std::max(worst, time);
            std::printf("%-10s %-4s %.3f s  (processor %.3f s)   order %016llx\n", columns[column],
                        order == Qt::AscendingOrder ? "up" : "down", time, median(processor),
                        static_cast<unsigned long long>(sum));
        }
    }
    std::printf("slowest %.3f s\n", worst);
    return 0;
}
