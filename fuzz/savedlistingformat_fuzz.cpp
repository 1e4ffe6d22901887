// Feeds arbitrary bytes to the saved-listing reader, as "Open" does with whatever file the user
// picks. Besides the sanitizers' checks: the rows counted before decoding must be the rows read,
// a row limit just below them must refuse the bytes, a text limit just below the longest text
// read must refuse them naming that text's line or an earlier one, and a listing read must come
// back unchanged when it is written with the format's writer and read again.
#include "output/savedlistingformat.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

using vennic::PaneRow;
using vennic::ParsedListing;
using vennic::SavedListing;
using vennic::SavedListingFormat;
using vennic::SavedListingLimits;

namespace {

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "savedlistingformat_fuzz: %s\n", what);
    std::abort();
}

// The writer turns a separator inside a one-field line into "?", so the path and count texts
// come back with that change.
QString mendedLine(QString text)
{
    text.replace(SavedListingFormat::Separator, QLatin1Char('?'));
    return text;
}

QByteArray written(const SavedListing& listing)
{
    QByteArray out;
    const std::array<QString, 1> pathLine{listing.pathText};
    const std::array<QString, 1> countLine{listing.countText};
    SavedListingFormat::appendLine(out, pathLine);
    SavedListingFormat::appendLine(out, countLine);
    std::array<QString, SavedListingFormat::FieldCount> fields;
    for (const PaneRow& row : listing.rows) {
        for (size_t c = 0; c < fields.size(); ++c)
            fields[c] = row.texts->cells[c];
        SavedListingFormat::appendLine(out, fields);
    }
    return out;
}

void checkRow(const PaneRow& row)
{
    if (!row.hasTexts())
        fail("a row read from a file carries no texts");
    if (!row.nativeName.empty())
        fail("a row read from a file carries a native name");
    for (size_t c = SavedListingFormat::FieldCount; c < row.texts->cells.size(); ++c)
        if (!row.texts->cells[c].isEmpty())
            fail("a row read from a file has a text past its seventh field");
    const bool folderType = row.texts->cells[vennic::ColType].startsWith(QLatin1Char(' '));
    if (row.isFolder() != folderType)
        fail("a row's folder flag disagrees with its type text");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Not copied, so that a read past the end of the input is caught.
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const SavedListingLimits limits;
    const ParsedListing parsed = SavedListingFormat::parse(bytes, limits);
    const qsizetype counted = SavedListingFormat::rowLineCount(bytes);
    if (!parsed.listing) {
        if (parsed.problem == ParsedListing::Problem::None)
            fail("no listing and no reason why");
        if (parsed.problem == ParsedListing::Problem::TooFewLines && counted != 0)
            fail("bytes with row lines were read as fewer than two lines");
        return 0;
    }
    const SavedListing& listing = *parsed.listing;
    if (parsed.problem != ParsedListing::Problem::None)
        fail("a listing came with a problem");
    if (qsizetype(listing.rows.size()) != counted)
        fail("the rows counted before decoding are not the rows read");
    for (const PaneRow& row : listing.rows)
        checkRow(row);
    if (counted > 0) {
        SavedListingLimits fewer = limits;
        fewer.maxRows = counted - 1;
        const ParsedListing refused = SavedListingFormat::parse(bytes, fewer);
        if (refused.listing || refused.problem != ParsedListing::Problem::TooManyRows)
            fail("a listing with more rows than the limit was read");
    }

    // Texts are measured in bytes, and no text decodes to more characters than it has bytes.
    qsizetype longest = std::max(listing.pathText.size(), listing.countText.size());
    qsizetype longestLine = listing.pathText.size() >= listing.countText.size() ? 1 : 2;
    for (size_t r = 0; r < listing.rows.size(); ++r)
        for (const QString& cell : listing.rows[r].texts->cells)
            if (cell.size() > longest) {
                longest = cell.size();
                longestLine = qsizetype(r) + 3;
            }
    if (longest > 0) {
        SavedListingLimits shorter = limits;
        shorter.maxTextBytes = longest - 1;
        const ParsedListing refused = SavedListingFormat::parse(bytes, shorter);
        if (refused.listing || refused.problem != ParsedListing::Problem::TextTooLong)
            fail("a listing with a text longer than the limit was read");
        if (refused.line < 1 || refused.line > longestLine)
            fail("a refusal of a long text names a line after the text");
    }

    const QByteArray out = written(listing);
    const std::optional<SavedListing> again = SavedListingFormat::parse(out, limits).listing;
    if (!again)
        fail("a written listing could not be read again");
    if (again->pathText != mendedLine(listing.pathText))
        fail("the path text changed on writing and reading again");
    if (again->countText != mendedLine(listing.countText))
        fail("the count text changed on writing and reading again");
    if (again->rows.size() != listing.rows.size())
        fail("the number of rows changed on writing and reading again");
    for (size_t r = 0; r < listing.rows.size(); ++r) {
        const PaneRow& before = listing.rows[r];
        const PaneRow& after = again->rows[r];
        if (after.texts->cells != before.texts->cells || after.flags != before.flags)
            fail("a row changed on writing and reading again");
    }
    return 0;
}
