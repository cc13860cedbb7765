// The layout arithmetic: how a control's box follows the client area, and the smallest size a
// window may take, for ordinary changes and for sizes no screen has.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "view/Anchors.h"

namespace {
std::string Text(const Box& b)
{
    return std::to_string(b.left) + "," + std::to_string(b.top) + "," + std::to_string(b.right) + "," +
           std::to_string(b.bottom);
}
}  // namespace

TEST(Anchors, ABoxFollowsTheClientAreaEdgeByEdge)
{
    const Box box{10, 20, 110, 70};
    struct Case {
        unsigned follow;
        long long dx, dy;
        const char* box;
    };
    const Case cases[] = {
        {kStays, 100, 50, "10,20,110,70"},
        {kMovesRight, 100, 50, "110,20,210,70"},
        {kMovesRight, -30, 0, "-20,20,80,70"},
        {kWidens, 100, 50, "10,20,210,70"},
        {kWidens, -60, 0, "10,20,50,70"},
        {kWidens | kHeightens, 100, 50, "10,20,210,120"},
        {kMovesDown | kWidens, 100, 50, "10,70,210,120"},
        {kMovesRight | kMovesDown, -5, -5, "5,15,105,65"},
        {kWidens | kHeightens, -500, -500, "10,20,10,20"},       // narrower than nothing: no size
        {kMovesRight | kHeightens, LLONG_MAX, LLONG_MIN, "2147483647,20,2147483647,20"},
        {kMovesRight | kMovesDown, 3000000000LL, -3000000000LL, "2147483647,-2147483648,2147483647,-2147483648"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.box, Text(FollowedBox(box, c.follow, c.dx, c.dy))) << c.follow << " by " << c.dx << "," << c.dy;
}

TEST(Anchors, AWindowGetsNoSmallerThanItsGrowingControlAllows)
{
    struct Case {
        long long asked, window, control;
        int least, held;
    };
    const Case cases[] = {
        {660, 560, 300, 32, 660},             // wider: as asked
        {300, 560, 300, 32, 300},             // narrower, the control keeps 40
        {291, 560, 300, 32, 292},             // the control would keep 31: it keeps 32
        {-5000, 560, 300, 32, 292},
        {LLONG_MIN, 560, 300, 20, 280},
        {LLONG_MAX, 560, 300, 20, INT_MAX},
        {100, INT_MAX, INT_MIN, 20, INT_MAX},  // sizes no window has stay within an int
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.held, HeldSize(c.asked, c.window, c.control, c.least)) << c.asked << " of " << c.window;
}
