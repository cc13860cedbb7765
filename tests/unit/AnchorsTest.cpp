// The layout arithmetic: a control's box following the client area edge by edge, and the smallest
// size a window may take, for ordinary changes and for sizes no screen has.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "view/Anchors.h"

TEST(Anchors, ABoxFollowsTheClientAreaEdgeByEdgeWithinAnInt)
{
    const struct {
        unsigned follow;
        long long dx, dy;
        const char* box;  // of 10,20,110,70 after the change
    } cases[] = {
        {kStays, 100, 50, "10,20,110,70"},           {kMovesRight, -30, 50, "-20,20,80,70"},
        {kWidens, 100, 50, "10,20,210,70"},          {kWidens | kHeightens, 100, 50, "10,20,210,120"},
        {kMovesDown | kWidens, -60, 50, "10,70,50,120"}, {kMovesRight | kMovesDown, -5, -5, "5,15,105,65"},
        {kWidens | kHeightens, -500, -500, "10,20,10,20"},  // narrower than nothing: no size
        {kMovesRight | kHeightens, LLONG_MAX, LLONG_MIN, "2147483647,20,2147483647,20"},
        {kMovesRight | kMovesDown, 3000000000LL, -3000000000LL, "2147483647,-2147483648,2147483647,-2147483648"},
    };
    for (const auto& c : cases) {
        const Box b = FollowedBox(Box{10, 20, 110, 70}, c.follow, c.dx, c.dy);
        EXPECT_EQ(c.box, std::to_string(b.left) + "," + std::to_string(b.top) + "," + std::to_string(b.right) + "," +
                             std::to_string(b.bottom))
            << c.follow << " by " << c.dx << "," << c.dy;
    }
}

TEST(Anchors, AWindowGetsNoSmallerThanItsGrowingControlAllows)
{
    const struct {
        long long asked, window, control;
        int least, held;
    } cases[] = {
        {660, 560, 300, 32, 660},  {300, 560, 300, 32, 300},        {291, 560, 300, 32, 292},
        {-5000, 560, 300, 32, 292}, {LLONG_MIN, 560, 300, 20, 280}, {LLONG_MAX, 560, 300, 20, INT_MAX},
        {100, INT_MAX, INT_MIN, 20, INT_MAX},  // sizes no window has stay within an int
    };
    for (const auto& c : cases) EXPECT_EQ(c.held, HeldSize(c.asked, c.window, c.control, c.least)) << c.asked;
}
