#pragma once

#include "output/printedlisting.h"

#include <chrono>

namespace vennic {

class Canvas;

/// The full print started from `PrinBtn`: the orientation (landscape when `landscape`, that is
/// `PO` latched), the header in the list's font, bold and two points larger, the column
/// captions and their rule, then every row as `printListRows` prints them, and the end of the
/// job.
void printFullPage(Canvas& canvas, const PrintedListing& listing, bool landscape);

/// The menu's "Print": the rows alone, each with its folder picture, texts placed at their
/// column fractions and a rule beneath, in whatever orientation, font and colour the canvas
/// has, then the end of the job. Every row prints, however many there are. No text runs into
/// the next: names and types are cut with "…" where the next text begins, while sizes, dates
/// and times print whole ("Created" split where its date ends), condensed where their columns
/// leave too little room, and moved left, at the type's cost, where even that is too wide.
/// Half an em always parts a size from the date after it; the date moves right for it where
/// the time leaves room.
void printListRows(Canvas& canvas, const PrintedListing& listing);

/// The small print: everything squeezed into the left half of the page in 6-point type, with
/// no pictures and a single rule under the captions, then the end of the job. Its rows keep
/// apart as the full print's do.
void printSmallPage(Canvas& canvas, const PrintedListing& listing, bool landscape);

/// The preview's drawing: the full print's header and rows without setting the orientation and
/// without ending a job, for a surface scaled to the printer's page.
void drawPreviewPage(Canvas& canvas, const PrintedListing& listing);

/// One of the layouts above drawn a few rows at a time, so that a long listing can show how
/// far it is and be stopped between two rows. The header is drawn with the first rows, and
/// the job of a print ends with the last; a job given up before its end leaves the canvas's
/// job open for its owner to end or abort. The listing's rows must not change meanwhile.
class ListingPagesJob {
public:
    enum class Layout {
        Full,    ///< `printFullPage`
        Rows,    ///< `printListRows`
        Small,   ///< `printSmallPage`
        Preview, ///< `drawPreviewPage`
    };

    /// `landscape` is read by the full and the small print only.
    ListingPagesJob(Canvas& canvas, PrintedListing listing, Layout layout, bool landscape);

    /// Draws rows, at least one, until `deadline` has passed or all are drawn; true when the
    /// whole layout is drawn.
    bool drawUntil(std::chrono::steady_clock::time_point deadline);

    bool done() const { return m_done; }
    int rowsDone() const { return m_rowsDone; }
    int rowCount() const;
    Layout layout() const { return m_layout; }
    /// The rows drawn, null when none.
    const PaneList* rows() const { return m_listing.rows; }

private:
    Canvas& m_canvas;
    PrintedListing m_listing;
    Layout m_layout;
    bool m_landscape;
    bool m_started = false;
    bool m_done = false;
    int m_rowsDone = 0;
    double m_width = 0; ///< the line's right end
};

} // namespace vennic
