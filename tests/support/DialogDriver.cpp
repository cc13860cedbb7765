// Message pumping, control reading and text recording for the window tests.
#include "support/DialogDriver.h"

#include <algorithm>

namespace {
TextLog* g_pLog = nullptr;
std::vector<WhenShown*> g_whenShown;

// Dispatches what is waiting, for a moment at most: a window that keeps giving itself work must not
// keep the caller from its time limit.
void PumpOnce(HWND dialog)
{
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < 250 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
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

std::string RichEditText(HWND control)
{
    std::string text;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&text), 0, [](DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken) -> DWORD {
        reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(count));
        *taken = count;
        return 0;
    }};
    SendMessageA(control, EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
    return text;
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
    if (code == HC_ACTION && g_pLog && (call->message == WM_SETTEXT || call->message == EM_REPLACESEL)) {
        auto found = g_pLog->m_texts.find(call->hwnd);
        if (found == g_pLog->m_texts.end()) found = g_pLog->m_texts.find(nullptr);
        if (found != g_pLog->m_texts.end())
            found->second.emplace_back(call->lParam ? reinterpret_cast<const char*>(call->lParam) : "");
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void PostClick(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void SendClick(HWND dialog, int id)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string TempPath(const char* name)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

WhenShown::WhenShown(std::string title, std::function<void(HWND)> action)
    : m_title(std::move(title)), m_action(std::move(action)), m_timer(SetTimer(nullptr, 0, 20, &WhenShown::Tick))
{
    g_whenShown.push_back(this);
}

WhenShown::~WhenShown()
{
    if (m_timer) KillTimer(nullptr, m_timer);
    g_whenShown.erase(std::find(g_whenShown.begin(), g_whenShown.end(), this));
}

void CALLBACK WhenShown::Tick(HWND, UINT, UINT_PTR timer, DWORD)
{
    // Watchers may be nested (an action that opens another window waits in its modal loop).
    for (WhenShown* watcher : g_whenShown)
        if (watcher->m_timer == timer && !watcher->m_bRan)
            EnumThreadWindows(GetCurrentThreadId(), &WhenShown::Visit, reinterpret_cast<LPARAM>(watcher));
}

BOOL CALLBACK WhenShown::Visit(HWND window, LPARAM self)
{
    auto* watcher = reinterpret_cast<WhenShown*>(self);
    if (!IsWindowVisible(window) || WindowText(window) != watcher->m_title) return TRUE;
    // Once only, and before acting: the action may run a modal loop of its own.
    watcher->m_bRan = true;
    KillTimer(nullptr, watcher->m_timer);
    watcher->m_timer = 0;
    watcher->m_action(window);
    return FALSE;
}

ResponsivenessProbe::ResponsivenessProbe(HWND window)
    : m_thread([this, window] {
          while (!m_stop) {
              DWORD_PTR result = 0;
              if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, 100, &result)) ++m_missed;
              Sleep(20);
          }
          m_finished = true;
      })
{
}

int ResponsivenessProbe::Stop()
{
    m_stop = true;
    // A message the probe is sending right now must still be answered: keep pumping until it ends.
    PumpUntil([&] { return m_finished.load(); }, 1000);
    if (m_thread.joinable()) m_thread.join();
    return m_missed;
}
