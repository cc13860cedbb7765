// Runs of several passes over scripted sockets: who is asked in turn and with which bytes, what the
// answer shows, the server a record keeps, time-outs that end a stage, and a stop between passes.
#include <gtest/gtest.h>

#include "ScriptedSockets.h"
#include "query/ServerChoice.h"
#include "query/WhoisQuery.h"
#include "res/resource.h"

namespace {
const std::string kRegistrar = "whois.example-registrar.com";
const std::string kToRipe = "#\n# ARIN WHOIS data\n#\nNetType: Allocated to RIPE NCC\nReferralServer: whois://whois.ripe.net\n";
const std::string kRegistry = "   Domain Name: EXAMPLE.COM\n   Registrar WHOIS Server: " + kRegistrar + "\n";
const std::string kHeading = "\n% The registrar's server " + kRegistrar + " answers:\n\n";

class Recorder : public IQueryReport {
public:
    void Status(int id, const std::string& host) override
    {
        if (id == IDS_CONNECTING) connected.push_back(host);
        last = id;
    }
    std::vector<std::string> connected;
    int last = 0;
};

struct Chain {
    QueryResult result;
    Recorder report;
    std::vector<std::string> sent;  // the first send of each connection
};

Chain RunChain(const std::string& question, int choice, std::vector<ScriptedConnection> connections,
               const std::function<void(QuerySocket&)>& before = nullptr)
{
    ScriptedSockets net;
    net.names = {{"whois.arin.net", 1}, {"whois.ripe.net", 2}, {"whois.internic.net", 4}, {kIanaHost, 5},
                 {"whois.denic.de", 6}, {kRegistrar, 7}, {"rwhois.example.net", 8}, {"whois.example.net", 9}};
    net.addresses = {{"192.0.2.1", 0x010200C0}};
    net.connections = std::move(connections);
    QuerySocket socket(net);
    if (before) before(socket);
    QueryJob job;
    job.question = question;
    job.server = job.serverChoice = choice;
    Chain chain;
    chain.result = RunWhoisQuery(job, net, socket, chain.report);
    for (size_t i = 0; i < net.connections.size(); ++i) {
        const auto sent = net.Sent(ScriptedSockets::Handle(i));
        if (!sent.empty()) chain.sent.push_back(sent[0]);
    }
    return chain;
}

ScriptedConnection Answer(std::vector<std::string> chunks)
{
    ScriptedConnection connection;
    connection.chunks = std::move(chunks);
    return connection;
}

ScriptedConnection Refusing()
{
    ScriptedConnection connection;
    connection.connects = false;
    return connection;
}
}  // namespace

TEST(WhoisChain, EachServerIsAskedInTurnAndTheAnswerShowsWhatAUserNeeds)
{
    struct Case {
        const char* name;
        std::string question;
        int choice;
        std::vector<ScriptedConnection> connections;
        std::vector<std::string> connected;
        std::vector<std::string> sent;
        std::string answer;
        Server server;
        QueryEnd end;
    };
    const Server denic = Server::Named("whois.denic.de", 43), registrar = Server::Named(kRegistrar, 43);
    const Case cases[] = {
        {"ARIN to RIPE NCC", "192.0.2.1", kServerAutomatic, {Answer({kToRipe}), Answer({"inetnum: 192.0.2.0 - 192.0.2.255\n"})},
         {"whois.arin.net", "whois.ripe.net"}, {"192.0.2.1", "192.0.2.1"}, "inetnum: 192.0.2.0 - 192.0.2.255\n", kServerRipe,
         QueryEnd::Complete},
        {"ARIN chosen by the user", "192.0.2.1", kServerArin, {Answer({kToRipe})}, {"whois.arin.net"}, {"192.0.2.1"}, kToRipe,
         kServerArin, QueryEnd::Complete},
        {"IANA to DENIC in its own form", "example.de", kServerAutomatic,
         {Answer({"refer:        whois.denic.de\n"}), Answer({"Domain: example.de\n"})}, {kIanaHost, "whois.denic.de"},
         {"example.de", "-T dn,ace example.de"}, "Domain: example.de\n", denic, QueryEnd::Complete},
        {"IANA, ARIN, RWhois", "2001:db8::1", kServerAutomatic,
         {Answer({"refer: whois.arin.net\n"}), Answer({"ReferralServer: rwhois://rwhois.example.net:4321\n"}),
          Answer({"customer network\n"})},
         {kIanaHost, "whois.arin.net", "rwhois.example.net"}, {"2001:db8::1", "2001:db8::1", "2001:db8::1"},
         "customer network\n", Server::Named("rwhois.example.net", 4321), QueryEnd::Complete},
        {"the registry, then its registrar", "example.com", kServerAutomatic,
         {Answer({kRegistry}), Answer({"Registrant Name: REDACTED\n"})}, {"whois.internic.net", kRegistrar},
         {"example.com", "example.com"}, kRegistry + kHeading + "Registrant Name: REDACTED\n", registrar, QueryEnd::Complete},
        {"a registrar that refuses", "example.com", kServerAutomatic, {Answer({kRegistry}), Refusing()},
         {"whois.internic.net", kRegistrar}, {"example.com"}, kRegistry, kServerInterNic, QueryEnd::ConnectFailed},
        {"a registrar with nothing to say", "example.com", kServerAutomatic, {Answer({kRegistry}), Answer({})},
         {"whois.internic.net", kRegistrar}, {"example.com", "example.com"}, kRegistry, kServerInterNic, QueryEnd::Complete},
        {"a registrar naming itself", "example.com", kServerAutomatic, {Answer({kRegistry}), Answer({kRegistry})},
         {"whois.internic.net", kRegistrar}, {"example.com", "example.com"}, kRegistry + kHeading + kRegistry, registrar,
         QueryEnd::Complete},
        {"four passes at most", "AS64496", kServerAutomatic,
         {Answer({"refer: whois.arin.net\n"}), Answer({"ReferralServer: whois://whois.ripe.net\n"}),
          Answer({"ReferralServer: whois.example.net\n"}), Answer({"refer: whois.denic.de\n"})},
         {kIanaHost, "whois.arin.net", "whois.ripe.net", "whois.example.net"}, {"AS64496", "AS64496", "AS64496", "AS64496"},
         "refer: whois.denic.de\n", Server::Named("whois.example.net", 43), QueryEnd::Complete},
    };
    for (const Case& c : cases) {
        Chain chain = RunChain(c.question, c.choice, c.connections);
        EXPECT_EQ(c.connected, chain.report.connected) << c.name;
        EXPECT_EQ(c.sent, chain.sent) << c.name;
        EXPECT_EQ(c.answer, chain.result.answer) << c.name;
        EXPECT_TRUE(c.server == chain.result.lastServer) << c.name;
        EXPECT_EQ(c.end, chain.result.end) << c.name;
    }
}

TEST(WhoisChain, AReferralCutAtAnyByteIsFollowed)
{
    const std::string registry = "Domain Name: EXAMPLE.COM\r\n" + kRegistry;
    for (size_t cut = 1; cut < registry.size(); ++cut) {
        Chain chain = RunChain("example.com", kServerAutomatic,
                          {Answer({registry.substr(0, cut), registry.substr(cut)}), Answer({"registrar\n"})});
        EXPECT_EQ(registry + kHeading + "registrar\n", chain.result.answer) << cut;
    }
}

TEST(WhoisChain, ATimeLimitEndsAStageAsTheServerWouldHave)
{
    const QueryLimits saved = g_queryLimits;
    g_queryLimits = {std::chrono::milliseconds(50), std::chrono::milliseconds(50)};
    ScriptedConnection neverAccepts, neverCloses = Answer({"registrar, in part\n"});
    neverAccepts.connectBlocksUntilClosed = true;
    neverCloses.blockUntilClosed = true;
    Chain connect = RunChain("example.com", kServerAutomatic, {Answer({kRegistry}), neverAccepts});
    Chain receive = RunChain("example.com", kServerAutomatic, {Answer({kRegistry}), neverCloses});
    g_queryLimits = saved;
    EXPECT_EQ(QueryEnd::ConnectFailed, connect.result.end);
    EXPECT_EQ(IDS_CONNECT_FAILED, connect.report.last);
    EXPECT_EQ(kRegistry, connect.result.answer);
    EXPECT_EQ(QueryEnd::Complete, receive.result.end);
    EXPECT_EQ(kRegistry + kHeading + "registrar, in part\n", receive.result.answer);
}

TEST(WhoisChain, AStopBetweenPassesKeepsTheAnswerSoFar)
{
    // The stop lands while the registry's answer is complete and the registrar not yet asked.
    QuerySocket* running = nullptr;
    ScriptedConnection registry = Answer({kRegistry});
    registry.onClose = [&running] { running->Stop(); };
    Chain chain = RunChain("example.com", kServerAutomatic, {registry}, [&running](QuerySocket& socket) { running = &socket; });
    EXPECT_EQ(QueryEnd::Aborted, chain.result.end);
    EXPECT_EQ(IDS_ABORTED, chain.report.last);
    EXPECT_EQ(kRegistry, chain.result.answer);
    EXPECT_EQ(std::vector<std::string>{"whois.internic.net"}, chain.report.connected);
}
