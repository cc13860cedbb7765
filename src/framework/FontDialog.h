// CFontDialog and CColorDialog: the platform's font and colour pickers. Without a parent they
// belong to the window the user is working in, as every dialog of the program does.
#pragma once

#include "framework/Wnd.h"

#include <commdlg.h>

class CFontDialog {
public:
    // Starts from `initial` (when given) with the platform's flags `flags` added to CF_INITTOLOGFONTSTRUCT.
    explicit CFontDialog(const LOGFONTA* initial, DWORD flags, CWnd* parent = nullptr);
    INT_PTR DoModal();
    // The font the picker holds: the chosen one after OK, the one it started with otherwise.
    void GetCurrentFont(LOGFONTA* font) const { *font = m_lf; }

    CHOOSEFONTA m_cf;

private:
    LOGFONTA m_lf;
};

class CColorDialog {
public:
    // The initial colour is marked in the picker only when it is not black.
    explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, CWnd* parent = nullptr);
    INT_PTR DoModal();
    COLORREF GetColor() const { return m_cc.rgbResult; }

    CHOOSECOLORA m_cc;

    // The 16 custom colours, kept for the whole run and shared by every colour picker.
    static COLORREF s_customColors[16];
};
