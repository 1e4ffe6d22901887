#include "output/savedlistingformat.h"

#include <QStringDecoder>

#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <limits>

namespace vennic {

namespace {

constexpr char16_t Replacement = u'?';

bool breaksLine(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == SavedListingFormat::Separator;
}

// The characters Windows-1252 puts at 0x80 to 0x9F. The five codes it leaves undefined map to
// the control characters of the same number, as Latin-1 does.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

/// What one walk over a file's bytes finds before anything is decoded.
struct LineScan {
    qsizetype rowLines = 0;
    /// The line (counted from 1) of the first text longer than the limit; 0 when there is none.
    qsizetype longTextLine = 0;
};

/// Counts the row lines and measures the texts. Line ends and the separator are the same bytes
/// in UTF-8 and Windows-1252, and no byte of a multi-byte UTF-8 sequence is one of them, so the
/// walk finds the lines and fields that parse() finds. A byte-order mark counts in the first
/// text, as it does when the file is read as Windows-1252.
LineScan scanLines(QByteArrayView bytes, qsizetype maxTextBytes)
{
    LineScan scan;
    qsizetype lines = 0;
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    const auto measure = [&](const char* textStart) {
        if (scan.longTextLine == 0 && p - textStart > maxTextBytes)
            scan.longTextLine = lines + 1;
    };
    // The same walk as parse(): the end is tested before each line, so a last line end makes
    // no empty line.
    while (p < end) {
        // The path and count lines are one text each, separators and all.
        const bool splits = lines >= 2;
        const char* text = p;
        while (p < end && *p != '\r' && *p != '\n') {
            if (splits && *p == char(2)) {
                measure(text);
                text = p + 1;
            }
            ++p;
        }
        measure(text);
        ++lines;
        if (p < end && *p++ == '\r' && p < end && *p == '\n')
            ++p;
    }
    scan.rowLines = lines > 2 ? lines - 2 : 0;
    return scan;
}

/// A count line as the panes write them: "<n> Files, <n> Folders, <bytes> Bytes" and whatever
/// a pane adds after it, or nothing (a pane whose listing failed).
bool isCountLine(QStringView line)
{
    if (line.isEmpty())
        return true;
    static const QRegularExpression count(
        QStringLiteral("^\\d+ Files, \\d+ Folders, [^\\x{2}]*Bytes"));
    return count.match(line).hasMatch();
}

} // namespace

int SavedListingFormat::appendLine(QByteArray& out, std::span<const QString> fields)
{
    int changed = 0;
    // The reader takes bytes EF BB BF at the start of a file for a byte-order mark, so a first
    // text that begins with U+FEFF gets a mark of its own before it and comes back whole.
    if (out.isEmpty() && !fields.empty() && fields[0].startsWith(QChar(0xFEFF)))
        out.append("\xEF\xBB\xBF");
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out.append(char(2));
        const QString& text = fields[i];
        if (std::any_of(text.begin(), text.end(), breaksLine)) {
            QString mended = text;
            for (QChar& c : mended)
                if (breaksLine(c))
                    c = QChar(Replacement);
            out.append(mended.toUtf8());
            ++changed;
        } else {
            out.append(text.toUtf8());
        }
    }
    out.append("\r\n", 2);
    return changed;
}

QString SavedListingFormat::decode(const QByteArray& bytes)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    // Exactly one mark is dropped, above; the decoder would drop another.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                    QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8.decode(view);
    if (!utf8.hasError())
        return text;
    QStringDecoder ansi("windows-1252", QStringConverter::Flag::Stateless);
    if (ansi.isValid())
        return ansi.decode(bytes);
    return decodeWindows1252(bytes);
}

QString SavedListingFormat::decodeWindows1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char b : bytes) {
        const auto u = uchar(b);
        *out++ = (u >= 0x80 && u <= 0x9F) ? QChar(HighControls[u - 0x80]) : QChar(u);
    }
    return text;
}

PaneRow SavedListingFormat::textRow(QStringView line)
{
    PaneRow row;
    row.smallImage = 0;
    row.largeImage = 0;
    row.texts = std::make_unique<RowTexts>();
    int field = 0;
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = line.indexOf(Separator, start);
        const QStringView piece = end < 0 ? line.sliced(start) : line.sliced(start, end - start);
        row.texts->cells[size_t(field)] = piece.toString();
        if (end < 0 || ++field == FieldCount)
            break;
        start = end + 1;
    }
    if (row.texts->cells[ColType].startsWith(QLatin1Char(' ')))
        row.flags |= PaneRow::Folder;
    return row;
}

qsizetype SavedListingFormat::rowLineCount(QByteArrayView bytes)
{
    return scanLines(bytes, std::numeric_limits<qsizetype>::max()).rowLines;
}

std::optional<SavedListing> SavedListingFormat::parse(const QByteArray& bytes)
{
    return parse(bytes, SavedListingLimits{}).listing;
}

ParsedListing SavedListingFormat::parse(const QByteArray& bytes, const SavedListingLimits& limits)
{
    ParsedListing parsed;
    const LineScan scan = scanLines(bytes, limits.maxTextBytes);
    const qsizetype rowCount = scan.rowLines;
    if (rowCount > limits.maxRows) {
        parsed.problem = ParsedListing::Problem::TooManyRows;
        return parsed;
    }
    if (scan.longTextLine != 0) {
        parsed.problem = ParsedListing::Problem::TextTooLong;
        parsed.line = scan.longTextLine;
        return parsed;
    }
    const QString text = decode(bytes);
    const QStringView all(text);
    SavedListing listing;
    listing.rows.reserve(size_t(rowCount));
    qsizetype lineCount = 0;
    qsizetype pos = 0;
    // The end of the text is tested before each line, so a last line end makes no empty row.
    while (pos < all.size()) {
        qsizetype end = pos;
        while (end < all.size() && all[end] != QLatin1Char('\r') && all[end] != QLatin1Char('\n'))
            ++end;
        const QStringView line = all.sliced(pos, end - pos);
        if (lineCount == 0) {
            listing.pathText = line.toString();
        } else if (lineCount == 1) {
            if (limits.requireFormat && !isCountLine(line)) {
                parsed.problem = ParsedListing::Problem::NotACountLine;
                parsed.line = 2;
                return parsed;
            }
            listing.countText = line.toString();
        } else {
            if (limits.requireFormat && line.count(Separator) < FieldCount - 1) {
                parsed.problem = ParsedListing::Problem::MissingFields;
                parsed.line = lineCount + 1;
                return parsed;
            }
            listing.rows.push_back(textRow(line));
        }
        ++lineCount;
        // A line ends at CR LF, at CR alone or at LF alone.
        pos = end;
        if (pos < all.size() && all[pos++] == QLatin1Char('\r') && pos < all.size() &&
            all[pos] == QLatin1Char('\n'))
            ++pos;
    }
    if (lineCount < 2) {
        parsed.problem = ParsedListing::Problem::TooFewLines;
        return parsed;
    }
    parsed.listing = std::move(listing);
    return parsed;
}

} // namespace vennic
