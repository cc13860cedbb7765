// RDAP in the real dialog, against plain-HTTP scripted servers standing in for IANA's bootstrap
// files, a registry's and a registrar's RDAP servers (their hosts pointed at them in-process): a
// .dev name that WHOIS cannot answer, found through the bootstrap, with the registrar's record
// after the registry's; an entity link; history and Save as text or JSON; a custom https server
// with a redirect, 404, 429, malformed JSON, silence and Stop.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "query/QueryRun.h"
#include "rdap/BootstrapFolder.h"
#include "rdap/WinHttpClient.h"
#include "support/ViewDriver.h"

namespace {
const std::string kBase = "https://rdap.registry.test/rdap/";
const std::string kDns = R"({"services": [[["dev"], [")" + kBase + R"("]]]})";
const std::string kDomain = R"({"objectClassName": "domain", "ldhName": "EXAMPLE.DEV", "status": ["active"],
  "links": [{"rel": "related", "href": "https://rdap.registrar.test/domain/EXAMPLE.DEV", "type": "application/rdap+json"}]})";
const std::string kRegistrar = R"({"objectClassName": "domain", "ldhName": "example.dev",
  "entities": [{"handle": "REGISTRANT-1", "roles": ["registrant"], "vcardArray": ["vcard", [["fn", {}, "text", "Example Holder"]]]}]})";
const std::string kEntity = R"({"objectClassName": "entity", "handle": "REGISTRANT-1", "roles": ["registrant"]})";

std::string FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

class RdapInDialog : public MainDialogViewTest {
protected:
    void SetUp() override
    {
        MainDialogViewTest::SetUp();
        g_hostRoutes = {{"whois.iana.org", {"127.0.0.1", m_ianaWhois.Port()}},
                        {"data.iana.org", {"127.0.0.1", m_bootstrap.Port()}},
                        {"rdap.registry.test", {"127.0.0.1", m_registry.Port()}},
                        {"rdap.registrar.test", {"127.0.0.1", m_registrar.Port()}}};
        m_savedLimits = g_httpLimits;
        m_dlg.m_dlgServers.m_servers = {{"Registry", kBase, "443"}};
        m_dlg.RebuildServerCombo();
        m_log.Watch(m_dlg.GetDlgItem(IDC_STATUS));
    }
    void TearDown() override
    {
        g_hostRoutes.clear();
        g_httpLimits = m_savedLimits;
        MainDialogViewTest::TearDown();
    }
    void Choose(int index)
    {
        SendDlgItemMessageA(m_dlg.m_hWnd, IDC_SERVER, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SERVER, CBN_SELCHANGE), reinterpret_cast<LPARAM>(m_dlg.GetDlgItem(IDC_SERVER)));
    }
    bool Shown(const std::string& status)
    {
        const auto& texts = m_log.Texts(m_dlg.GetDlgItem(IDC_STATUS));
        return std::find(texts.begin(), texts.end(), status) != texts.end();
    }
    // Saves the record on display under `name` in the temporary folder and gives back the bytes.
    std::string SaveAs(const std::string& name)
    {
        char folder[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, folder);
        const std::string path = std::string(folder) + name;
        DeleteFileA(path.c_str());
        ModalWatcher watcher(m_dlg.m_hWnd, path);
        PostClick(m_dlg.m_hWnd, IDC_SAVE);
        EXPECT_TRUE(PumpUntil([&] { return !watcher.FileDialogs().empty(); }, 30000, m_dlg.m_hWnd));
        PumpFor(200, m_dlg.m_hWnd);
        const std::string bytes = FileBytes(path);
        DeleteFileA(path.c_str());
        return bytes;
    }

    ScriptedWhoisServer m_ianaWhois, m_bootstrap{"\r\n\r\n"}, m_registry{"\r\n\r\n"}, m_registrar{"\r\n\r\n"};
    HttpLimits m_savedLimits;
    TextLog m_log;
};
}  // namespace

TEST_F(RdapInDialog, ADevNameThatWhoisCannotAnswerComesOverRdap)
{
    m_ianaWhois.Play({{ServerStep::Send("% IANA WHOIS server\n\ndomain:       DEV\nstatus:       ACTIVE\n")}});
    m_bootstrap.Play({{ServerStep::Send(HttpAnswerBytes(200, kDns))}});
    m_registry.Play({{ServerStep::Send(HttpAnswerBytes(200, kDomain))}});
    m_registrar.Play({{ServerStep::Send(HttpAnswerBytes(200, kRegistrar))}, {ServerStep::Send(HttpAnswerBytes(200, kEntity))}});
    ASSERT_TRUE(AskAndWait("example.dev"));
    EXPECT_EQ(0u, ViewText().find("Domain Name:      EXAMPLE.DEV\nStatus:           active\n")) << ViewText();
    EXPECT_NE(std::string::npos, ViewText().find("% The registrar's RDAP server rdap.registrar.test answers:\n\n"
                                                 "Domain Name:      example.dev\n\nRegistrant:\n   Handle:        (REGISTRANT-1)\n"));
    EXPECT_EQ("Complete.", StatusText());
    for (const char* seen : {"Connecting to whois.iana.org...", "Connecting to data.iana.org...",
                             "Asking RDAP at rdap.registry.test...", "Asking RDAP at rdap.registrar.test..."})
        EXPECT_TRUE(Shown(seen)) << seen;
    EXPECT_EQ(0u, m_bootstrap.Received().at(0).find("GET /rdap/dns.json HTTP/1.1\r\n"));
    EXPECT_EQ(0u, m_registry.Received().at(0).find("GET /rdap/domain/example.dev HTTP/1.1\r\n"));
    EXPECT_NE(std::string::npos, m_registry.Received().at(0).find("Accept: application/rdap+json\r\n"));
    EXPECT_TRUE(m_dlg.m_nLastServer == Server::RdapAt("https://rdap.registrar.test/"));
    EXPECT_EQ(kDns, FileBytes(BootstrapFolderPath() + "dns.json")) << "kept for a day";
    EXPECT_EQ(kServerAutomatic, static_cast<int>(SendDlgItemMessageA(m_dlg.m_hWnd, IDC_SERVER, CB_GETCURSEL, 0, 0)));

    // The handle is a link: asked as an entity at the RDAP server that showed it, the registrar's.
    const LONG at = static_cast<LONG>(ViewText().find("REGISTRANT-1"));
    ENLINK link{{View(), IDC_ANSWER, EN_LINK}, WM_LBUTTONUP, 0, 0, {at, at + 12}};
    m_dlg.SendMessage(WM_NOTIFY, IDC_ANSWER, reinterpret_cast<LPARAM>(&link));
    ASSERT_TRUE(WaitForEnd());
    ASSERT_EQ(2u, m_registrar.Received().size());
    EXPECT_EQ(0u, m_registrar.Received()[1].find("GET /entity/REGISTRANT-1 HTTP/1.1\r\n"));
    EXPECT_EQ("Registrant:\n   Handle:        (REGISTRANT-1)\n", ViewText());
    EXPECT_EQ(2, RecordCount());

    // Back to the domain: its record kept the JSON as it came, which Save writes for a .json name.
    PostClick(m_dlg.m_hWnd, IDC_PREV);
    ASSERT_TRUE(PumpUntil([&] { return ViewText().find("EXAMPLE.DEV") == 0 || ViewText().find("Domain") == 0; }, 5000, m_dlg.m_hWnd));
    EXPECT_EQ("[" + kDomain + ",\n" + kRegistrar + "]", SaveAs("rdap-save-test.json"));
    const std::string text = SaveAs("rdap-save-test.txt");
    EXPECT_EQ(0u, text.find("Domain Name:      EXAMPLE.DEV\r\n"));
    EXPECT_EQ(std::string::npos, text.find("{"));
}

TEST_F(RdapInDialog, ACustomServerEndsEachWayWithAPlainStatus)
{
    const std::string moved = "Location: http://127.0.0.1:" + std::to_string(m_registrar.Port()) + "/ip/192.0.2.1\r\n";
    const std::string network = R"({"objectClassName": "ip network", "startAddress": "192.0.2.0", "endAddress": "192.0.2.255"})";
    const struct {
        const char* name;
        ServerScript registry;
        std::string status;
        std::string view;  // "" when no record is made
    } cases[] = {
        {"a redirect", {ServerStep::Send(HttpAnswerBytes(302, "", moved))}, "Complete.", "Range:            192.0.2.0 - 192.0.2.255\n"},
        {"not found", {ServerStep::Send(HttpAnswerBytes(404, R"({"errorCode": 404, "title": "Not Found"})"))},
         "Not found: rdap.registry.test holds no such record", "Error:            404 Not Found\n"},
        {"rate limited", {ServerStep::Send(HttpAnswerBytes(429, ""))},
         "Rate limited: rdap.registry.test asks to wait before the next question", ""},
        {"malformed JSON", {ServerStep::Send(HttpAnswerBytes(200, "{\"objectClassName\": \"ip net"))},
         "The answer from rdap.registry.test is no readable RDAP", "{\"objectClassName\": \"ip net"},
        {"a server that never answers", {ServerStep::HoldOpen()}, "rdap.registry.test did not answer in time", ""},
    };
    Choose(kFirstCustomServer);
    g_httpLimits = {std::chrono::milliseconds(3000), std::chrono::milliseconds(700)};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_registry.Play({c.registry});
        m_registrar.Play({{ServerStep::Send(HttpAnswerBytes(200, network))}});
        const int records = RecordCount();
        ASSERT_TRUE(AskAndWait("192.0.2.1"));
        m_registry.Release();
        EXPECT_EQ(c.status, StatusText());
        EXPECT_EQ(records + (c.view.empty() ? 0 : 1), RecordCount());
        if (!c.view.empty()) {
            EXPECT_NE(std::string::npos, ViewText().find(c.view)) << ViewText();
        }
        EXPECT_EQ(0u, m_registry.Received().back().find("GET /rdap/ip/192.0.2.1 HTTP/1.1\r\n"));
    }

    // Stop ends a request that waits for a silent server at once.
    g_httpLimits = m_savedLimits;
    m_registry.Play({{ServerStep::HoldOpen()}});
    Ask("192.0.2.1");
    // Wine's WinHTTP reports the request sent only once an answer begins: a silent server keeps it
    // at the connecting stage.
    ASSERT_TRUE(WaitForStatus("Connecting to rdap.registry.test..."));
    PumpFor(300, m_dlg.m_hWnd);
    PostClick(m_dlg.m_hWnd, IDOK);
    ASSERT_TRUE(WaitForEnd(5000));
    EXPECT_EQ("Data flow aborted by user", StatusText());
    m_registry.Release();
}
