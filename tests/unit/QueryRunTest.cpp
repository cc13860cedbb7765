// Where RDAP takes over from WHOIS, over scripted sockets and scripted HTTP answers: an "Automatic"
// chain that ends without a server, a custom server with a web address, a link in an RDAP answer;
// and where WHOIS keeps the question.
#include <gtest/gtest.h>

#include "ScriptedHttp.h"
#include "ScriptedSockets.h"
#include "query/QueryRun.h"
#include "query/ServerChoice.h"
#include "res/resource.h"

namespace {
const char kBootstrap[] = "https://data.iana.org/rdap/dns.json";
const char kDns[] = R"({"services": [[["dev", "info", "org"], ["https://rdap.registry.test/"]]]})";
const char kAnswer[] = R"({"objectClassName": "domain", "ldhName": "example.dev"})";

class Statuses : public IQueryReport {
public:
    std::vector<int> ids;
    std::string last;
    void Status(int id, const std::string& host) override
    {
        ids.push_back(id);
        last = host;
    }
};

ScriptedConnection Answer(std::string text)
{
    ScriptedConnection connection;
    connection.chunks = {std::move(text)};
    return connection;
}
}  // namespace

TEST(QueryRun, RdapWhereWhoisFindsNoServerAndOnlyThere)
{
    ScriptedConnection refusing;
    refusing.connects = false;
    const std::string custom = "HTTPS://rdap.registry.test";
    const struct Case {
        const char* name;
        std::string question;
        int choice;
        bool fromLink;
        Server lastServer;
        std::vector<ScriptedConnection> whois;
        std::map<std::string, HttpAnswer> http;
        QueryEnd end;
        std::string answer;
        Server server;
        int status;  // the last status text
    } cases[] = {
        {"IANA names no server", "example.dev", kServerAutomatic, false, {}, {Answer("domain: DEV\n")},
         {{kBootstrap, Ok(kDns)}, {"https://rdap.registry.test/domain/example.dev", Ok(kAnswer)}}, QueryEnd::Complete,
         "Domain Name:      example.dev\n", Server::RdapAt("https://rdap.registry.test/"), IDS_COMPLETE},
        {"the TLD is not supported", "example.info", kServerAutomatic, false, {},
         {Answer("refer: whois.nic.info\n"), Answer("TLD is not supported.\n")},
         {{kBootstrap, Ok(kDns)}, {"https://rdap.registry.test/domain/example.info", Ok(kAnswer)}}, QueryEnd::Complete,
         "Domain Name:      example.dev\n", Server::RdapAt("https://rdap.registry.test/"), IDS_COMPLETE},
        {"the named server refuses", "example.org", kServerAutomatic, false, {}, {Answer("refer: whois.nic.info\n"), refusing},
         {{kBootstrap, Ok(kDns)}, {"https://rdap.registry.test/domain/example.org", {HttpEnd::Complete, 404, ""}}},
         QueryEnd::RdapFailed, "refer: whois.nic.info\n", Server::Named(kIanaHost, 43), IDS_RDAP_NOT_FOUND},
        {"no RDAP server either: IANA's answer stays", "example.zz", kServerAutomatic, false, {}, {Answer("domain: ZZ\n")},
         {{kBootstrap, Ok(kDns)}}, QueryEnd::RdapFailed, "domain: ZZ\n", Server::Named(kIanaHost, 43), IDS_RDAP_NO_SERVER},
        {"a top-level domain alone is IANA's", ".dev", kServerAutomatic, false, {}, {Answer("domain: DEV\n")}, {},
         QueryEnd::Complete, "domain: DEV\n", Server::Named(kIanaHost, 43), IDS_COMPLETE},
        {"a server the user chose", "example.dev", kServerInterNic, false, {}, {Answer("No match\n")}, {}, QueryEnd::Complete,
         "No match\n", kServerInterNic, IDS_COMPLETE},
        {"a custom server with a web address", "AS64496", kFirstCustomServer, false, {}, {},
         {{"HTTPS://rdap.registry.test/autnum/64496", Ok(R"({"objectClassName": "autnum", "startAutnum": 64496})")}},
         QueryEnd::Complete, "AS Numbers:       64496\n", Server::RdapAt("HTTPS://rdap.registry.test/"), IDS_COMPLETE},
        {"a link in an RDAP answer", "EX-1", kServerAutomatic, true, Server::RdapAt("https://rdap.registry.test/"), {},
         {{"https://rdap.registry.test/entity/EX-1", {HttpEnd::TimedOut, 0, ""}}}, QueryEnd::RdapFailed, "",
         Server::RdapAt("https://rdap.registry.test/"), IDS_RDAP_TIMED_OUT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSockets net;
        net.names = {{kIanaHost, 5}, {"whois.nic.info", 6}, {"whois.internic.net", 4}};
        net.connections = c.whois;
        QuerySocket socket(net);
        ScriptedHttp http;
        http.answers = c.http;
        MemoryStore store;
        BootstrapSource bootstrap(store);
        Statuses report;
        QueryJob job;
        job.question = c.question;
        job.server = job.serverChoice = c.choice;
        job.fromLink = c.fromLink;
        job.lastServer = c.lastServer;
        job.customServers = {{"Registry", custom, "443"}};
        const QueryResult result = RunQuery(job, net, socket, http, bootstrap, report);
        EXPECT_EQ(c.end, result.end);
        EXPECT_EQ(c.answer, result.answer);
        EXPECT_TRUE(c.server == result.lastServer) << result.lastServer.host;
        ASSERT_FALSE(report.ids.empty());
        EXPECT_EQ(c.status, report.ids.back());
        EXPECT_EQ(c.http.empty(), http.asked.empty());
        // The record keeps an RDAP answer's JSON as it came.
        const bool rdapAnswer = result.lastServer.kind == Server::Kind::Rdap && !result.answer.empty();
        EXPECT_EQ(rdapAnswer ? http.answers[http.asked.back()].body : "", result.json);
    }
}
