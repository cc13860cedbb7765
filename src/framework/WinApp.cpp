// CWinApp: application object registry, profile functions and the sockets start-up.
#include "framework/WinApp.h"

#include <cstdio>

#include "framework/WinThread.h"

namespace {
CWinApp* g_pApp = nullptr;
bool g_bSocketsStarted = false;

// The program file's name without folder and extension: the application's first name.
CString ModuleBaseName()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/') name = p + 1;
    std::string base(name);
    size_t dot = base.rfind('.');
    if (dot != std::string::npos) base.resize(dot);
    return CString(base);
}
}  // namespace

int (WINAPI* g_pfnSocketStartup)(WORD, WSADATA*) = &WSAStartup;

CWinApp::CWinApp(const char* appName)
    : m_strAppName(appName ? CString(appName) : ModuleBaseName())
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this) g_pApp = nullptr;
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

void CWinApp::SetRegistryKey(const char* company)
{
    m_strRegistryKey = company;
    m_strProfileName = m_strAppName;
}

std::string CWinApp::GetSectionPath(const char* section) const
{
    if (m_strRegistryKey.IsEmpty()) return std::string();
    return "Software\\" + m_strRegistryKey.Str() + "\\" + m_strProfileName.Str() + "\\" + section;
}

HKEY CWinApp::GetSectionKey(const char* section) const
{
    std::string path = GetSectionPath(section);
    if (path.empty()) return nullptr;
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

UINT CWinApp::GetProfileInt(const char* section, const char* entry, int defaultValue) const
{
    HKEY key = GetSectionKey(section);
    if (!key) return static_cast<UINT>(defaultValue);
    // A value of up to four bytes is a number, whatever its type says (a .reg file made by hand may
    // hold a binary or a shorter one), low byte first; only text is not.
    BYTE bytes[4] = {};
    DWORD type = 0, size = sizeof bytes;
    LONG status = RegQueryValueExA(key, entry, nullptr, &type, bytes, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)
        return static_cast<UINT>(defaultValue);
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<UINT>(bytes[3]) << 24;
}

CString CWinApp::GetProfileString(const char* section, const char* entry, const char* defaultValue) const
{
    HKEY key = GetSectionKey(section);
    if (!key) return CString(defaultValue);
    DWORD type = 0, size = 0;
    CString result(defaultValue);
    if (RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
        std::string text(size + 1, '\0');
        if (RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&text[0]), &size) == ERROR_SUCCESS) {
            text.resize(strnlen(text.c_str(), size));
            result = CString(std::move(text));
        }
    }
    RegCloseKey(key);
    return result;
}

BOOL CWinApp::WriteProfileInt(const char* section, const char* entry, int value) const
{
    HKEY key = GetSectionKey(section);
    if (!key) return FALSE;
    DWORD data = static_cast<DWORD>(value);
    LONG status = RegSetValueExA(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

BOOL CWinApp::WriteProfileString(const char* section, const char* entry, const char* value) const
{
    HKEY key = GetSectionKey(section);
    if (!key) return FALSE;
    LONG status = value ? RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                         static_cast<DWORD>(strlen(value) + 1))
                        : RegDeleteValueA(key, entry);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

HICON CWinApp::LoadIcon(UINT id) const
{
    return ::LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
}

HCURSOR CWinApp::LoadCursor(UINT id) const
{
    return ::LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
}

BOOL AfxSocketInit()
{
    WSADATA data{};
    if (g_pfnSocketStartup(MAKEWORD(1, 1), &data) != 0) return FALSE;
    if (data.wVersion != MAKEWORD(1, 1)) {
        WSACleanup();
        return FALSE;
    }
    g_bSocketsStarted = true;
    return TRUE;
}

void AfxSocketTerm()
{
    if (g_bSocketsStarted) WSACleanup();
    g_bSocketsStarted = false;
}

int AfxWinMain(HINSTANCE instance, const char* commandLineTail)
{
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = commandLineTail;
    // The program's life is its initialisation step (a modal dialog); there is no message loop here.
    app->InitInstance();
    return AfxWinTerm(app->ExitInstance());
}

int AfxWinTerm(int result)
{
    if (CWinThread::Running() > 0) ExitProcess(static_cast<UINT>(result));
    AfxSocketTerm();
    return result;
}
