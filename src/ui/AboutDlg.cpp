// CAboutDlg: the link font and cursor, the links' drawing, the shell calls and Quick help.
#include "ui/AboutDlg.h"

#include <shellapi.h>

#include "framework/DataExchange.h"
#include "framework/LateBound.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "ui/QuickHelpDlg.h"

namespace {
HINSTANCE WINAPI ShellExecuteLateBound(HWND owner, const char* operation, const char* file, const char* parameters,
                                       const char* folder, INT show)
{
    static const auto shellExecute = LateBound<decltype(&ShellExecuteA)>("shell32.dll", "ShellExecuteA");
    if (!shellExecute) return reinterpret_cast<HINSTANCE>(SE_ERR_DLLNOTFOUND);
    return shellExecute(owner, operation, file, parameters, folder, show);
}
}  // namespace

HINSTANCE (WINAPI* g_pfnShellExecute)(HWND, const char*, const char*, const char*, const char*, INT) = &ShellExecuteLateBound;

namespace {
const char kMailTarget[] = "mailto:" WHOIS_FEEDBACK_ADDRESS;
const char kWebTarget[] = WHOIS_WEB_SITE;
const COLORREF kLinkColour = RGB(0, 0, 255);
const COLORREF kPressedLinkColour = RGB(0, 255, 255);

// Opens a link's target with a normal show command, so that the window that opens can be seen.
void OpenInShell(const char* target)
{
    g_pfnShellExecute(nullptr, "open", target, nullptr, nullptr, SW_SHOWNORMAL);
}

void DrawLink(const DRAWITEMSTRUCT* item, const char* text)
{
    SetTextColor(item->hDC, (item->itemState & ODS_SELECTED) ? kPressedLinkColour : kLinkColour);
    TextOutA(item->hDC, 0, 0, text, lstrlenA(text));
}
}  // namespace

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
    ON_BN_CLICKED(IDC_MAIL_LINK, &CAboutDlg::OnMailLink)
    ON_BN_CLICKED(IDC_WEB_LINK, &CAboutDlg::OnWebLink)
    ON_WM_SETCURSOR()
    ON_WM_DRAWITEM()
    ON_BN_CLICKED(IDC_QUICK_HELP, &CAboutDlg::OnQuickHelp)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX), m_hLinkCursor(AfxGetApp()->LoadCursor(IDC_LINK_HAND))
{
    m_fontLink.CreateFont(8, 5, 0, 0, FW_DONTCARE, FALSE, TRUE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
}

void CAboutDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_QUICK_HELP, m_btnQuickHelp);
    DDX_Control(dx, IDCANCEL, m_btnOK);
    DDX_Control(dx, IDC_WEB_LINK, m_linkWeb);
    DDX_Control(dx, IDC_MAIL_LINK, m_linkMail);
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const WPARAM font = reinterpret_cast<WPARAM>(static_cast<HFONT>(m_fontLink));
    m_linkWeb.SendMessage(WM_SETFONT, font, TRUE);
    m_linkMail.SendMessage(WM_SETFONT, font, TRUE);
    return TRUE;
}

void CAboutDlg::OnMailLink()
{
    OpenInShell(kMailTarget);
}

void CAboutDlg::OnWebLink()
{
    OpenInShell(kWebTarget);
}

BOOL CAboutDlg::OnSetCursor(HWND window, UINT, UINT)
{
    if (window == m_linkWeb.m_hWnd || window == m_linkMail.m_hWnd) {
        SetCursor(m_hLinkCursor);
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}

void CAboutDlg::OnDrawItem(int id, DRAWITEMSTRUCT* item)
{
    // The button control has selected the link font into the context; the flat buttons draw themselves.
    if (id == IDC_MAIL_LINK)
        DrawLink(item, WHOIS_FEEDBACK_ADDRESS);
    else if (id == IDC_WEB_LINK)
        DrawLink(item, kWebTarget);
}

void CAboutDlg::OnQuickHelp()
{
    CQuickHelpDlg help;
    help.DoModal();
}
