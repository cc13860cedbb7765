// COptionsDlg: the pickers for the view's font and colours, and the INI export and import.
#include "settings/OptionsDlg.h"

#include "app/WhoisDlg.h"
#include "framework/DataExchange.h"
#include "framework/FileDialog.h"
#include "framework/FontDialog.h"
#include "res/resource.h"

namespace {
const char kIniName[] = "whois.ini";
const char kIniFilter[] = "Configuration files (*.ini)|*.ini||";

// The INI file the user picks, or "" when the picker was not confirmed.
std::string PickIniFile(BOOL open)
{
    CFileDialog picker(open, nullptr, kIniName, 0, kIniFilter);
    return picker.DoModal() == IDOK ? picker.GetPathName().Str() : std::string();
}
}  // namespace

BEGIN_MESSAGE_MAP(COptionsDlg, CDialog)
    ON_BN_CLICKED(IDC_SELECT_FONT, &COptionsDlg::OnSelectFont)
    ON_BN_CLICKED(IDC_BACKGROUND_COLOR, &COptionsDlg::OnSelectBackgroundColor)
    ON_BN_CLICKED(IDC_TEXT_COLOR, &COptionsDlg::OnSelectTextColor)
    ON_BN_CLICKED(IDC_LINK_COLOR, &COptionsDlg::OnSelectLinkColor)
    ON_BN_CLICKED(IDC_SAVE_INI, &COptionsDlg::OnSaveIni)
    ON_BN_CLICKED(IDC_LOAD_INI, &COptionsDlg::OnLoadIni)
END_MESSAGE_MAP()

COptionsDlg::COptionsDlg() : CDialog(IDD_OPTIONS) {}

void COptionsDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_SAVE_INI, m_btnSaveIni);
    DDX_Control(dx, IDC_LOAD_INI, m_btnLoadIni);
    DDX_Control(dx, IDOK, m_btnOK);
    DDX_Control(dx, IDCANCEL, m_btnCancel);
    DDX_Control(dx, IDC_TEXT_COLOR, m_btnTextColor);
    DDX_Control(dx, IDC_LINK_COLOR, m_btnLinkColor);
    DDX_Control(dx, IDC_SELECT_FONT, m_btnFont);
    DDX_Control(dx, IDC_BACKGROUND_COLOR, m_btnBackgroundColor);
    DDX_Check(dx, IDC_NO_LINK_PARSING, bNoLinkParsing);
}

void COptionsDlg::OnSelectFont()
{
    CFontDialog picker(&lfFont, CF_SCREENFONTS);
    picker.DoModal();
    // After Cancel the picker still holds the font it started with.
    picker.GetCurrentFont(&lfFont);
    if (!g_pMainDlg) return;
    g_pMainDlg->ApplyViewSettings();
    g_pMainDlg->ShowRecord(nullptr);
}

void COptionsDlg::PickColor(COLORREF& colour, bool appliesToView)
{
    CColorDialog picker(colour);
    picker.DoModal();
    colour = picker.GetColor();
    if (!g_pMainDlg) return;
    if (appliesToView) g_pMainDlg->ApplyViewSettings();
    g_pMainDlg->ShowRecord(nullptr);
}

void COptionsDlg::OnSelectBackgroundColor()
{
    PickColor(crBackground, true);
}

void COptionsDlg::OnSelectTextColor()
{
    PickColor(crText, true);
}

void COptionsDlg::OnSelectLinkColor()
{
    PickColor(crLink, false);
}

void COptionsDlg::OnSaveIni()
{
    CWhoisDlg* main = g_pMainDlg;
    if (!main) return;
    std::string path = PickIniFile(FALSE);
    if (path.empty()) return;
    main->m_strIniPath = path.c_str();
    if (!main->SaveSettings(FALSE))
        AfxMessageBox(("The settings could not be written to " + path + ".").c_str(), MB_ICONEXCLAMATION);
}

void COptionsDlg::OnLoadIni()
{
    CWhoisDlg* main = g_pMainDlg;
    if (!main) return;
    std::string path = PickIniFile(TRUE);
    if (path.empty()) return;
    main->m_strIniPath = path.c_str();
    main->LoadSettings(FALSE);
    UpdateData(FALSE);
    main->UpdateData(FALSE);
    main->ApplyViewSettings();
    main->ShowRecord(nullptr);
}
