// Start-up: from starting the program until its window is visible, against the minimal dialog
// program; and the memory a history record takes against its answer's bytes.
#include <chrono>
#include <cstdio>
#include <string>

#include "framework/Afx.h"
#include "support/ProcessMemory.h"
#include "view/HistoryChain.h"

void ReportStart();
void ReportHistoryMemory();

namespace {
std::string BesideThisProgram(const char* relative)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder.resize(folder.find_last_of('\\') + 1);
    return folder + relative;
}

// Seconds from CreateProcess until a visible window with this title exists; the window is then
// closed and the process waited for. Negative when the window never came.
double SecondsUntilVisible(const std::string& program, const char* title)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + program + "\"";
    const auto start = std::chrono::steady_clock::now();
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    HWND window = nullptr;
    for (int i = 0; i < 20000 && !(window && IsWindowVisible(window)); ++i) {
        window = FindWindowA(nullptr, title);
        if (!(window && IsWindowVisible(window))) Sleep(1);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return window ? seconds : -1;
}
}  // namespace

void ReportStart()
{
    const std::string whois = BesideThisProgram("..\\whois.exe");
    const std::string minimal = BesideThisProgram("bench_minimal_dialog.exe");
    double program = 1e9, yardstick = 1e9;
    // Alternating rounds, best of each: the first start of either also warms the other.
    for (int round = 0; round < 5; ++round) {
        const double p = SecondsUntilVisible(whois, "Tarquelin whois");
        const double m = SecondsUntilVisible(minimal, "Minimal dialog");
        if (p > 0 && p < program) program = p;
        if (m > 0 && m < yardstick) yardstick = m;
    }
    std::printf("%-58s %10.2f %8s\n", "start until visible: program / minimal dialog", program / yardstick, "<= 1.5");
    std::printf("  (seconds: program %.3f, minimal dialog %.3f)\n", program, yardstick);
}

void ReportHistoryMemory()
{
    const size_t kRecords = 1000;
    const size_t kAnswerBytes = 100 * 1024;
    const SIZE_T before = PrivateBytes();
    QueryRecord* current = nullptr;
    for (size_t i = 0; i < kRecords; ++i)
        current = PushRecordAfter(current, "192.0.2." + std::to_string(i % 256),
                                  std::make_shared<const std::string>(kAnswerBytes, 'a'), 1);
    const SIZE_T after = PrivateBytes();
    FreeChain(current);
    const double ratio = static_cast<double>(after - before) / static_cast<double>(kRecords * kAnswerBytes);
    std::printf("%-58s %10.2f %8s\n", "memory per history record / answer bytes (1,000 x 100 KB)", ratio, "<= 1.3");
}
