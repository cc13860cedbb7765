// The DDX helpers: each moves one value between a control and a member, in the exchange's direction.
#include "framework/DataExchange.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "text/Utf8.h"

HWND CDataExchange::PrepareCtrl(int id)
{
    m_hWndLastControl = m_pDlgWnd->GetDlgItem(id);
    return m_hWndLastControl;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl) {
        SetFocus(m_hWndLastControl);
        SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    throw Failure{};
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    // Binding happens once; later exchanges leave the control bound.
    if (!control.m_hWnd) control.SubclassDlgItem(id, dx->m_pDlgWnd);
}

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    CWnd control;
    control.m_hWnd = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = control.GetWindowText();
    else
        control.SetWindowText(value);
    control.m_hWnd = nullptr;
}

void DDX_TextUtf8(CDataExchange* dx, int id, CString& value)
{
    CWnd control;
    control.m_hWnd = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = WideToUtf8(control.GetWindowTextW());
    else
        control.SetWindowTextW(Utf8ToWide(value.Str()).c_str());
    control.m_hWnd = nullptr;
}

namespace {
// Accepts blanks, an optional sign and decimal digits, then blanks only; the value must fit an int.
bool ParseInteger(const char* text, int* value)
{
    char* end = nullptr;
    errno = 0;
    long parsed = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end != '\0') return false;
    *value = static_cast<int>(parsed);
    return true;
}
}  // namespace

void DDX_Text(CDataExchange* dx, int id, int& value)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        char buffer[64] = {};
        GetWindowTextA(control, buffer, sizeof buffer);
        if (!ParseInteger(buffer, &value) || GetWindowTextLengthA(control) >= static_cast<int>(sizeof buffer)) {
            AfxMessageBox("Please enter an integer.", MB_ICONEXCLAMATION);
            dx->Fail();
        }
    } else {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%d", value);
        SetWindowTextA(control, buffer);
    }
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        index = static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
    else
        SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0));
    else
        SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}
