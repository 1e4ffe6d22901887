#include "fileops/filejob.h"

#include <gtest/gtest.h>

#include <thread>

namespace vennic {
namespace {

using namespace std::chrono_literals;

TEST(JobProgress, SaysWhatIsDoneAndEstimatesOnlyAfterASecond)
{
    struct Case {
        int files, filesDone;
        int64_t bytes, bytesDone;
        std::chrono::milliseconds elapsed;
        const char* verb;
        QString current;
        QString expected;
    };
    const Case cases[] = {
        {3, 1, 0, 0, 500ms, "Deleting", "a.txt", "Deleting a.txt"},
        {3, 1, 2'000'000'000, 1'000'000'000, 900ms, "Copying", "a.txt",
         "Copying a.txt: 1.0 GB of 2.0 GB"},
        {3, 1, 2'000'000'000, 1'000'000'000, 2000ms, "Copying", "a.txt",
         "Copying a.txt: 1.0 GB of 2.0 GB, 500 MB/s, about 2 s left"},
        {3, 0, 2'000'000'000, 0, 2000ms, "Copying", "a.txt", "Copying a.txt: 0 Bytes of 2.0 GB"},
        {1000, 50, 0, 0, 2000ms, "Deleting", "b", "Deleting b: 25 files a second, about 38 s left"},
        {100000, 1000, 0, 0, 1000ms, "Deleting", QString("x\ny"),
         "Deleting x\uFFFDy: 1000 files a second, about 2 min left"},
    };
    for (const Case& c : cases) {
        JobProgress progress;
        progress.files = c.files;
        progress.filesDone = c.filesDone;
        progress.bytes = c.bytes;
        progress.bytesDone = c.bytesDone;
        progress.setCurrent(c.current);
        EXPECT_EQ(progress.detailText(c.verb, c.elapsed), c.expected);
        EXPECT_EQ(progress.barText(), QString("%1 of %2 files").arg(c.filesDone).arg(c.files));
    }
}

TEST(FileJob, AStoppedJobStillReportsAndAnAbandonedOneDoesNot)
{
    std::vector<std::function<void()>> posted;
    std::mutex postedMutex;
    FileJob job([&](std::function<void()> work) {
        const std::lock_guard lock(postedMutex);
        posted.push_back(std::move(work));
    });
    const auto untilStopped = [](JobProgress& progress) {
        while (!progress.stop)
            std::this_thread::sleep_for(1ms);
        FileOpOutcome outcome;
        outcome.stopped = true;
        return outcome;
    };

    std::optional<FileOpOutcome> reported;
    job.start(std::make_shared<JobProgress>(), untilStopped,
              [&](FileOpOutcome outcome) { reported = std::move(outcome); });
    job.waitFor(20ms);
    EXPECT_TRUE(job.running());
    EXPECT_FALSE(reported);
    job.stop();
    job.waitFor(10s);
    ASSERT_TRUE(reported);
    EXPECT_TRUE(reported->stopped);
    EXPECT_FALSE(job.running());
    // What the worker posted finds the job ended and reports nothing twice.
    reported.reset();
    for (const auto& work : posted)
        work();
    EXPECT_FALSE(reported);

    job.start(std::make_shared<JobProgress>(), untilStopped,
              [&](FileOpOutcome) { reported = FileOpOutcome{}; });
    job.abandon();
    EXPECT_FALSE(job.running());
    for (const auto& work : posted)
        work();
    EXPECT_FALSE(reported);
}

} // namespace
} // namespace vennic
