// The framework layer on its own, on small test dialogs: data exchange in both directions and its
// integer validation, message-map dispatch, worker thread objects, the profile functions in the
// registry, string-table loading and formatting, and the rich edit control's text handling.
#include <gtest/gtest.h>

#include <atomic>
#include <cderr.h>
#include <climits>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "FrameworkTestResource.h"
#include "framework/Controls.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/FileDialog.h"
#include "framework/RichEditCtrl.h"
#include "framework/WinApp.h"
#include "framework/WinThread.h"
#include "res/resource.h"
#include "support/DialogDriver.h"
#include "support/Registry.h"
#include "support/ViewDriver.h"
#include "text/Utf8.h"

namespace {
// Destroys a modeless dialog at the end of a scope, whatever the test's outcome.
class DestroyAtEnd {
public:
    explicit DestroyAtEnd(CWnd& window) : m_window(window) {}
    ~DestroyAtEnd()
    {
        if (m_window.m_hWnd) m_window.DestroyWindow();
    }

private:
    CWnd& m_window;
};

// The exchange dialog: a text, an integer, a combo index and a check box, plus a bound rich edit.
class ExchangeDialog : public CDialog {
public:
    ExchangeDialog() : CDialog(IDD_FW_EXCHANGE) {}

    CString m_text;
    int m_number = 0;
    int m_choice = 0;
    int m_checked = 0;
    CRichEditCtrl m_rich;

    HWND Item(int id) const { return GetDlgItem(id); }

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        CDialog::DoDataExchange(dx);
        DDX_Control(dx, IDC_FW_RICH, m_rich);
        DDX_Text(dx, IDC_FW_TEXT, m_text);
        DDX_Text(dx, IDC_FW_NUMBER, m_number);
        DDX_CBIndex(dx, IDC_FW_CHOICE, m_choice);
        DDX_Check(dx, IDC_FW_CHECK, m_checked);
    }
};

// ---------------------------------------------------------------------------------------------
// Data exchange

TEST(FrameworkDataExchange, MembersGoToControlsAndComeBack)
{
    struct Case {
        const char* name;
        std::string text;
        int number;
        const char* numberText;
        int choice;
        int checked;
    };
    std::string highBytes;
    for (int byte = 0x20; byte <= 0xFF; ++byte) highBytes += static_cast<char>(byte);
    const Case cases[] = {
        {"plain", "example.com", 42, "42", 2, 1},
        {"empty text, zero, first item, unchecked", "", 0, "0", 0, 0},
        {"em dashes", "\x97< add more >\x97\x97", -7, "-7", 1, 1},
        {"looks like rich text", "{\\rtf1 {\\b x}}", INT_MAX, "2147483647", 2, 0},
        {"every byte from blank to 0xFF", highBytes, INT_MIN, "-2147483648", -1, 1},
    };
    ExchangeDialog dlg;
    ASSERT_TRUE(dlg.Create());
    DestroyAtEnd end(dlg);
    EXPECT_EQ(3, SendMessageA(dlg.Item(IDC_FW_CHOICE), CB_GETCOUNT, 0, 0)) << "the template's combo items";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dlg.m_text = c.text.c_str();
        dlg.m_number = c.number;
        dlg.m_choice = c.choice;
        dlg.m_checked = c.checked;
        ASSERT_TRUE(dlg.UpdateData(FALSE));
        EXPECT_EQ(c.text, ItemText(dlg.m_hWnd, IDC_FW_TEXT));
        EXPECT_EQ(c.numberText, ItemText(dlg.m_hWnd, IDC_FW_NUMBER));
        EXPECT_EQ(c.choice, SendMessageA(dlg.Item(IDC_FW_CHOICE), CB_GETCURSEL, 0, 0));
        EXPECT_EQ(c.checked, SendMessageA(dlg.Item(IDC_FW_CHECK), BM_GETCHECK, 0, 0));

        // Reading back into cleared members gives the same values.
        dlg.m_text = "stale";
        dlg.m_number = 12345;
        dlg.m_choice = 99;
        dlg.m_checked = 99;
        ASSERT_TRUE(dlg.UpdateData(TRUE));
        EXPECT_EQ(c.text, dlg.m_text.Str());
        EXPECT_EQ(c.number, dlg.m_number);
        EXPECT_EQ(c.choice, dlg.m_choice);
        EXPECT_EQ(c.checked, dlg.m_checked);
    }
}

TEST(FrameworkDataExchange, ControlsSetByTheUserAreRead)
{
    ExchangeDialog dlg;
    ASSERT_TRUE(dlg.Create());
    DestroyAtEnd end(dlg);
    SetDlgItemTextA(dlg.m_hWnd, IDC_FW_TEXT, "typed \x97 text");
    SetDlgItemTextA(dlg.m_hWnd, IDC_FW_NUMBER, "  17\t");
    SendMessageA(dlg.Item(IDC_FW_CHOICE), CB_SETCURSEL, 1, 0);
    SendMessageA(dlg.Item(IDC_FW_CHECK), BM_SETCHECK, BST_CHECKED, 0);
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ("typed \x97 text", dlg.m_text.Str());
    EXPECT_EQ(17, dlg.m_number);
    EXPECT_EQ(1, dlg.m_choice);
    EXPECT_EQ(1, dlg.m_checked);
}

TEST(FrameworkDataExchange, AnIntegerFieldAcceptsOnlyAnInteger)
{
    struct Case {
        const char* text;
        bool valid;
        int value;
    };
    const Case cases[] = {
        {"", false, 0},
        {"abc", false, 0},
        {"12x", false, 0},
        {"99999999999", false, 0},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"1 2", false, 0},
        {"0x10", false, 0},
        {"-", false, 0},
        {" 42 ", true, 42},
        {"-7", true, -7},
        {"+5", true, 5},
        {"\t9\t", true, 9},
        {"2147483647", true, INT_MAX},
        {"-2147483648", true, INT_MIN},
    };
    ExchangeDialog dlg;
    ASSERT_TRUE(dlg.Create());
    DestroyAtEnd end(dlg);
    HWND number = dlg.Item(IDC_FW_NUMBER);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\"");
        const int before = 1111;
        dlg.m_number = before;
        dlg.m_text = "before";
        dlg.m_choice = 0;
        SetDlgItemTextA(dlg.m_hWnd, IDC_FW_TEXT, "typed");
        SetDlgItemTextA(dlg.m_hWnd, IDC_FW_NUMBER, c.text);
        SendMessageA(dlg.Item(IDC_FW_CHOICE), CB_SETCURSEL, 2, 0);
        SetFocus(dlg.Item(IDC_FW_TEXT));

        // A box that should not have appeared is closed, so it fails the test instead of hanging it.
        ModalWatcher watcher(dlg.m_hWnd, "");
        BOOL result = dlg.UpdateData(TRUE);
        const std::vector<ModalWatcher::Box>& boxes = watcher.Boxes();
        // The exchange runs in order: the text before the integer is always read.
        EXPECT_EQ("typed", dlg.m_text.Str());
        if (c.valid) {
            EXPECT_TRUE(result);
            EXPECT_TRUE(boxes.empty()) << "unexpected box: " << (boxes.empty() ? "" : boxes[0].text);
            EXPECT_EQ(c.value, dlg.m_number);
            EXPECT_EQ(2, dlg.m_choice);
        } else {
            EXPECT_FALSE(result);
            ASSERT_EQ(1u, boxes.size());
            EXPECT_EQ("Please enter an integer.", boxes[0].text);
            EXPECT_EQ(AfxGetApp()->m_strAppName.Str(), boxes[0].title);
            EXPECT_EQ(before, dlg.m_number) << "a failed field leaves its member alone";
            EXPECT_EQ(0, dlg.m_choice) << "the exchange stops at the failing field";
            EXPECT_EQ(number, GetFocus()) << "the failing field gets the focus";
            DWORD start = 0, stop = 0;
            SendMessageA(number, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&stop));
            EXPECT_EQ(0u, start);
            EXPECT_EQ(static_cast<DWORD>(strlen(c.text)), stop) << "its text is selected";
        }
    }
}

// A modal run: OK reads the controls into the members and ends with IDOK; Cancel ends without reading.
class ModalExchangeDialog : public ExchangeDialog {
public:
    UINT m_endCommand = IDOK;
    std::string m_typed;

protected:
    BOOL OnInitDialog() override
    {
        ExchangeDialog::OnInitDialog();
        SetDlgItemTextA(m_hWnd, IDC_FW_TEXT, m_typed.c_str());
        PostMessage(WM_COMMAND, MAKEWPARAM(m_endCommand, BN_CLICKED), 0);
        return TRUE;
    }
};

TEST(FrameworkDataExchange, ModalOkReadsTheControlsAndCancelDoesNot)
{
    struct Case {
        UINT command;
        INT_PTR result;
        std::string text;
    };
    const Case cases[] = {{IDOK, IDOK, "typed"}, {IDCANCEL, IDCANCEL, "initial"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        ModalExchangeDialog dlg;
        dlg.m_text = "initial";
        dlg.m_number = 3;
        dlg.m_typed = "typed";
        dlg.m_endCommand = c.command;
        EXPECT_EQ(c.result, dlg.DoModal());
        EXPECT_EQ(c.text, dlg.m_text.Str());
        EXPECT_EQ(3, dlg.m_number);
        EXPECT_EQ(nullptr, dlg.m_hWnd);
    }
}

// ---------------------------------------------------------------------------------------------
// Message maps

const UINT kAppMessage = WM_APP + 7;
const UINT kOtherAppMessage = WM_APP + 8;

class DispatchDialog : public CDialog {
public:
    DispatchDialog() : CDialog(IDD_FW_EXCHANGE) {}
    std::vector<std::string> m_calls;
    LRESULT m_notifyResult = 0;

protected:
    void OnButton() { m_calls.push_back("button"); }
    void OnTextChange() { m_calls.push_back("text change"); }
    void OnRichClick(NMHDR* header, LRESULT* result)
    {
        m_calls.push_back("rich click from " + std::to_string(header->idFrom));
        *result = m_notifyResult;
    }
    LRESULT OnAppMessage(WPARAM wParam, LPARAM lParam)
    {
        m_calls.push_back("app message " + std::to_string(wParam) + "," + std::to_string(lParam));
        return static_cast<LRESULT>(wParam * 100 + lParam);
    }
    void OnClose() { m_calls.push_back("close"); }
    void OnDestroy()
    {
        m_calls.push_back("destroy");
        Default();
    }
    void OnAccept() { m_calls.push_back("accept"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DispatchDialog, CDialog)
    ON_BN_CLICKED(IDC_FW_BUTTON, &DispatchDialog::OnButton)
    ON_CONTROL(EN_CHANGE, IDC_FW_TEXT, &DispatchDialog::OnTextChange)
    ON_NOTIFY(NM_CLICK, IDC_FW_RICH, &DispatchDialog::OnRichClick)
    ON_MESSAGE(kAppMessage, &DispatchDialog::OnAppMessage)
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_COMMAND(IDOK, &DispatchDialog::OnAccept)
END_MESSAGE_MAP()

// A further derived map that takes the button over and leaves everything else to its base.
class OverridingDialog : public DispatchDialog {
protected:
    void OnButtonHere() { m_calls.push_back("derived button"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(OverridingDialog, DispatchDialog)
    ON_BN_CLICKED(IDC_FW_BUTTON, &OverridingDialog::OnButtonHere)
END_MESSAGE_MAP()

struct DispatchCase {
    const char* name;
    UINT message;
    UINT id;    // WM_COMMAND, WM_NOTIFY: the control; other messages: wParam
    UINT code;  // WM_COMMAND, WM_NOTIFY: the notification; other messages: lParam
    std::vector<std::string> calls;
    LRESULT result;
};

LRESULT Deliver(DispatchDialog& dlg, const DispatchCase& c)
{
    HWND control = dlg.GetDlgItem(static_cast<int>(c.id));
    if (c.message == WM_COMMAND)
        return dlg.SendMessage(WM_COMMAND, MAKEWPARAM(c.id, c.code), reinterpret_cast<LPARAM>(control));
    if (c.message == WM_NOTIFY) {
        NMHDR header{control, c.id, c.code};
        return dlg.SendMessage(WM_NOTIFY, c.id, reinterpret_cast<LPARAM>(&header));
    }
    return dlg.SendMessage(c.message, c.id, static_cast<LPARAM>(c.code));
}

TEST(FrameworkMessageMap, OnlyTheMatchingHandlerRuns)
{
    const std::string richClick = "rich click from " + std::to_string(IDC_FW_RICH);
    const DispatchCase cases[] = {
        {"button clicked", WM_COMMAND, IDC_FW_BUTTON, BN_CLICKED, {"button"}, 0},
        {"button, another code", WM_COMMAND, IDC_FW_BUTTON, BN_DOUBLECLICKED, {}, 0},
        {"clicked, another control", WM_COMMAND, IDC_FW_CHECK, BN_CLICKED, {}, 0},
        {"edit changed", WM_COMMAND, IDC_FW_TEXT, EN_CHANGE, {"text change"}, 0},
        {"edit, another code", WM_COMMAND, IDC_FW_TEXT, EN_UPDATE, {}, 0},
        {"change code from another control", WM_COMMAND, IDC_FW_NUMBER, EN_CHANGE, {}, 0},
        {"the edit's code from the button", WM_COMMAND, IDC_FW_BUTTON, EN_CHANGE, {}, 0},
        {"notification", WM_NOTIFY, IDC_FW_RICH, static_cast<UINT>(NM_CLICK), {richClick}, 77},
        {"notification, another code", WM_NOTIFY, IDC_FW_RICH, static_cast<UINT>(NM_DBLCLK), {}, 0},
        {"notification, another control", WM_NOTIFY, IDC_FW_BUTTON, static_cast<UINT>(NM_CLICK), {}, 0},
        {"own message", WM_APP + 7, 5, 6, {"app message 5,6"}, 506},
        {"another own message", WM_APP + 8, 5, 6, {}, 0},
        {"close", WM_CLOSE, 0, 0, {"close"}, 0},
        {"OK, taken over from the base", WM_COMMAND, IDOK, BN_CLICKED, {"accept"}, 0},
    };
    DispatchDialog dlg;
    dlg.m_notifyResult = 77;
    ASSERT_TRUE(dlg.Create());
    DestroyAtEnd end(dlg);
    for (const DispatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        dlg.m_calls.clear();
        EXPECT_EQ(c.result, Deliver(dlg, c));
        EXPECT_EQ(c.calls, dlg.m_calls);
        ASSERT_TRUE(IsWindow(dlg.m_hWnd)) << "the dialog is still there";
    }
}

TEST(FrameworkMessageMap, TheControlsOwnNotificationsAreDispatched)
{
    DispatchDialog dlg;
    ASSERT_TRUE(dlg.Create());
    DestroyAtEnd end(dlg);
    dlg.m_calls.clear();
    SetDlgItemTextA(dlg.m_hWnd, IDC_FW_TEXT, "changed");
    SetDlgItemTextA(dlg.m_hWnd, IDC_FW_NUMBER, "12");
    EXPECT_EQ((std::vector<std::string>{"text change"}), dlg.m_calls);
}

TEST(FrameworkMessageMap, UnhandledMessagesGetTheDefaultProcessing)
{
    DispatchDialog dlg;
    ASSERT_TRUE(dlg.Create());
    DestroyAtEnd end(dlg);
    dlg.m_calls.clear();
    dlg.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("New caption"));
    EXPECT_EQ("New caption", WindowText(dlg.m_hWnd));
    dlg.SendMessage(DM_SETDEFID, IDC_FW_BUTTON);
    EXPECT_EQ(MAKELRESULT(IDC_FW_BUTTON, DC_HASDEFID), dlg.SendMessage(DM_GETDEFID));
    EXPECT_TRUE(dlg.m_calls.empty());

    // Cancel is not in the derived map: the base dialog's map ends the dialog.
    HWND window = dlg.m_hWnd;
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    EXPECT_EQ((std::vector<std::string>{"destroy"}), dlg.m_calls);
}

TEST(FrameworkMessageMap, AMoreDerivedEntryWinsAndTheRestReachTheBases)
{
    const DispatchCase cases[] = {
        {"button", WM_COMMAND, IDC_FW_BUTTON, BN_CLICKED, {"derived button"}, 0},
        {"edit changed, from the middle map", WM_COMMAND, IDC_FW_TEXT, EN_CHANGE, {"text change"}, 0},
        {"own message, from the middle map", WM_APP + 7, 1, 2, {"app message 1,2"}, 102},
        {"OK, from the middle map", WM_COMMAND, IDOK, BN_CLICKED, {"accept"}, 0},
    };
    OverridingDialog dlg;
    ASSERT_TRUE(dlg.Create());
    DestroyAtEnd end(dlg);
    for (const DispatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        dlg.m_calls.clear();
        EXPECT_EQ(c.result, Deliver(dlg, c));
        EXPECT_EQ(c.calls, dlg.m_calls);
    }
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(nullptr, dlg.m_hWnd) << "Cancel still reaches the framework's dialog map";
}

// ---------------------------------------------------------------------------------------------
// Worker threads

struct ThreadProbe {
    HANDLE ran = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE deleted = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::mutex mutex;
    std::vector<std::string> events;
    DWORD threadId = 0;
    int priority = 0;
    UINT result = 0;

    ~ThreadProbe()
    {
        CloseHandle(ran);
        CloseHandle(deleted);
    }
    void Note(const std::string& event)
    {
        std::lock_guard<std::mutex> lock(mutex);
        events.push_back(event);
    }
    std::vector<std::string> Events()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return events;
    }
};

UINT ProbeProc(LPVOID param)
{
    auto* probe = static_cast<ThreadProbe*>(param);
    probe->threadId = GetCurrentThreadId();
    probe->priority = GetThreadPriority(GetCurrentThread());
    probe->Note("function");
    SetEvent(probe->ran);
    return probe->result;
}

// A thread object that reports its deletion.
class ReportingThread : public CWinThread {
public:
    ReportingThread(ThreadProbe* probe) : CWinThread(&ProbeProc, probe), m_probe(probe) {}
    ~ReportingThread() override
    {
        m_probe->Note("deleted");
        SetEvent(m_probe->deleted);
    }

private:
    ThreadProbe* m_probe;
};

TEST(FrameworkThread, ASuspendedThreadRunsItsFunctionOnlyWhenResumed)
{
    const int priorities[] = {THREAD_PRIORITY_NORMAL, THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_LOWEST};
    for (int priority : priorities) {
        SCOPED_TRACE(priority);
        ThreadProbe probe;
        probe.result = 40 + static_cast<UINT>(-priority);
        CWinThread* thread = AfxBeginThread(&ProbeProc, &probe, priority, 0, CREATE_SUSPENDED);
        ASSERT_NE(nullptr, thread);
        thread->m_bAutoDelete = FALSE;
        DWORD code = 0;
        ASSERT_TRUE(GetExitCodeThread(thread->m_hThread, &code));
        EXPECT_EQ(STILL_ACTIVE, code);
        EXPECT_TRUE(probe.Events().empty());
        EXPECT_EQ(priority, GetThreadPriority(thread->m_hThread));
        EXPECT_EQ(1u, thread->ResumeThread()) << "it was suspended until now";
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread->m_hThread, 10000));
        EXPECT_EQ((std::vector<std::string>{"function"}), probe.Events());
        EXPECT_EQ(thread->m_nThreadID, probe.threadId);
        EXPECT_EQ(priority, probe.priority);
        ASSERT_TRUE(GetExitCodeThread(thread->m_hThread, &code));
        EXPECT_EQ(probe.result, code);
        delete thread;
    }
}

// The program's end with a worker that outlived its window, in a child process: the worker would
// end the process with 99 if it ran while the static objects were torn down.
std::atomic<bool> g_bTornDown{false};
TEST(FrameworkThread, DISABLED_ChildEndsWithAWorkerStillRunning)
{
    static struct Watched {
        ~Watched() { g_bTornDown = true, Sleep(300); }  // and the rest of the teardown
    } watched;
    AfxBeginThread([](LPVOID) -> UINT { while (!g_bTornDown) Sleep(1); ExitProcess(99); }, nullptr);
    exit(AfxWinTerm(7));  // as the program's entry returns
}

TEST(FrameworkThread, AWorkerStillRunningAtTheEndIsEndedBeforeTheTeardown)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"x --gtest_also_run_disabled_tests --gtest_filter=*DISABLED_ChildEndsWithAWorkerStillRunning";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    ASSERT_TRUE(CreateProcessW(self, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child));
    DWORD code = 0;
    if (WaitForSingleObject(child.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 1);
    GetExitCodeProcess(child.hProcess, &code);
    EXPECT_EQ(7u, code) << "99: the worker ran on while the program was torn down";
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
}

TEST(FrameworkThread, AThreadStartedAtOnceRunsItsFunction)
{
    ThreadProbe probe;
    CWinThread* thread = AfxBeginThread(&ProbeProc, &probe, THREAD_PRIORITY_BELOW_NORMAL);
    ASSERT_NE(nullptr, thread);
    // The object deletes itself when the function returns: only the probe may be touched now.
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(probe.ran, 10000));
    EXPECT_EQ(THREAD_PRIORITY_BELOW_NORMAL, probe.priority);
    EXPECT_NE(GetCurrentThreadId(), probe.threadId);
}

TEST(FrameworkThread, AnAutoDeletingObjectIsDeletedWhenItsFunctionReturns)
{
    struct Case {
        const char* name;
        DWORD flags;
        BOOL autoDelete;
    };
    const Case cases[] = {
        {"suspended, deletes itself", CREATE_SUSPENDED, TRUE},
        {"suspended, kept", CREATE_SUSPENDED, FALSE},
        {"started at once, deletes itself", 0, TRUE},
        {"started at once, kept", 0, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ThreadProbe probe;
        probe.result = 7;
        auto* thread = new ReportingThread(&probe);
        thread->m_bAutoDelete = c.autoDelete;
        HANDLE ended = nullptr;
        if (c.flags & CREATE_SUSPENDED) {
            ASSERT_TRUE(thread->CreateThread(CREATE_SUSPENDED));
            ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), thread->m_hThread, GetCurrentProcess(), &ended, 0, FALSE,
                                        DUPLICATE_SAME_ACCESS));
            EXPECT_TRUE(probe.Events().empty());
            EXPECT_EQ(1u, thread->ResumeThread());
        } else {
            ASSERT_TRUE(thread->CreateThread());
            // A self-deleting object may be gone already: its handle is not touched.
            if (!c.autoDelete) {
                ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), thread->m_hThread, GetCurrentProcess(), &ended, 0,
                                            FALSE, DUPLICATE_SAME_ACCESS));
            }
        }
        if (c.autoDelete) {
            ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(probe.deleted, 10000));
            EXPECT_EQ((std::vector<std::string>{"function", "deleted"}), probe.Events());
        }
        if (ended) {
            ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(ended, 10000));
            DWORD code = 0;
            EXPECT_TRUE(GetExitCodeThread(ended, &code));
            EXPECT_EQ(7u, code);
            CloseHandle(ended);
        }
        if (!c.autoDelete) {
            // The thread has ended and the object is still there, with its handle.
            EXPECT_EQ((std::vector<std::string>{"function"}), probe.Events());
            EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread->m_hThread, 0));
            delete thread;
            EXPECT_EQ((std::vector<std::string>{"function", "deleted"}), probe.Events());
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Profile functions

const char kTestCompany[] = "TarquelinTest";
const char kTestProfile[] = "ProfileTest";

std::string SectionPath(const char* section)
{
    return std::string("Software\\") + kTestCompany + "\\" + kTestProfile + "\\" + section;
}

RawValue ReadRaw(const char* section, const char* entry)
{
    return ReadRawValue(SectionPath(section), entry);
}

void WriteRaw(const char* section, const char* entry, DWORD type, const std::string& data)
{
    WriteRawValue(SectionPath(section), entry, type, data);
}

// The application object, named for the tests and keyed under a test company; restored afterwards.
class FrameworkProfile : public testing::Test {
protected:
    TestProfile m_profile{kTestCompany, kTestProfile};
    CWinApp* m_app = AfxGetApp();
};

TEST_F(FrameworkProfile, IntegersAreStoredAsDwords)
{
    const int values[] = {0, 42, -1, INT_MAX, INT_MIN};
    for (int value : values) {
        SCOPED_TRACE(value);
        ASSERT_TRUE(m_app->WriteProfileInt("Numbers", "Value", value));
        RawValue raw = ReadRaw("Numbers", "Value");
        ASSERT_EQ(ERROR_SUCCESS, raw.status);
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), raw.type);
        EXPECT_EQ(DwordBytes(static_cast<DWORD>(value)), raw.data);
        EXPECT_EQ(value, static_cast<int>(m_app->GetProfileInt("Numbers", "Value", 5)));
    }
}

TEST_F(FrameworkProfile, StringsAreStoredAsTerminatedTexts)
{
    const std::string values[] = {"hello", "", "with spaces = ; [brackets] \"quotes\"", "\x80\x97\xe9\xff",
                                  std::string(5000, 'w')};
    for (const std::string& value : values) {
        SCOPED_TRACE(value.substr(0, 40));
        ASSERT_TRUE(m_app->WriteProfileString("Texts", "Value", value.c_str()));
        RawValue raw = ReadRaw("Texts", "Value");
        ASSERT_EQ(ERROR_SUCCESS, raw.status);
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), raw.type);
        EXPECT_EQ(value + '\0', raw.data);
        EXPECT_EQ(value, m_app->GetProfileString("Texts", "Value", "default").Str());
    }
}

// A value of up to four bytes is a number whatever its type (a .reg file made by hand may give a
// binary or a shorter one); text, longer values and missing ones give the default.
TEST_F(FrameworkProfile, NumbersOfUpToFourBytesAreReadAndOtherEntriesGiveTheDefault)
{
    WriteRaw("Mixed", "Text", REG_SZ, std::string("12\0", 3));
    WriteRaw("Mixed", "Number", REG_DWORD, DwordBytes(12));
    WriteRaw("Mixed", "Binary", REG_BINARY, DwordBytes(12));
    WriteRaw("Mixed", "Short", REG_BINARY, std::string("\x0c", 1));
    WriteRaw("Mixed", "Two bytes", REG_DWORD, std::string("\x34\x12", 2));
    WriteRaw("Mixed", "Five bytes", REG_BINARY, std::string("\x01\x02\x03\x04\x05", 5));
    WriteRaw("Mixed", "Unterminated", REG_SZ, "abc");
    WriteRaw("Mixed", "Empty", REG_SZ, std::string("\0", 1));

    struct IntCase {
        const char* section;
        const char* entry;
        int defaultValue;
        int expected;
    };
    const IntCase intCases[] = {
        {"Mixed", "Number", 5, 12},
        {"Mixed", "Missing", 5, 5},
        {"Mixed", "Missing", -5, -5},
        {"Missing section", "Number", 9, 9},
        {"Mixed", "Text", 5, 5},
        {"Mixed", "Binary", 5, 12},
        {"Mixed", "Short", 5, 12},
        {"Mixed", "Two bytes", 5, 0x1234},
        {"Mixed", "Five bytes", 5, 5},
    };
    for (const IntCase& c : intCases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.entry);
        EXPECT_EQ(c.expected, static_cast<int>(m_app->GetProfileInt(c.section, c.entry, c.defaultValue)));
    }

    struct StringCase {
        const char* section;
        const char* entry;
        const char* defaultValue;
        std::string expected;
    };
    const StringCase stringCases[] = {
        {"Mixed", "Text", "default", "12"},
        {"Mixed", "Missing", "default", "default"},
        {"Mixed", "Missing", "", ""},
        {"Missing section", "Text", "default", "default"},
        {"Mixed", "Number", "default", "default"},
        {"Mixed", "Binary", "default", "default"},
        {"Mixed", "Unterminated", "default", "abc"},
        {"Mixed", "Empty", "default", ""},
    };
    for (const StringCase& c : stringCases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.entry);
        EXPECT_EQ(c.expected, m_app->GetProfileString(c.section, c.entry, c.defaultValue).Str());
    }
}

TEST_F(FrameworkProfile, WritingNoStringDeletesTheEntry)
{
    ASSERT_TRUE(m_app->WriteProfileString("Texts", "Gone", "here"));
    ASSERT_TRUE(m_app->WriteProfileString("Texts", "Kept", "here"));
    EXPECT_TRUE(m_app->WriteProfileString("Texts", "Gone", nullptr));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, ReadRaw("Texts", "Gone").status);
    EXPECT_EQ("default", m_app->GetProfileString("Texts", "Gone", "default").Str());
    EXPECT_EQ("here", m_app->GetProfileString("Texts", "Kept", "default").Str());
}

// ---------------------------------------------------------------------------------------------
// Strings

// A picker that the platform cannot run is a failure with its reason, told apart from a Cancel.
TEST(FrameworkFileDialog, APickerThatFailsIsNotTakenForACancel)
{
    CFileDialog cancelled(FALSE, "txt", "name", 0, "Text files|*.txt||");
    WhenShown cancel("Save As", [](HWND picker) { PostMessageA(picker, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(IDCANCEL, cancelled.DoModal());
    EXPECT_TRUE(cancel.Ran());
    EXPECT_EQ(0u, cancelled.GetError());

    CFileDialog failing(FALSE, "txt", "name", 0, "Text files|*.txt||");
    failing.m_ofn.lStructSize = 1;  // a record the platform does not know
    EXPECT_EQ(-1, failing.DoModal());
    EXPECT_EQ(static_cast<DWORD>(CDERR_STRUCTSIZE), failing.GetError());
}

TEST(FrameworkString, LoadStringGivesTheStringTableTexts)
{
    struct Case {
        unsigned id;
        const char* text;
    };
    const Case cases[] = {
        {IDS_ABOUTBOX, "&About Whois..."},
        {IDS_SOCKETS_INIT_FAILED, "Windows sockets initialization failed."},
        {IDS_IDLE, "Idle"},
        {IDS_STOP, "&Stop"},
        {IDS_NOTHING_TO_ASK, "Fatal error: nothing to ask for."},
        {IDS_ASK, "&Ask"},
        {IDS_LOOKING_UP, "Looking up %s..."},
        {IDS_LOOKUP_FAILED, "Lookup of %s failed"},
        {IDS_CONNECTING, "Connecting to %s..."},
        {IDS_REQUESTING, "Requesting data..."},
        {IDS_WAITING, "Waiting for data..."},
        {IDS_RECEIVING, "Recieving data..."},
        {IDS_ABORTED, "Data flow aborted by user"},
        {IDS_CONNECT_FAILED, "Connection to %s failed"},
        {IDS_NETWORK_FAILED, "Network subsystem has failed"},
        {IDS_GOT_DATA, "Got the data. Analysing..."},
        {IDS_COMPLETE, "Complete."},
        {IDS_ANSWER_CUT, "Answer cut at 64 MB: the server sent more"},
        // Stored as UTF-16 from a code page 1252 source; loaded back in the ANSI code page.
        {IDS_FW_ACCENTS, "caf\xe9 \x97 na\xefve \x80"},
    };
    ASSERT_EQ(1252u, GetACP()) << "the program's texts are in code page 1252";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        CString text("stale");
        EXPECT_TRUE(text.LoadString(c.id));
        EXPECT_EQ(c.text, text.Str());
    }
}

TEST(FrameworkString, AnUnknownIdGivesTheEmptyText)
{
    // Neighbours of real entries (same block), an empty block, and IDs far from any entry.
    const unsigned ids[] = {0, 100, 102, 104, 399, 427, 432, 9031, 65535};
    for (unsigned id : ids) {
        SCOPED_TRACE(id);
        CString text("stale");
        EXPECT_FALSE(text.LoadString(id));
        EXPECT_TRUE(text.IsEmpty());
        EXPECT_EQ(0, text.GetLength());
    }
}

TEST(FrameworkString, FormatFillsInTheHostName)
{
    struct Case {
        unsigned id;
        std::string host;
        std::string expected;
    };
    const std::string longHost = std::string(300, 'h') + ".example";
    const Case cases[] = {
        {IDS_LOOKING_UP, "whois.arin.net", "Looking up whois.arin.net..."},
        {IDS_LOOKUP_FAILED, "whois.ripe.net", "Lookup of whois.ripe.net failed"},
        {IDS_CONNECTING, "192.0.2.1", "Connecting to 192.0.2.1..."},
        {IDS_CONNECT_FAILED, longHost, "Connection to " + longHost + " failed"},
        {IDS_CONNECTING, "100%s%d.example", "Connecting to 100%s%d.example..."},
        {IDS_CONNECTING, "", "Connecting to ..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected.substr(0, 40));
        CString pattern;
        ASSERT_TRUE(pattern.LoadString(c.id));
        CString text("stale text that is longer than some of the results");
        text.Format(pattern, c.host.c_str());
        EXPECT_EQ(c.expected, text.Str());
        EXPECT_EQ(static_cast<int>(c.expected.size()), text.GetLength());
    }
}

// ---------------------------------------------------------------------------------------------
// The rich edit control

class RichDialog : public CDialog {
public:
    explicit RichDialog(UINT templateId) : CDialog(templateId) {}
    CRichEditCtrl m_rich;

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        CDialog::DoDataExchange(dx);
        DDX_Control(dx, IDC_FW_RICH, m_rich);
    }
};

// A content of given runs; a copy names the range it was asked for.
struct RunsContent : CRichEditCtrl::Content {
    std::vector<Run> runs;
    size_t next = 0;
    bool NextRun(Run& run) override { return next < runs.size() && (run = runs[next++], true); }
    std::wstring TextFor(long from, long to) const override { return L"text for " + std::to_wstring(from) + L".." + std::to_wstring(to); }
};

// A run as the tests write it, in UTF-8.
struct TextRun {
    std::string text;
    bool marked = false;
};

bool Fill(CRichEditCtrl& rich, const std::vector<TextRun>& runs)
{
    auto content = std::make_unique<RunsContent>();
    for (const TextRun& run : runs) content->runs.push_back({Utf8ToWide(run.text), run.marked});
    CHARFORMATA link{};
    link.dwMask = CFM_LINK;
    link.dwEffects = CFE_LINK;
    return rich.Fill(std::move(content), link);
}

// Each case in one control after the other, each but the first replacing a text: every run goes
// in as its characters, in any script, in its format; text that looks like rich text is shown as
// its characters.
TEST(FrameworkRichEdit, RunsGoInAsTheirCharactersInTheirFormats)
{
    using Runs = std::vector<TextRun>;
    std::wstring high;
    for (wchar_t c = 0x80; c <= 0xFF; ++c) high += c;
    Runs large;
    while (large.size() < 2000) large.push_back({"line of a long answer, beyond the control's default limit\r\n", large.size() % 7 == 3});
    const std::string rtf = "{\\rtf1 {\\b x}}";
    struct Case {
        const char* name;
        Runs runs;
    };
    const Case cases[] = {
        {"line feeds only", {{"first\nsecond\n\nfourth\n"}}},
        {"carriage return and line feed", {{"first\r\n"}, {"second", true}, {"\r\n\r\nfourth"}}},
        {"a line end cut between two runs", {{"first\r"}, {"\nsecond\r\r\n"}, {"(M)", true}, {"\n"}}},
        {"lone carriage returns", {{"first\r"}, {"second", true}, {"\r"}, {"third", true}}},
        {"looks like rich text", {{rtf}}},
        {"rich text after a marked run", {{"(M)", true}, {rtf}}},
        {"a marked run of rich text", {{"(M)"}, {rtf, true}, {"\r\nend"}}},
        {"braces", {{"{{{{\\"}, {"{\\{\\", true}}},
        {"characters 0x80 to 0xFF", {{WideToUtf8(high)}}},
        {"three scripts", {{"Straße Иван "}, {"東京", true}, {" \U0001F600\r\n"}, {"あ", true}}},
        {"empty", {}},
        {"after the empty text", {{"again", true}}},
        {"beyond the default limit", large},
        {"empty after a large text", {}},
    };
    RichDialog dlg(IDD_FW_EXCHANGE);
    ASSERT_TRUE(dlg.Create());
    DestroyAtEnd end(dlg);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Fill(dlg.m_rich, c.runs));
        ASSERT_TRUE(PumpUntil([&] { return !dlg.m_rich.IsFilling(); }, 30000));
        // The control holds a line end as one character: a carriage return, its line feed left out.
        std::wstring expected;
        std::vector<std::pair<long, bool>> ends;  // each run's first and last character that is no line end
        bool afterReturn = false;
        for (const TextRun& run : c.runs) {
            const std::wstring text = Utf8ToWide(run.text);
            const size_t first = text.find_first_not_of(L"\r\n"), last = text.find_last_not_of(L"\r\n");
            for (size_t i = 0; i < text.size(); ++i) {
                if (i == first || i == last) ends.push_back({static_cast<long>(expected.size()), run.marked});
                const wchar_t ch = text[i];
                if (ch != L'\n' || !afterReturn) expected += ch == L'\n' ? L'\r' : ch;
                afterReturn = ch == L'\r';
            }
        }
        const std::wstring shown = RichEditWideText(dlg.m_rich.m_hWnd);
        EXPECT_EQ(expected.size(), shown.size());
        EXPECT_TRUE(expected == shown) << "given: " << WideToUtf8(expected.substr(0, 60)) << "\nshown: " << WideToUtf8(shown.substr(0, 60));
        for (const auto& at : ends)
            EXPECT_EQ(at.second, (CharFormatAt(dlg.m_rich.m_hWnd, at.first).dwEffects & CFE_LINK) != 0) << at.first;
    }
}

// A copy of a selection, by message or by key, gives what the content says the selection stands for.
TEST(FrameworkRichEdit, ACopyGivesWhatTheSelectionStandsFor)
{
    RichDialog dlg(IDD_FW_EXCHANGE);
    ASSERT_TRUE(dlg.Create());
    DestroyAtEnd end(dlg);
    ASSERT_TRUE(Fill(dlg.m_rich, {{"shown text\r\n"}, {"(LINK-1)", true}}));
    BYTE keys[256];
    GetKeyboardState(keys);
    const BYTE control = keys[VK_CONTROL];
    struct Case {
        const char* name;
        UINT message;
        WPARAM key;
        long from, to;
        long contentFrom, contentTo;
    };
    // The control holds the carriage return and line feed as one character: the positions after it
    // stand for the content's one further on.
    const Case cases[] = {{"WM_COPY", WM_COPY, 0, 2, 9, 2, 9},
                          {"Ctrl+C", WM_KEYDOWN, 'C', 0, 4, 0, 4},
                          {"Ctrl+Insert", WM_KEYDOWN, VK_INSERT, 12, 19, 13, 20},
                          {"across the line end", WM_COPY, 0, 9, 12, 9, 13}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EmptyTheClipboard();
        dlg.m_rich.SetSel(c.from, c.to);
        keys[VK_CONTROL] = c.message == WM_KEYDOWN ? 0x80 : 0;
        SetKeyboardState(keys);
        dlg.m_rich.SendMessage(c.message, c.key);
        EXPECT_EQ("text for " + std::to_string(c.contentFrom) + ".." + std::to_string(c.contentTo), ClipboardText());
    }
    keys[VK_CONTROL] = control;
    SetKeyboardState(keys);
}

// No control can be made to replace the one that holds a text: the control stays as it was, and
// nothing is left waiting to fill.
TEST(FrameworkRichEdit, AReplacementThatCannotBeMadeLeavesTheControlAsItWas)
{
    RichDialog dlg(IDD_FW_EXCHANGE);
    ASSERT_TRUE(dlg.Create());
    DestroyAtEnd end(dlg);
    ASSERT_TRUE(Fill(dlg.m_rich, {{"first text"}}));
    const HWND first = dlg.m_rich.m_hWnd;
    const CRichEditCtrl::Content* content = dlg.m_rich.GetContent();
    HHOOK refuse = SetWindowsHookExA(WH_CBT, [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
        return code == HCBT_CREATEWND ? 1 : CallNextHookEx(nullptr, code, wParam, lParam);
    }, nullptr, GetCurrentThreadId());
    const bool filled = Fill(dlg.m_rich, {{"second text"}});
    UnhookWindowsHookEx(refuse);
    EXPECT_FALSE(filled);
    EXPECT_FALSE(dlg.m_rich.IsFilling());
    EXPECT_EQ(first, dlg.m_rich.m_hWnd);
    EXPECT_EQ(first, dlg.GetDlgItem(IDC_FW_RICH));
    EXPECT_TRUE(IsWindowVisible(first));
    EXPECT_EQ(content, dlg.m_rich.GetContent());
    EXPECT_EQ("first text", RichEditText(first));
    ASSERT_TRUE(Fill(dlg.m_rich, {{"third text"}})) << "once controls can be made again";
    EXPECT_EQ("third text", RichEditText(dlg.m_rich.m_hWnd));
}

// What a replaced control must keep, read from the control that holds the dialog's rich edit ID.
struct RichPlace {
    HWND window;
    RECT rect;
    LONG style;
    LONG exStyle;
    LRESULT font;
    HWND zBefore;
    HWND zAfter;
    DWORD eventMask;
    COLORREF textColor;
    LRESULT textLimit;
};

RichPlace ReadPlace(HWND dialog)
{
    RichPlace place{};
    place.window = GetDlgItem(dialog, IDC_FW_RICH);
    GetWindowRect(place.window, &place.rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place.rect), 2);
    place.style = GetWindowLongA(place.window, GWL_STYLE);
    place.exStyle = GetWindowLongA(place.window, GWL_EXSTYLE);
    place.font = SendMessageA(place.window, WM_GETFONT, 0, 0);
    place.zBefore = GetWindow(place.window, GW_HWNDPREV);
    place.zAfter = GetWindow(place.window, GW_HWNDNEXT);
    place.eventMask = static_cast<DWORD>(SendMessageA(place.window, EM_GETEVENTMASK, 0, 0));
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    SendMessageA(place.window, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    place.textColor = format.crTextColor;
    place.textLimit = SendMessageA(place.window, EM_GETLIMITTEXT, 0, 0);
    return place;
}

int CountChildrenWithId(HWND dialog, int id)
{
    int count = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgCtrlID(child) == id) ++count;
    return count;
}

TEST(FrameworkRichEdit, ANewTextKeepsTheControlInItsPlace)
{
    struct Case {
        const char* name;
        UINT templateId;
        int focusId;
    };
    const Case cases[] = {
        {"in the middle, focused", IDD_FW_EXCHANGE, IDC_FW_RICH},
        {"in the middle, focus elsewhere", IDD_FW_EXCHANGE, IDC_FW_BUTTON},
        {"first child, focused", IDD_FW_RICH_FIRST, IDC_FW_RICH},
        {"first child, focus elsewhere", IDD_FW_RICH_FIRST, IDC_FW_TEXT},
        {"last child, focused", IDD_FW_RICH_LAST, IDC_FW_RICH},
        {"last child, focus elsewhere", IDD_FW_RICH_LAST, IDC_FW_TEXT},
    };
    const COLORREF red = RGB(200, 0, 0);
    const DWORD mask = ENM_LINK | ENM_SELCHANGE;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RichDialog dlg(c.templateId);
        ASSERT_TRUE(dlg.Create());
        DestroyAtEnd end(dlg);
        CHARFORMATA format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_COLOR;
        format.crTextColor = red;
        dlg.m_rich.SetDefaultCharFormat(format);
        dlg.m_rich.SetEventMask(mask);
        dlg.m_rich.SetBackgroundColor(RGB(0, 0, 80));

        HWND empty = dlg.m_rich.m_hWnd;
        ASSERT_TRUE(Fill(dlg.m_rich, {{"first text"}}));
        EXPECT_EQ(empty, dlg.m_rich.m_hWnd) << "an empty control takes its first text in place";
        SetFocus(dlg.GetDlgItem(c.focusId));

        const RichPlace before = ReadPlace(dlg.m_hWnd);
        ASSERT_EQ(before.window, dlg.m_rich.m_hWnd);
        EXPECT_EQ(red, before.textColor);
        EXPECT_EQ(mask, before.eventMask);
        EXPECT_GT(before.textLimit, 1 << 20) << "room for a large answer";
        const HWND tabBefore = GetNextDlgTabItem(dlg.m_hWnd, before.window, TRUE);
        const HWND tabAfter = GetNextDlgTabItem(dlg.m_hWnd, before.window, FALSE);
        ASSERT_NE(before.window, tabBefore);
        ASSERT_NE(before.window, tabAfter);

        ASSERT_TRUE(Fill(dlg.m_rich, {{"second text"}}));
        EXPECT_EQ(1, CountChildrenWithId(dlg.m_hWnd, IDC_FW_RICH)) << "at once";
        // The replaced control goes once the message loop runs.
        if (dlg.m_rich.m_hWnd != before.window) {
            EXPECT_TRUE(PumpUntil([&] { return !IsWindow(before.window); })) << "the replaced control is gone";
        }
        const RichPlace after = ReadPlace(dlg.m_hWnd);
        ASSERT_NE(nullptr, after.window);
        EXPECT_EQ(after.window, dlg.m_rich.m_hWnd) << "the object is bound to the control with the ID";
        EXPECT_EQ(&dlg.m_rich, CWnd::FromHandlePermanent(after.window));
        EXPECT_EQ("second text", RichEditText(after.window));
        EXPECT_TRUE(EqualRect(&before.rect, &after.rect));
        EXPECT_EQ(before.style, after.style);
        EXPECT_EQ(before.exStyle, after.exStyle);
        EXPECT_EQ(before.font, after.font);
        EXPECT_EQ(before.zBefore, after.zBefore);
        EXPECT_EQ(before.zAfter, after.zAfter);
        EXPECT_EQ(after.window, GetNextDlgTabItem(dlg.m_hWnd, tabBefore, FALSE)) << "tab from the previous control";
        EXPECT_EQ(tabAfter, GetNextDlgTabItem(dlg.m_hWnd, after.window, FALSE)) << "tab on to the next control";
        EXPECT_EQ(mask, after.eventMask);
        EXPECT_EQ(red, after.textColor);
        EXPECT_EQ(before.textLimit, after.textLimit);
        const HWND expectedFocus = c.focusId == IDC_FW_RICH ? after.window : dlg.GetDlgItem(c.focusId);
        EXPECT_EQ(expectedFocus, GetFocus());
    }
}

}  // namespace
