// CFontDialog and CColorDialog over ChooseFont and ChooseColor.
#include "framework/FontDialog.h"

#include "framework/LateBound.h"

COLORREF CColorDialog::s_customColors[16] = {
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
};

CFontDialog::CFontDialog(const LOGFONTA* initial, DWORD flags, CWnd* parent) : m_cf{}, m_lf{}
{
    if (initial) m_lf = *initial;
    m_cf.lStructSize = sizeof m_cf;
    m_cf.hwndOwner = parent ? parent->m_hWnd : nullptr;
    m_cf.lpLogFont = &m_lf;
    m_cf.Flags = flags | (initial ? CF_INITTOLOGFONTSTRUCT : 0);
}

INT_PTR CFontDialog::DoModal()
{
    static const auto chooseFont = LateBound<decltype(&ChooseFontA)>("comdlg32.dll", "ChooseFontA");
    if (!m_cf.hwndOwner) m_cf.hwndOwner = GetActiveWindow();
    return chooseFont && chooseFont(&m_cf) ? IDOK : IDCANCEL;
}

CColorDialog::CColorDialog(COLORREF initial, DWORD flags, CWnd* parent) : m_cc{}
{
    m_cc.lStructSize = sizeof m_cc;
    m_cc.hwndOwner = parent ? parent->m_hWnd : nullptr;
    m_cc.rgbResult = initial;
    m_cc.lpCustColors = s_customColors;
    m_cc.Flags = flags | (initial != 0 ? CC_RGBINIT : 0);
}

INT_PTR CColorDialog::DoModal()
{
    static const auto chooseColor = LateBound<decltype(&ChooseColorA)>("comdlg32.dll", "ChooseColorA");
    if (!m_cc.hwndOwner) m_cc.hwndOwner = GetActiveWindow();
    return chooseColor && chooseColor(&m_cc) ? IDOK : IDCANCEL;
}
