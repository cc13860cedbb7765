// How the controls of a resizable window follow its client area: each keeps its distance to the
// left and top edges, or to the right and bottom ones, edge by edge. The arithmetic of the main
// window's layout, kept portable.
#pragma once

#include <vector>

// A rectangle in client coordinates.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Which edges of a control move with the client area's right and bottom edges.
enum Follow : unsigned {
    kStays = 0,
    kMovesRight = 1,  // its left and right edges
    kWidens = 2,      // its right edge
    kMovesDown = 4,   // its top and bottom edges
    kHeightens = 8,   // its bottom edge
};

// The controls' boxes at one size of the client area, from which every other size is laid out.
struct BaseLayout {
    int width = 0;
    int height = 0;
    std::vector<Box> boxes;
};

// The box of a control in a client area `dx` wider and `dy` higher than when `box` was taken. Sums
// stop at the ends of an int, and a control that would get narrower or lower than nothing keeps no
// width or no height.
Box FollowedBox(const Box& box, unsigned follow, long long dx, long long dy);

// The size a window asked to take the size `asked` may take: at least the size at which a control
// that grows with it keeps `least` pixels, given the window's and the control's present sizes.
int HeldSize(long long asked, long long window, long long control, int least);
