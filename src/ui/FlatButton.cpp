// CFlatButton: message handling and painting of the flat push button.
#include "ui/FlatButton.h"

CFlatButton::CFlatButton() : m_tme{}, m_bFocus(0), m_nState(kNormal)
{
    m_tme.cbSize = sizeof m_tme;
}

LRESULT CFlatButton::Tail(int oldState, int oldFocus)
{
    if (m_nState != oldState || m_bFocus != oldFocus) InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
}

LRESULT CFlatButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int oldState = m_nState;
    const int oldFocus = m_bFocus;
    HWND parent = GetParent(m_hWnd);
    switch (message) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SETFOCUS:
        InvalidateRect(m_hWnd, nullptr, TRUE);
        ::SendMessageA(parent, DM_SETDEFID, static_cast<WPARAM>(GetDlgCtrlID()), 0);
        return 0;
    case WM_KILLFOCUS:
        ::SendMessageA(parent, DM_SETDEFID, IDOK, 0);
        m_bFocus = 0;
        m_nState = kNormal;
        return Tail(oldState, oldFocus);
    case WM_ENABLE:
    case WM_SETTEXT:
        Default();
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return Tail(oldState, oldFocus);
    case BM_SETSTATE:
        m_nState = wParam ? kPressed : kNormal;
        InvalidateRect(m_hWnd, nullptr, TRUE);
        return Default();
    case WM_MOUSEMOVE:
        m_tme.hwndTrack = m_hWnd;
        m_tme.dwFlags = TME_LEAVE;
        TrackMouseEvent(&m_tme);
        if (wParam & MK_LBUTTON) m_nState = kPressed;
        if (m_nState == kNormal) m_nState = kHover;
        return Tail(oldState, oldFocus);
    case WM_MOUSELEAVE:
        m_nState = kNormal;
        return Tail(oldState, oldFocus);
    case WM_LBUTTONDOWN:
        SetFocus(m_hWnd);
        SetCapture(m_hWnd);
        m_nState = kPressed;
        return Tail(oldState, oldFocus);
    case WM_LBUTTONDBLCLK:
        m_nState = kPressed;
        return Tail(oldState, oldFocus);
    case WM_LBUTTONUP: {
        POINT point{LOWORD(lParam), HIWORD(lParam)};
        RECT client;
        GetClientRect(&client);
        if (PtInRect(&client, point) && m_nState == kPressed) {
            m_nState = kHover;
            WORD id = LOWORD(GetWindowLongA(m_hWnd, GWL_ID));
            ::PostMessageA(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(m_hWnd));
        } else {
            m_nState = kNormal;
        }
        ReleaseCapture();
        return Tail(oldState, oldFocus);
    }
    default:
        return CButton::WindowProc(message, wParam, lParam);
    }
}

void CFlatButton::Paint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    m_bFocus = GetFocus() == m_hWnd ? 1 : 0;
    SetBkMode(dc, TRANSPARENT);
    RECT rect;
    GetClientRect(&rect);
    HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    FillRect(dc, &rect, face);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(ANSI_VAR_FONT));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    CString caption = GetWindowText();
    const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (IsWindowEnabled()) {
        if (m_nState == kPressed) {
            DrawEdge(dc, &rect, EDGE_SUNKEN, BF_RECT);
            rect.left += 2;
            rect.top += 2;
        } else if (m_nState == kHover) {
            DrawEdge(dc, &rect, EDGE_RAISED, BF_RECT);
            FrameRect(dc, &rect, face);
        } else {
            DrawEdge(dc, &rect, EDGE_ETCHED, BF_RECT);
        }
        DrawTextA(dc, caption, caption.GetLength(), &rect, format);
        if (m_bFocus && m_nState != kPressed) {
            InflateRect(&rect, -3, -3);
            HBRUSH shadow = CreateSolidBrush(GetSysColor(COLOR_BTNSHADOW));
            FrameRect(dc, &rect, shadow);
            DeleteObject(shadow);
        }
    } else {
        DrawEdge(dc, &rect, EDGE_ETCHED, BF_RECT);
        rect.left += 2;
        rect.bottom += 2;
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, caption, caption.GetLength(), &rect, format);
        rect.left -= 2;
        rect.bottom -= 2;
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
        DrawTextA(dc, caption, caption.GetLength(), &rect, format);
    }
    SelectObject(dc, oldFont);
    DeleteObject(face);
    EndPaint(m_hWnd, &paint);
}
