// CRichEditCtrl: filling a text in batches of plain and marked runs, and the fresh-control
// replacement of a held text.
#include "framework/RichEditCtrl.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {
// Large enough for any answer a server can send in practice; the control's default is 32 KB.
const LPARAM kTextLimit = 0x7FFFFFF0;
// The marks of a text are found this many bytes at a time, then on to the end of the line. A long
// line without marks goes in whole: the control lays out a whole line again each time text is
// added to it.
const size_t kPieceSize = 4096;
// The control lays out a whole line again for each run put into it, at a cost that grows with the
// runs and the bytes the line holds: a line takes up to this many runs (a marked range is two, the
// text before it and itself), and marks only within its first bytes; the rest of the line goes in
// as one plain run. An answer's lines hold a few handles each; one full of them would otherwise
// keep the control busy for hours.
const size_t kRunsPerLine = 32;
const size_t kMarkedLineBytes = 1024;
// The control starts a new line at a carriage return too.
const char kLineEnds[] = "\r\n";
// A position past any text: selecting it puts the caret at the end of the text.
const long kPastTheEnd = 0x7FFFFFFF;
// How long one batch of runs may keep the window from its other messages. The first batch, run as
// the text is set, may take a little longer, so that a text of common size goes in at once.
const std::chrono::milliseconds kBatchTime{50};
const std::chrono::milliseconds kFirstBatchTime{80};
// The view is painted after the first batch, after the last, and between them at most this often:
// in a large text a paint takes as long as a batch.
const std::chrono::milliseconds kPaintInterval{250};
// The timer that brings the next batch. A timer message comes only when the window has no input
// or painting waiting, so the user's clicks and keys go first.
const UINT_PTR kFillTimer = 0x7E11;

size_t PieceEnd(const char* text, size_t length, size_t start)
{
    if (length - start <= kPieceSize) return length;
    const void* lineEnd = memchr(text + start + kPieceSize, '\n', length - start - kPieceSize);
    return lineEnd ? static_cast<size_t>(static_cast<const char*>(lineEnd) - text) + 1 : length;
}

DWORD CALLBACK WriteSink(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken)
{
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(count));
    *taken = count;
    return 0;
}
}  // namespace

void CRichEditCtrl::PreSubclassWindow()
{
    SendMessage(EM_EXLIMITTEXT, 0, kTextLimit);
    std::string text;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&text), 0, &WriteSink};
    SendMessage(EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
    const size_t length = text.size();
    ResetFill(std::move(text), length);
}

void CRichEditCtrl::PostNcDestroy()
{
    // The window is gone, and with it the text still to go in.
    ResetFill({}, 0);
    m_oldControl = nullptr;
    m_timerOn = false;
    m_whenFilled = nullptr;
}

LRESULT CRichEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_TIMER || wParam != kFillTimer) return CWnd::WindowProc(message, wParam, lParam);
    if (!IsFilling()) return 0;
    // A paint gets a timer message of its own: in a large text it takes about as long as a batch.
    if (std::chrono::steady_clock::now() - m_lastPaint >= kPaintInterval)
        Paint();
    else
        FillBatch();
    return 0;
}

void CRichEditCtrl::ResetFill(std::string text, size_t filled)
{
    m_text = std::move(text);
    m_filled = filled;
    m_pieceEnd = filled;
    m_lineStart = filled;
    m_lineRuns = 0;
    m_marks.clear();
    m_nextMark = 0;
}

void CRichEditCtrl::SetWindowText(const char* text)
{
    if (!m_markingChanged && m_text == text) return;
    m_markingChanged = false;
    if (GetWindowTextLengthA(m_hWnd) > 0) Recreate();
    ResetFill(text, 0);
    m_lastPaint = {};
    if (m_text.empty()) {
        EndFill();
        return;
    }
    // Unmarked runs take the default format: text added at the end would otherwise take the
    // format the control's end mark had when the control was made.
    m_plainFormat = CHARFORMATA{};
    m_plainFormat.cbSize = sizeof m_plainFormat;
    SendMessage(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&m_plainFormat));
    FillBatch();
}

void CRichEditCtrl::FillBatch()
{
    // What the user has done with the part on show (a selection, a scrolled view) survives the
    // batch. The control does not repaint until the batch is in.
    const CHARRANGE selection = GetSel();
    const LRESULT firstLine = SendMessage(EM_GETFIRSTVISIBLELINE);
    SendMessage(WM_SETREDRAW, FALSE);
    const auto deadline = std::chrono::steady_clock::now() + (m_filled ? kBatchTime : kFirstBatchTime);
    SetSel(kPastTheEnd, kPastTheEnd);
    do {
        InsertRun();
    } while (IsFilling() && std::chrono::steady_clock::now() < deadline);
    SetSel(selection.cpMin, selection.cpMax);
    if (const LRESULT lines = firstLine - SendMessage(EM_GETFIRSTVISIBLELINE)) SendMessage(EM_LINESCROLL, 0, lines);
    SendMessage(WM_SETREDRAW, TRUE);
    const bool first = m_lastPaint == std::chrono::steady_clock::time_point{};
    if (first || !IsFilling()) Paint();
    if (!IsFilling()) {
        EndFill();
        return;
    }
    // The next batch comes once the window has dealt with what came in meanwhile.
    if (!m_timerOn) m_timerOn = SetTimer(m_hWnd, kFillTimer, USER_TIMER_MINIMUM, nullptr) != 0;
    if (!m_timerOn) FillBatch();
}

void CRichEditCtrl::Paint()
{
    // The frame too: the scroll bars changed while the control did not draw.
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    m_lastPaint = std::chrono::steady_clock::now();
}

void CRichEditCtrl::EndFill()
{
    StopTimer(m_hWnd);
    // The control this one replaced goes now that the new text is all in.
    if (m_oldControl) ::PostMessageA(m_oldControl, WM_CLOSE, 0, 0);
    m_oldControl = nullptr;
    RunWhenFilled();
}

void CRichEditCtrl::StopTimer(HWND control)
{
    if (m_timerOn) KillTimer(control, kFillTimer);
    m_timerOn = false;
}

void CRichEditCtrl::InsertRun()
{
    if (m_filled == m_pieceEnd) {
        m_pieceEnd = PieceEnd(m_text.data(), m_text.size(), m_filled);
        m_marks = m_finder ? m_finder(m_text.data(), m_filled, m_pieceEnd) : std::vector<CHARRANGE>{};
        m_nextMark = 0;
    }
    // The next run goes on to the next mark, or is that mark; a mark that overlaps one already in
    // goes on from where that one ended.
    while (m_nextMark < m_marks.size() && static_cast<size_t>(m_marks[m_nextMark].cpMax) <= m_filled) ++m_nextMark;
    size_t end = m_pieceEnd;
    bool marked = false;
    if (m_lineRuns >= kRunsPerLine || m_filled - m_lineStart >= kMarkedLineBytes) {
        const size_t lineEnd = m_text.find_first_of(kLineEnds, m_filled);
        if (lineEnd < m_pieceEnd) end = lineEnd + 1;
    } else if (m_nextMark < m_marks.size()) {
        const CHARRANGE& mark = m_marks[m_nextMark];
        marked = static_cast<size_t>(mark.cpMin) <= m_filled;
        end = std::min(static_cast<size_t>(marked ? mark.cpMax : mark.cpMin), m_pieceEnd);
    }
    // Some rich edit versions read text put in that begins with "{\rtf" as rich text: the "{" of a
    // "{\" goes in on its own.
    if (m_text.compare(m_filled, 2, "{\\") == 0) end = m_filled + 1;
    // The run goes in at the caret, at the end, in the format set for it there.
    SetSelectionCharFormat(marked ? m_markFormat : m_plainFormat);
    const std::string run(m_text, m_filled, end - m_filled);
    SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(run.c_str()));
    ++m_lineRuns;
    const size_t lineEnd = run.find_last_of(kLineEnds);
    if (lineEnd != std::string::npos) {
        m_lineStart = m_filled + lineEnd + 1;
        m_lineRuns = 0;
    }
    m_filled = end;
}

void CRichEditCtrl::SetMarking(RangeFinder finder, const CHARFORMATA& format)
{
    m_finder = std::move(finder);
    m_markFormat = format;
    m_markFormat.cbSize = sizeof m_markFormat;
    m_markingChanged = true;
}

void CRichEditCtrl::WhenFilled(std::function<void()> done)
{
    m_whenFilled = std::move(done);
    if (!IsFilling()) RunWhenFilled();
}

void CRichEditCtrl::RunWhenFilled()
{
    if (!m_whenFilled) return;
    auto done = std::move(m_whenFilled);
    m_whenFilled = nullptr;
    done();
}

CString CRichEditCtrl::GetWindowText() const
{
    return CString(m_text);
}

void CRichEditCtrl::SetDefaultCharFormat(const CHARFORMATA& format)
{
    m_defaultFormat = format;
    SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&*m_defaultFormat));
}

void CRichEditCtrl::SetSelectionCharFormat(const CHARFORMATA& format)
{
    CHARFORMATA copy = format;
    SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&copy));
}

void CRichEditCtrl::SetBackgroundColor(COLORREF color)
{
    m_background = color;
    SendMessage(EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(color));
}

void CRichEditCtrl::SetEventMask(DWORD mask)
{
    m_eventMask = mask;
    SendMessage(EM_SETEVENTMASK, 0, static_cast<LPARAM>(mask));
}

void CRichEditCtrl::SetSel(long start, long end)
{
    CHARRANGE range{start, end};
    SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

CHARRANGE CRichEditCtrl::GetSel() const
{
    CHARRANGE range{0, 0};
    SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

CString CRichEditCtrl::GetSelText() const
{
    CHARRANGE range = GetSel();
    long count = range.cpMax > range.cpMin ? range.cpMax - range.cpMin : 0;
    // A line end may be handed out as two bytes for one position: room for twice the count.
    std::string text(static_cast<size_t>(count) * 2 + 1, '\0');
    LRESULT copied = SendMessage(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied > 0 ? std::min(static_cast<size_t>(copied), text.size() - 1) : 0);
    return CString(std::move(text));
}

void CRichEditCtrl::Recreate()
{
    HWND old = m_hWnd;
    StopTimer(old);
    HWND parent = GetParent(old);
    RECT place;
    GetWindowRect(old, &place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    HWND before = GetWindow(old, GW_HWNDPREV);
    bool focused = GetFocus() == old;
    LRESULT font = SendMessage(WM_GETFONT);
    char className[32] = {};
    GetClassNameA(old, className, sizeof className);

    HWND fresh = CreateWindowExA(static_cast<DWORD>(GetWindowLongA(old, GWL_EXSTYLE)), className, "",
                                 static_cast<DWORD>(GetWindowLongA(old, GWL_STYLE)), place.left, place.top,
                                 place.right - place.left, place.bottom - place.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(GetDlgCtrlID())),
                                 reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(old, GWLP_HINSTANCE)), nullptr);
    // Keep the tab order: the fresh control takes the old one's place in the z-order.
    SetWindowPos(fresh, before ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    UnsubclassWindow();
    // The old control goes once the new text is all in: freeing a large text takes long enough
    // to notice. Until then it is hidden and answers to no control ID.
    ::ShowWindow(old, SW_HIDE);
    SetWindowLongPtrA(old, GWLP_ID, 0);
    if (m_oldControl) ::PostMessageA(m_oldControl, WM_CLOSE, 0, 0);
    m_oldControl = old;
    SubclassWindow(fresh);
    SendMessage(WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    if (m_defaultFormat) SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&*m_defaultFormat));
    if (m_background) SendMessage(EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(*m_background));
    if (m_eventMask) SendMessage(EM_SETEVENTMASK, 0, static_cast<LPARAM>(*m_eventMask));
    if (focused) SetFocus(fresh);
}
