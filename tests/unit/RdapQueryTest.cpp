// The RDAP run over scripted HTTP answers: the server found through the bootstrap files (fetched,
// saved, kept for a day, or built in), the registrar's record after the registry's, and every way a
// run ends.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "ScriptedHttp.h"
#include "rdap/RdapQuery.h"

namespace {
const char kIana[] = "http://iana.test/rdap/";
const char kDns[] = R"({"services": [[["dev"], ["https://rdap.registry.test/rdap/"]]]})";
const char kDomain[] = R"({"objectClassName": "domain", "ldhName": "EXAMPLE.DEV", "links": [{"rel": "related",
    "href": "https://rdap.registrar.test/domain/EXAMPLE.DEV", "type": "application/rdap+json"}]})";
const char kRegistrar[] = R"({"objectClassName": "domain", "ldhName": "example.dev",
    "entities": [{"handle": "REGISTRANT-1", "roles": ["registrant"]}]})";

class Stages : public IRdapReport {
public:
    std::string seen;
    void Asking(const std::string& host) override { seen += "ask " + host + ";"; }
    void Connecting(const std::string& host) override { seen += "connect " + host + ";"; }
    void Waiting() override {}
    void Receiving() override {}
};

}  // namespace

TEST(RdapQuery, EachWayARunEnds)
{
    const std::string iana = std::string(kIana) + "dns.json";
    const std::string domain = "https://rdap.registry.test/rdap/domain/example.dev";
    const std::string registrar = "https://rdap.registrar.test/domain/EXAMPLE.DEV";
    const std::string old = R"({"services": [[["dev"], ["https://rdap.old.test/"]]]})";
    const auto hour = std::chrono::hours(1), days = std::chrono::hours(48);
    const struct Case {
        const char* name;
        RdapJob job;
        std::map<std::string, HttpAnswer> answers;
        std::map<std::string, std::pair<std::string, std::chrono::seconds>> saved;
        RdapEnd end;
        std::vector<std::string> asked;
        const char* shows;
        bool gotAnswer;
    } cases[] = {
        {"fetched bootstrap, registry, registrar", {"example.dev", false, ""},
         {{iana, Ok(kDns)}, {domain, Ok(kDomain)}, {registrar, Ok(kRegistrar)}}, {}, RdapEnd::Complete,
         {iana, domain, registrar},
         "Domain Name:      EXAMPLE.DEV\n\nLinks:\n   related:       https://rdap.registrar.test/domain/EXAMPLE.DEV\n\n"
         "% The registrar's RDAP server rdap.registrar.test answers:\n\nDomain Name:      example.dev\n\nRegistrant:\n"
         "   Handle:        (REGISTRANT-1)\n", true},
        {"a copy saved an hour ago", {"example.dev", false, ""}, {{domain, Ok(kRegistrar)}},
         {{"dns.json", {kDns, hour}}}, RdapEnd::Complete, {domain}, "(REGISTRANT-1)", true},
        {"a stale copy when IANA fails", {"example.dev", false, ""}, {{"https://rdap.old.test/domain/example.dev", Ok(kRegistrar)}},
         {{"dns.json", {old, days}}}, RdapEnd::Complete, {iana, "https://rdap.old.test/domain/example.dev"}, "Registrant", true},
        {"the built-in copy when nothing else", {"example.dev", false, ""}, {}, {}, RdapEnd::ConnectFailed,
         {iana, "https://pubapi.registry.google/rdap/domain/example.dev"}, "", false},
        {"a server that the files lack", {"example.de", false, "http://unused.test/"}, {}, {}, RdapEnd::ConnectFailed,
         {"http://unused.test/domain/example.de"}, "", false},
        {"no server for a handle", {"EXAMPLE-HANDLE", false, ""}, {}, {}, RdapEnd::NoServer, {}, "", false},
        {"no server for a name", {"example.invalid", false, ""}, {{iana, Ok(kDns)}}, {}, RdapEnd::NoServer, {iana}, "", false},
        {"a link at its server", {"REGISTRANT-1", true, "https://rdap.registry.test/rdap"},
         {{"https://rdap.registry.test/rdap/entity/REGISTRANT-1", Ok(R"({"objectClassName": "entity", "handle": "REGISTRANT-1"})")}},
         {}, RdapEnd::Complete, {"https://rdap.registry.test/rdap/entity/REGISTRANT-1"}, "(REGISTRANT-1)", true},
        {"an AS number at a chosen server", {"AS64496", false, "https://rdap.registry.test/"},
         {{"https://rdap.registry.test/autnum/64496", Ok(R"({"objectClassName": "autnum", "startAutnum": 64496})")}},
         {}, RdapEnd::Complete, {"https://rdap.registry.test/autnum/64496"}, "AS Numbers:       64496\n", true},
        {"not found", {"example.dev", false, ""},
         {{iana, Ok(kDns)}, {domain, {HttpEnd::Complete, 404, R"({"errorCode": 404, "title": "Not Found"})"}}}, {},
         RdapEnd::NotFound, {iana, domain}, "Error:            404 Not Found\n", true},
        {"rate limited", {"example.dev", false, ""},
         {{iana, Ok(kDns)}, {domain, {HttpEnd::Complete, 429, "Slow down"}}}, {}, RdapEnd::RateLimited, {iana, domain}, "Slow down", true},
        {"a server error", {"example.dev", false, ""},
         {{iana, Ok(kDns)}, {domain, {HttpEnd::Complete, 503, ""}}}, {}, RdapEnd::HttpError, {iana, domain}, "", false},
        {"malformed JSON shown as it came", {"example.dev", false, ""},
         {{iana, Ok(kDns)}, {domain, {HttpEnd::Complete, 200, std::string("{\"objectClassName\": \"dom\0ain\"", 29)}}}, {},
         RdapEnd::Malformed, {iana, domain},
         "{\"objectClassName\": \"dom ain\"", true},
        {"the registrar fails", {"example.dev", false, ""},
         {{iana, Ok(kDns)}, {domain, Ok(kDomain)}, {registrar, {HttpEnd::TimedOut, 0, ""}}}, {}, RdapEnd::RelatedFailed,
         {iana, domain, registrar}, "Domain Name:      EXAMPLE.DEV\n", true},
        {"stopped fetching the bootstrap", {"example.dev", false, ""}, {{iana, {HttpEnd::Stopped, 0, ""}}}, {},
         RdapEnd::Stopped, {iana}, "", false},
        {"stopped while the answer came", {"example.dev", false, ""},
         {{iana, Ok(kDns)}, {domain, {HttpEnd::Stopped, 200, "{\"obj"}}}, {}, RdapEnd::Stopped, {iana, domain}, "{\"obj", true},
        {"cut at the size limit", {"example.dev", false, ""},
         {{iana, Ok(kDns)}, {domain, {HttpEnd::Cut, 200, "{\"obj"}}}, {}, RdapEnd::Cut, {iana, domain}, "{\"obj", true},
    };
    g_rdapBootstrapBase = kIana;
    for (const Case& c : cases) {
        ScriptedHttp http;
        http.answers = c.answers;
        MemoryStore store;
        store.files = c.saved;
        BootstrapSource bootstrap(store);
        Stages stages;
        const RdapResult result = RunRdapQuery(c.job, http, bootstrap, stages);
        EXPECT_EQ(c.end, result.end) << c.name;
        EXPECT_EQ(c.asked, http.asked) << c.name;
        EXPECT_NE(std::string::npos, result.text.find(c.shows)) << c.name << "\n" << result.text;
        EXPECT_EQ(std::string::npos, result.text.find('\0')) << c.name;
        EXPECT_EQ(c.gotAnswer, result.gotAnswer) << c.name;
        // A fetched file is saved; a copy that could not be replaced stays as it was.
        if (!c.asked.empty() && c.asked[0] == iana && c.answers.count(iana) && c.answers.at(iana).end == HttpEnd::Complete) {
            EXPECT_EQ(kDns, store.files["dns.json"].first) << c.name;
        }
    }
}

TEST(RdapQuery, RegistrarsRecordKeptBesideTheRegistrys)
{
    ScriptedHttp http;
    http.answers = {{"https://rdap.registry.test/rdap/domain/example.dev", Ok(kDomain)},
                    {"https://rdap.registrar.test/domain/EXAMPLE.DEV", Ok(kRegistrar)}};
    MemoryStore store;
    BootstrapSource bootstrap(store);
    Stages stages;
    const RdapResult result = RunRdapQuery({"example.dev", false, "https://rdap.registry.test/rdap/"}, http, bootstrap, stages);
    EXPECT_EQ(std::string("[") + kDomain + ",\n" + kRegistrar + "]", result.json);
    EXPECT_EQ("https://rdap.registrar.test/", result.server);
    EXPECT_EQ("ask rdap.registry.test;connect rdap.registry.test;ask rdap.registrar.test;connect rdap.registrar.test;", stages.seen);
}

TEST(RdapQuery, FailedFetchNotRepeatedWithinTheHour)
{
    g_rdapBootstrapBase = kIana;
    ScriptedHttp http;
    MemoryStore store;
    BootstrapSource bootstrap(store);
    Stages stages;
    for (int run = 0; run < 3; ++run) RunRdapQuery({"example.dev", false, ""}, http, bootstrap, stages);
    EXPECT_EQ(1, std::count(http.asked.begin(), http.asked.end(), std::string(kIana) + "dns.json"));
}
