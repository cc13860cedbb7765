// The main window's layout: a table of the controls and how each follows the window. The answer
// view takes the change, the question box and the status line follow the width, the controls right
// of the question box follow the right edge and the bottom buttons the bottom right corner. The
// controls are placed for the size the window really gets (the system may hold it within the
// screen), all in one pass. The window cannot get smaller than the size that keeps the question
// box 32 pixels wide and the answer view 20 high.
#include "app/WhoisDlg.h"
#include "res/resource.h"

namespace {
const int kMinQuestionWidth = 32;
const int kMinViewHeight = 20;
// Together only when the window is minimised, maximised or restored.
const UINT kStateChange = 0x8000 | SWP_NOCOPYBITS;

struct Anchor {
    int id;
    unsigned follow;
};
const Anchor kAnchors[] = {
    {IDC_DATA, kStays},
    {IDC_QUESTION, kWidens},
    {IDC_SERVER, kMovesRight},
    {IDC_PREV, kMovesRight},
    {IDC_NEXT, kMovesRight},
    {IDOK, kMovesRight},
    {IDC_SAVE, kMovesRight},
    {IDC_ANSWER, kWidens | kHeightens},
    {IDC_STATUS, kMovesDown | kWidens},
    {IDC_OPTIONS, kMovesRight | kMovesDown},
    {IDC_ABOUT, kMovesRight | kMovesDown},
};

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

RECT ItemRect(HWND dialog, int id)
{
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    return rect;
}

Box ClientBox(HWND dialog, int id)
{
    RECT rect = ItemRect(dialog, id);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return Box{rect.left, rect.top, rect.right, rect.bottom};
}
}  // namespace

void CWhoisDlg::TakeLayout()
{
    RECT client;
    GetClientRect(&client);
    m_layout.width = client.right;
    m_layout.height = client.bottom;
    m_layout.boxes.clear();
    for (const Anchor& anchor : kAnchors) m_layout.boxes.push_back(ClientBox(m_hWnd, anchor.id));
}

void CWhoisDlg::OnSize(UINT type, int cx, int cy)
{
    if (type == SIZE_MINIMIZED || m_layout.boxes.empty()) return;
    HDWP moves = BeginDeferWindowPos(static_cast<int>(std::size(kAnchors)));
    for (size_t i = 0; i < std::size(kAnchors) && moves; ++i) {
        const Box box = FollowedBox(m_layout.boxes[i], kAnchors[i].follow, static_cast<long long>(cx) - m_layout.width,
                                    static_cast<long long>(cy) - m_layout.height);
        const Box now = ClientBox(m_hWnd, kAnchors[i].id);
        if (box.left == now.left && box.top == now.top && box.right == now.right && box.bottom == now.bottom) continue;
        // A control of a fixed size is only moved: the server combo's height is its dropped list's.
        const UINT keepSize = kAnchors[i].follow & (kWidens | kHeightens) ? 0 : SWP_NOSIZE;
        moves = DeferWindowPos(moves, GetDlgItem(kAnchors[i].id), nullptr, box.left, box.top, box.right - box.left,
                               box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE | keepSize);
    }
    if (moves) EndDeferWindowPos(moves);
}

void CWhoisDlg::OnWindowPosChanging(WINDOWPOS* wp)
{
    RECT window;
    GetWindowRect(m_hWnd, &window);
    const bool resized = !(wp->flags & SWP_NOSIZE) && (wp->cx != Width(window) || wp->cy != Height(window));
    if ((wp->flags & kStateChange) != kStateChange && resized) {
        // At the limit the window's left or top edge stays put, so a drag of that edge cannot move it.
        const int width = HeldSize(wp->cx, Width(window), Width(ItemRect(m_hWnd, IDC_QUESTION)), kMinQuestionWidth);
        if (width != wp->cx) {
            wp->cx = width;
            wp->x = window.left;
        }
        const int height = HeldSize(wp->cy, Height(window), Height(ItemRect(m_hWnd, IDC_ANSWER)), kMinViewHeight);
        if (height != wp->cy) {
            wp->cy = height;
            wp->y = window.top;
        }
    }
    Default();
}
