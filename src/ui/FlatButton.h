// CFlatButton: the flat push button. Etched at rest, raised under the mouse, sunken while pressed,
// an embossed caption when disabled. It handles the mouse and the focus itself, posts its click to
// the parent as a standard button's command, and is the dialog's default button while focused.
#pragma once

#include "framework/Controls.h"

class CFlatButton : public CButton {
public:
    CFlatButton();
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    enum State { kNormal = 0, kPressed = 1, kHover = 2 };

    TRACKMOUSEEVENT m_tme;
    int m_bFocus;
    int m_nState;

private:
    void Paint();
    // Repaints when the look changed while a message was handled.
    LRESULT Tail(int oldState, int oldFocus);
};
