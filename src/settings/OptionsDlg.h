// COptionsDlg: the Options dialog, which also holds the process's view settings (the answer view's
// colours, font and link switch) for the main dialog's whole life.
#pragma once

#include "framework/Dialog.h"

class COptionsDlg : public CDialog {
public:
    COptionsDlg() : CDialog(kTemplate) {}

    COLORREF crLink = 0;
    COLORREF crBackground = 0;
    COLORREF crText = 0;
    LOGFONTA lfFont{};
    int bNoLinkParsing = 0;

private:
    static constexpr UINT kTemplate = 130;
};
