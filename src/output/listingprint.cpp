#include "output/listingprint.h"

#include "output/canvas.h"
#include "platform/panelist.h"

#include <cmath>

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

/// The "Created" text split at its first blank: the date keeps the blank at its end, and a
/// text without a blank is all time.
struct CreatedParts {
    QString date;
    QString time;
};

CreatedParts splitCreated(const QString& created)
{
    const qsizetype blank = created.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return {QString(), created};
    return {created.left(blank + 1), created.mid(blank + 1)};
}

/// Prints a text so that it ends at `rightEdge`, measured in the canvas's present font.
void printRightAligned(Canvas& canvas, double rightEdge, const QString& text)
{
    canvas.setCurrentX(rightEdge - canvas.TextWidth(text));
    canvas.PrintOn(text);
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

/// A row's cells from the type onward, each at its column; the attributes end the line.
void printRowCells(Canvas& canvas, const PaneList& rows, int row, const Columns& columns)
{
    canvas.setCurrentX(columns.type);
    canvas.PrintOn(rows.cellText(row, ColType));
    printRightAligned(canvas, columns.sizeEnd, rows.cellText(row, ColBytes));
    const CreatedParts created = splitCreated(rows.cellText(row, ColCreated));
    printRightAligned(canvas, columns.dateEnd, created.date);
    printRightAligned(canvas, columns.timeEnd, created.time);
    canvas.setCurrentX(columns.attributes);
    canvas.Print(rows.cellText(row, ColAttributes));
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

/// The full print's rows, without ending the job.
void drawFullRows(Canvas& canvas, const PrintedListing& listing)
{
    if (!listing.rows)
        return;
    const PaneList& rows = *listing.rows;
    const Columns columns = columnsOf(whole(canvas.ScaleWidth()), 0.8);
    const double nameStart = 1.5 * listing.pictureWidth;
    for (int row = 0; row < rows.rowCount(); ++row) {
        if (isFolderType(rows.cellText(row, ColType)))
            canvas.PaintPicture(listing.folderPicture, canvas.CurrentX(),
                                canvas.CurrentY() - PictureRise, listing.pictureWidth,
                                listing.pictureHeight);
        canvas.setForeColor(rows.row(row).foreColor);
        canvas.setCurrentX(nameStart);
        canvas.PrintOn(rows.cellText(row, ColName));
        printRowCells(canvas, rows, row, columns);
        canvas.setCurrentY(canvas.CurrentY() + RuleGap);
        canvas.Line(canvas.CurrentX(), canvas.CurrentY(), whole(canvas.ScaleWidth()),
                    canvas.CurrentY());
        canvas.setCurrentY(canvas.CurrentY() + RuleGap);
        canvas.setCurrentX(0);
    }
}

void setOrientation(Canvas& canvas, bool landscape)
{
    canvas.setOrientation(landscape ? Canvas::Landscape : Canvas::Portrait);
}

} // namespace

void printFullPage(Canvas& canvas, const PrintedListing& listing, bool landscape)
{
    setOrientation(canvas, landscape);
    printFullHeader(canvas, listing);
    printListRows(canvas, listing);
}

void printListRows(Canvas& canvas, const PrintedListing& listing)
{
    drawFullRows(canvas, listing);
    canvas.EndDoc();
}

void printSmallPage(Canvas& canvas, const PrintedListing& listing, bool landscape)
{
    setOrientation(canvas, landscape);
    const double half = whole(whole(canvas.ScaleWidth()) / 2);
    const Columns columns = columnsOf(half, 0.7);
    canvas.setFontName(listing.fontName);
    canvas.setFontBold(true);
    canvas.setFontSize(6);
    printFolderLines(canvas, listing);
    printCaptions(canvas, QStringLiteral("Name:"), columns);
    canvas.Line(canvas.CurrentX(), canvas.CurrentY(), half, canvas.CurrentY());
    canvas.setCurrentX(0);
    canvas.setFontBold(false);
    if (listing.rows) {
        const PaneList& rows = *listing.rows;
        for (int row = 0; row < rows.rowCount(); ++row) {
            canvas.setForeColor(rows.row(row).foreColor);
            canvas.PrintOn(rows.cellText(row, ColName));
            printRowCells(canvas, rows, row, columns);
            canvas.setCurrentX(0);
        }
    }
    canvas.EndDoc();
}

void drawPreviewPage(Canvas& canvas, const PrintedListing& listing)
{
    printFullHeader(canvas, listing);
    drawFullRows(canvas, listing);
}

} // namespace vennic
