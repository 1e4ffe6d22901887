#include "listing/listingtexts.h"

#include "listing/nativetext.h"
#include "listing/typenames.h"

#include <QTime>

#include <cmath>
#include <ctime>

namespace vennic {

namespace {

constexpr int64_t SecondsPerHour = 3600;
constexpr int64_t SecondsPerDay = 86400;
constexpr int64_t JulianDayOfEpoch = 2440588; // 1 January 1970
constexpr size_t MaxCachedEntries = 100000;

/// Whether position `i` of a locale format lies inside a quoted literal.
std::vector<bool> quotedMask(const QString& format)
{
    std::vector<bool> quoted(size_t(format.size()), false);
    bool inQuote = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] == QLatin1Char('\'')) {
            inQuote = !inQuote;
            quoted[size_t(i)] = true;
        } else {
            quoted[size_t(i)] = inQuote;
        }
    }
    return quoted;
}

/// The locale's short date format with every year field widened to four digits.
QString fourDigitYear(const QString& format)
{
    const std::vector<bool> quoted = quotedMask(format);
    QString out;
    for (qsizetype i = 0; i < format.size();) {
        if (format[i] == QLatin1Char('y') && !quoted[size_t(i)]) {
            qsizetype end = i;
            while (end < format.size() && format[end] == QLatin1Char('y'))
                ++end;
            out += QLatin1String("yyyy");
            i = end;
        } else {
            out += format[i++];
        }
    }
    return out;
}

/// The locale's short time format with seconds after the minutes when it has none, joined
/// with the separator the locale puts between hours and minutes.
QString withSeconds(const QString& format)
{
    const std::vector<bool> quoted = quotedMask(format);
    qsizetype hourEnd = -1;
    qsizetype minuteStart = -1;
    qsizetype minuteEnd = -1;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (quoted[size_t(i)])
            continue;
        const QChar c = format[i];
        if (c == QLatin1Char('s'))
            return format;
        if ((c == QLatin1Char('h') || c == QLatin1Char('H')) && minuteStart < 0)
            hourEnd = i + 1;
        if (c == QLatin1Char('m')) {
            if (minuteStart < 0)
                minuteStart = i;
            minuteEnd = i + 1;
        }
    }
    if (minuteEnd < 0)
        return format;
    QString separator = QStringLiteral(":");
    if (hourEnd >= 0 && hourEnd < minuteStart) {
        const QString between = format.mid(hourEnd, minuteStart - hourEnd);
        bool plain = !between.isEmpty();
        for (const QChar c : between)
            plain = plain && !c.isLetter() && c != QLatin1Char('\'');
        if (plain)
            separator = between;
    }
    QString out = format;
    out.insert(minuteEnd, separator + QLatin1String("ss"));
    return out;
}

int64_t floorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

std::optional<int64_t> offsetAt(int64_t seconds)
{
    const time_t t = time_t(seconds);
    std::tm local{};
    if (!localtime_r(&t, &local))
        return std::nullopt;
    return int64_t(local.tm_gmtoff);
}

} // namespace

QString numberText(double value, const QLocale& locale)
{
    const double rounded = std::round(value);
    if (rounded == 0 || std::isnan(rounded))
        return {};
    // Integers that fit 64 bits go through the integer path so no digit is lost; larger values
    // are printed from the double in fixed notation.
    if (std::fabs(rounded) < 9.2e18)
        return locale.toString(qlonglong(rounded));
    return locale.toString(rounded, 'f', 0);
}

QString sizeText(double value, const QLocale& locale)
{
    return numberText(value, locale).rightJustified(15, QLatin1Char(' '));
}

QString attributeLetters(uint32_t attributes)
{
    static constexpr struct {
        uint32_t bit;
        char letter;
    } letters[] = {{Attr::ReadOnly, 'R'}, {Attr::Hidden, 'H'},    {Attr::System, 'S'},
                   {Attr::Volume, 'V'},   {Attr::Directory, 'D'}, {Attr::Archive, 'A'},
                   {Attr::Alias, 'a'},    {Attr::Compressed, 'C'}};
    QString text;
    for (const auto& l : letters)
        if (attributes & l.bit)
            text += QLatin1Char(l.letter);
    return text;
}

qsizetype dateLength(const QString& dateText, const QLocale& locale)
{
    const QString shortFormat = locale.dateFormat(QLocale::ShortFormat);
    const QString formats[] = {fourDigitYear(shortFormat), shortFormat};
    bool digits = false;
    for (qsizetype end = 0; end <= dateText.size(); ++end) {
        if (end < dateText.size()) {
            digits = digits || dateText[end].isDigit();
            if (dateText[end] != QLatin1Char(' '))
                continue;
        }
        // Every date text holds digits; a start without any is not read at all, which keeps
        // texts such as "midnight" cheap.
        if (!digits)
            continue;
        const QString start = dateText.left(end);
        for (const QString& format : formats)
            if (locale.toDate(start, format).isValid())
                return end;
    }
    return -1;
}

DateTexts::DateTexts(const QLocale& locale)
    : m_locale(locale), m_dateFormat(fourDigitYear(locale.dateFormat(QLocale::ShortFormat))),
      m_timeFormat(withSeconds(locale.timeFormat(QLocale::ShortFormat)))
{
}

int64_t DateTexts::utcOffset(int64_t seconds) const
{
    const int64_t hour = floorDiv(seconds, SecondsPerHour);
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_offsets.find(hour);
        if (found != m_offsets.end())
            return found->second;
    }
    // An hour whose two ends have the same offset is cached as a whole; one that holds an
    // offset change is converted second by second.
    const auto first = offsetAt(hour * SecondsPerHour);
    const auto last = offsetAt(hour * SecondsPerHour + SecondsPerHour - 1);
    if (!first || !last)
        return 0;
    if (*first != *last) {
        const auto exact = offsetAt(seconds);
        return exact ? *exact : *first;
    }
    std::lock_guard lock(m_mutex);
    if (m_offsets.size() > MaxCachedEntries)
        m_offsets.clear();
    m_offsets.emplace(hour, int32_t(*first));
    return *first;
}

QString DateTexts::dateText(int64_t localDay) const
{
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_days.constFind(localDay);
        if (found != m_days.cend())
            return *found;
    }
    const QString text =
        m_locale.toString(QDate::fromJulianDay(JulianDayOfEpoch + localDay), m_dateFormat);
    std::lock_guard lock(m_mutex);
    if (size_t(m_days.size()) > MaxCachedEntries)
        m_days.clear();
    m_days.insert(localDay, text);
    return text;
}

QString DateTexts::date(int64_t secondsSinceEpoch) const
{
    const int64_t local = secondsSinceEpoch + utcOffset(secondsSinceEpoch);
    return dateText(floorDiv(local, SecondsPerDay));
}

QString DateTexts::text(int64_t secondsSinceEpoch) const
{
    const int64_t local = secondsSinceEpoch + utcOffset(secondsSinceEpoch);
    const int64_t day = floorDiv(local, SecondsPerDay);
    const int secondOfDay = int(local - day * SecondsPerDay);
    QString text = dateText(day);
    if (secondOfDay == 0)
        return text;
    const QTime time(secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60);
    text += QLatin1Char(' ');
    text += m_locale.toString(time, m_timeFormat);
    return text;
}

ListingTexts::ListingTexts(const TypeNames& types, const QLocale& locale)
    : m_types(types), m_locale(locale), m_dates(locale)
{
}

QString ListingTexts::sizeCell(const PaneRow& row) const
{
    // A folder's size cell says how far its size goes: a sum that is not the whole tree's
    // ("≥"), one still being counted, one that could not be read, and none (not walked).
    const uint16_t flags = row.flags;
    if (flags & PaneRow::SizeNotWalked)
        return {};
    if (flags & PaneRow::SizePending)
        return QStringLiteral("counting");
    if (flags & PaneRow::SizeUnknown)
        return row.isFolder() ? QStringLiteral("unreadable") : QString();
    if (flags & (PaneRow::SizePartial | PaneRow::SizeStopped))
        return (QStringLiteral("\u2265") + numberText(double(row.size), m_locale))
            .rightJustified(15, QLatin1Char(' '));
    return sizeText(double(row.size), m_locale);
}

QString ListingTexts::cellText(const PaneRow& row, int column) const
{
    if (row.hasTexts())
        return column >= 0 && column < PaneColumnCount ? row.texts->cells[size_t(column)]
                                                       : QString();
    const bool noDates = row.flags & PaneRow::NoAccessDates;
    // Of an entry that could not be looked at only the name is known; any other text would be
    // made up (a size of 0, a date of 1969).
    if ((row.flags & PaneRow::Unknown) && column != ColName)
        return {};
    switch (column) {
    case ColName:
        return nativeToQString(row.nativeName);
    case ColType:
        return row.isFolder() ? QLatin1Char(' ') + m_types.text(row.typeIndex)
                              : m_types.text(row.typeIndex);
    case ColBytes:
        return sizeCell(row);
    case ColCreated:
        return (row.flags & PaneRow::CreatedBlank) ? QStringLiteral(" ")
                                                   : m_dates.text(row.created);
    case ColAttributes:
        return attributeLetters(row.attributes);
    case ColAccessed:
        return noDates ? QString() : m_dates.text(row.accessed);
    case ColModified:
        return noDates ? QString() : m_dates.text(row.modified);
    case ColBytes2:
        if (row.flags & PaneRow::NoSizeColumn2)
            return {};
        return sizeCell(row);
    default:
        return {};
    }
}

QString ListingTexts::createdDate(const PaneRow& row) const
{
    if (row.hasTexts() || (row.flags & (PaneRow::Unknown | PaneRow::CreatedBlank)))
        return {};
    return m_dates.date(row.created);
}

} // namespace vennic
