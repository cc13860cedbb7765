// Running the shipped program in a process of its own.
#include "support/ProgramRun.h"

#include <vector>

const wchar_t kProgram[] = L"Z:" WHOIS_PROGRAM;

bool RunProgram(const std::wstring& program, const std::wstring& variable, const std::function<void(HWND)>& act)
{
    std::vector<wchar_t> environment(variable.begin(), variable.end());
    if (!variable.empty()) environment.push_back(L'\0');
    wchar_t* own = GetEnvironmentStringsW();
    for (const wchar_t* at = own; *at; at += wcslen(at) + 1) environment.insert(environment.end(), at, at + wcslen(at) + 1);
    FreeEnvironmentStringsW(own);
    environment.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                        environment.data(), nullptr, &startup, &process))
        return false;
    HWND window = nullptr;
    for (int i = 0; i < 1000 && !(window && IsWindowVisible(window)); ++i, Sleep(10))
        window = FindWindowA(nullptr, "Tarquelin whois");
    if (window) act(window);
    if (window && IsWindow(window)) PostMessageA(window, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0;
    // A program that did not end must not leave its window to the tests that follow.
    if (!ended) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended && window;
}
