// The stored font height as the view's character height, for the picker's heights and any number.
#include <gtest/gtest.h>

#include <climits>

#include "view/FontHeight.h"

TEST(FontHeight, AStoredHeightGivesTheCharacterHeightInTwipsWithinTheControlsRange)
{
    const double at96 = -96.0 / 72.0;  // logical units per point on a screen of 96 pixels an inch
    struct Case {
        int height;
        double scale;
        int twips;
    };
    const Case cases[] = {
        {-10, at96, 150},  {-13, at96, 195}, {13, at96, 195},   {-16, -120.0 / 72.0, 192},
        {0, at96, 200},    {-1, -1000.0, 200},                  // no height: 10 points
        {-2184, at96, 32760}, {-100000, at96, 32760},           // beyond 1638 points: the largest
        {INT_MIN, at96, 32760}, {INT_MAX, at96, 32760}, {-10, 0.0, 200},
    };
    for (const Case& c : cases) EXPECT_EQ(c.twips, FontHeightTwips(c.height, c.scale)) << c.height;
}
