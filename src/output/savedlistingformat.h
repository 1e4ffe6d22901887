#pragma once

#include "listing/panerow.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace vennic {

/// The content of a saved listing file: the pane's path box text, its count label text and
/// its rows, each carrying its texts only (no native name, no image, black).
struct SavedListing {
    QString pathText;
    QString countText;
    std::vector<PaneRow> rows;
};

/// How much "Open" reads at most. Real listings stay far below these bounds (a folder of a
/// million files makes a file of about 100 MiB, and a name or path is a few KiB at most); past
/// them a file is refused with a message before it can fill the memory. Tests pass smaller
/// bounds.
struct SavedListingLimits {
    qint64 maxFileBytes = qint64(256) << 20;
    qsizetype maxRows = 2'000'000;
    /// The longest text, in bytes of the file: the path line, the count line, or one field of a
    /// row line. A text decodes to no more characters than it has bytes.
    qsizetype maxTextBytes = qsizetype(32) << 10;
    /// Refuses a file whose line 2 is not a count line or whose rows lack fields, as "Open"
    /// does: any other file is not a saved listing, whatever it holds.
    bool requireFormat = false;
};

/// What reading a file's bytes came to: the listing, or why there is none.
struct ParsedListing {
    enum class Problem : unsigned char {
        None,
        TooFewLines,   ///< fewer than the path and count lines
        TooManyRows,   ///< more row lines than SavedListingLimits::maxRows
        TextTooLong,   ///< a text longer than SavedListingLimits::maxTextBytes
        NotACountLine, ///< line 2 is neither empty nor a count line
        MissingFields, ///< a row line with fewer than the seven fields
    };
    std::optional<SavedListing> listing;
    Problem problem = Problem::None;
    /// For TextTooLong, NotACountLine and MissingFields: the first line of the file that is
    /// wrong, counted from 1 as a person counts lines (the path line is line 1, the first row
    /// line 3).
    qsizetype line = 0;
};

/// The ".tav" file format. Line 1 is the path box text, line 2 the count label text, then one
/// line per row: the row's main text and sub-items 1 to 6, joined by the character with code 2.
/// Every line ends in CR LF; there is no header, signature or version. Files are written in
/// UTF-8; a file that is not valid UTF-8 is read as Windows-1252, so listings written by older
/// single-byte writers still open. The writer and the reader here are the only code that knows
/// the layout.
class SavedListingFormat {
public:
    static constexpr QChar Separator{char16_t(2)};
    static constexpr int FieldCount = 7;

    /// Appends one line holding `fields` joined by the separator, ending in CR LF, in UTF-8.
    /// A carriage return, line feed or separator inside a text would break the file's
    /// structure, so each becomes "?". Returns how many of the texts had to be changed.
    static int appendLine(QByteArray& out, std::span<const QString> fields);

    /// The file's bytes as text: UTF-8 when they are valid UTF-8 (a leading byte-order mark
    /// dropped), else Windows-1252.
    static QString decode(const QByteArray& bytes);

    /// Windows-1252 decoded by table, for a Qt built without a converter for it.
    static QString decodeWindows1252(const QByteArray& bytes);

    /// Reads a whole file's bytes. A line ends at CR LF, at CR or at LF alone; text after the
    /// last line end is a last line. Row lines with fewer than seven fields leave the other
    /// cells empty and fields past the seventh are ignored. Nothing when the file holds fewer
    /// than two lines, more row lines than `limits` allow, where they require the format a
    /// line 2 that is not a count line ("3 Files, 1 Folders, 1,234 Bytes", with anything after
    /// it, or nothing) or a row line with fewer than seven fields, or a text longer than they
    /// allow
    /// (the path or count line as a whole, or any field of a row line, ignored ones too); the
    /// rows are counted and the texts measured in the bytes before anything is decoded or
    /// made, so neither a file of nothing but line ends nor one huge line costs memory.
    static ParsedListing parse(const QByteArray& bytes, const SavedListingLimits& limits);
    /// parse() within the default limits, without the reason when there is no listing.
    static std::optional<SavedListing> parse(const QByteArray& bytes);

    /// How many row lines (lines after the first two) the bytes hold. Line ends are the same
    /// bytes in UTF-8 and Windows-1252, so they are counted before the text is decoded.
    static qsizetype rowLineCount(QByteArrayView bytes);

    /// The row a row line becomes: its pieces as texts. A "Type" text that begins with a blank
    /// marks a folder, as it does in a listing.
    static PaneRow textRow(QStringView line);
};

} // namespace vennic
