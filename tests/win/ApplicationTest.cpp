// The application's start-up, run for real: the command-line question, the sockets start-up failure
// and the ways out of the modal main dialog. A thread timer drives each run from inside the modal
// loop, as a user would, and ends the dialog when the case is done.
#include <gtest/gtest.h>

#include <functional>

#include "app/WhoisApp.h"
#include "app/WhoisDlg.h"
#include "framework/CommandLine.h"
#include "res/resource.h"
#include "support/DialogDriver.h"
#include "support/ScriptedWhoisServer.h"

namespace {
// Runs the application's initialisation with the given command line while `step` drives it; once
// the step is done (or the time is up), whatever is still open (the main dialog) is ended as
// Escape would end it.
BOOL RunApplication(const char* commandLine, const std::function<bool()>& step)
{
    CString savedName = theApp.m_strAppName;
    theApp.m_lpCmdLine = CommandLineTail(commandLine);
    auto end = [] {
        if (g_pMainDlg && g_pMainDlg->m_hWnd) g_pMainDlg->PostMessage(WM_COMMAND, IDCANCEL);
    };
    BOOL result = FALSE;
    StepsRun run = RunWithSteps([&] { result = theApp.InitInstance(); }, {step, [&] { end(); return true; }}, end);
    EXPECT_FALSE(run.timedOut) << "the run did not reach its expected state in time";
    theApp.m_strAppName = savedName;
    theApp.m_lpCmdLine = "";
    return result;
}

class Application : public testing::Test {
protected:
    void SetUp() override { m_server.Play({{ServerStep::Send("answer (HANDLE-1)\n")}}); }
    void TearDown() override { g_pfnSocketStartup = &WSAStartup; }

    static bool DialogUp() { return g_pMainDlg && g_pMainDlg->m_hWnd && IsWindowVisible(g_pMainDlg->m_hWnd); }
    static std::string Item(int id) { return ItemText(g_pMainDlg->m_hWnd, id); }

    ScriptedWhoisServer m_server;
    RedirectedServers m_servers{m_server.Port()};
};

TEST_F(Application, TheCommandLineQuestionIsAskedOnceTheWindowIsUp)
{
    struct Case {
        const char* commandLine;
        std::string question;  // what the question box shows
        std::string sent;      // what the server is asked; empty: nothing
    };
    const Case cases[] = {
        {"whois.exe example.com", "example.com", "example.com"},
        {"\"C:\\Program Files\\Tarquelin\\whois.exe\"   192.0.2.1", "192.0.2.1", "192.0.2.1"},
        {"whois.exe \"quoted question\"", "\"quoted question\"", "\"quoted question\""},
        {"whois.exe пример.example", "пример.example", "xn--e1afmkfd.example"},
        {"whois.exe     ", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandLine);
        int before = m_server.Connections();
        std::string seenQuestion, seenStatus, seenCaption;
        DWORD idleSince = 0;
        BOOL result = RunApplication(c.commandLine, [&] {
            if (!DialogUp()) return false;
            seenQuestion = Utf8WindowText(GetDlgItem(g_pMainDlg->m_hWnd, IDC_QUESTION));
            seenStatus = Item(IDC_STATUS);
            seenCaption = WindowText(g_pMainDlg->m_hWnd);
            if (!c.sent.empty()) return seenStatus == "Complete.";
            // Nothing to ask: the window stays idle.
            if (!idleSince) idleSince = GetTickCount();
            return GetTickCount() - idleSince > 300;
        });
        EXPECT_FALSE(result);
        EXPECT_EQ(c.question, seenQuestion);
        EXPECT_EQ("Tarquelin whois", seenCaption);
        if (!c.sent.empty()) {
            ASSERT_EQ(before + 1, m_server.Connections());
            EXPECT_EQ(c.sent + "\n", m_server.Received().back());
        } else {
            EXPECT_EQ("Idle", seenStatus);
            EXPECT_EQ(before, m_server.Connections());
        }
    }
    EXPECT_EQ(nullptr, g_pMainDlg);
}

TEST_F(Application, NamesItselfWhoisUnderTheCompanyKey)
{
    std::string name, key;
    RunApplication("whois.exe", [&] {
        name = theApp.m_strAppName.Str();
        key = theApp.m_strRegistryKey.Str();
        return DialogUp();
    });
    EXPECT_EQ("Whois", name);
    EXPECT_EQ("Tarquelin", key);
}

TEST_F(Application, ASocketsStartUpFailureShowsOneBoxAndNoWindow)
{
    struct Case {
        const char* name;
        int (WINAPI* startup)(WORD, WSADATA*);
    };
    const Case cases[] = {
        {"library refuses to start", [](WORD, WSADATA*) WINAPI -> int { return WSASYSNOTREADY; }},
        {"library reports another version", [](WORD version, WSADATA* data) WINAPI -> int {
             int result = WSAStartup(version, data);
             data->wVersion = MAKEWORD(2, 2);
             return result;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_pfnSocketStartup = c.startup;
        ModalWatcher watcher(nullptr, "");
        const std::vector<ModalWatcher::Box>& boxes = watcher.Boxes();
        bool windowSeen = false;
        BOOL result = RunApplication("whois.exe example.com", [&] {
            windowSeen = windowSeen || g_pMainDlg;
            return !boxes.empty();
        });
        EXPECT_FALSE(result);
        EXPECT_FALSE(windowSeen);
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ("Windows sockets initialization failed.", boxes[0].text);
        // The application is not named yet: the box carries the program file's name.
        EXPECT_EQ("whois_win_tests", boxes[0].title);
        EXPECT_EQ(0, m_server.Connections());
    }
}

TEST_F(Application, EscapeAndTheCloseBoxEndTheDialog)
{
    struct Case {
        const char* name;
        std::function<void(HWND)> close;
    };
    const Case cases[] = {
        {"Escape in the question box",
         [](HWND dialog) { PostMessageA(GetDlgItem(dialog, IDC_QUESTION), WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"close box", [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"Alt+F4", [](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool sent = false;
        // The step never reports done: only the dialog ending by itself finishes the run in time.
        RunApplication("whois.exe", [&] {
            if (!sent && DialogUp()) {
                SetFocus(g_pMainDlg->GetDlgItem(IDC_QUESTION));
                c.close(g_pMainDlg->m_hWnd);
                sent = true;
            }
            return false;
        });
        EXPECT_TRUE(sent);
    }
}
}  // namespace

// Closing the window ends the modal dialog, and with it the program, at every stage of a query
// without waiting for the server: the running query is stopped, its connection closed, and nothing
// of it is left to run. (A close that waited for the server would outlast the run's limit, which is
// shorter than the connect and receive time limits.)
TEST_F(Application, ClosingTheWindowAtEveryStageEndsTheProgramWithoutWaitingForTheServer)
{
    FullBacklogListener neverAccepts;
    std::string large;
    while (large.size() < 400000) large += "member: (MEMBER-12345) " + std::string(70, '.') + "\n";
    struct Case {
        const char* name;
        ServerScript script;
        bool connectHangs;
        std::function<bool()> reached;  // the stage to close the window in
    };
    const Case cases[] = {
        {"connecting", {}, true, [] { return Item(IDC_STATUS).rfind("Connecting to ", 0) == 0; }},
        {"waiting for data", {ServerStep::HoldOpen()}, false, [] { return Item(IDC_STATUS) == "Waiting for data..."; }},
        {"data flowing", {ServerStep::Send("partial\n"), ServerStep::HoldOpen()}, false,
         [] { return Item(IDC_STATUS) == "Recieving data..."; }},
        {"the answer going into the view", {ServerStep::Send(large)}, false,
         [] { return g_pMainDlg->m_richAnswer.IsFilling(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_server.Play({c.script});
        g_builtinServers[kServerInterNic].port = c.connectHangs ? neverAccepts.Port() : m_server.Port();
        const int connections = m_server.Connections();
        bool closed = false;
        RunApplication("whois.exe example.com", [&] {
            if (DialogUp() && !closed && c.reached()) {
                closed = true;
                g_pMainDlg->PostMessage(WM_CLOSE);
            }
            return false;
        });
        ASSERT_TRUE(closed) << "the stage was never reached";
        EXPECT_EQ(nullptr, g_pMainDlg);
        const bool held = !c.script.empty() && c.script.back().kind == ServerStep::kHoldOpen;
        if (held) {
            ASSERT_EQ(connections + 1, m_server.Connections());
            EXPECT_TRUE(PumpUntil([&] { return m_server.ClientClosed(connections); }, 2000))
                << "the program closed its connection";
        }
        m_server.Release();
    }
}
