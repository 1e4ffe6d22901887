#include "output/listingpages.h"

#include "listing/listingtexts.h"
#include "listing/panelist.h"
#include "output/canvas.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

namespace vennic {

namespace {

/// The twips added below a full-print text line before its rule, and again after the rule.
constexpr double RuleGap = 50;

/// The folder picture sits this far above the top of its row's text line.
constexpr double PictureRise = 25;

/// A length read "as a whole number", as the page width and the font sizes are.
double whole(double value)
{
    return double(std::lround(value));
}

/// The "Created" text split where its date ends: the date keeps the blank after it, and a text
/// without a date is all time.
struct CreatedParts {
    QString date;
    QString time;
};

CreatedParts splitCreated(const PaneList& rows, int row)
{
    const QString created = rows.cellText(row, ColCreated);
    qsizetype length = -1;
    // A listed row knows its moment, so its date is known whatever blanks the locale writes
    // in dates; a row that carries only texts has its date read by the locale's format, and
    // failing that ends it at the first blank.
    const PaneRow& listed = rows.row(row);
    if (!listed.hasTexts())
        if (const auto* texts = dynamic_cast<const ListingTexts*>(rows.textMaker().get())) {
            const QString date = texts->createdDate(listed);
            if (!date.isEmpty() && created.startsWith(date))
                length = date.size();
        }
    if (length < 0)
        length = dateLength(created);
    if (length < 0) {
        length = created.indexOf(QLatin1Char(' '));
        if (length < 0)
            return {QString(), created};
    }
    if (length < created.size() && created[length] == QLatin1Char(' '))
        ++length;
    return {created.left(length), created.mid(length)};
}

bool isFolderType(const QString& type)
{
    return type.compare(QLatin1String(" File Folder"), Qt::CaseInsensitive) == 0;
}

/// The column fractions of one layout; the full print measures them on the page width W, the
/// small print on half of it.
struct Columns {
    double type, size, date, time, attributes; ///< caption positions
    double sizeEnd, dateEnd, timeEnd;          ///< right edges of the right-aligned texts
};

Columns columnsOf(double width, double attributesFraction)
{
    return {0.3 * width,  0.4 * width,  0.5 * width, 0.6 * width, attributesFraction * width,
            0.49 * width, 0.58 * width, 0.68 * width};
}

/// The captions line: the name caption at the left edge, the others at their columns, the
/// attributes caption ending the line.
void printCaptions(Canvas& canvas, const QString& nameCaption, const Columns& columns)
{
    canvas.PrintOn(nameCaption);
    const std::pair<double, const char*> captions[] = {{columns.type, "Type:"},
                                                       {columns.size, "Size:"},
                                                       {columns.date, "Date:"},
                                                       {columns.time, "Time:"}};
    for (const auto& [x, caption] : captions) {
        canvas.setCurrentX(x);
        canvas.PrintOn(QLatin1String(caption));
    }
    canvas.setCurrentX(columns.attributes);
    canvas.Print(QStringLiteral("Attributes:"));
}

/// The gap left between the texts of neighbouring columns: a quarter of an em.
double columnGap(const Canvas& canvas)
{
    return canvas.FontSize() * 5;
}

/// The least room between a size's right end and the date after it: half an em, so that the
/// digits are never read as part of the date.
double sizeGap(const Canvas& canvas)
{
    return canvas.FontSize() * 10;
}

/// The width of a text in the canvas's font, in its condensed face when `condensed`.
double widthIn(Canvas& canvas, const QString& text, bool condensed)
{
    canvas.setFontCondensed(condensed);
    const double width = canvas.TextWidth(text);
    canvas.setFontCondensed(false);
    return width;
}

/// The text at most `room` wide: cut, with "…" at its end, where it would run further; empty
/// when not even the "…" fits.
QString cutToRoom(Canvas& canvas, const QString& text, double room)
{
    if (canvas.TextWidth(text) <= room)
        return text;
    const auto cutAt = [&](qsizetype length) {
        QString start = text.left(length);
        if (!start.isEmpty() && start.back().isHighSurrogate())
            start.chop(1);
        while (!start.isEmpty() && start.back() == QLatin1Char(' '))
            start.chop(1);
        return start + QChar(0x2026);
    };
    qsizetype fits = -1; // the longest start that fits with the "…"
    qsizetype low = 0;
    qsizetype high = text.size() - 1;
    while (low <= high) {
        const qsizetype middle = (low + high) / 2;
        if (canvas.TextWidth(cutAt(middle)) <= room) {
            fits = middle;
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return fits < 0 ? QString() : cutAt(fits);
}

/// One text of a row with where it starts and the face it prints in.
struct PlacedText {
    QString text;
    double x = 0;
    bool condensed = false;
};

/// A right-aligned text (size, date, time) placed to end at `rightEdge`, or further left when
/// the text after it, starting at `nextStart`, leaves it less room. A text that ends in a blank
/// (the date) keeps no other gap before the next one. Where `room`, the room its column
/// leaves, is too little, a text that `mayCondense` prints in the condensed face.
PlacedText placeRight(Canvas& canvas, const QString& text, double rightEdge, double room,
                      double nextStart, bool mayCondense)
{
    PlacedText placed{text, rightEdge};
    if (text.isEmpty())
        return placed;
    placed.condensed = mayCondense && canvas.TextWidth(text) > room;
    const double width = widthIn(canvas, text, placed.condensed);
    const double gap = text.endsWith(QLatin1Char(' ')) ? 0 : columnGap(canvas);
    placed.x = std::min(rightEdge, nextStart - gap) - width;
    return placed;
}

/// The date placed to end at `rightEdge`, or left of it where the text after it, starting at
/// `nextStart`, leaves it less room. Where it would start before `earliest` it moves right, as
/// far as the next text allows; where even that is too little it prints condensed.
PlacedText placeDate(Canvas& canvas, const QString& text, double rightEdge, double earliest,
                     double nextStart)
{
    PlacedText placed{text, rightEdge};
    if (text.isEmpty())
        return placed;
    // A date ends in a blank and keeps no other gap before the next text.
    const double limit = nextStart - (text.endsWith(QLatin1Char(' ')) ? 0 : columnGap(canvas));
    const auto startIn = [&](bool condensed) {
        const double width = widthIn(canvas, text, condensed);
        return std::min(limit, std::max(rightEdge, earliest + width)) - width;
    };
    placed.x = startIn(false);
    if (placed.x < earliest) {
        placed.condensed = true;
        placed.x = startIn(true);
    }
    return placed;
}

/// Places a row's texts. Sizes, dates and times are never cut: they end at their columns'
/// right edges where they fit, and where a date or time does not it prints condensed, and
/// then moves left with the texts before it. Names and types are cut where the next text
/// begins. `nameStart` is where names begin and `lineEnd` the right end of the line.
std::vector<PlacedText> placeRow(Canvas& canvas, const PaneList& rows, int row,
                                 const Columns& columns, double nameStart, double lineEnd)
{
    const double gap = columnGap(canvas);
    const PlacedText attributes{rows.cellText(row, ColAttributes), columns.attributes};
    const double attributesStart = attributes.text.isEmpty() ? lineEnd : attributes.x;

    const CreatedParts created = splitCreated(rows, row);
    const PlacedText time = placeRight(canvas, created.time, columns.timeEnd,
                                       columns.timeEnd - columns.dateEnd, attributesStart, true);
    const double timeStart = created.time.isEmpty() ? attributesStart : time.x;
    // Sizes come padded with blanks on the left; only the digits take room.
    const QString sizeText = rows.cellText(row, ColBytes).trimmed();
    const PlacedText date =
        placeDate(canvas, created.date, columns.dateEnd,
                  columns.sizeEnd + (sizeText.isEmpty() ? gap : sizeGap(canvas)), timeStart);
    const double dateStart = created.date.trimmed().isEmpty() ? timeStart : date.x;
    PlacedText size{sizeText, columns.sizeEnd};
    if (!sizeText.isEmpty())
        size.x =
            std::min(columns.sizeEnd, dateStart - sizeGap(canvas)) - canvas.TextWidth(sizeText);
    const double sizeStart = sizeText.isEmpty() ? dateStart : size.x;

    const QString typeText = rows.cellText(row, ColType);
    const PlacedText type{cutToRoom(canvas, typeText, sizeStart - gap - columns.type),
                          columns.type};
    // A name stops at the type's column even where the type had no room left, so that it
    // is never taken for the type.
    const double typeStart = typeText.trimmed().isEmpty() ? sizeStart : type.x;
    const PlacedText name{cutToRoom(canvas, rows.cellText(row, ColName),
                                    std::min(typeStart, sizeStart) - gap - nameStart),
                          nameStart};
    return {name, type, size, date, time, attributes};
}

/// A row's texts, each at its place; the attributes end the line.
void printRow(Canvas& canvas, const PaneList& rows, int row, const Columns& columns,
              double nameStart, double lineEnd)
{
    const std::vector<PlacedText> texts = placeRow(canvas, rows, row, columns, nameStart, lineEnd);
    for (size_t i = 0; i < texts.size(); ++i) {
        canvas.setCurrentX(texts[i].x);
        canvas.setFontCondensed(texts[i].condensed);
        if (i + 1 < texts.size())
            canvas.PrintOn(texts[i].text);
        else
            canvas.Print(texts[i].text);
        canvas.setFontCondensed(false);
    }
}

/// The two header lines every layout starts with.
void printFolderLines(Canvas& canvas, const PrintedListing& listing)
{
    canvas.Print(QStringLiteral("Folder: ") + listing.path);
    canvas.Print(listing.count);
}

/// The full print's header: the folder lines and captions in the bold header font, the rule
/// across the page 50 twips below them, then the plain row font 50 twips further down.
void printFullHeader(Canvas& canvas, const PrintedListing& listing)
{
    const double width = whole(canvas.ScaleWidth());
    const double rowSize = whole(listing.fontSize);
    canvas.setFontName(listing.fontName);
    canvas.setFontBold(true);
    canvas.setFontSize(rowSize + 2);
    printFolderLines(canvas, listing);
    printCaptions(canvas, QStringLiteral("File Name:"), columnsOf(width, 0.8));
    canvas.setCurrentY(canvas.CurrentY() + RuleGap);
    canvas.Line(canvas.CurrentX(), canvas.CurrentY(), width, canvas.CurrentY());
    canvas.setCurrentX(0);
    canvas.setFontSize(rowSize);
    canvas.setFontBold(false);
    canvas.setCurrentY(canvas.CurrentY() + RuleGap);
}

/// One row of the full print: its folder picture, its texts, and the rule beneath it.
void drawFullRow(Canvas& canvas, const PrintedListing& listing, int row, const Columns& columns,
                 double width)
{
    const PaneList& rows = *listing.rows;
    if (isFolderType(rows.cellText(row, ColType)))
        canvas.PaintPicture(listing.folderPicture, canvas.CurrentX(),
                            canvas.CurrentY() - PictureRise, listing.pictureWidth,
                            listing.pictureHeight);
    canvas.setForeColor(rows.row(row).foreColor);
    printRow(canvas, rows, row, columns, 1.5 * listing.pictureWidth, width);
    canvas.setCurrentY(canvas.CurrentY() + RuleGap);
    canvas.Line(canvas.CurrentX(), canvas.CurrentY(), width, canvas.CurrentY());
    canvas.setCurrentY(canvas.CurrentY() + RuleGap);
    canvas.setCurrentX(0);
}

/// The small print's header: the folder lines and captions in bold 6-point type over a rule
/// across the left half of the page.
void printSmallHeader(Canvas& canvas, const PrintedListing& listing, const Columns& columns,
                      double half)
{
    canvas.setFontName(listing.fontName);
    canvas.setFontBold(true);
    canvas.setFontSize(6);
    printFolderLines(canvas, listing);
    printCaptions(canvas, QStringLiteral("Name:"), columns);
    canvas.Line(canvas.CurrentX(), canvas.CurrentY(), half, canvas.CurrentY());
    canvas.setCurrentX(0);
    canvas.setFontBold(false);
}

void setOrientation(Canvas& canvas, bool landscape)
{
    canvas.setOrientation(landscape ? Canvas::Landscape : Canvas::Portrait);
}

/// Draws a whole job at once.
void drawAll(Canvas& canvas, const PrintedListing& listing, ListingPagesJob::Layout layout,
             bool landscape)
{
    ListingPagesJob job(canvas, listing, layout, landscape);
    job.drawUntil(std::chrono::steady_clock::time_point::max());
}

} // namespace

ListingPagesJob::ListingPagesJob(Canvas& canvas, PrintedListing listing, Layout layout,
                                 bool landscape)
    : m_canvas(canvas), m_listing(std::move(listing)), m_layout(layout), m_landscape(landscape)
{
}

int ListingPagesJob::rowCount() const
{
    return m_listing.rows ? m_listing.rows->rowCount() : 0;
}

bool ListingPagesJob::drawUntil(std::chrono::steady_clock::time_point deadline)
{
    if (m_done)
        return true;
    const bool small = m_layout == Layout::Small;
    if (!m_started) {
        m_started = true;
        if (m_layout == Layout::Full || small)
            setOrientation(m_canvas, m_landscape);
        if (small) {
            m_width = whole(whole(m_canvas.ScaleWidth()) / 2);
            printSmallHeader(m_canvas, m_listing, columnsOf(m_width, 0.7), m_width);
        } else {
            if (m_layout != Layout::Rows)
                printFullHeader(m_canvas, m_listing);
            m_width = whole(m_canvas.ScaleWidth());
        }
    }
    const Columns columns = columnsOf(m_width, small ? 0.7 : 0.8);
    // At least one row is drawn on every call, so that every call moves the job on.
    for (const int rows = rowCount(); m_rowsDone < rows;) {
        if (small) {
            m_canvas.setForeColor(m_listing.rows->row(m_rowsDone).foreColor);
            printRow(m_canvas, *m_listing.rows, m_rowsDone, columns, 0, m_width);
            m_canvas.setCurrentX(0);
        } else {
            drawFullRow(m_canvas, m_listing, m_rowsDone, columns, m_width);
        }
        ++m_rowsDone;
        if (m_rowsDone < rows && std::chrono::steady_clock::now() >= deadline)
            return false;
    }
    if (m_layout != Layout::Preview)
        m_canvas.EndDoc();
    m_done = true;
    return true;
}

void printFullPage(Canvas& canvas, const PrintedListing& listing, bool landscape)
{
    drawAll(canvas, listing, ListingPagesJob::Layout::Full, landscape);
}

void printListRows(Canvas& canvas, const PrintedListing& listing)
{
    drawAll(canvas, listing, ListingPagesJob::Layout::Rows, false);
}

void printSmallPage(Canvas& canvas, const PrintedListing& listing, bool landscape)
{
    drawAll(canvas, listing, ListingPagesJob::Layout::Small, landscape);
}

void drawPreviewPage(Canvas& canvas, const PrintedListing& listing)
{
    drawAll(canvas, listing, ListingPagesJob::Layout::Preview, false);
}

} // namespace vennic
