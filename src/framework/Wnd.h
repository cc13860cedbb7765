// CWnd: a C++ object bound to one window. Messages reach the object through its message map
// (message, control ID, notification code) and fall through to the window's previous procedure.
// Windows are Unicode windows: a message that carries text reaches the object in its wide form,
// whichever API sent it.
#pragma once

#include "framework/Afx.h"
#include "framework/String.h"

class CWnd;

// One message-map row. Window messages match on `message` alone; WM_COMMAND and WM_NOTIFY rows
// also match the control ID and the notification code.
struct MessageMapEntry {
    UINT message;
    UINT code;
    UINT id;
    LRESULT (*handler)(CWnd* wnd, WPARAM wParam, LPARAM lParam);
};

struct MessageMap {
    const MessageMap* (*base)();
    const MessageMapEntry* entries;  // ends with a row whose handler is null
};

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object bound to a window by SubclassWindow, or null.
    static CWnd* FromHandlePermanent(HWND hwnd);
    bool SubclassWindow(HWND hwnd);
    bool SubclassDlgItem(int id, CWnd* parent);
    HWND UnsubclassWindow();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    // In the ANSI code page, for the texts of the program's own (buttons, captions, fields of digits).
    void SetWindowText(const char* text);
    CString GetWindowText() const;
    // Text that may be of any script.
    void SetWindowTextW(const wchar_t* text);
    std::wstring GetWindowTextW() const;
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    HMENU GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }
    HICON SetIcon(HICON icon, BOOL big)
    {
        return reinterpret_cast<HICON>(SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                                                   reinterpret_cast<LPARAM>(icon)));
    }
    BOOL DestroyWindow();
    // Centres the window over its owner, or on the work area of its monitor when it has none,
    // keeping it inside that work area.
    void CenterWindow();

    // The per-window message entry: the message map first, then Default().
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Passes the message being handled on to the window's previous procedure.
    LRESULT Default();

protected:
    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const { return GetThisMessageMap(); }
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called once the object is bound to its window.
    virtual void PreSubclassWindow() {}
    // Called after the window is gone; a self-owning object may delete itself here.
    virtual void PostNcDestroy() {}

    static LRESULT CALLBACK StdWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    WNDPROC m_pfnSuper = nullptr;
    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } m_current{};
};

// A message box titled with the application's name, as the framework's own boxes are.
int AfxMessageBox(const char* text, UINT type = MB_OK);
int AfxMessageBox(UINT idText, UINT type = MB_OK);
// Tells the user that a command ran out of memory. A handler that does ends there, before the
// system's own frames: the window goes on with what it had.
void AfxOutOfMemory();
