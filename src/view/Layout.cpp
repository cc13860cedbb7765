// The main window's layout on resize, done before the window changes: the answer view takes the
// change, the question box and the status line follow the width, the controls right of the question
// box follow the right edge and the bottom buttons the bottom right corner. The window cannot get
// smaller than the size that keeps the question box 32 pixels wide and the answer view 20 high.
#include "app/WhoisDlg.h"
#include "res/resource.h"

namespace {
const int kMinQuestionWidth = 32;
const int kMinViewHeight = 20;
// Together only when the window is minimised, maximised or restored.
const UINT kStateChange = 0x8000 | SWP_NOCOPYBITS;

// The top row right of the question box, from left to right, and the bottom buttons.
const int kTopRow[] = {IDC_SERVER, IDC_PREV, IDC_NEXT, IDOK, IDC_SAVE};
const int kBottomRow[] = {IDC_OPTIONS, IDC_ABOUT};

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

RECT ItemRect(HWND dialog, int id)
{
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    return rect;
}

// Moves a control to a rectangle given in screen coordinates.
void MoveItem(HWND dialog, int id, RECT rect)
{
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    MoveWindow(GetDlgItem(dialog, id), rect.left, rect.top, Width(rect), Height(rect), TRUE);
}

void ShiftItem(HWND dialog, int id, int dx, int dy)
{
    RECT rect = ItemRect(dialog, id);
    OffsetRect(&rect, dx, dy);
    MoveItem(dialog, id, rect);
}

// Shifts a row of controls; moving left starts with the leftmost, moving right with the rightmost,
// so that no control is ever placed over a neighbour that has not moved yet.
template <size_t N>
void ShiftRow(HWND dialog, const int (&row)[N], int dx, int dy)
{
    for (size_t i = 0; i < N; ++i) ShiftItem(dialog, row[dx < 0 ? i : N - 1 - i], dx, dy);
}

void LayOut(HWND dialog, WINDOWPOS* wp)
{
    if ((wp->flags & kStateChange) == kStateChange) return;
    RECT window;
    GetWindowRect(dialog, &window);
    if (wp->cx == Width(window) && wp->cy == Height(window)) return;
    if (wp->flags & (SWP_NOSIZE | SWP_NOMOVE)) return;

    RECT view = ItemRect(dialog, IDC_ANSWER);
    RECT question = ItemRect(dialog, IDC_QUESTION);
    RECT status = ItemRect(dialog, IDC_STATUS);
    int dx = wp->cx - Width(window);
    int dy = wp->cy - Height(window);
    // At the limit the window's left or top edge stays put, so a drag of that edge cannot move it.
    if (Width(question) + dx < kMinQuestionWidth) {
        dx = kMinQuestionWidth - Width(question);
        wp->cx = Width(window) + dx;
        wp->x = window.left;
    }
    if (Height(view) + dy < kMinViewHeight) {
        dy = kMinViewHeight - Height(view);
        wp->cy = Height(window) + dy;
        wp->y = window.top;
    }

    view.right += dx;
    view.bottom += dy;
    question.right += dx;
    OffsetRect(&status, 0, dy);
    status.right += dx;
    MoveItem(dialog, IDC_ANSWER, view);
    MoveItem(dialog, IDC_QUESTION, question);
    MoveItem(dialog, IDC_STATUS, status);
    ShiftRow(dialog, kTopRow, dx, 0);
    ShiftRow(dialog, kBottomRow, dx, dy);
}
}  // namespace

void CWhoisDlg::OnWindowPosChanging(WINDOWPOS* wp)
{
    LayOut(m_hWnd, wp);
    Default();
}
