#include "listing/rowsort.h"

#include "listing/listingtexts.h"
#include "listing/nameorder.h"
#include "listing/panelist.h"

#include <QDateTime>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <exception>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <thread>

namespace vennic {

namespace {

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

/// How many bytes of a key one entry of the sort holds: enough that most names differ within
/// them, so that the sort seldom has to go back to the keys.
constexpr size_t SpanBytes = 24;
constexpr size_t ChunkCount = SpanBytes / 8;
constexpr uint32_t MoreThanASpan = SpanBytes + 1;

/// One row in the sort: the bytes of its key from `depth` on, up to SpanBytes of them, read as
/// big-endian numbers, and how many bytes the key has from `depth` on, up to MoreThanASpan.
/// Comparing (chunks, rest) orders two keys by their bytes from this depth exactly: a key that
/// ends is padded with zeros, and of two keys alike up to where the shorter ends, the shorter
/// comes first. The row number breaks ties, so that equal keys keep their present order and
/// every way of sorting gives the same order. In descending order chunks and rest are stored
/// inverted, so that one ascending sort serves both.
struct SortEntry {
    std::array<uint64_t, ChunkCount> chunks;
    uint32_t rest;
    uint32_t row;
};

/// Orders entries by their bytes alone.
struct BytesLess {
    bool operator()(const SortEntry& a, const SortEntry& b) const
    {
        for (size_t k = 0; k < ChunkCount; ++k)
            if (a.chunks[k] != b.chunks[k])
                return a.chunks[k] < b.chunks[k];
        return a.rest < b.rest;
    }
};

/// Orders entries by their bytes, then by row number.
struct EntryLess {
    bool operator()(const SortEntry& a, const SortEntry& b) const
    {
        for (size_t k = 0; k < ChunkCount; ++k)
            if (a.chunks[k] != b.chunks[k])
                return a.chunks[k] < b.chunks[k];
        if (a.rest != b.rest)
            return a.rest < b.rest;
        return a.row < b.row;
    }
};

bool alike(const SortEntry& a, const SortEntry& b)
{
    return a.chunks == b.chunks && a.rest == b.rest;
}

SortEntry inverted(SortEntry entry, bool descending)
{
    if (descending) {
        for (uint64_t& chunk : entry.chunks)
            chunk = ~chunk;
        entry.rest = MoreThanASpan - entry.rest;
    }
    return entry;
}

uint64_t bigEndian(const unsigned char* b)
{
    // Written out, so that the compiler makes one load and one byte swap of it.
    return uint64_t(b[0]) << 56 | uint64_t(b[1]) << 48 | uint64_t(b[2]) << 40 |
           uint64_t(b[3]) << 32 | uint64_t(b[4]) << 24 | uint64_t(b[5]) << 16 |
           uint64_t(b[6]) << 8 | uint64_t(b[7]);
}

/// The entry of a text key from `depth` on.
SortEntry textEntry(std::string_view key, size_t depth, uint32_t row, bool descending)
{
    const size_t left = key.size() - depth;
    unsigned char span[SpanBytes] = {};
    std::memcpy(span, key.data() + depth, std::min(left, SpanBytes));
    SortEntry entry{{}, uint32_t(std::min<size_t>(left, MoreThanASpan)), row};
    for (size_t k = 0; k < ChunkCount; ++k)
        entry.chunks[k] = bigEndian(span + 8 * k);
    return inverted(entry, descending);
}

/// The entry of a number: its eight bytes, as a key that goes no further.
SortEntry numberEntry(int64_t number, uint32_t row, bool descending)
{
    SortEntry entry{{}, 0, row};
    // Flipping the sign bit orders signed numbers as unsigned ones.
    entry.chunks[0] = uint64_t(number) ^ (uint64_t(1) << 63);
    return inverted(entry, descending);
}

/// Whether the key of an entry goes on past the bytes it holds.
bool goesOn(const SortEntry& entry, bool descending)
{
    return entry.rest == (descending ? 0 : MoreThanASpan);
}

/// What the sort needs of the rows: the entry of each row in row order, its rank and the
/// text keys, which sit in the makers' buffers. A row of rank 0 orders by its number in a
/// "Bytes" or date column and by its text's key in the others; a row of rank 1 holds a text
/// that does not parse as the column's values, orders by that text's key and comes after the
/// rows of rank 0.
struct RowKeys {
    std::vector<SortEntry> entries;
    std::vector<uint8_t> ranks;
    std::vector<std::string_view> texts;
    std::vector<std::string> buffers;
};

/// Makes the keys of a part of the rows. Each worker has its own maker: a locale's date texts
/// and a collator are not meant to be shared between threads, and each maker writes its text
/// keys one after another into a buffer of its own.
class KeyMaker {
public:
    struct Made {
        uint8_t rank = 0;
        int64_t number = 0;
        bool byText = false;
        std::string_view text; ///< valid until the next key is made
    };

    static Made numbered(int64_t value)
    {
        Made made;
        made.number = value;
        return made;
    }

    KeyMaker(const PaneList& list, int column)
        : m_list(list), m_column(column), m_dates(m_locale), m_names(m_locale),
          // Names are nearly all different; the other text columns repeat a few texts.
          m_remember(column != ColName)
    {
    }

    Made make(int i)
    {
        const PaneRow& row = m_list.row(i);
        if (!row.hasTexts()) {
            if (isBytesColumn(m_column)) {
                const bool blank = (row.flags & (PaneRow::SizeUnknown | PaneRow::Unknown)) ||
                                   (m_column == ColBytes2 && (row.flags & PaneRow::NoSizeColumn2));
                return numbered(blank ? EmptyCell : row.size);
            }
            if (isDateColumn(m_column))
                return numbered(rawDate(row, m_column));
        }
        const QString text = m_list.cellText(i, m_column);
        if (isBytesColumn(m_column))
            return bytesKey(text);
        if (isDateColumn(m_column))
            return dateKey(text);
        return textKey(text, 0);
    }

    /// Where the last text key made sits in the buffer.
    std::pair<size_t, size_t> lastText() const { return m_last; }
    std::string takeBuffer() { return std::move(m_buffer); }

private:
    Made textKey(const QString& text, uint8_t rank)
    {
        const auto known = m_remember ? m_known.constFind(text) : m_known.cend();
        if (known != m_known.cend()) {
            m_last = *known;
        } else {
            m_last.first = m_buffer.size();
            m_last.second = m_names.appendKey(text, m_buffer);
            // A column whose texts keep changing is not worth remembering.
            if (m_remember && m_known.size() < 4096)
                m_known.insert(text, m_last);
        }
        Made made;
        made.rank = rank;
        made.byText = true;
        made.text = std::string_view(m_buffer).substr(m_last.first, m_last.second);
        return made;
    }

    /// Reads a byte-count text such as "      1,234,567"; the blanks of a zero size are 0.
    Made bytesKey(const QString& text)
    {
        if (text.isEmpty())
            return numbered(EmptyCell);
        const QString trimmed = text.trimmed();
        if (trimmed.isEmpty())
            return {};
        bool ok = false;
        const qlonglong value = m_locale.toLongLong(trimmed, &ok);
        return ok ? numbered(value) : textKey(trimmed, 1);
    }

    /// Reads a date text as the listing writes it; empty or blank sorts first.
    Made dateKey(const QString& text)
    {
        const QString trimmed = text.trimmed();
        if (trimmed.isEmpty())
            return numbered(EmptyCell);
        QDateTime when =
            m_locale.toDateTime(trimmed, m_dates.dateFormat() + u' ' + m_dates.timeFormat());
        if (!when.isValid())
            when = QDateTime(m_locale.toDate(trimmed, m_dates.dateFormat()), QTime(0, 0));
        if (!when.isValid())
            return textKey(trimmed, 1);
        return numbered(when.toSecsSinceEpoch());
    }

    const PaneList& m_list;
    const int m_column;
    const QLocale m_locale;
    const DateTexts m_dates;
    const NameOrder m_names;
    const bool m_remember;
    std::string m_buffer;
    std::pair<size_t, size_t> m_last;
    QHash<QString, std::pair<size_t, size_t>> m_known;
};

/// Below this many rows one thread sorts faster than several start.
constexpr size_t MinRowsPerWorker = 25000;
constexpr unsigned MaxWorkers = 8;

unsigned workersFor(size_t rows)
{
    const unsigned machine = std::max(1u, std::thread::hardware_concurrency());
    return unsigned(std::clamp<size_t>(rows / MinRowsPerWorker, 1, std::min(machine, MaxWorkers)));
}

/// Runs `work(part, begin, end)` over `parts` contiguous parts of [0, count), the first part on
/// this thread, and rethrows the first failure of any part once all have ended.
void runInParts(size_t count, unsigned parts,
                const std::function<void(unsigned, size_t, size_t)>& work)
{
    if (parts <= 1) {
        work(0, 0, count);
        return;
    }
    std::vector<std::exception_ptr> failures(parts);
    std::vector<std::thread> workers;
    workers.reserve(parts - 1);
    const auto part = [&](unsigned t) {
        try {
            work(t, count * t / parts, count * (t + 1) / parts);
        } catch (...) {
            failures[t] = std::current_exception();
        }
    };
    for (unsigned t = 1; t < parts; ++t)
        workers.emplace_back(part, t);
    part(0);
    for (std::thread& worker : workers)
        worker.join();
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

RowKeys makeKeys(const PaneList& list, int column, bool descending, unsigned threads)
{
    const size_t count = size_t(list.rowCount());
    RowKeys keys;
    keys.entries.resize(count);
    keys.ranks.resize(count);
    keys.texts.resize(count);
    keys.buffers.resize(threads);
    runInParts(count, threads, [&](unsigned part, size_t begin, size_t end) {
        KeyMaker maker(list, column);
        // Where each text key sits in the buffer, which grows while the keys are made.
        std::vector<std::pair<size_t, size_t>> spans(end - begin);
        for (size_t i = begin; i < end; ++i) {
            // The entry is made while its key is fresh in the cache.
            const KeyMaker::Made made = maker.make(int(i));
            keys.ranks[i] = made.rank;
            if (made.byText) {
                keys.entries[i] = textEntry(made.text, 0, uint32_t(i), descending);
                spans[i - begin] = maker.lastText();
            } else {
                keys.entries[i] = numberEntry(made.number, uint32_t(i), descending);
            }
        }
        // The buffer is in its place before the views into it are made: moving a short
        // string moves its bytes.
        const std::string& buffer = keys.buffers[part] = maker.takeBuffer();
        for (size_t i = begin; i < end; ++i)
            keys.texts[i] =
                std::string_view(buffer).substr(spans[i - begin].first, spans[i - begin].second);
    });
    return keys;
}

/// Sorts entries by their keys, ties by row number.
class EntrySort {
public:
    EntrySort(const std::vector<std::string_view>& texts, bool descending)
        : m_texts(texts), m_descending(descending)
    {
    }

    /// Sorts entries made at `depth` that are alike before it. Runs of entries alike in their
    /// bytes whose keys go on are made again further on and sorted there.
    void sort(SortEntry* first, SortEntry* last, size_t depth) const
    {
        std::sort(first, last, EntryLess());
        for (SortEntry* run = first; run != last;) {
            SortEntry* end = run + 1;
            while (end != last && alike(*end, *run))
                ++end;
            if (end - run > 1 && goesOn(*run, m_descending))
                sortFurther(run, end, depth + SpanBytes);
            run = end;
        }
    }

private:
    /// Entries in row order, alike up to `depth`.
    void sortFurther(SortEntry* first, SortEntry* last, size_t depth) const
    {
        // Equal keys (a repeated type text, say) stay alike at every depth and are already in
        // row order; they are walked to their end without sorting.
        for (;;) {
            bool same = true;
            for (SortEntry* e = first; e != last; ++e) {
                *e = textEntry(m_texts[e->row], depth, e->row, m_descending);
                same = same && alike(*e, *first);
            }
            if (!same)
                break;
            if (!goesOn(*first, m_descending))
                return;
            depth += SpanBytes;
        }
        sort(first, last, depth);
    }

    const std::vector<std::string_view>& m_texts;
    const bool m_descending;
};

/// The rows of the entries in the order of their keys. A large list is split into buckets by
/// the entries of a sorted sample, entries alike in their bytes always into the same bucket,
/// and the buckets are sorted on several threads; as the tie-break makes every key distinct,
/// the order is the one a single sort gives.
std::vector<int> sortRows(std::vector<SortEntry> entries, const EntrySort& order, unsigned threads)
{
    const size_t count = entries.size();
    constexpr size_t MinRowsToSplit = 16384;
    if (threads <= 1 || count < MinRowsToSplit) {
        order.sort(entries.data(), entries.data() + count, 0);
    } else {
        // More buckets than threads, handed out one at a time, so that a large bucket of
        // equal or alike keys does not hold up the others.
        const size_t bucketCount = size_t(threads) * 8;
        constexpr size_t SamplesPerBucket = 64;
        const size_t sampleCount = bucketCount * SamplesPerBucket;
        std::vector<SortEntry> sample;
        sample.reserve(sampleCount);
        for (size_t i = 0; i < sampleCount; ++i)
            sample.push_back(entries[i * count / sampleCount]);
        std::sort(sample.begin(), sample.end(), EntryLess());
        std::vector<SortEntry> splitters;
        for (size_t b = 1; b < bucketCount; ++b)
            splitters.push_back(sample[b * SamplesPerBucket]);

        // Each part counts its rows per bucket and then places them from where the parts
        // before it end.
        std::vector<uint16_t> bucketOf(count);
        std::vector<std::vector<size_t>> next(threads, std::vector<size_t>(bucketCount, 0));
        runInParts(count, threads, [&](unsigned part, size_t begin, size_t end) {
            for (size_t i = begin; i < end; ++i) {
                const size_t b = size_t(
                    std::upper_bound(splitters.begin(), splitters.end(), entries[i], BytesLess()) -
                    splitters.begin());
                bucketOf[i] = uint16_t(b);
                ++next[part][b];
            }
        });
        std::vector<size_t> starts(bucketCount + 1, 0);
        for (size_t b = 0; b < bucketCount; ++b) {
            starts[b + 1] = starts[b];
            for (unsigned part = 0; part < threads; ++part) {
                const size_t rows = next[part][b];
                next[part][b] = starts[b + 1];
                starts[b + 1] += rows;
            }
        }
        std::vector<SortEntry> placed(count);
        runInParts(count, threads, [&](unsigned part, size_t begin, size_t end) {
            std::vector<size_t>& at = next[part];
            for (size_t i = begin; i < end; ++i)
                placed[at[bucketOf[i]]++] = entries[i];
        });
        entries = std::move(placed);

        std::atomic<size_t> nextBucket{0};
        runInParts(threads, threads, [&](unsigned, size_t, size_t) {
            for (size_t b = nextBucket++; b < bucketCount; b = nextBucket++)
                order.sort(entries.data() + starts[b], entries.data() + starts[b + 1], 0);
        });
    }

    std::vector<int> rows(count);
    for (size_t i = 0; i < count; ++i)
        rows[i] = int(entries[i].row);
    return rows;
}

} // namespace

std::vector<int> sortOrder(const PaneList& list, int column, Qt::SortOrder order)
{
    const size_t count = size_t(list.rowCount());
    const unsigned threads = workersFor(count);
    const bool descending = order == Qt::DescendingOrder;
    RowKeys keys = makeKeys(list, column, descending, threads);
    const EntrySort sort(keys.texts, descending);

    const size_t unparsed = size_t(std::count(keys.ranks.begin(), keys.ranks.end(), 1));
    if (unparsed == 0)
        return sortRows(std::move(keys.entries), sort, threads);
    // Texts that do not parse stay after the rest in both directions.
    std::vector<SortEntry> numbers;
    std::vector<SortEntry> texts;
    numbers.reserve(count - unparsed);
    texts.reserve(unparsed);
    for (size_t i = 0; i < count; ++i)
        (keys.ranks[i] == 0 ? numbers : texts).push_back(keys.entries[i]);
    keys.entries = {};
    std::vector<int> rows = sortRows(std::move(numbers), sort, threads);
    const std::vector<int> rest = sortRows(std::move(texts), sort, threads);
    rows.insert(rows.end(), rest.begin(), rest.end());
    return rows;
}

} // namespace vennic
