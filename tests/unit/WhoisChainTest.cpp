// Runs of several passes over scripted sockets: who is asked in turn and with which bytes, what the
// answer shows, the server a record keeps, time limits that end a stage, and a stop between passes.
#include <gtest/gtest.h>

#include "ScriptedSockets.h"
#include "query/ServerChoice.h"
#include "query/WhoisQuery.h"
#include "res/resource.h"

namespace {
const std::string kRegistrar = "whois.example-registrar.com";
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
    net.names = {{"whois.arin.net", 1}, {"whois.internic.net", 4}, {kIanaHost, 5}, {kRegistrar, 7},
                 {"rwhois.example.net", 8}};
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
}  // namespace

// The Wine tests run the registries' usual chains; the fuzz target the passes that get nothing.
TEST(WhoisChain, IanaArinAndACustomersRwhoisServerInTurn)
{
    const std::string toRwhois = "ReferralServer: rwhois://rwhois.example.net:4321\n";
    Chain chain = RunChain("2001:db8::1", kServerAutomatic,
                           {Answer({"refer: whois.arin.net\n"}), Answer({toRwhois}), Answer({"customer network\n"})});
    EXPECT_EQ((std::vector<std::string>{kIanaHost, "whois.arin.net", "rwhois.example.net"}), chain.report.connected);
    EXPECT_EQ(std::vector<std::string>(3, "2001:db8::1"), chain.sent);
    EXPECT_EQ("customer network\n", chain.result.answer);
    EXPECT_TRUE(Server::Named("rwhois.example.net", 4321) == chain.result.lastServer);
    EXPECT_EQ(QueryEnd::Complete, chain.result.end);
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
    Chain chain = RunChain("example.com", kServerAutomatic, {registry}, [&](QuerySocket& s) { running = &s; });
    EXPECT_EQ(QueryEnd::Aborted, chain.result.end);
    EXPECT_EQ(IDS_ABORTED, chain.report.last);
    EXPECT_EQ(kRegistry, chain.result.answer);
    EXPECT_EQ(std::vector<std::string>{"whois.internic.net"}, chain.report.connected);
}
