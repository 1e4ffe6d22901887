#include "listing/rowsort.h"

#include "listing/listingtexts.h"
#include "listing/nameorder.h"
#include "platform/panelist.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <atomic>
#include <exception>
#include <functional>
#include <limits>
#include <numeric>
#include <thread>

namespace vennic {

namespace {

/// A sort key: the rank puts texts that do not parse after the rest.
struct Key {
    int rank = 0;
    int64_t number = 0;
    NameOrder::Key text;
};

bool isBytesColumn(int column)
{
    return column == ColBytes || column == ColBytes2;
}
bool isDateColumn(int column)
{
    return column == ColCreated || column == ColAccessed || column == ColModified;
}

/// The key of an empty cell. Empty cells (blank rows, unreadable folder sizes, the right
/// list's eighth column on file rows) come before every other cell, as they would in text
/// order, so a sort moves blank rows to the top or the bottom of the list.
constexpr int64_t EmptyCell = std::numeric_limits<int64_t>::min();

/// Reads a byte-count text such as "      1,234,567"; the blanks of a zero size are 0.
Key bytesKey(const QString& text, const QLocale& locale, const NameOrder& names)
{
    if (text.isEmpty())
        return {0, EmptyCell, {}};
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    bool ok = false;
    const qlonglong value = locale.toLongLong(trimmed, &ok);
    return ok ? Key{0, value, {}} : Key{1, 0, names.key(trimmed)};
}

/// Reads a date text as the listing writes it; empty or blank sorts first.
Key dateKey(const QString& text, const QLocale& locale, const DateTexts& dates,
            const NameOrder& names)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {0, EmptyCell, {}};
    QDateTime when = locale.toDateTime(trimmed, dates.dateFormat() + u' ' + dates.timeFormat());
    if (!when.isValid())
        when = QDateTime(locale.toDate(trimmed, dates.dateFormat()), QTime(0, 0));
    if (!when.isValid())
        return {1, 0, names.key(trimmed)};
    return {0, when.toSecsSinceEpoch(), {}};
}

int64_t rawDate(const PaneRow& row, int column)
{
    if (row.flags & PaneRow::Unknown)
        return EmptyCell;
    if (column == ColCreated)
        return (row.flags & PaneRow::CreatedBlank) ? EmptyCell : row.created;
    if (row.flags & PaneRow::NoAccessDates)
        return EmptyCell;
    return column == ColAccessed ? row.accessed : row.modified;
}

Key keyOf(const PaneList& list, int i, int column, const QLocale& locale, const DateTexts& dates,
          const NameOrder& names)
{
    const PaneRow& row = list.row(i);
    if (!row.hasTexts()) {
        if (isBytesColumn(column)) {
            const bool blank = (row.flags & (PaneRow::SizeUnknown | PaneRow::Unknown)) ||
                               (column == ColBytes2 && (row.flags & PaneRow::NoSizeColumn2));
            return {0, blank ? EmptyCell : row.size, {}};
        }
        if (isDateColumn(column))
            return {0, rawDate(row, column), {}};
    }
    const QString text = list.cellText(i, column);
    if (isBytesColumn(column))
        return bytesKey(text, locale, names);
    if (isDateColumn(column))
        return dateKey(text, locale, dates, names);
    // One key per row, made here once: collating the two texts in every comparison would
    // cost many times more on a large list.
    return {0, 0, names.key(text)};
}

/// Below this many rows one thread sorts faster than several start.
constexpr size_t MinRowsPerWorker = 25000;
constexpr unsigned MaxWorkers = 8;

unsigned workersFor(size_t rows)
{
    const unsigned machine = std::max(1u, std::thread::hardware_concurrency());
    return unsigned(std::clamp<size_t>(rows / MinRowsPerWorker, 1, std::min(machine, MaxWorkers)));
}

/// Runs `work(begin, end)` over `threads` contiguous parts of [0, count), the first part on
/// this thread, and rethrows the first failure of any part once all have ended.
void runInChunks(size_t count, unsigned threads, const std::function<void(size_t, size_t)>& work)
{
    if (threads <= 1) {
        work(0, count);
        return;
    }
    std::vector<std::exception_ptr> failures(threads);
    std::vector<std::thread> workers;
    workers.reserve(threads - 1);
    const auto part = [&](unsigned t) {
        try {
            work(count * t / threads, count * (t + 1) / threads);
        } catch (...) {
            failures[t] = std::current_exception();
        }
    };
    for (unsigned t = 1; t < threads; ++t)
        workers.emplace_back(part, t);
    part(0);
    for (std::thread& worker : workers)
        worker.join();
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

/// A stable sort of row numbers, equal to one std::stable_sort, that stays fast on large lists
/// whose keys are costly to reach (a collation key lives behind two pointers). A sorted sample
/// of the rows splits the list into buckets of about a thousand rows; each row finds its bucket
/// by comparing it with the splitters, which stay in the cache, and each bucket is then sorted
/// on its own while its keys fit in the cache too. Rows enter their bucket in their present
/// order and equal rows always land in the same bucket, so equal rows keep their order. The
/// buckets are sorted on several threads.
template <typename Less> void stableSort(std::vector<int>& rows, unsigned threads, Less less)
{
    const size_t count = rows.size();
    constexpr size_t RowsPerBucket = 1024;
    constexpr size_t SamplesPerSplitter = 8;
    if (count < 8 * RowsPerBucket) {
        std::stable_sort(rows.begin(), rows.end(), less);
        return;
    }
    const size_t bucketCount = std::min<size_t>(count / RowsPerBucket, 4096);
    std::vector<int> sample;
    const size_t sampleCount = bucketCount * SamplesPerSplitter;
    sample.reserve(sampleCount);
    for (size_t i = 0; i < sampleCount; ++i)
        sample.push_back(rows[i * count / sampleCount]);
    std::sort(sample.begin(), sample.end(), less);
    std::vector<int> splitters;
    splitters.reserve(bucketCount - 1);
    for (size_t b = 1; b < bucketCount; ++b)
        splitters.push_back(sample[b * SamplesPerSplitter]);

    std::vector<uint32_t> bucketOf(count);
    runInChunks(count, threads, [&](size_t begin, size_t end) {
        for (size_t i = begin; i < end; ++i)
            bucketOf[i] =
                uint32_t(std::upper_bound(splitters.begin(), splitters.end(), rows[i], less) -
                         splitters.begin());
    });
    std::vector<size_t> starts(bucketCount + 1, 0);
    for (const uint32_t b : bucketOf)
        ++starts[b + 1];
    std::partial_sum(starts.begin(), starts.end(), starts.begin());
    std::vector<int> placed(count);
    std::vector<size_t> next(starts.begin(), starts.end() - 1);
    for (size_t i = 0; i < count; ++i)
        placed[next[bucketOf[i]]++] = rows[i];

    // Buckets are handed out one at a time, so a large bucket of equal names does not hold up
    // the others.
    std::atomic<size_t> nextBucket{0};
    runInChunks(threads, threads, [&](size_t, size_t) {
        for (size_t b = nextBucket++; b < bucketCount; b = nextBucket++)
            std::stable_sort(placed.begin() + ptrdiff_t(starts[b]),
                             placed.begin() + ptrdiff_t(starts[b + 1]), less);
    });
    rows = std::move(placed);
}

} // namespace

std::vector<int> sortOrder(const PaneList& list, int column, Qt::SortOrder order)
{
    const size_t count = size_t(list.rowCount());
    const unsigned threads = workersFor(count);
    const QLocale locale;

    // Each worker has its own locale, date texts and collator: a collator is not meant to be
    // shared between threads.
    std::vector<Key> keys(count);
    runInChunks(count, threads, [&](size_t begin, size_t end) {
        const QLocale local = locale;
        const DateTexts dates(local);
        const NameOrder names(local);
        for (size_t i = begin; i < end; ++i)
            keys[i] = keyOf(list, int(i), column, local, dates, names);
    });

    std::vector<int> rows(count);
    std::iota(rows.begin(), rows.end(), 0);
    const bool textual = !isBytesColumn(column) && !isDateColumn(column);
    auto less = [&](int a, int b) {
        const Key& x = keys[size_t(a)];
        const Key& y = keys[size_t(b)];
        if (x.rank != y.rank)
            return x.rank < y.rank;
        if (textual || x.rank == 1)
            return x.text.compare(y.text) < 0;
        return x.number < y.number;
    };
    if (order == Qt::AscendingOrder)
        stableSort(rows, threads, less);
    else
        stableSort(rows, threads, [&](int a, int b) {
            const Key& x = keys[size_t(a)];
            const Key& y = keys[size_t(b)];
            // Texts that do not parse stay after the rest in both directions.
            if (x.rank != y.rank)
                return x.rank < y.rank;
            return less(b, a);
        });
    return rows;
}

} // namespace vennic
