// The main window's layout on resize, driven by the window calls that border drags make: every
// control's rectangle, each control moved once or not at all, the minimum size from each side, a
// size the screen cannot hold, and the changes that must leave the controls alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "app/WhoisDlg.h"
#include "res/resource.h"
#include "support/DialogDriver.h"

namespace {
// How a control follows the window: its left and right edges move by these multiples of the change
// in width, its top and bottom edges by these multiples of the change in height.
struct Follow {
    int id;
    int left, right, top, bottom;
};
const Follow kFollows[] = {
    {IDC_DATA, 0, 0, 0, 0},    {IDC_QUESTION, 0, 1, 0, 0}, {IDC_SERVER, 1, 1, 0, 0},  {IDC_PREV, 1, 1, 0, 0},
    {IDC_NEXT, 1, 1, 0, 0},    {IDOK, 1, 1, 0, 0},         {IDC_SAVE, 1, 1, 0, 0},    {IDC_ANSWER, 0, 1, 0, 1},
    {IDC_STATUS, 0, 1, 1, 1},  {IDC_OPTIONS, 1, 1, 1, 1},  {IDC_ABOUT, 1, 1, 1, 1},
};

// The controls of `dialog` that are moved, in order, while a recorder exists.
class MoveRecorder {
public:
    explicit MoveRecorder(HWND dialog)
        : m_hook(SetWindowsHookExA(WH_CALLWNDPROC, &Hook, nullptr, GetCurrentThreadId()))
    {
        s_dialog = dialog;
        s_moved.clear();
    }
    ~MoveRecorder() { UnhookWindowsHookEx(m_hook); }
    const std::vector<int>& Moved() const { return s_moved; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && call->message == WM_WINDOWPOSCHANGING &&
            GetAncestor(call->hwnd, GA_PARENT) == s_dialog)
            s_moved.push_back(GetDlgCtrlID(call->hwnd));
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK m_hook;
    static inline HWND s_dialog;
    static inline std::vector<int> s_moved;
};

RECT ClientRectOf(HWND dialog, int id)
{
    RECT rect;
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

void ExpectRect(const RECT& expected, const RECT& actual)
{
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
}

enum Outcome { kFollowed = 0, kMinWidth = 1, kMinHeight = 2, kStill = 4, kHeldByScreen = 8 };

TEST(Layout, BorderDragsMoveEveryControlAsItFollowsTheWindow)
{
    const UINT kDrag = SWP_NOZORDER | SWP_NOACTIVATE;
    struct Case {
        const char* name;
        // The window rectangle asked for, from the present one, the question box's width and the view's height.
        RECT (*request)(RECT window, int question, int view);
        UINT flags;
        int outcome;
    };
    const Case cases[] = {
        {"right border 100 wider", [](RECT w, int, int) { w.right += 100; return w; }, kDrag, kFollowed},
        {"bottom border 50 lower", [](RECT w, int, int) { w.bottom += 50; return w; }, kDrag, kFollowed},
        {"right border 60 narrower", [](RECT w, int, int) { w.right -= 60; return w; }, kDrag, kFollowed},
        {"top left corner out", [](RECT w, int, int) { w.left -= 40; w.top -= 30; return w; }, kDrag, kFollowed},
        {"bottom right corner wider and higher",
         [](RECT w, int, int) { w.right += 30; w.bottom -= 40; return w; }, kDrag, kFollowed},
        {"right border until the question box would be 31 wide",
         [](RECT w, int q, int) { w.right -= q - 31; return w; }, kDrag, kMinWidth},
        {"left border until the question box would be 5 wide",
         [](RECT w, int q, int) { w.left += q - 5; return w; }, kDrag, kMinWidth},
        {"bottom border until the view would be 19 high",
         [](RECT w, int, int v) { w.bottom -= v - 19; return w; }, kDrag, kMinHeight},
        {"top border until the view would be 3 high",
         [](RECT w, int, int v) { w.top += v - 3; return w; }, kDrag, kMinHeight},
        {"bottom right corner far in",
         [](RECT w, int q, int v) { w.right -= q; w.bottom -= v; return w; }, kDrag, kMinWidth | kMinHeight},
        {"window moved", [](RECT w, int, int) { OffsetRect(&w, 25, 15); return w; }, kDrag, kStill},
        {"window moved, size not given",
         [](RECT w, int, int) { return RECT{w.left + 10, w.top + 10, w.left + 10, w.top + 10}; },
         kDrag | SWP_NOSIZE, kStill},
        {"resized in place", [](RECT w, int, int) { w.right += 80; w.bottom += 20; return w; },
         kDrag | SWP_NOMOVE, kFollowed},
        {"far beyond the screen (a place stored on a larger one)",
         [](RECT w, int, int) { w.right = w.left + 5000; w.bottom = w.top + 4000; return w; }, kDrag, kHeldByScreen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto dlg = std::make_unique<CWhoisDlg>();
        ASSERT_TRUE(dlg->Create());
        const HWND dialog = dlg->m_hWnd;
        RECT before[std::size(kFollows)];
        for (size_t i = 0; i < std::size(kFollows); ++i) before[i] = ClientRectOf(dialog, kFollows[i].id);
        RECT dropped{}, window{};
        SendDlgItemMessageA(dialog, IDC_SERVER, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        GetWindowRect(dialog, &window);
        const int question = Width(ClientRectOf(dialog, IDC_QUESTION));
        const int view = Height(ClientRectOf(dialog, IDC_ANSWER));
        const RECT asked = c.request(window, question, view);

        MoveRecorder recorder(dialog);
        SetWindowPos(dialog, nullptr, asked.left, asked.top, Width(asked), Height(asked), c.flags);

        // What the window should have become, and how far the controls should have followed it.
        RECT expected = asked;
        if (c.flags & SWP_NOMOVE) OffsetRect(&expected, window.left - asked.left, window.top - asked.top);
        if (c.flags & SWP_NOSIZE)
            expected = RECT{asked.left, asked.top, asked.left + Width(window), asked.top + Height(window)};
        int dx = Width(expected) - Width(window);
        int dy = Height(expected) - Height(window);
        if (c.outcome & kMinWidth) {
            dx = 32 - question;
            expected.left = window.left;
            expected.right = window.left + Width(window) + dx;
        }
        if (c.outcome & kMinHeight) {
            dy = 20 - view;
            expected.top = window.top;
            expected.bottom = window.top + Height(window) + dy;
        }
        RECT now;
        GetWindowRect(dialog, &now);
        if (c.outcome & kHeldByScreen) {
            // The controls follow the size the window got, not the one asked for.
            EXPECT_LT(Width(now), Width(asked));
            EXPECT_LT(Height(now), Height(asked));
            dx = Width(now) - Width(window);
            dy = Height(now) - Height(window);
        } else {
            ExpectRect(expected, now);
        }
        if (c.outcome & kStill) dx = dy = 0;
        // Each control that has to move is moved once, all in one pass; the others not at all.
        std::vector<int> toMove;
        for (const Follow& f : kFollows)
            if (((f.left || f.right) && dx) || ((f.top || f.bottom) && dy)) toMove.push_back(f.id);
        std::vector<int> moved = recorder.Moved();
        std::sort(moved.begin(), moved.end());
        std::sort(toMove.begin(), toMove.end());
        EXPECT_EQ(toMove, moved);
        for (size_t i = 0; i < std::size(kFollows); ++i) {
            const Follow& f = kFollows[i];
            SCOPED_TRACE(f.id);
            const RECT& b = before[i];
            ExpectRect(RECT{b.left + f.left * dx, b.top + f.top * dy, b.right + f.right * dx, b.bottom + f.bottom * dy},
                       ClientRectOf(dialog, f.id));
        }
        RECT droppedNow{};
        SendDlgItemMessageA(dialog, IDC_SERVER, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&droppedNow));
        EXPECT_EQ(Height(dropped), Height(droppedNow)) << "the server list keeps its dropped height";
        dlg->DestroyWindow();
    }
}

TEST(Layout, MinimisingAndRestoringLeaveTheControlsAlone)
{
    CWhoisDlg dlg;
    ASSERT_TRUE(dlg.Create());
    std::vector<RECT> before;
    for (const Follow& f : kFollows) before.push_back(ClientRectOf(dlg.m_hWnd, f.id));
    MoveRecorder recorder(dlg.m_hWnd);
    ShowWindow(dlg.m_hWnd, SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return dlg.IsIconic() != FALSE; }, 2000));
    ShowWindow(dlg.m_hWnd, SW_RESTORE);
    ASSERT_TRUE(PumpUntil([&] { return !dlg.IsIconic(); }, 2000));
    EXPECT_TRUE(recorder.Moved().empty());
    for (size_t i = 0; i < before.size(); ++i) {
        SCOPED_TRACE(kFollows[i].id);
        ExpectRect(before[i], ClientRectOf(dlg.m_hWnd, kFollows[i].id));
    }
    dlg.DestroyWindow();
}
}  // namespace
