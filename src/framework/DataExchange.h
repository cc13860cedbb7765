// Data exchange between a dialog's controls and its members, in both directions.
#pragma once

#include "framework/Wnd.h"

class CDataExchange {
public:
    struct Failure {};

    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    // The control with this ID; it becomes the one that gets the focus when validation fails.
    HWND PrepareCtrl(int id);
    // Ends the exchange as failed (after the caller has told the user why).
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

private:
    HWND m_hWndLastControl = nullptr;
};

void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, CString& value);
// Text of any script, held in UTF-8.
void DDX_TextUtf8(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
void DDX_Check(CDataExchange* dx, int id, int& value);
