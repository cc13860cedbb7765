// CAboutDlg: the About box: the product and its version, the feedback e-mail and web page links
// (owner-drawn buttons with a hand cursor), and the way to Quick help.
#pragma once

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/Font.h"
#include "ui/FlatButton.h"

// The shell's open call; replaceable so that a test sees the links' targets without launching anything.
extern HINSTANCE (WINAPI* g_pfnShellExecute)(HWND owner, const char* operation, const char* file,
                                             const char* parameters, const char* directory, INT showCommand);

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

    CFont m_fontLink;
    HCURSOR m_hLinkCursor;
    CFlatButton m_btnQuickHelp;
    CFlatButton m_btnOK;
    CButton m_linkWeb;
    CButton m_linkMail;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    void OnMailLink();
    void OnWebLink();
    BOOL OnSetCursor(HWND window, UINT hitTest, UINT message);
    void OnDrawItem(int id, DRAWITEMSTRUCT* item);
    void OnQuickHelp();

    DECLARE_MESSAGE_MAP()
};
