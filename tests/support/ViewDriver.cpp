// The answer view's test driver: the dialog fixture, format reading, the clipboard
// and the modal-window watcher.
#include "support/ViewDriver.h"

#include <algorithm>

#include "rdap/BootstrapFolder.h"

namespace {
const std::string kHost = "127.0.0.1";
ModalWatcher* g_pWatcher = nullptr;

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool OpenTheClipboard()
{
    // Another process may hold the clipboard for a moment.
    return PumpUntil([] { return OpenClipboard(nullptr) != FALSE; }, 5000);
}

// A window the watcher answered that is still open this long after is closed by force.
const DWORD kStuckMs = 15000;
}  // namespace

void MainDialogViewTest::SetUp()
{
    // Each test starts with no saved RDAP bootstrap file and with IANA's site not known to fail.
    for (const char* name : {"dns.json", "ipv4.json", "ipv6.json", "asn.json"})
        DeleteFileA((BootstrapFolderPath() + name).c_str());
    ProgramBootstrap().Forget();
    for (int i = kServerArin; i <= kServerInterNic; ++i) {
        m_saved[i] = g_builtinServers[i];
        g_builtinServers[i] = {kHost, i == kServerInterNic ? m_interNic.Port() : m_arin.Port()};
    }
    ASSERT_TRUE(m_dlg.Create());
    SetWindowPos(m_dlg.m_hWnd, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    PumpFor(20, m_dlg.m_hWnd);
}

void MainDialogViewTest::TearDown()
{
    if (m_dlg.m_hWnd) m_dlg.DestroyWindow();
    for (int i = kServerArin; i <= kServerInterNic; ++i) g_builtinServers[i] = m_saved[i];
}

int MainDialogViewTest::RecordCount() const
{
    const QueryRecord* record = m_dlg.m_pCurrent;
    if (!record) return 0;
    while (record->older) record = record->older;
    int count = 0;
    for (; record; record = record->newer) ++count;
    return count;
}

void MainDialogViewTest::Ask(const std::string& question)
{
    SetDlgItemTextA(m_dlg.m_hWnd, IDC_QUESTION, question.c_str());
    PostClick(m_dlg.m_hWnd, IDOK);
}

bool MainDialogViewTest::WaitForEnd(int limitMs)
{
    PumpFor(20, m_dlg.m_hWnd);
    return PumpUntil([&] { return !m_dlg.m_bRunning && !m_dlg.m_richAnswer.IsFilling(); }, limitMs, m_dlg.m_hWnd);
}

bool MainDialogViewTest::WaitForStatus(const std::string& text)
{
    return PumpUntil([&] { return StatusText() == text; }, 10000, m_dlg.m_hWnd);
}

bool MainDialogViewTest::AskAndWait(const std::string& question, int limitMs)
{
    Ask(question);
    return WaitForEnd(limitMs);
}

std::string MainDialogViewTest::CopiedAll()
{
    EmptyTheClipboard();
    m_dlg.m_richAnswer.SetSel(0, -1);
    m_dlg.m_richAnswer.SendMessage(WM_COPY);
    m_dlg.m_richAnswer.SetSel(0, 0);
    return ClipboardText();
}

std::vector<long> ViewPositions(const std::string& answer, const std::string& shown)
{
    std::vector<long> positions;
    size_t at = 0;
    for (char byte : answer) {
        while (at < shown.size() && shown[at] != byte) ++at;
        positions.push_back(static_cast<long>(at++));
    }
    positions.push_back(static_cast<long>(at));
    return positions;
}

CHARFORMATA CharFormatAt(HWND view, long position)
{
    CHARRANGE range{position, position + 1};
    SendMessageA(view, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    SendMessageA(view, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}

POINT CharScreenPoint(HWND view, long position)
{
    POINTL at{};
    SendMessageA(view, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), position);
    POINT point{at.x + 3, at.y + 4};
    ClientToScreen(view, &point);
    return point;
}

std::string ClipboardText()
{
    if (!OpenTheClipboard()) return "<clipboard busy>";
    std::string text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
            text = bytes;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void SetClipboardText(const std::string& text)
{
    if (!OpenTheClipboard()) return;
    EmptyClipboard();
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(data), text.c_str(), text.size() + 1);
    GlobalUnlock(data);
    if (!SetClipboardData(CF_TEXT, data)) GlobalFree(data);
    CloseClipboard();
}

void EmptyTheClipboard()
{
    if (!OpenTheClipboard()) return;
    EmptyClipboard();
    CloseClipboard();
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
