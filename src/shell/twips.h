#pragma once

#include <cmath>

namespace vennic {

/// Twips per inch: lengths on forms and printed pages are measured in twips.
constexpr double TwipsPerInch = 1440.0;

/// A length in twips as whole device pixels at `dotsPerInch`. Every design position of the
/// forms goes through here, so the window keeps its proportions on any screen.
inline int twipsToPixels(double twips, double dotsPerInch)
{
    return int(std::lround(twips * dotsPerInch / TwipsPerInch));
}

/// A length in device pixels as twips at `dotsPerInch`.
inline double pixelsToTwips(double pixels, double dotsPerInch)
{
    return pixels * TwipsPerInch / dotsPerInch;
}

} // namespace vennic
