// CDialog: a dialog built from a numbered template, run modally (or, for tests and tools,
// modelessly), with data exchange between its controls and the object's members.
#pragma once

#include "framework/MessageMap.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT idTemplate, CWnd* parent = nullptr);

    virtual INT_PTR DoModal();
    // Creates the dialog without a modal loop; ending it destroys the window.
    bool Create(CWnd* parent = nullptr);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // TRUE: controls to members (with validation); FALSE: members to controls.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    void EndDialog(int result);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

protected:
    // The common control classes (ICC_ flags) that the template uses.
    DWORD m_dwCommonControls = 0;

    virtual void DoDataExchange(CDataExchange* dx);
    // Sends the template's initialisation data (the combo boxes' fixed items) to its controls.
    void ExecuteDlgInit();

    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool m_bModal = false;
};
