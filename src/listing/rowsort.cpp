#include "listing/rowsort.h"

#include "listing/listingtexts.h"
#include "platform/panelist.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <limits>
#include <numeric>

namespace vennic {

namespace {

/// A sort key: the rank puts texts that do not parse after the rest.
struct Key {
    int rank = 0;
    int64_t number = 0;
    QString text;
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
Key bytesKey(const QString& text, const QLocale& locale)
{
    if (text.isEmpty())
        return {0, EmptyCell, {}};
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    bool ok = false;
    const qlonglong value = locale.toLongLong(trimmed, &ok);
    return ok ? Key{0, value, {}} : Key{1, 0, trimmed.toCaseFolded()};
}

/// Reads a date text as the listing writes it; empty or blank sorts first.
Key dateKey(const QString& text, const QLocale& locale, const DateTexts& dates)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {0, EmptyCell, {}};
    QDateTime when = locale.toDateTime(trimmed, dates.dateFormat() + u' ' + dates.timeFormat());
    if (!when.isValid())
        when = QDateTime(locale.toDate(trimmed, dates.dateFormat()), QTime(0, 0));
    if (!when.isValid())
        return {1, 0, trimmed.toCaseFolded()};
    return {0, when.toSecsSinceEpoch(), {}};
}

int64_t rawDate(const PaneRow& row, int column)
{
    if (column == ColCreated)
        return (row.flags & PaneRow::CreatedBlank) ? EmptyCell : row.created;
    if (row.flags & PaneRow::NoAccessDates)
        return EmptyCell;
    return column == ColAccessed ? row.accessed : row.modified;
}

Key keyOf(const PaneList& list, int i, int column, const QLocale& locale, const DateTexts& dates)
{
    const PaneRow& row = list.row(i);
    if (!row.hasTexts()) {
        if (isBytesColumn(column)) {
            const bool blank = (row.flags & PaneRow::SizeUnknown) ||
                               (column == ColBytes2 && (row.flags & PaneRow::NoSizeColumn2));
            return {0, blank ? EmptyCell : row.size, {}};
        }
        if (isDateColumn(column))
            return {0, rawDate(row, column), {}};
    }
    const QString text = list.cellText(i, column);
    if (isBytesColumn(column))
        return bytesKey(text, locale);
    if (isDateColumn(column))
        return dateKey(text, locale, dates);
    return {0, 0, text.toCaseFolded()};
}

} // namespace

std::vector<int> sortOrder(const PaneList& list, int column, Qt::SortOrder order)
{
    const int count = list.rowCount();
    const QLocale locale;
    const DateTexts dates(locale);
    std::vector<Key> keys;
    keys.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        keys.push_back(keyOf(list, i, column, locale, dates));

    std::vector<int> rows(static_cast<size_t>(count));
    std::iota(rows.begin(), rows.end(), 0);
    const bool textual = !isBytesColumn(column) && !isDateColumn(column);
    auto less = [&](int a, int b) {
        const Key& x = keys[size_t(a)];
        const Key& y = keys[size_t(b)];
        if (x.rank != y.rank)
            return x.rank < y.rank;
        if (textual || x.rank == 1)
            return x.text < y.text;
        return x.number < y.number;
    };
    if (order == Qt::AscendingOrder)
        std::stable_sort(rows.begin(), rows.end(), less);
    else
        std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
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
