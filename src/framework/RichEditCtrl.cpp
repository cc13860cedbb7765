// CRichEditCtrl: filling a content in time slices, copying what a selection stands for, and the
// fresh-control replacement of a held text.
#include "framework/RichEditCtrl.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {
// Large enough for any content; the control's default is 32 KB.
const LPARAM kTextLimit = 0x7FFFFFF0;
// A position past any text: selecting it puts the caret at the end of the text.
const long kPastTheEnd = 0x7FFFFFFF;
// How long one batch of runs may keep the window from its other messages; the first batch runs as
// the content is given, so a text of common size goes in at once.
const std::chrono::milliseconds kBatchTime{30};
// The control is painted after the first batch, after the last, and between them at most this
// often: in a large text a paint takes about as long as a batch. A paint comes as a message of its
// own, before the next batch.
const std::chrono::milliseconds kPaintInterval{250};
// The timer that brings the next batch. A timer message comes only when the window has no input
// or painting waiting, so the user's clicks and keys go first.
const UINT_PTR kFillTimer = 0x7E11;

bool IsCopyKey(WPARAM key)
{
    return (key == 'C' || key == VK_INSERT) && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) >= 0 &&
           GetKeyState(VK_MENU) >= 0;
}
}  // namespace

void CRichEditCtrl::PreSubclassWindow()
{
    SendMessage(EM_EXLIMITTEXT, 0, kTextLimit);
}

void CRichEditCtrl::PostNcDestroy()
{
    // The window is gone, and with it the content still to go in.
    m_content.reset();
    m_filling = false;
    m_oldControl = nullptr;
    m_timerOn = false;
}

LRESULT CRichEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam != kFillTimer) break;
        if (m_filling) FillBatch();
        return 0;
    case WM_COPY:
        if (!m_content) break;
        CopySelection();
        return 0;
    case WM_KEYDOWN:
        if (!m_content || !IsCopyKey(wParam)) break;
        CopySelection();
        return 0;
    case WM_DESTROY:
        RemovePropA(m_hWnd, kFillingProperty);
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

bool CRichEditCtrl::Fill(std::unique_ptr<Content> content, const CHARFORMATA& markFormat)
{
    if (GetWindowTextLengthA(m_hWnd) > 0 && !Recreate()) return false;
    StopTimer(m_hWnd);
    m_content = std::move(content);
    m_filling = true;
    SetPropA(m_hWnd, kFillingProperty, reinterpret_cast<HANDLE>(1));
    m_lastPaint = {};
    // Unmarked runs take the default format: text added at the end would otherwise take the
    // format the control's end mark had when the control was made.
    m_plainFormat = CHARFORMATA{};
    m_plainFormat.cbSize = sizeof m_plainFormat;
    SendMessage(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&m_plainFormat));
    m_markFormat = markFormat;
    m_markFormat.cbSize = sizeof m_markFormat;
    FillBatch();
    return true;
}

void CRichEditCtrl::FillBatch()
{
    // What the user has done with the part on show (a selection, a scrolled view) survives the
    // batch. The control does not repaint until the batch is in.
    const CHARRANGE selection = GetSel();
    const LRESULT firstLine = SendMessage(EM_GETFIRSTVISIBLELINE);
    SendMessage(WM_SETREDRAW, FALSE);
    const auto deadline = std::chrono::steady_clock::now() + kBatchTime;
    SetSel(kPastTheEnd, kPastTheEnd);
    Content::Run run;
    do {
        m_filling = m_content->NextRun(run);
        if (m_filling) InsertRun(run);
    } while (m_filling && std::chrono::steady_clock::now() < deadline);
    SetSel(selection.cpMin, selection.cpMax);
    if (const LRESULT lines = firstLine - SendMessage(EM_GETFIRSTVISIBLELINE)) SendMessage(EM_LINESCROLL, 0, lines);
    SendMessage(WM_SETREDRAW, TRUE);
    const auto now = std::chrono::steady_clock::now();
    if (!m_filling || now - m_lastPaint >= kPaintInterval) {
        // The frame too: the scroll bars changed while the control did not draw.
        RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
        m_lastPaint = now;
    }
    if (!m_filling) {
        EndFill();
        return;
    }
    // The next batch comes once the window has dealt with what came in meanwhile.
    if (!m_timerOn) m_timerOn = SetTimer(m_hWnd, kFillTimer, USER_TIMER_MINIMUM, nullptr) != 0;
    if (!m_timerOn) FillBatch();
}

void CRichEditCtrl::EndFill()
{
    StopTimer(m_hWnd);
    RemovePropA(m_hWnd, kFillingProperty);
    // The control this one replaced goes now that the new content is all in.
    if (m_oldControl) ::PostMessageA(m_oldControl, WM_CLOSE, 0, 0);
    m_oldControl = nullptr;
}

void CRichEditCtrl::StopTimer(HWND control)
{
    if (m_timerOn) KillTimer(control, kFillTimer);
    m_timerOn = false;
}

void CRichEditCtrl::InsertRun(const Content::Run& run)
{
    // The run goes in at the caret, at the end, in the format set for it there: a marked run in
    // the mark's format over the plain one, since what the mark leaves unset would otherwise come
    // from the control's end mark. Some rich edit versions read text put in that begins with
    // "{\rtf" as rich text: the "{" of a "{\" goes in on its own.
    SetSelectionCharFormat(m_plainFormat);
    if (run.marked) SetSelectionCharFormat(m_markFormat);
    const char* text = run.text.c_str();
    if (run.text.compare(0, 2, "{\\") == 0) {
        SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("{"));
        ++text;
    }
    SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
}

void CRichEditCtrl::CopySelection()
{
    const CHARRANGE selection = GetSel();
    if (selection.cpMax <= selection.cpMin) return;
    const std::string text = m_content->TextFor(selection.cpMin, selection.cpMax);
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!data) return;
    if (void* bytes = GlobalLock(data)) {
        memcpy(bytes, text.c_str(), text.size() + 1);
        GlobalUnlock(data);
    }
    if (OpenClipboard(m_hWnd)) {
        EmptyClipboard();
        if (SetClipboardData(CF_TEXT, data)) data = nullptr;
        CloseClipboard();
    }
    if (data) GlobalFree(data);
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

bool CRichEditCtrl::Recreate()
{
    HWND old = m_hWnd;
    HWND parent = GetParent(old);
    RECT place;
    GetWindowRect(old, &place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    char className[32] = {};
    GetClassNameA(old, className, sizeof className);
    HWND fresh = CreateWindowExA(static_cast<DWORD>(GetWindowLongA(old, GWL_EXSTYLE)), className, "",
                                 static_cast<DWORD>(GetWindowLongA(old, GWL_STYLE)), place.left, place.top,
                                 place.right - place.left, place.bottom - place.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(GetDlgCtrlID())),
                                 reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(old, GWLP_HINSTANCE)), nullptr);
    if (!fresh) return false;

    StopTimer(old);
    RemovePropA(old, kFillingProperty);
    // Keep the tab order: the fresh control takes the old one's place in the z-order.
    HWND before = GetWindow(old, GW_HWNDPREV);
    SetWindowPos(fresh, before ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const bool focused = GetFocus() == old;
    const LRESULT font = SendMessage(WM_GETFONT);
    UnsubclassWindow();
    // The old control goes once the new content is all in: freeing a large text takes long enough
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
    return true;
}
