// The layout arithmetic, in 64 bits and kept within an int, whatever size a window is asked to take.
#include "view/Anchors.h"

#include <algorithm>
#include <climits>

namespace {
int Clamped(long long value)
{
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// A change far beyond any int is as good as one just beyond it, and leaves room to add ints to.
long long Tamed(long long change)
{
    const long long far = 1LL << 40;
    return std::clamp(change, -far, far);
}
}  // namespace

Box FollowedBox(const Box& box, unsigned follow, long long dx, long long dy)
{
    dx = Tamed(dx);
    dy = Tamed(dy);
    Box moved;
    moved.left = Clamped(box.left + (follow & kMovesRight ? dx : 0));
    moved.right = Clamped(box.right + (follow & (kMovesRight | kWidens) ? dx : 0));
    moved.top = Clamped(box.top + (follow & kMovesDown ? dy : 0));
    moved.bottom = Clamped(box.bottom + (follow & (kMovesDown | kHeightens) ? dy : 0));
    moved.right = std::max(moved.right, moved.left);
    moved.bottom = std::max(moved.bottom, moved.top);
    return moved;
}

int HeldSize(long long asked, long long window, long long control, int least)
{
    return Clamped(std::max(Tamed(asked), Tamed(window) - Tamed(control) + least));
}
