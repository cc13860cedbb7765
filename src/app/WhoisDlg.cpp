// CWhoisDlg: members, data exchange, message map and the window housekeeping of the main dialog.
#include "app/WhoisDlg.h"

#include "framework/DataExchange.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "text/Utf8.h"
#include "ui/AboutDlg.h"

CWhoisDlg* g_pMainDlg = nullptr;

BEGIN_MESSAGE_MAP(CWhoisDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_NOTIFY(EN_LINK, IDC_ANSWER, &CWhoisDlg::OnLinkNotify)
    ON_BN_CLICKED(IDOK, &CWhoisDlg::OnAsk)
    ON_BN_CLICKED(IDC_SAVE, &CWhoisDlg::OnSave)
    ON_BN_CLICKED(IDC_PREV, &CWhoisDlg::OnHistoryBack)
    ON_BN_CLICKED(IDC_NEXT, &CWhoisDlg::OnHistoryForward)
    ON_CBN_SELCHANGE(IDC_SERVER, &CWhoisDlg::OnServerChange)
    ON_NOTIFY(EN_MSGFILTER, IDC_ANSWER, &CWhoisDlg::OnViewMsgFilter)
    ON_BN_CLICKED(IDC_DATA, &CWhoisDlg::OnDataPaste)
    ON_BN_CLICKED(IDC_ABOUT, &CWhoisDlg::OnAbout)
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_BN_CLICKED(IDC_OPTIONS, &CWhoisDlg::OnOptions)
    ON_MESSAGE(WM_QUERY_STATUS, &CWhoisDlg::OnQueryStatus)
    ON_MESSAGE(WM_QUERY_DONE, &CWhoisDlg::OnQueryDone)
    ON_MESSAGE(WM_SHOW_MEMBERS, &CWhoisDlg::OnShowMembers)
END_MESSAGE_MAP()

CWhoisDlg::CWhoisDlg()
    : CDialog(IDD_WHOIS_DIALOG),
      m_hLinkCursor(AfxGetApp()->LoadCursor(IDC_LINK_HAND)),
      m_hIcon(AfxGetApp()->LoadIcon(IDR_MAINFRAME))
{
    m_strStatus.LoadString(IDS_IDLE);
    g_pMainDlg = this;
}

CWhoisDlg::~CWhoisDlg()
{
    FreeChain(m_pCurrent);
    if (g_pMainDlg == this) g_pMainDlg = nullptr;
}

void CWhoisDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_ABOUT, m_btnAbout);
    DDX_Control(dx, IDC_DATA, m_btnData);
    DDX_Control(dx, IDC_OPTIONS, m_btnOptions);
    DDX_Control(dx, IDC_STATUS, m_stcStatus);
    DDX_Control(dx, IDC_QUESTION, m_edtQuestion);
    DDX_Control(dx, IDC_SERVER, m_cmbServer);
    DDX_Control(dx, IDOK, m_btnAsk);
    DDX_Control(dx, IDC_ANSWER, m_richAnswer);
    DDX_Control(dx, IDC_SAVE, m_btnSave);
    DDX_Control(dx, IDC_NEXT, m_btnNext);
    DDX_Control(dx, IDC_PREV, m_btnPrev);
    DDX_TextUtf8(dx, IDC_QUESTION, m_strQuestion);
    DDX_CBIndex(dx, IDC_SERVER, m_nServer);
    ExchangeAnswer(dx);
    DDX_TextUtf8(dx, IDC_STATUS, m_strStatus);
}

BOOL CWhoisDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    TakeLayout();
    LoadSettings(TRUE);

    if (HMENU menu = GetSystemMenu(FALSE)) {
        CString about;
        about.LoadString(IDS_ABOUTBOX);
        if (!about.IsEmpty()) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    m_nServerChoice = m_nServer;
    HDC screen = GetDC(m_hWnd);
    m_dFontScale = -GetDeviceCaps(screen, LOGPIXELSY) / 72.0;
    ReleaseDC(m_hWnd, screen);
    ApplyViewSettings();
    if (m_bAskAtStart) PostMessage(WM_COMMAND, IDOK, 0);
    return TRUE;
}

void CWhoisDlg::OnSysCommand(UINT id, LPARAM)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX)
        OnAbout();
    else
        Default();
}

void CWhoisDlg::OnAbout()
{
    CAboutDlg about;
    about.DoModal();
}

void CWhoisDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    int iconWidth = GetSystemMetrics(SM_CXICON);
    int iconHeight = GetSystemMetrics(SM_CYICON);
    RECT client;
    GetClientRect(&client);
    int x = (client.right - client.left - iconWidth + 1) / 2;
    int y = (client.bottom - client.top - iconHeight + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
    EndPaint(m_hWnd, &paint);
}

HCURSOR CWhoisDlg::OnQueryDragIcon()
{
    return m_hIcon;
}

void CWhoisDlg::OnClose()
{
    // The close box keeps what the user set up; Escape (the cancel command) leaves without saving.
    SaveSettings(TRUE);
    Default();
}

void CWhoisDlg::SetStatusLine(const CString& text)
{
    m_stcStatus.SetWindowTextW(Utf8ToWide(text.Str()).c_str());
}

void CWhoisDlg::OnOptions()
{
    m_dlgOptions.DoModal();
}
