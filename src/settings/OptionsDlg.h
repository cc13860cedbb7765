// COptionsDlg: the Options dialog, which also holds the process's view settings (the answer view's
// colours, font and link switch) for the main dialog's whole life. Font and colour choices and an
// import take effect at once; the link switch only through OK.
#pragma once

#include "framework/Dialog.h"
#include "ui/FlatButton.h"

class COptionsDlg : public CDialog {
public:
    COptionsDlg();

    COLORREF crLink = 0;
    COLORREF crBackground = 0;
    COLORREF crText = 0;
    LOGFONTA lfFont{};
    CFlatButton m_btnSaveIni;
    CFlatButton m_btnLoadIni;
    CFlatButton m_btnOK;
    CFlatButton m_btnCancel;
    CFlatButton m_btnTextColor;
    CFlatButton m_btnLinkColor;
    CFlatButton m_btnFont;
    CFlatButton m_btnBackgroundColor;
    int bNoLinkParsing = 0;

protected:
    void DoDataExchange(CDataExchange* dx) override;

    void OnSelectFont();
    void OnSelectBackgroundColor();
    void OnSelectTextColor();
    void OnSelectLinkColor();
    void OnSaveIni();
    void OnLoadIni();

    DECLARE_MESSAGE_MAP()

private:
    // Runs the colour picker on `colour` and shows the answer again in the colour it leaves.
    void PickColor(COLORREF& colour, bool appliesToView);
};
