// The main dialog asking the scripted WHOIS server: status texts, captions, flags, the answer shown,
// the referral, Stop at every stage and closing while a query runs.
#include <gtest/gtest.h>

#include <memory>

#include "app/WhoisDlg.h"
#include "res/resource.h"
#include "support/AllocationLimit.h"
#include "support/DialogDriver.h"
#include "support/ScriptedWhoisServer.h"
#include "support/ViewDriver.h"

namespace {
const std::string kHost = "127.0.0.1";

std::string Looking() { return "Looking up " + kHost + "..."; }
std::string Connecting() { return "Connecting to " + kHost + "..."; }

// The main dialog, created modelessly, with the four registries pointed at scripted servers.
class MainDialogQuery : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dlg.Create());
        m_log.Watch(Status());
        m_log.Watch(AskButton());
    }

    void TearDown() override
    {
        if (m_dlg.m_hWnd) m_dlg.DestroyWindow();
    }

    HWND Status() { return m_dlg.GetDlgItem(IDC_STATUS); }
    HWND AskButton() { return m_dlg.GetDlgItem(IDOK); }
    const std::vector<std::string>& StatusTexts() { return m_log.Texts(Status()); }
    std::string Answer() { return RichEditText(m_dlg.GetDlgItem(IDC_ANSWER)); }

    void ChooseServer(int index)
    {
        SendDlgItemMessageA(m_dlg.m_hWnd, IDC_SERVER, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SERVER, CBN_SELCHANGE),
                          reinterpret_cast<LPARAM>(m_dlg.GetDlgItem(IDC_SERVER)));
    }

    void Ask(const std::string& question)
    {
        SetDlgItemTextA(m_dlg.m_hWnd, IDC_QUESTION, question.c_str());
        PostClick(m_dlg.m_hWnd, IDOK);
    }

    bool WaitForStatus(const std::string& text)
    {
        return PumpUntil([&] { return WindowText(Status()) == text; }, 10000, m_dlg.m_hWnd);
    }

    // Until the run has ended, its answer all in the view.
    bool WaitForEnd(int limitMs = 10000)
    {
        PumpFor(20, m_dlg.m_hWnd);
        return PumpUntil([&] { return !m_dlg.m_bRunning && !m_dlg.m_richAnswer.IsFilling(); }, limitMs, m_dlg.m_hWnd);
    }

    ScriptedWhoisServer m_server;
    RedirectedServers m_servers{m_server.Port()};
    CWhoisDlg m_dlg;
    TextLog m_log;
};

TEST_F(MainDialogQuery, AnswerArrivesWithEveryStatusInOrder)
{
    m_server.Play({{ServerStep::Send("Domain Name: EXAMPLE.COM\r\n"), ServerStep::Delay(30),
                    ServerStep::Send("Registrar: Example Registrar (EXREG-1)\n")}});
    Ask("example.com");
    ASSERT_TRUE(WaitForEnd());

    std::vector<std::string> expected = {Looking(), Connecting(), "Requesting data...", "Waiting for data...",
                                         "Recieving data...", "Got the data. Analysing...", "Complete."};
    ASSERT_GE(StatusTexts().size(), expected.size());
    EXPECT_EQ(expected, std::vector<std::string>(StatusTexts().begin(), StatusTexts().begin() + 7));
    EXPECT_EQ("Complete.", WindowText(Status()));
    EXPECT_EQ((std::vector<std::string>{"&Stop", "&Ask"}), m_log.Texts(AskButton()));
    EXPECT_EQ("Domain Name: EXAMPLE.COM\nRegistrar: Example Registrar (EXREG-1)\n", Answer()) << "a line end is one in the view";
    EXPECT_EQ((std::vector<std::string>{"example.com\n"}), m_server.Received());
    EXPECT_FALSE(m_dlg.m_bQueryActive);
    EXPECT_TRUE(m_dlg.m_bGotAnswer);
    EXPECT_EQ(kServerInterNic, m_dlg.m_nLastServer);
    EXPECT_EQ("Got the data. Analysing...", m_dlg.m_strStatus.Str());
}

TEST_F(MainDialogQuery, EachEndShowsItsTextAndRestoresAsk)
{
    struct Case {
        const char* name;
        std::string question;
        std::string host;  // ARIN and InterNic host for this case
        int port;          // 0: the scripted server
        std::string finalStatus;
        bool gotAnswer;
    };
    const std::string unresolvable = std::string(70, 'x') + ".invalid";
    const Case cases[] = {
        {"empty question", "", kHost, 0, "Fatal error: nothing to ask for.", false},
        {"refused", "example.com", kHost, RefusingPort(), "Connection to " + kHost + " failed", false},
        {"lookup failed", "example.com", unresolvable, 0, "Lookup of " + unresolvable + " failed", false},
        {"empty answer", "example.com", kHost, 0, "Complete.", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_builtinServers[kServerInterNic] = {c.host, c.port ? static_cast<int>(c.port) : m_server.Port()};
        m_log.Clear();
        int connectionsBefore = m_server.Connections();
        Ask(c.question);
        ASSERT_TRUE(WaitForEnd());
        EXPECT_EQ(c.finalStatus, WindowText(Status()));
        EXPECT_EQ("&Ask", WindowText(AskButton()));
        EXPECT_EQ(c.gotAnswer, m_dlg.m_bGotAnswer != FALSE);
        EXPECT_FALSE(m_dlg.m_bQueryActive);
        if (c.question.empty()) {
            EXPECT_EQ((std::vector<std::string>{"Fatal error: nothing to ask for."}), StatusTexts());
            EXPECT_EQ(connectionsBefore, m_server.Connections());
        }
    }
}

TEST_F(MainDialogQuery, ChunksAreJoinedAndAZeroByteCutsItsChunk)
{
    std::string big(5000, 'a');
    for (size_t i = 0; i < big.size(); i += 97) big[i] = '\n';
    std::string withZero("abc\0def", 7);
    m_server.Play({{ServerStep::Send(big), ServerStep::Delay(30), ServerStep::Send(withZero), ServerStep::Delay(30),
                    ServerStep::Send("tail")}});
    Ask("192.0.2.1");
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(big + "abctail", m_dlg.m_strAnswer.Str());
    EXPECT_EQ(big + "abctail", Answer());
    EXPECT_EQ(kServerArin, m_dlg.m_nLastServer);
}

TEST_F(MainDialogQuery, AnAnswerThatLooksLikeRichTextIsShownAsPlainText)
{
    const std::string answer = "{\\rtf1 {\\b bold}}\nmore";
    m_server.Play({{ServerStep::Send(answer)}});
    Ask("example.com");
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(answer, Answer());
}

TEST_F(MainDialogQuery, ALargeAnswerIsShownWholeAndReplacedByTheNext)
{
    std::string line = "inetnum: 192.0.2.0 - 192.0.2.255 (NET-192-0-2-0-1)\n";
    std::string large;
    // Within what the view shows of an answer.
    while (large.size() < 200000) large += line;
    m_server.Play({{ServerStep::Send(large)}, {ServerStep::Send("second answer\n")}});
    Ask("192.0.2.1");
    ASSERT_TRUE(WaitForEnd(120000));
    EXPECT_EQ(large.size(), Answer().size());
    EXPECT_EQ(large, Answer());
    Ask("192.0.2.2");
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ("second answer\n", Answer());
    EXPECT_EQ(IDC_ANSWER, GetDlgCtrlID(m_dlg.m_richAnswer.m_hWnd));
}

TEST_F(MainDialogQuery, ArinReferralAsksTheNamedRegistry)
{
    struct Case {
        const char* name;
        std::string arinAnswer;
        int choice;
        int expectedServer;
        std::string expectedAnswer;
    };
    const std::string ripeText = "European Regional Internet Registry\nsee whois.ripe.net\n";
    const std::string apnicText = "Asia Pacific Network Information Center\n";
    const Case cases[] = {
        {"RIPE NCC", ripeText, kServerAutomatic, kServerRipe, "RIPE answer\n"},
        {"APNIC", apnicText, kServerAutomatic, kServerApnic, "APNIC answer\n"},
        {"explicit Arin", ripeText, kServerArin, kServerArin, ripeText},
        {"text after the first line", "ARIN\n" + apnicText, kServerAutomatic, kServerArin, "ARIN\n" + apnicText},
    };
    ScriptedWhoisServer ripe, apnic;
    ripe.Play({{ServerStep::Send("RIPE answer\n")}});
    apnic.Play({{ServerStep::Send("APNIC answer\n")}});
    g_builtinServers[kServerRipe] = {kHost, ripe.Port()};
    g_builtinServers[kServerApnic] = {kHost, apnic.Port()};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The ARIN server holds the connection after the referral text: the client must drop it.
        m_server.Play({{ServerStep::Send(c.arinAnswer), ServerStep::HoldOpen()}});
        if (c.expectedServer == kServerArin) m_server.Play({{ServerStep::Send(c.arinAnswer)}});
        ChooseServer(c.choice);
        m_log.Clear();
        Ask("192.0.2.1");
        ASSERT_TRUE(WaitForEnd());
        EXPECT_EQ(c.expectedAnswer, Answer());
        EXPECT_EQ(c.expectedServer, m_dlg.m_nLastServer);
        EXPECT_EQ(c.choice, static_cast<int>(SendDlgItemMessageA(m_dlg.m_hWnd, IDC_SERVER, CB_GETCURSEL, 0, 0)));
        EXPECT_EQ("Complete.", WindowText(Status()));
        if (c.expectedServer != kServerArin) {
            EXPECT_TRUE(PumpUntil([&] { return m_server.ClientClosed(m_server.Connections() - 1); }, 5000));
            // The texts run through the lookup a second time, for the referred registry.
            EXPECT_EQ(2, std::count(StatusTexts().begin(), StatusTexts().end(), Looking()));
        }
    }
    EXPECT_EQ((std::vector<std::string>{"192.0.2.1\n"}), ripe.Received());
    EXPECT_EQ((std::vector<std::string>{"192.0.2.1\n"}), apnic.Received());
}

TEST_F(MainDialogQuery, StopEndsTheRunAtEveryStage)
{
    FullBacklogListener silent;
    struct Case {
        const char* name;
        ServerScript script;
        bool hangingConnect;
        std::string stopWhen;
        std::string endText;      // the worker's last text
        std::string finalStatus;  // what the status line reads once the run is over
        bool gotAnswer;
    };
    const std::string connectFailed = "Connection to " + kHost + " failed";
    const Case cases[] = {
        {"connect that never completes", {}, true, Connecting(), connectFailed, connectFailed, false},
        {"server that never sends", {ServerStep::HoldOpen()}, false, "Waiting for data...",
         "Got the data. Analysing...", "Complete.", true},
        {"server that sends and never closes", {ServerStep::Send("partial (PART-1)\n"), ServerStep::HoldOpen()}, false,
         "Recieving data...", "Data flow aborted by user", "Complete.", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_server.Play({c.script});
        g_builtinServers[kServerInterNic] = {kHost, c.hangingConnect ? silent.Port() : m_server.Port()};
        int connection = m_server.Connections();
        m_log.Clear();
        Ask("example.com");
        ASSERT_TRUE(WaitForStatus(c.stopWhen));
        PumpFor(100, m_dlg.m_hWnd);
        EXPECT_TRUE(m_dlg.m_bRunning);
        EXPECT_EQ("&Stop", WindowText(AskButton()));
        PostClick(m_dlg.m_hWnd, IDOK);
        ASSERT_TRUE(WaitForEnd());
        // The answer, complete or not, is shown, and the status line then reads "Complete.".
        auto end = std::find(StatusTexts().begin(), StatusTexts().end(), c.endText);
        ASSERT_NE(StatusTexts().end(), end);
        EXPECT_EQ(c.stopWhen, *std::prev(end)) << "the stop ended the run at the stage it was at";
        EXPECT_EQ(c.finalStatus, WindowText(Status()));
        EXPECT_EQ("&Ask", WindowText(AskButton()));
        EXPECT_EQ(c.gotAnswer, m_dlg.m_bGotAnswer != FALSE);
        if (!c.hangingConnect) {
            EXPECT_TRUE(PumpUntil([&] { return m_server.ClientClosed(connection); }, 5000));
        }
    }
    EXPECT_EQ("partial (PART-1)\n", Answer());
}

TEST_F(MainDialogQuery, EnterAsksAndStops)
{
    m_server.Play({{ServerStep::HoldOpen()}});
    SetDlgItemTextA(m_dlg.m_hWnd, IDC_QUESTION, "example.com");
    HWND question = m_dlg.GetDlgItem(IDC_QUESTION);
    SetFocus(question);
    PostMessageA(question, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitForStatus("Waiting for data..."));
    EXPECT_EQ("&Stop", WindowText(AskButton()));
    PostMessageA(question, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ("Complete.", WindowText(Status()));
    EXPECT_EQ((std::vector<std::string>{"example.com\n"}), m_server.Received());
}

TEST_F(MainDialogQuery, ClosingWhileAQueryRunsStopsItAndDropsItsMessages)
{
    // Megabytes of a partial answer (beside the server's 4 MB copy of its script): the result that
    // carries them must be freed, not applied.
    m_server.Play({{ServerStep::Send(std::string(4 << 20, 'x')), ServerStep::HoldOpen()}});
    const size_t before = LiveBytes();
    Ask("example.com");
    ASSERT_TRUE(PumpUntil([&] { return LiveBytes() > before + (7 << 20); }, 10000, m_dlg.m_hWnd));
    m_dlg.DestroyWindow();
    EXPECT_EQ(nullptr, m_dlg.m_hWnd);
    EXPECT_EQ(nullptr, m_dlg.m_hSocket);
    EXPECT_TRUE(PumpUntil([&] { return m_server.ClientClosed(0); }, 5000));
    PumpFor(100);
    EXPECT_TRUE(m_dlg.m_strAnswer.IsEmpty() && !m_dlg.m_pCurrent) << "no answer was applied";
    EXPECT_TRUE(PumpUntil([&] { return LiveBytes() < before + (1 << 20); }, 5000)) << "the dropped result was not freed";
}

// An answer there is no memory to keep ends the run all the same: the window lives on, the history
// keeps what it had, and the next question is asked as usual.
TEST_F(MainDialogQuery, AnAnswerThereIsNoMemoryToKeepEndsTheRunAndTheHistoryKeepsWhatItHad)
{
    m_server.Play({{ServerStep::Send("small (HANDLE-1)\n")}, {ServerStep::Send(std::string(2 << 20, 'x')), ServerStep::Delay(300)},
                   {ServerStep::Send("again\n")}});
    Ask("first.example");
    ASSERT_TRUE(WaitForEnd());
    const QueryRecord* shown = m_dlg.m_pCurrent;
    Ask("large.example");
    ASSERT_TRUE(WaitForStatus("Recieving data..."));
    {
        // No memory for a record (the answer itself goes into the history shared, not copied).
        AllocationLimit limit(sizeof(QueryRecord) - 1);
        ASSERT_TRUE(WaitForEnd());
    }
    EXPECT_EQ("Out of memory: the answer could not be kept", WindowText(Status()));
    EXPECT_EQ("&Ask", WindowText(AskButton()));
    EXPECT_TRUE(shown == m_dlg.m_pCurrent && !shown->newer) << "the history is as it was";
    EXPECT_EQ("small (HANDLE-1)\n", m_dlg.m_strAnswer.Str());
    Ask("again.example");
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ("again\n", Answer());
}
}  // namespace

// A question pasted in any script: an internationalised name goes out in its ASCII form, other text
// in the ANSI code page when that holds it, else in UTF-8; the status line names both forms of a
// name, and the question box and the history keep what was pasted.
TEST_F(MainDialogQuery, APastedQuestionOfAnyScriptGoesOutInTheFormServersTakeAndStaysAsTyped)
{
    struct Case {
        const char* typed;   // UTF-8
        const char* sent;    // null: nothing is sent
        const char* status;  // the status line while the query runs, or at its end
    };
    const std::string connecting = Connecting();
    const Case cases[] = {
        {"b\u00FCcher.de", "xn--bcher-kva.de\n", " (b\u00FCcher.de asked as xn--bcher-kva.de)"},
        {"\u043F\u0440\u0438\u043C\u0435\u0440.\u0440\u0444", "xn--e1afmkfd.xn--p1ai\n",
         " (\u043F\u0440\u0438\u043C\u0435\u0440.\u0440\u0444 asked as xn--e1afmkfd.xn--p1ai)"},
        {"example.com", "example.com\n", ""},
        {"M\u00FCller", "M\xFCller\n", ""},
        {"\u0418\u0432\u0430\u043D\u043E\u0432 \u0418.", "\u0418\u0432\u0430\u043D\u043E\u0432 \u0418.\n", ""},
        {"b\u00FCcher..de", nullptr, "Cannot ask b\u00FCcher..de: the name has no ASCII form (xn--)"},
    };
    // "Müller" goes out in the ANSI code page of Wine's default, which holds "ü" but no Cyrillic.
    ASSERT_EQ(1252u, GetACP());
    ChooseServer(kServerInterNic);
    for (const Case& c : cases) {
        const std::string typed = c.typed;
        m_log.Clear();
        m_server.Play({{ServerStep::Send("Domain Name: EXAMPLE.DE\n")}});
        const size_t asked = m_server.Received().size();
        SetClipboardUnicodeText(c.typed);
        SendClick(m_dlg.m_hWnd, IDC_DATA);
        PostClick(m_dlg.m_hWnd, IDOK);
        ASSERT_TRUE(WaitForEnd()) << typed;
        const std::vector<std::string> received = m_server.Received();
        const std::vector<std::string> sent(received.begin() + static_cast<std::ptrdiff_t>(asked), received.end());
        if (!c.sent) {
            EXPECT_EQ(c.status, Utf8WindowText(Status())) << typed;
            EXPECT_TRUE(sent.empty()) << typed;
            EXPECT_EQ((std::vector<std::string>{"&Ask"}), m_log.Texts(AskButton())) << typed;
            continue;
        }
        EXPECT_EQ((std::vector<std::string>{c.sent}), sent) << typed;
        ASSERT_GE(StatusTexts().size(), 2u) << typed;
        EXPECT_EQ(connecting + c.status, StatusTexts()[1]) << typed;
        EXPECT_EQ("Complete.", WindowText(Status())) << typed;
        // The question box and the history keep what the user typed.
        EXPECT_EQ(typed, Utf8WindowText(m_dlg.GetDlgItem(IDC_QUESTION))) << typed;
        EXPECT_EQ(typed, m_dlg.m_pCurrent->question) << typed;
    }
    // Back in the history, the question box shows the question of the answer on display as typed.
    SendClick(m_dlg.m_hWnd, IDC_PREV);
    EXPECT_EQ(cases[3].typed, Utf8WindowText(m_dlg.GetDlgItem(IDC_QUESTION)));
}
