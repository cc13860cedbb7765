// "Automatic" in the real dialog against scripted servers standing in for ARIN, RIPE NCC, IANA, a
// top-level domain's server and registrars: every kind of question answered by its server, a
// registrar that refuses, a referred host that never accepts, Stop in a later pass, and links and
// history over records from referred servers.
#include <gtest/gtest.h>

#include <algorithm>

#include "query/WhoisQuery.h"
#include "support/ViewDriver.h"

namespace {
const std::string kRegistrar = "whois.example-registrar.com";
const std::string kToRipe = "#\n# Comment lines first, as ARIN's answers have them\n#\n\nNetRange: 192.0.2.0/24\n"
                            "NetType: Early Registrations, Transferred to RIPE NCC\nResourceLink: whois.ripe.net\n"
                            "ReferralServer: whois://whois.ripe.net\n";
const std::string kRipeAnswer = "inetnum: 192.0.2.0 - 192.0.2.255\nnetname: EXAMPLE-NET\nadmin-c: (EXA1-RIPE)\n";
const std::string kDenicAnswer = "Domain: example.de\nNserver: ns1.example.de (NS1-EXAMPLE)\n";
const std::string kRegistry = "   Domain Name: EXAMPLE.COM\n   Registrar WHOIS Server: " + kRegistrar + "\n";
const std::string kRefusing = "   Domain Name: EXAMPLE.NET\n   Registrar WHOIS Server: whois.refusing.example\n";
const std::string kToSilent = "refer:        whois.silent.example\n\ndomain:       ORG\n";
const std::string kHeading = "\n% The registrar's server " + kRegistrar + " answers:\n\n";
const std::string kInet6num = "inet6num: 2001:db8::/32\n";

// ARIN answers from m_arin and the domain-name registry from m_interNic, as in the other view tests;
// RIPE NCC (and APNIC), IANA, DENIC and the registrar each from a server of their own.
class Referrals : public MainDialogViewTest {
protected:
    void SetUp() override
    {
        MainDialogViewTest::SetUp();
        g_builtinServers[kServerRipe] = g_builtinServers[kServerApnic] = {"127.0.0.1", m_ripe.Port()};
        g_hostRoutes = {{"whois.iana.org", {"127.0.0.1", m_iana.Port()}},
                        {"whois.denic.de", {"127.0.0.1", m_denic.Port()}},
                        {kRegistrar, {"127.0.0.1", m_registrar.Port()}},
                        {"whois.refusing.example", {"127.0.0.1", RefusingPort()}},
                        {"whois.silent.example", {"127.0.0.1", m_silent.Port()}},
                        // Where WHOIS finds no server, RDAP is asked: here it cannot be reached.
                        {"data.iana.org", {"127.0.0.1", RefusingPort()}},
                        {"rdap.publicinterestregistry.org", {"127.0.0.1", RefusingPort()}}};
        m_savedLimits = g_queryLimits;
        // A short wait for the host that never accepts; a long one for data, so that a slow machine
        // never cuts an answer.
        g_queryLimits = {std::chrono::milliseconds(500), std::chrono::milliseconds(10000)};
        m_log.Watch(m_dlg.GetDlgItem(IDC_STATUS));
    }
    void TearDown() override
    {
        g_hostRoutes.clear();
        g_queryLimits = m_savedLimits;
        MainDialogViewTest::TearDown();
    }
    int TimesShown(const std::string& text)
    {
        const auto& texts = m_log.Texts(m_dlg.GetDlgItem(IDC_STATUS));
        return static_cast<int>(std::count(texts.begin(), texts.end(), text));
    }
    // Clicks the link over `handle` in the view, as the view reports a click.
    void ClickLink(const std::string& handle)
    {
        const LONG at = static_cast<LONG>(ViewText().find(handle));
        ENLINK link{{View(), IDC_ANSWER, EN_LINK}, WM_LBUTTONUP, 0, 0, {at, at + static_cast<LONG>(handle.size())}};
        m_dlg.SendMessage(WM_NOTIFY, IDC_ANSWER, reinterpret_cast<LPARAM>(&link));
    }

    ScriptedWhoisServer m_ripe, m_iana, m_denic, m_registrar;
    FullBacklogListener m_silent;
    QueryLimits m_savedLimits;
    TextLog m_log;
};

TEST_F(Referrals, EachQuestionIsAnsweredByTheServerThatHoldsIt)
{
    struct Case {
        const char* name;
        std::string question;
        std::vector<std::pair<ScriptedWhoisServer*, std::string>> answers;  // in the order asked
        std::vector<std::string> received;                                 // by each, in that order
        std::string view;
        Server server;
        std::string status;
        std::string seen;  // a status text shown on the way
    };
    const Case cases[] = {
        {"a RIPE address", "192.0.2.1", {{&m_arin, kToRipe}, {&m_ripe, kRipeAnswer}}, {"192.0.2.1\n", "192.0.2.1\n"},
         kRipeAnswer, kServerRipe, "Complete.", "Got the data. Analysing..."},
        {"a .de name", "example.de", {{&m_iana, "refer:        whois.denic.de\n"}, {&m_denic, kDenicAnswer}},
         {"example.de\n", "-T dn,ace example.de\n"}, kDenicAnswer, Server::Named("whois.denic.de", 43), "Complete.",
         "Connecting to whois.denic.de..."},
        {"an IPv6 address", "2001:db8::1", {{&m_iana, "refer: whois.ripe.net\n"}, {&m_ripe, kInet6num}},
         {"2001:db8::1\n", "2001:db8::1\n"}, kInet6num, kServerRipe, "Complete.",
         "Connecting to whois.iana.org..."},
        {"an AS number", "AS64496", {{&m_iana, "refer: whois.ripe.net\n"}, {&m_ripe, "aut-num: AS64496\n"}},
         {"AS64496\n", "AS64496\n"}, "aut-num: AS64496\n", kServerRipe, "Complete.", "Looking up whois.iana.org..."},
        {"a .com name and its registrar", "example.com", {{&m_interNic, kRegistry}, {&m_registrar, "Registrar: yes\n"}},
         {"example.com\n", "example.com\n"}, kRegistry + kHeading + "Registrar: yes\n",
         Server::Named(kRegistrar, 43), "Complete.", "Connecting to " + kRegistrar + "..."},
        {"a registrar that refuses", "example.net", {{&m_interNic, kRefusing}}, {"example.net\n"}, kRefusing,
         kServerInterNic, "Connection to whois.refusing.example failed", "Connecting to whois.refusing.example..."},
        {"a referred host that never accepts", "example.org", {{&m_iana, kToSilent}}, {"example.org\n"}, kToSilent,
         Server::Named("whois.iana.org", 43), "Connection to rdap.publicinterestregistry.org failed",
         "Connecting to whois.silent.example..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<size_t> before;
        for (const auto& answer : c.answers) {
            answer.first->Play({{ServerStep::Send(answer.second)}});
            before.push_back(answer.first->Received().size());
        }
        ASSERT_TRUE(AskAndWait(c.question));
        EXPECT_EQ(c.view, ViewText());
        EXPECT_TRUE(c.server == m_dlg.m_nLastServer) << m_dlg.m_nLastServer.index << m_dlg.m_nLastServer.host;
        EXPECT_EQ(c.status, StatusText());
        EXPECT_GE(TimesShown(c.seen), 1) << c.seen;
        for (size_t i = 0; i < c.answers.size(); ++i) {
            const std::vector<std::string> received = c.answers[i].first->Received();
            ASSERT_EQ(before[i] + 1, received.size()) << i;
            EXPECT_EQ(c.received[i], received.back()) << i;
        }
        EXPECT_EQ(kServerAutomatic, SendDlgItemMessageA(m_dlg.m_hWnd, IDC_SERVER, CB_GETCURSEL, 0, 0));
    }
}

TEST_F(Referrals, StopInALaterPassKeepsWhatArrived)
{
    struct Case {
        const char* name;
        ServerScript arin;  // IANA refers to ARIN, which may refer to RIPE NCC
        ServerScript ripe;
        ScriptedWhoisServer* stopAt;
        int pass;
        std::string stopWhen;
        std::string view;
        int server;
    };
    const Case cases[] = {
        {"in the second pass", {ServerStep::Send("partial (NET6-1)\n"), ServerStep::HoldOpen()}, {}, &m_arin, 2,
         "Recieving data...", "partial (NET6-1)\n", kServerArin},
        {"in the third pass", {ServerStep::Send("ReferralServer: whois.ripe.net\n")}, {ServerStep::HoldOpen()}, &m_ripe,
         3, "Waiting for data...", "ReferralServer: whois.ripe.net\n", kServerArin},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_iana.Play({{ServerStep::Send("refer: whois.arin.net\n")}});
        m_arin.Play({c.arin});
        m_ripe.Play({c.ripe});
        m_log.Clear();
        Ask("2001:db8::1");
        // The status texts come in order: the pass's own text, once the pass has begun waiting.
        ASSERT_TRUE(PumpUntil([&] { return TimesShown("Waiting for data...") == c.pass && StatusText() == c.stopWhen; },
                              10000, m_dlg.m_hWnd));
        PostClick(m_dlg.m_hWnd, IDOK);
        ASSERT_TRUE(WaitForEnd());
        EXPECT_EQ(c.view, ViewText());
        EXPECT_TRUE(m_dlg.m_nLastServer == c.server);
        EXPECT_EQ("Complete.", StatusText());
        EXPECT_TRUE(PumpUntil([&] { return c.stopAt->ClientClosed(c.stopAt->Connections() - 1); }, 5000));
        m_arin.Release();
        m_ripe.Release();
    }
}

TEST_F(Referrals, LinksAndHistoryKeepTheServerOfEachAnswer)
{
    m_arin.Play({{ServerStep::Send(kToRipe)}});
    m_ripe.Play({{ServerStep::Send(kRipeAnswer)}});
    ASSERT_TRUE(AskAndWait("192.0.2.1"));
    m_iana.Play({{ServerStep::Send("refer: whois.denic.de\n")}});
    m_denic.Play({{ServerStep::Send(kDenicAnswer)}});
    ASSERT_TRUE(AskAndWait("example.de"));

    PostClick(m_dlg.m_hWnd, IDC_PREV);
    PumpFor(50, m_dlg.m_hWnd);
    ASSERT_EQ(kRipeAnswer, ViewText());
    EXPECT_TRUE(m_dlg.m_nLastServer == kServerRipe);
    PostClick(m_dlg.m_hWnd, IDC_NEXT);
    PumpFor(50, m_dlg.m_hWnd);
    ASSERT_EQ(kDenicAnswer, ViewText());
    EXPECT_TRUE(m_dlg.m_nLastServer == Server::Named("whois.denic.de", 43));

    // A handle in DENIC's answer is asked at DENIC, as it is, not at IANA where the run began.
    m_denic.Play({{ServerStep::Send("Nserver: ns1.example.de\n")}});
    const int iana = m_iana.Connections();
    ClickLink("NS1-EXAMPLE");
    ASSERT_TRUE(PumpUntil([&] { return m_denic.Received().size() == 2; }, 10000, m_dlg.m_hWnd));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ("NS1-EXAMPLE\n", m_denic.Received().back());
    EXPECT_EQ(iana, m_iana.Connections());
    EXPECT_EQ("Nserver: ns1.example.de\n", ViewText());
    EXPECT_TRUE(m_dlg.m_nLastServer == Server::Named("whois.denic.de", 43));

}
}  // namespace
