// Times sortOrder on a pane list of listed rows, by every column in both directions.
//   bench_sort [rows] [runs] [locale] [column]
// rows: 1000000 by default; runs: 5 by default, the median is printed; locale: a locale name
// such as "de_DE" or "C", English/United States by default; column: one column number (0 Name
// to 7 the second Bytes) instead of all. Beside the time each line prints the processor time of
// all threads, which depends less on what else the machine runs. Each line also prints a checksum
// of the order, so that two builds (or two machines) can be checked to sort alike.
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

namespace {

using vennic::PaneRow;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

uint64_t checksum(const std::vector<int>& order)
{
    uint64_t hash = 1469598103934665603ull;
    for (const int row : order)
        hash = (hash ^ uint32_t(row)) * 1099511628211ull;
    return hash;
}

/// Names as a large folder holds them: camera pictures, scans, documents made of words joined
/// in the usual ways, source files, some accented and some non-Latin names, and names that
/// differ only in case.
class NameMaker {
public:
    explicit NameMaker(uint32_t seed) : m_random(seed) {}

    std::string next()
    {
        switch (pick(10)) {
        case 0:
            return "IMG_" + digits(8) + "_" + digits(6) + (pick(4) ? ".jpg" : ".JPG");
        case 1:
            return "DSC" + digits(5) + (pick(2) ? ".NEF" : ".JPG");
        case 2:
            return "Scan " + digits(4) + ".pdf";
        case 3:
        case 4:
        case 5:
            return words() + extension();
        case 6:
            return camel() + extension();
        case 7:
            return words() +
                   (pick(2) ? " (" + std::to_string(pick(9) + 1) + ")" : "-v" + digits(2)) +
                   extension();
        case 8:
            return accented() + extension();
        default:
            return words() + "_" + digits(4) + "-" + digits(2) + "-" + digits(2) + extension();
        }
    }

private:
    uint32_t pick(uint32_t n) { return m_random() % n; }

    std::string digits(int count)
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += char('0' + pick(10));
        return text;
    }

    std::string word()
    {
        static const char* const list[] = {
            "report",   "notes",   "budget", "invoice", "draft",   "final",  "meeting", "summary",
            "project",  "backup",  "data",   "export",  "import",  "config", "test",    "main",
            "widget",   "client",  "server", "photo",   "holiday", "family", "scan",    "letter",
            "contract", "minutes", "plan",   "design",  "review",  "logo",   "readme",  "index",
            "chapter",  "figure",  "table",  "results", "sample",  "old",    "new",     "copy"};
        std::string w = list[pick(sizeof list / sizeof list[0])];
        if (pick(5) == 0)
            w[0] = char(w[0] - 'a' + 'A');
        else if (pick(40) == 0)
            for (char& c : w)
                c = char(c - 'a' + 'A');
        return w;
    }

    std::string words()
    {
        static const char* const joins[] = {" ", "_", "-", ".", ""};
        const char* join = joins[pick(5)];
        std::string text = word();
        for (uint32_t i = 0, n = pick(3); i < n; ++i)
            text += join + word();
        return text;
    }

    std::string camel()
    {
        std::string text;
        for (uint32_t i = 0, n = 1 + pick(3); i < n; ++i) {
            std::string w = word();
            w[0] = char(std::toupper(static_cast<unsigned char>(w[0])));
            text += w;
        }
        return text + (pick(2) ? "Test" : "");
    }

    std::string accented()
    {
        static const char* const list[] = {"Übersicht März", "café-menu", "résumé", "Ångström",
                                           "Straße",         "ærinde",    "αρχείο", "отчёт",
                                           "naïve",          "Été ",      "façade"};
        return list[pick(sizeof list / sizeof list[0])] + std::string(pick(2) ? " " : "_") +
               digits(1 + int(pick(4)));
    }

    std::string extension()
    {
        static const char* const list[] = {".txt", ".pdf",  ".docx", ".xlsx", ".cpp", ".h",
                                           ".md",  ".json", ".png",  ".csv",  ".zip", ".tar.gz",
                                           ".PDF", ".log",  "",      ".py"};
        return list[pick(sizeof list / sizeof list[0])];
    }

    std::mt19937 m_random;
};

std::vector<PaneRow> makeRows(int count, vennic::TypeNames& types)
{
    NameMaker names(2024);
    std::mt19937_64 random(99);
    std::vector<PaneRow> rows;
    rows.reserve(size_t(count));
    const int64_t from = 1262304000; // 2010-01-01
    const int64_t span = 15 * 365 * 86400ll;
    for (int i = 0; i < count; ++i) {
        PaneRow& row = rows.emplace_back();
        const bool folder = random() % 20 == 0;
        row.nativeName = names.next();
        if (folder) {
            row.flags = PaneRow::Folder;
            row.typeIndex = vennic::TypeNames::FolderIndex;
            row.attributes = vennic::Attr::Directory;
        } else {
            row.flags = PaneRow::NoSizeColumn2;
            row.typeIndex = types.indexOf(row.nativeName);
            row.attributes = vennic::Attr::Archive;
        }
        if (random() % 10 == 0)
            row.attributes |= vennic::Attr::ReadOnly;
        if (random() % 25 == 0)
            row.attributes |= vennic::Attr::Hidden;
        // Sizes spread over many orders of magnitude, with many small and some equal ones.
        const int bits = int(random() % 33);
        row.size = bits == 0 ? 0 : int64_t(random() % (uint64_t(1) << bits));
        row.created = from + int64_t(random() % uint64_t(span));
        row.modified = row.created + int64_t(random() % 86400000);
        row.accessed = row.modified + int64_t(random() % 864000);
    }
    return rows;
}

} // namespace

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
