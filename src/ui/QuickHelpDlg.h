// CQuickHelpDlg: a fixed text that explains the program in a few lines, and "Done".
#pragma once

#include "framework/Dialog.h"
#include "ui/FlatButton.h"

class CQuickHelpDlg : public CDialog {
public:
    explicit CQuickHelpDlg(CWnd* parent = nullptr);

    CFlatButton m_btnDone;
    CString m_strHelp;

protected:
    void DoDataExchange(CDataExchange* dx) override;
};
