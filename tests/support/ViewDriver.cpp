// The answer view's test driver: the dialog fixture, format reading and the clipboard.
#include "support/ViewDriver.h"

#include <algorithm>

#include "rdap/BootstrapFolder.h"
#include "text/Utf8.h"

namespace {
const std::string kHost = "127.0.0.1";
bool OpenTheClipboard()
{
    // Another process may hold the clipboard for a moment.
    return PumpUntil([] { return OpenClipboard(nullptr) != FALSE; }, 5000);
}
}  // namespace

void MainDialogViewTest::SetUp()
{
    // Each test starts with no saved RDAP bootstrap file and with IANA's site not known to fail.
    for (const char* name : {"dns.json", "ipv4.json", "ipv6.json", "asn.json"})
        DeleteFileA((BootstrapFolderPath() + name).c_str());
    ProgramBootstrap().Forget();
    g_builtinServers[kServerInterNic].port = m_interNic.Port();
    ASSERT_TRUE(m_dlg.Create());
    SetWindowPos(m_dlg.m_hWnd, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    PumpFor(20, m_dlg.m_hWnd);
}

void MainDialogViewTest::TearDown()
{
    if (m_dlg.m_hWnd) m_dlg.DestroyWindow();
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

std::string AsShown(const std::string& answer)
{
    std::string shown;
    for (size_t i = 0; i < answer.size(); ++i)
        if (answer[i] != '\n' || i == 0 || answer[i - 1] != '\r') shown += answer[i] == '\r' ? '\n' : answer[i];
    return shown;
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
    std::wstring text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* characters = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = characters;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return WideToUtf8(text);
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

void SetClipboardUnicodeText(const std::string& utf8)
{
    const WideText text = Utf8ToWide(utf8);
    if (!OpenTheClipboard()) return;
    EmptyClipboard();
    const size_t size = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(data), text.c_str(), size);
    GlobalUnlock(data);
    if (!SetClipboardData(CF_UNICODETEXT, data)) GlobalFree(data);
    CloseClipboard();
}

void EmptyTheClipboard()
{
    if (!OpenTheClipboard()) return;
    EmptyClipboard();
    CloseClipboard();
}
