// Running the shipped program in a process of its own.
#include "support/ProgramRun.h"

#include <vector>

const wchar_t kProgram[] = L"Z:" WHOIS_PROGRAM;

namespace {
// This process's environment with `extra` ("NAME=value", one per line) in front.
std::vector<wchar_t> EnvironmentWith(const std::wstring& extra)
{
    std::vector<wchar_t> block;
    for (wchar_t c : extra) block.push_back(c == L'\n' ? L'\0' : c);
    if (!extra.empty()) block.push_back(L'\0');
    wchar_t* own = GetEnvironmentStringsW();
    for (const wchar_t* at = own; *at; at += wcslen(at) + 1) {
        // A variable given in `extra` takes the place of this process's own.
        const std::wstring name = std::wstring(at, wcscspn(at + 1, L"=") + 1) + L"=";
        if ((L"\n" + extra).find(L"\n" + name) == std::wstring::npos) block.insert(block.end(), at, at + wcslen(at) + 1);
    }
    FreeEnvironmentStringsW(own);
    block.push_back(L'\0');
    return block;
}
}  // namespace

bool RunProgram(const std::wstring& program, const std::wstring& arguments, const std::wstring& environment,
                const std::function<void(HWND)>& act)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    std::vector<wchar_t> block = EnvironmentWith(environment);
    if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, block.data(),
                        nullptr, &startup, &process))
        return false;
    HWND window = nullptr;
    for (int i = 0; i < 1000 && !(window && IsWindowVisible(window)); ++i) {
        Sleep(10);
        window = FindWindowA(nullptr, "Tarquelin whois");
    }
    if (window) act(window);
    if (window && IsWindow(window)) PostMessageA(window, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0;
    // A program that did not end must not leave its window to the tests that follow.
    if (!ended) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended && window;
}
