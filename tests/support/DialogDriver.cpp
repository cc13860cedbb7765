// Message pumping, control reading and text recording for the window tests.
#include "support/DialogDriver.h"

namespace {
TextLog* g_pLog = nullptr;

void PumpOnce(HWND dialog)
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (dialog && IsWindow(dialog) && IsDialogMessageA(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}
}  // namespace

bool PumpUntil(const std::function<bool()>& done, int limitMs, HWND dialog)
{
    DWORD start = GetTickCount();
    for (;;) {
        PumpOnce(dialog);
        if (done()) return true;
        if (static_cast<int>(GetTickCount() - start) >= limitMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

void PumpFor(int ms, HWND dialog)
{
    PumpUntil([] { return false; }, ms, dialog);
}

std::string WindowText(HWND window)
{
    int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(window, &text[0], length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

std::string ItemText(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}

TextLog::TextLog() : m_hook(SetWindowsHookExA(WH_CALLWNDPROC, &TextLog::Hook, nullptr, GetCurrentThreadId()))
{
    g_pLog = this;
}

TextLog::~TextLog()
{
    UnhookWindowsHookEx(m_hook);
    g_pLog = nullptr;
}

LRESULT CALLBACK TextLog::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && g_pLog && call->message == WM_SETTEXT) {
        auto found = g_pLog->m_texts.find(call->hwnd);
        if (found != g_pLog->m_texts.end())
            found->second.emplace_back(call->lParam ? reinterpret_cast<const char*>(call->lParam) : "");
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void PostClick(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
