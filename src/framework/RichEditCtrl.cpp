// CRichEditCtrl: plain-text streaming piece by piece and the fresh-control replacement of a held text.
#include "framework/RichEditCtrl.h"

#include <cstring>

namespace {
// Large enough for any answer a server can send in practice; the control's default is 32 KB.
const LPARAM kTextLimit = 0x7FFFFFF0;
// A piece of a text set into the control: this many bytes, then on to the end of the line.
const size_t kPieceSize = 4096;
// A position past any text: selecting it puts the caret at the end of the text.
const long kPastTheEnd = 0x7FFFFFFF;

size_t PieceEnd(const char* text, size_t length, size_t start)
{
    if (length - start <= kPieceSize) return length;
    const void* lineEnd = memchr(text + start + kPieceSize, '\n', length - start - kPieceSize);
    return lineEnd ? static_cast<size_t>(static_cast<const char*>(lineEnd) - text) + 1 : length;
}

struct StreamSource {
    const char* data;
    size_t length;
    size_t position;
};

DWORD CALLBACK ReadSource(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given)
{
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    size_t count = std::min(source->length - source->position, static_cast<size_t>(wanted));
    memcpy(buffer, source->data + source->position, count);
    source->position += count;
    *given = static_cast<LONG>(count);
    return 0;
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
}

void CRichEditCtrl::StreamIn(const char* text, size_t length, UINT flags)
{
    StreamSource source{text, length, 0};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, &ReadSource};
    SendMessage(EM_STREAMIN, flags, reinterpret_cast<LPARAM>(&stream));
}

void CRichEditCtrl::SetWindowText(const char* text)
{
    if (GetWindowTextLengthA(m_hWnd) > 0) Recreate();
    if (!*text) return;
    // Each piece goes in at the end of the text, in the default format: text added at the end
    // would otherwise take the format the control's end mark had when the control was made. The
    // control does not repaint until the whole text is in and formatted.
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    SendMessage(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    SendMessage(WM_SETREDRAW, FALSE);
    const size_t length = strlen(text);
    for (size_t start = 0, end; start < length; start = end) {
        end = PieceEnd(text, length, start);
        SetSel(kPastTheEnd, kPastTheEnd);
        SetSelectionCharFormat(format);
        StreamIn(text + start, end - start, SF_TEXT | SFF_SELECTION);
        if (m_pieceFormatter) m_pieceFormatter(text + start, end - start, static_cast<long>(start));
    }
    SetSel(0, 0);
    SendMessage(WM_SETREDRAW, TRUE);
    InvalidateRect(m_hWnd, nullptr, TRUE);
    UpdateWindow(m_hWnd);
}

CString CRichEditCtrl::GetWindowText() const
{
    std::string text;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&text), 0, &WriteSink};
    SendMessage(EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
    return CString(std::move(text));
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
    // The old control goes once the new text is in and painted: freeing a large text takes long
    // enough to notice. Until then it is hidden and answers to no control ID.
    ::ShowWindow(old, SW_HIDE);
    SetWindowLongPtrA(old, GWLP_ID, 0);
    ::PostMessageA(old, WM_CLOSE, 0, 0);
    SubclassWindow(fresh);
    SendMessage(WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    if (m_defaultFormat) SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&*m_defaultFormat));
    if (m_background) SendMessage(EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(*m_background));
    if (m_eventMask) SendMessage(EM_SETEVENTMASK, 0, static_cast<LPARAM>(*m_eventMask));
    if (focused) SetFocus(fresh);
}
