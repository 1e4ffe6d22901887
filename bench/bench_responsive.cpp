// How the window answers during long listings, on the folder given (run it from a small
// folder, which the panes list at start):
//   bench_responsive rows <folder> [runs]  time from a listing's start to its rows painted, and
//                                          to its folder sizes all in (medians of the runs)
//   bench_responsive stop <folder> [runs]  time from Esc 1 s into the count of <folder> to
//                                          the count's end (median of the runs)
//   bench_responsive read <folder> [runs]  while a huge folder is read: the time to the first
//                                          paint of the reading strip, the delay of a key
//                                          typed into the filter box 1 s into the read, and
//                                          the time to the rows painted (medians of the runs)
//   bench_responsive delete <folder>       deletes every file of <folder> as marked rows,
//                                          and prints the time the delete took and the longest
//                                          the window went without running its timers
//   bench_responsive start -               run from a huge folder: the times from the window
//                                          shown to each pane's rows, both panes listing it
//   bench_responsive close <folder>        asks to close 0.3 s into the count of <folder> and
//                                          prints the time of asking (CLOCK_REALTIME, ns) for
//                                          bench/closetime.sh to compare with the process's end
#include "app/mainform.h"
#include "benchsupport.h"
#include "listing/panelist.h"
#include "ui/panelistview.h"
#include "ui/sizingstrip.h"

#include <QAbstractItemView>

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

using Clock = std::chrono::steady_clock;

namespace {

/// Notes the first paint of the object it watches after it is armed.
class PaintWatch : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_armed) {
            m_armed = false;
            m_paintedAt = Clock::now();
        }
        return false;
    }
    void arm() { m_armed = true; }
    bool painted() const { return !m_armed; }
    Clock::time_point paintedAt() const { return m_paintedAt; }

private:
    bool m_armed = false;
    Clock::time_point m_paintedAt;
};

/// Runs the event loop until `done` or `ms` have passed.
template <typename Done> bool waitFor(Done done, int ms)
{
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (Clock::now() > end)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);
    }
    return true;
}

void wait(int ms)
{
    waitFor([] { return false; }, ms);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double msSince(Clock::time_point start, Clock::time_point end)
{
    return std::chrono::duration<double, std::milli>(end - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s rows|read|delete|stop|close <folder> [runs]\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    const std::string folder = argv[2];
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    QApplication app(argc, argv);
    vennic::MainFormOptions options;
    options.prompts = std::make_shared<vennic::bench::ConsolePrompts>();
    options.listAfterFirstPaint = true;
    vennic::MainForm form(std::move(options));
    // The panes' first rows after the start, for "start": the time each pane's rows came.
    std::array<Clock::time_point, 2> rowsCame{};
    for (size_t i = 0; i < 2; ++i)
        QObject::connect(form.LV1Rows[i], &QAbstractItemModel::modelReset, [&, i] {
            if (rowsCame[i] == Clock::time_point() && form.LV1Rows[i]->rowCount() > 0)
                rowsCame[i] = Clock::now();
        });
    const Clock::time_point shown = Clock::now();
    form.show();
    wait(50);
    waitFor([&] { return !form.paneSizing(0) && !form.paneSizing(1); }, 60000);

    if (mode == "close") {
        form.setPanePath(0, folder);
        form.GetListing(0);
        wait(300);
        if (!form.paneSizing(0))
            std::fprintf(stderr, "the count ended within 0.3 s: take a larger tree\n");
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        std::printf("%lld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
        std::fflush(stdout);
        QTimer::singleShot(0, &form, &QWidget::close);
        return app.exec();
    }

    if (mode == "start") {
        // Both panes list the working folder at start, in one read.
        std::printf("left rows %.1f ms, right rows %.1f ms after the window was shown\n",
                    msSince(shown, rowsCame[0]), msSince(shown, rowsCame[1]));
        return 0;
    }

    if (mode == "delete") {
        form.setPanePath(0, folder);
        form.GetListing(0);
        form.ActivePane = 0;
        form.MarkAllFilesForDelete();
        const int files = int(form.PaneRowsFolder[0].files().size());
        // A timer that should run every 10 ms tells how long the window went unanswering.
        Clock::time_point last = Clock::now();
        double longest = 0;
        QTimer ticks;
        QObject::connect(&ticks, &QTimer::timeout, [&] {
            const Clock::time_point now = Clock::now();
            longest = std::max(longest, msSince(last, now));
            last = now;
        });
        ticks.start(10);
        const Clock::time_point start = Clock::now();
        last = start;
        form.DeleteMarkedFiles();
        waitFor([&] { return !form.jobRunning(); }, 600000);
        const double took = msSince(start, Clock::now());
        std::printf("deleted %d files in %.1f ms, the window's longest stall %.1f ms\n", files,
                    took, longest);
        return 0;
    }

    if (mode == "read") {
        PaintWatch stripPaint;
        form.JobStrip[0]->installEventFilter(&stripPaint);
        std::vector<double> strips;
        std::vector<double> keys;
        std::vector<double> rowsShown;
        PaintWatch rowsPaint;
        form.LV1[0]->currentView()->viewport()->installEventFilter(&rowsPaint);
        for (int run = 0; run < runs; ++run) {
            form.setPanePath(0, folder);
            stripPaint.arm();
            Clock::time_point typed;
            Clock::time_point arrived;
            struct KeyWatch : QObject {
                Clock::time_point* arrived;
                bool eventFilter(QObject*, QEvent* event) override
                {
                    if (event->type() == QEvent::KeyPress)
                        *arrived = Clock::now();
                    return false;
                }
            } keyWatch;
            keyWatch.arrived = &arrived;
            form.FilterExpression->installEventFilter(&keyWatch);
            QTimer::singleShot(1000, &form, [&] {
                typed = Clock::now();
                QCoreApplication::postEvent(form.FilterExpression,
                                            new QKeyEvent(QEvent::KeyPress, Qt::Key_End, {}));
            });
            const Clock::time_point start = Clock::now();
            form.GetListing(0);
            rowsPaint.arm();
            waitFor([&] { return rowsPaint.painted(); }, 60000);
            rowsShown.push_back(msSince(start, rowsPaint.paintedAt()));
            if (stripPaint.painted())
                strips.push_back(msSince(start, stripPaint.paintedAt()));
            if (arrived > typed && typed > start)
                keys.push_back(msSince(typed, arrived));
            form.FilterExpression->removeEventFilter(&keyWatch);
            waitFor([&] { return !form.paneSizing(0); }, 600000);
        }
        const auto shown = [](const std::vector<double>& v) {
            return v.empty() ? -1.0 : median(v);
        };
        std::printf("reading shown %.1f ms, key delay %.1f ms, rows shown %.1f ms (medians of %d; "
                    "-1: not seen)\n",
                    shown(strips), shown(keys), median(rowsShown), runs);
        return 0;
    }

    if (mode == "stop") {
        std::vector<double> stops;
        for (int run = 0; run < runs; ++run) {
            form.setPanePath(0, folder);
            form.GetListing(0);
            wait(1000);
            if (!form.paneSizing(0)) {
                std::fprintf(stderr, "the count ended within 1 s: take a larger tree\n");
                return 1;
            }
            const Clock::time_point start = Clock::now();
            form.stopSizing();
            waitFor([&] { return !form.paneSizing(0); }, 60000);
            stops.push_back(msSince(start, Clock::now()));
        }
        std::printf("stopped in %.1f ms (median of %d)\n", median(stops), runs);
        return 0;
    }

    PaintWatch paint;
    QWidget* viewport = form.LV1[0]->currentView()->viewport();
    viewport->installEventFilter(&paint);
    std::vector<double> rows;
    std::vector<double> sizes;
    for (int run = 0; run < runs; ++run) {
        form.setPanePath(0, folder);
        paint.arm();
        const Clock::time_point start = Clock::now();
        form.GetListing(0);
        waitFor([&] { return paint.painted(); }, 60000);
        rows.push_back(msSince(start, paint.paintedAt()));
        waitFor([&] { return !form.paneSizing(0); }, 600000);
        sizes.push_back(msSince(start, Clock::now()));
    }
    std::printf("rows shown %.1f ms, sizes in %.1f ms (medians of %d)\n", median(rows),
                median(sizes), runs);
    return 0;
}
