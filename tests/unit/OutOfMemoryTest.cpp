// A run that runs out of memory while the answer arrives keeps what came before and ends saying so.
#include <gtest/gtest.h>

#include "ScriptedHttp.h"
#include "ScriptedSockets.h"
#include "query/QueryRun.h"
#include "query/ServerChoice.h"
#include "res/resource.h"
#include "support/AllocationLimit.h"

namespace {
struct LastStatus : IQueryReport {
    void Status(int stringId, const std::string&) override { last = stringId; }
    int last = 0;
};
}  // namespace

TEST(OutOfMemory, ARunWithoutMemoryForMoreOfTheAnswerKeepsWhatCame)
{
    ScriptedSockets net;
    net.names = {{"whois.internic.net", 0x0A000004}};
    std::vector<std::string>& chunks = net.connections.emplace_back().chunks;
    for (int i = 0; i < 200; ++i) chunks.emplace_back(500, static_cast<char>('a' + i % 26));
    QuerySocket socket(net);
    LastStatus report;
    QueryJob job;
    job.question = "example.com";
    QueryResult result;
    {
        AllocationLimit limit(64 << 10);
        result = RunWhoisQuery(job, net, socket, report);
    }
    EXPECT_EQ(QueryEnd::OutOfMemory, result.end);
    EXPECT_EQ(IDS_OUT_OF_MEMORY, report.last);
    std::string sent;
    for (const std::string& chunk : chunks) sent += chunk;
    EXPECT_GE(result.answer.size(), 32u << 10);
    EXPECT_EQ(sent.substr(0, result.answer.size()), result.answer) << "what came before is kept";
    EXPECT_EQ(1, net.Count("close #1")) << "the connection is closed";
}

TEST(OutOfMemory, AnRdapAnswerWithoutMemoryLeavesWhatWhoisFound)
{
    const std::string rdap = "https://rdap.registry.test/";
    const struct {
        const char* name;
        int server;
        std::string answer;  // IANA's, when WHOIS asked first
    } cases[] = {
        {"after IANA named no server", kServerAutomatic, "domain: DEV\n"},
        {"at a custom RDAP server", kFirstCustomServer, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSockets net;
        net.names = {{kIanaHost, 5}};
        net.connections.emplace_back().chunks = {c.answer};
        QuerySocket socket(net);
        ScriptedHttp http;
        http.answers = {{"https://data.iana.org/rdap/dns.json", Ok(R"({"services": [[["dev"], [")" + rdap + R"("]]]})")},
                        {rdap + "domain/example.dev", Ok(std::string(1 << 20, ' '))}};
        MemoryStore store;
        BootstrapSource bootstrap(store);
        LastStatus report;
        QueryJob job;
        job.question = "example.dev";
        job.server = job.serverChoice = c.server;
        job.customServers = {{"Registry", rdap, "443"}};
        QueryResult result;
        {
            AllocationLimit limit(64 << 10);
            result = RunQuery(job, net, socket, http, bootstrap, report);
        }
        ASSERT_EQ(rdap + "domain/example.dev", http.asked.back());
        EXPECT_EQ(QueryEnd::RdapFailed, result.end);
        EXPECT_EQ(IDS_ANSWER_NOT_KEPT, result.rdapText);
        EXPECT_EQ(IDS_ANSWER_NOT_KEPT, report.last);
        EXPECT_EQ(c.answer, result.answer);
        EXPECT_EQ(!c.answer.empty(), result.gotAnswer);
    }
}
