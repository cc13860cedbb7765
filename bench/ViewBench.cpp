// The answer view with a large answer: showing it in a fresh view, replacing it with the next one,
// and reading it back (which every Ask does). The view has the answer view's styles.
#include <chrono>
#include <cstdio>
#include <string>

#include "framework/RichEditCtrl.h"

namespace {
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

std::string Answer(char variant)
{
    std::string line = "inetnum: 192.0.2.0 - 192.0.2.255 (NET-192-0-2-0-1)  ";
    line.back() = variant;
    line += '\n';
    std::string text;
    while (text.size() < (1u << 20)) text += line;
    return text;
}
}  // namespace

void ReportView()
{
    HWND parent = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
    HWND view = CreateWindowExA(WS_EX_STATICEDGE, "RICHEDIT", "",
                                WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_READONLY | WS_VSCROLL | WS_HSCROLL, 0, 0, 800,
                                600, parent, reinterpret_cast<HMENU>(1128), nullptr, nullptr);
    CRichEditCtrl rich;
    rich.SubclassWindow(view);
    std::string first = Answer('a'), second = Answer('b');

    auto start = Clock::now();
    rich.SetWindowText(first.c_str());
    double fresh = Since(start);
    start = Clock::now();
    rich.SetWindowText(second.c_str());
    double replace = Since(start);
    start = Clock::now();
    size_t readBack = rich.GetWindowText().Str().size();
    double read = Since(start);

    std::printf("%-58s %10.2f %8s\n", "show 1 MB answer: replacing the previous / fresh view", replace / fresh, "<= 1.1");
    std::printf("%-58s %10.2f %8s\n", "read 1 MB answer back from the view / showing it", read / fresh, "(info)");
    std::printf("  (seconds: fresh %.3f, replace %.3f, read back %.3f of %zu bytes)\n", fresh, replace, read, readBack);
    rich.UnsubclassWindow();
    DestroyWindow(parent);
}
