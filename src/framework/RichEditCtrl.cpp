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
    // The length in characters, which the control knows at once: the window text's length in
    // the ANSI code page would have the system convert the whole text first.
    GETTEXTLENGTHEX length{GTL_DEFAULT, 1200};
    if (SendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length)) > 0 && !Recreate()) return false;
    StopTimer(m_hWnd);
    m_content = std::move(content);
    m_filling = true;
    m_controlLength = 0;
    m_afterReturn = false;
    m_droppedFeeds.clear();
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
    // from the control's end mark.
    SetSelectionCharFormat(m_plainFormat);
    if (run.marked) SetSelectionCharFormat(m_markFormat);
    std::wstring text;
    text.reserve(run.text.size());
    for (const wchar_t c : run.text) {
        if (c == L'\n' && m_afterReturn) {
            m_droppedFeeds.push_back(m_controlLength + static_cast<long>(text.size()));
        } else {
            text += c;
        }
        m_afterReturn = c == L'\r';
    }
    m_controlLength += static_cast<long>(text.size());
    // Some rich edit versions read text put in that begins with "{\rtf" as rich text: the "{" of
    // a "{\" goes in on its own.
    if (text.compare(0, 2, L"{\\") == 0) {
        InsertText(L"{");
        InsertText(text.c_str() + 1);
    } else {
        InsertText(text.c_str());
    }
}

void CRichEditCtrl::InsertText(const wchar_t* text)
{
    // Replaces the selection with UTF-16 text, handed straight to the control's own procedure: on
    // its way through a procedure of the ANSI kind the system converts the text of EM_REPLACESEL
    // to the ANSI code page, which loses what that has no character for; and EM_SETTEXTEX, which it
    // leaves alone, takes the rich edit nearly twice as long.
    const auto control = reinterpret_cast<WNDPROC>(GetClassLongPtrW(m_hWnd, GCLP_WNDPROC));
    CallWindowProcW(control, m_hWnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
}

long CRichEditCtrl::ContentPosition(long position) const
{
    position = std::max(position, 0L);
    return position + static_cast<long>(std::upper_bound(m_droppedFeeds.begin(), m_droppedFeeds.end(), position) -
                                        m_droppedFeeds.begin());
}

std::wstring CRichEditCtrl::TextFor(long from, long to) const
{
    return m_content ? m_content->TextFor(ContentPosition(from), ContentPosition(to)) : std::wstring();
}

void CRichEditCtrl::CopySelection()
{
    const CHARRANGE selection = GetSel();
    if (selection.cpMax <= selection.cpMin) return;
    const std::wstring text = TextFor(selection.cpMin, selection.cpMax);
    const size_t size = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!data) return;
    if (void* bytes = GlobalLock(data)) {
        memcpy(bytes, text.c_str(), size);
        GlobalUnlock(data);
    }
    if (OpenClipboard(m_hWnd)) {
        EmptyClipboard();
        // The system offers the ANSI text too, converted from this.
        if (SetClipboardData(CF_UNICODETEXT, data)) data = nullptr;
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
