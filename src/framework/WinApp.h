// CWinApp: the one application object: start-up, the application's name, the profile functions
// (settings under HKEY_CURRENT_USER\Software\<registry key>\<application name>), sockets start-up.
#pragma once

#include "framework/Wnd.h"

class CWinApp {
public:
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The application's start; FALSE ends the application without a message loop.
    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }

    void SetRegistryKey(const char* company);
    UINT GetProfileInt(const char* section, const char* entry, int defaultValue) const;
    CString GetProfileString(const char* section, const char* entry, const char* defaultValue = "") const;
    BOOL WriteProfileInt(const char* section, const char* entry, int value) const;
    BOOL WriteProfileString(const char* section, const char* entry, const char* value) const;
    // The path of a profile section's key under HKEY_CURRENT_USER; empty without a registry key.
    std::string GetSectionPath(const char* section) const;
    // The registry key of a profile section, created when missing; the caller closes it.
    HKEY GetSectionKey(const char* section) const;

    HICON LoadIcon(UINT id) const;
    HCURSOR LoadCursor(UINT id) const;
    // The classic 3-D look of dialog controls is the platform's own now: nothing to switch on.
    void Enable3dControls() {}

    HINSTANCE m_hInstance = nullptr;
    // What the user typed after the program name, in UTF-8.
    const char* m_lpCmdLine = "";
    CString m_strAppName;
    CString m_strRegistryKey;
    CString m_strProfileName;
    CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();

// Starts Windows sockets 1.1 and arranges the clean-up at the application's end. Only a library
// that reports exactly version 1.1 is accepted.
BOOL AfxSocketInit();
// Runs the sockets clean-up if AfxSocketInit started the library.
void AfxSocketTerm();
// The sockets start-up call; replaceable so that a test can make the start-up fail.
extern int (WINAPI* g_pfnSocketStartup)(WORD version, WSADATA* data);

// The program's entry: runs the application object's initialisation and end.
int AfxWinMain(HINSTANCE instance, const char* commandLineTail);
// The program's end after its initialisation step, with its exit code. A worker thread that is
// still running (a name lookup cannot be interrupted) would run on while the sockets library and
// the program's static objects are torn down: the process then ends at once instead, and the
// system ends the worker with it. Otherwise the sockets clean-up runs and `result` comes back.
int AfxWinTerm(int result);
