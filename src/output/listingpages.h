#pragma once

#include "output/printedlisting.h"

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
void printListRows(Canvas& canvas, const PrintedListing& listing);

/// The small print: everything squeezed into the left half of the page in 6-point type, with
/// no pictures and a single rule under the captions, then the end of the job. Its rows keep
/// apart as the full print's do.
void printSmallPage(Canvas& canvas, const PrintedListing& listing, bool landscape);

/// The preview's drawing: the full print's header and rows without setting the orientation and
/// without ending a job, for a surface scaled to the printer's page.
void drawPreviewPage(Canvas& canvas, const PrintedListing& listing);

} // namespace vennic
