// CWhoisApp: start-up order of the program.
#include "app/WhoisApp.h"

#include <cstring>

#include "app/WhoisDlg.h"
#include "framework/LateBound.h"
#include "res/resource.h"

CWhoisApp theApp;

BOOL CWhoisApp::InitInstance()
{
    if (!AfxSocketInit()) {
        // The box is titled with the program file's name: the application is not named yet.
        AfxMessageBox(IDS_SOCKETS_INIT_FAILED, MB_OK);
        return FALSE;
    }
    LoadSystemLibrary("RICHED20.DLL");
    m_strAppName = "Whois";
    SetRegistryKey("Tarquelin");
    Enable3dControls();

    CWhoisDlg dlg;
    dlg.m_strQuestion = m_lpCmdLine;
    dlg.m_bAskAtStart = static_cast<int>(strlen(m_lpCmdLine));
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
