// The stored font height as the view's character height, in floating point so that no stored number
// overflows on its way.
#include "view/FontHeight.h"

#include <cmath>

int FontHeightTwips(int logicalHeight, double unitsPerPoint)
{
    if (unitsPerPoint == 0) return kFallbackTwips;
    const double twips = std::fabs(logicalHeight * 20.0 / unitsPerPoint);
    if (twips >= kMostTwips) return kMostTwips;
    const int whole = static_cast<int>(twips);
    return whole ? whole : kFallbackTwips;
}
