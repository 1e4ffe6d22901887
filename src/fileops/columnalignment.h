#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace vennic {

class PaneList;

/// The leading numeric part of a text as a number, read the way the column alignment reads its
/// box: blanks, tabs and line breaks are skipped wherever they stand; then an optional sign,
/// digits with an optional decimal point and an optional exponent ("E" or "D"), or "&H"/"&O"
/// followed by hexadecimal or octal digits. Reading stops at the first character that does not
/// fit; a text with no number in front gives 0.
double leadingNumber(const QString& text);

/// The nearest 16-bit integer, halves going to the even neighbour (2.5 gives 2, 3.5 gives 4).
/// Nothing for a value outside the 16-bit range.
std::optional<int16_t> roundToInt16(double value);

/// The column-alignment command: reads the column number from `numberText` and right-aligns
/// that column header (1 is the first column) of `list`. A number that names no column of the
/// list changes nothing. Returns the column index aligned.
std::optional<int> alignColumnRight(PaneList& list, const QString& numberText);

} // namespace vennic
