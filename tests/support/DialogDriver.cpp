// Message pumping, control reading, text recording and acting in modal loops for the window tests.
#include "support/DialogDriver.h"

#include <algorithm>
#include <fstream>
#include <new>

#include "text/Utf8.h"

namespace {
TextLog* g_pLog = nullptr;
std::vector<WhenShown*> g_whenShown;
ModalWatcher* g_pWatcher = nullptr;
// A window the watcher answered that is still open this long after is closed by force.
const DWORD kStuckMs = 15000;

struct Steps {
    const std::vector<std::function<bool()>>& steps;
    const std::function<void()>& stuck;
    DWORD start;
    int limitMs;
    StepsRun result;
    bool busy;
};
Steps* g_pSteps = nullptr;

void CALLBACK StepTick(HWND, UINT, UINT_PTR, DWORD)
{
    Steps* s = g_pSteps;
    if (!s || s->busy) return;
    s->busy = true;  // a step may pump messages itself
    if (static_cast<int>(GetTickCount() - s->start) > s->limitMs) {
        s->result.timedOut = true;
        s->stuck();
    } else if (s->result.done < s->steps.size() && s->steps[s->result.done]()) {
        ++s->result.done;
    }
    s->busy = false;
}

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

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

HWND ShownWindow(const std::string& title)
{
    struct Search {
        const std::string& title;
        HWND found;
    } search{title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        if (!IsWindowVisible(window) || WindowText(window) != s->title) return TRUE;
        s->found = window;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string Utf8WindowText(HWND window)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(0, GetWindowTextW(window, &text[0], static_cast<int>(text.size())))));
    return WideToUtf8(text);
}

std::string ItemText(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}

std::wstring RichEditWideText(HWND control)
{
    GETTEXTLENGTHEX length{GTL_NUMCHARS, 1200};
    std::wstring text(static_cast<size_t>(SendMessageW(control, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0)) + 1, L'\0');
    GETTEXTEX how{static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_DEFAULT, 1200, nullptr, nullptr};
    text.resize(static_cast<size_t>(SendMessageW(control, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(&text[0]))));
    return text;
}

std::string RichEditText(HWND control)
{
    std::wstring text = RichEditWideText(control);
    std::replace(text.begin(), text.end(), L'\r', L'\n');
    return WideToUtf8(text);
}

TextLog::TextLog() : m_hook(SetWindowsHookExA(WH_CALLWNDPROCRET, &TextLog::Hook, nullptr, GetCurrentThreadId()))
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
    const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && g_pLog && (call->message == WM_SETTEXT || call->message == EM_REPLACESEL)) {
        auto found = g_pLog->m_texts.find(call->hwnd);
        if (found == g_pLog->m_texts.end()) found = g_pLog->m_texts.find(nullptr);
        // A text set reaches a Unicode window in either form: what it holds then says which text it was.
        // A text there is no memory for (a test limits the thread's allocations) is left out.
        try {
            if (found != g_pLog->m_texts.end())
                found->second.emplace_back(call->message == WM_SETTEXT ? Utf8WindowText(call->hwnd)
                                           : call->lParam              ? reinterpret_cast<const char*>(call->lParam)
                                                                       : "");
        } catch (const std::bad_alloc&) {
        }
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

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
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
    for (WhenShown* watcher : g_whenShown) {
        if (watcher->m_timer != timer || watcher->m_bRan) continue;
        HWND window = ShownWindow(watcher->m_title);
        if (!window) return;
        // Once only, and before acting: the action may run a modal loop of its own.
        watcher->m_bRan = true;
        KillTimer(nullptr, watcher->m_timer);
        watcher->m_timer = 0;
        watcher->m_action(window);
        return;
    }
}

StepsRun RunWithSteps(const std::function<void()>& run, const std::vector<std::function<bool()>>& steps,
                      const std::function<void()>& stuck, int limitMs)
{
    Steps script{steps, stuck, GetTickCount(), limitMs, {0, false}, false};
    Steps* outer = g_pSteps;
    g_pSteps = &script;
    UINT_PTR timer = SetTimer(nullptr, 0, 10, &StepTick);
    run();
    KillTimer(nullptr, timer);
    g_pSteps = outer;
    return script.result;
}

ModalWatcher::ModalWatcher(HWND mainDialog, std::string typedName, int fileDialogButton, int overwriteAnswer)
    : m_mainDialog(mainDialog), m_typedName(std::move(typedName)), m_fileDialogButton(fileDialogButton),
      m_overwriteAnswer(overwriteAnswer)
{
    g_pWatcher = this;
    // A thread timer: its callback runs from whichever message loop this thread is in.
    m_timer = SetTimer(nullptr, 0, 10, &ModalWatcher::Tick);
}

ModalWatcher::~ModalWatcher()
{
    KillTimer(nullptr, m_timer);
    g_pWatcher = nullptr;
}

void CALLBACK ModalWatcher::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_pWatcher) EnumThreadWindows(GetCurrentThreadId(), &ModalWatcher::Visit, reinterpret_cast<LPARAM>(g_pWatcher));
}

BOOL CALLBACK ModalWatcher::Visit(HWND window, LPARAM self)
{
    reinterpret_cast<ModalWatcher*>(self)->Handle(window);
    return TRUE;
}

void ModalWatcher::Handle(HWND window)
{
    if (window == m_mainDialog || !IsWindowVisible(window) || ClassOf(window) != "#32770") return;
    if (std::find(m_ignored.begin(), m_ignored.end(), window) != m_ignored.end()) return;
    auto handled = std::find_if(m_handled.begin(), m_handled.end(), [&](const Handled& h) { return h.window == window; });
    if (handled != m_handled.end()) {
        if (window == m_cancelOnceClosed && !IsWindow(m_answeredBox)) {
            m_cancelOnceClosed = nullptr;
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
        // Answered but still open (a name the dialog refused, say): closed by force after a while.
        if (!handled->forced && GetTickCount() - handled->since > kStuckMs) {
            handled->forced = true;
            m_forcedClose = true;
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
        return;
    }
    m_handled.push_back({window, GetTickCount(), false});

    HWND name = GetDlgItem(window, 0x47C);
    if (!name) name = GetDlgItem(window, 0x480);
    if (name) {
        FileDialog seen{WindowText(window), WindowText(name), {}};
        HWND filters = GetDlgItem(window, 0x470);
        int count = filters ? static_cast<int>(SendMessageA(filters, CB_GETCOUNT, 0, 0)) : 0;
        for (int i = 0; i < count; ++i) {
            char item[256] = {};
            SendMessageA(filters, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
            seen.filters.emplace_back(item);
        }
        m_fileDialogs.push_back(seen);
        m_fileDialogWindows.push_back(window);
        if (!m_typedName.empty()) SetWindowTextA(name, m_typedName.c_str());
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(m_fileDialogButton, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, m_fileDialogButton)));
        return;
    }

    Box box{WindowText(window), "", false};
    HWND owner = GetWindow(window, GW_OWNER);
    box.ownedByFileDialog = std::find(m_fileDialogWindows.begin(), m_fileDialogWindows.end(), owner) != m_fileDialogWindows.end();
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (_stricmp(ClassOf(child).c_str(), "Static") == 0 && GetWindowTextLengthA(child) > 0) box.text = WindowText(child);
    }
    m_boxes.push_back(box);
    int button = box.ownedByFileDialog ? m_overwriteAnswer : IDOK;
    if (box.ownedByFileDialog && button != IDYES) {
        m_cancelOnceClosed = owner;
        m_answeredBox = window;
    }
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
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
