#pragma once

#include "listing/panerow.h"

#include <QDate>
#include <QHash>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <mutex>
#include <unordered_map>

namespace vennic {

class TypeNames;

/// "#,###": thousands separators of the locale, no decimals, empty for 0.
QString numberText(double value, const QLocale& locale = QLocale());
/// The number text padded on the left with blanks to at least 15 characters.
QString sizeText(double value, const QLocale& locale = QLocale());
/// Attribute letters in the fixed order R H S V D A a C.
QString attributeLetters(uint32_t attributes);
/// The length of the date at the start of a date text as `DateTexts` writes them in `locale`
/// (the date alone, without the blank and time after it), found by reading the locale's short
/// date format; -1 when no start of the text ending at a blank or at its end reads as a date.
qsizetype dateLength(const QString& dateText, const QLocale& locale = QLocale());

/// Date texts in the user's locale: the short date with a four-digit year, a blank and the
/// short time with seconds; no time at exactly midnight. Made from seconds since the epoch with
/// a cached local-time conversion that stays right across offset changes.
class DateTexts {
public:
    explicit DateTexts(const QLocale& locale = QLocale());
    QString text(int64_t secondsSinceEpoch) const;
    /// The date part `text` starts with, for the same moment.
    QString date(int64_t secondsSinceEpoch) const;

    QString dateFormat() const { return m_dateFormat; }
    QString timeFormat() const { return m_timeFormat; }

private:
    /// The offset of local time from UTC at that moment, in seconds.
    int64_t utcOffset(int64_t secondsSinceEpoch) const;
    QString dateText(int64_t localDay) const;

    QLocale m_locale;
    QString m_dateFormat;
    QString m_timeFormat;
    mutable std::mutex m_mutex;
    /// Hour → UTC offset, for hours whose offset is the same at both ends.
    mutable std::unordered_map<int64_t, int32_t> m_offsets;
    mutable QHash<int64_t, QString> m_days; ///< local day number → date text
};

/// Makes the cell texts of listed rows from their raw values.
class ListingTexts : public RowTextMaker {
public:
    explicit ListingTexts(const TypeNames& types, const QLocale& locale = QLocale());
    QString cellText(const PaneRow& row, int column) const override;
    /// The date that a listed row's "Created" text starts with; empty when that text holds
    /// no date (a row that carries its texts, an entry that could not be read, the blank
    /// creation time).
    QString createdDate(const PaneRow& row) const;

private:
    QString sizeCell(const PaneRow& row) const;

    const TypeNames& m_types;
    QLocale m_locale;
    DateTexts m_dates;
};

} // namespace vennic
