// A run of three passes (IANA, then ARIN's referral, then the server it names) against the sum of
// the same three passes run alone, all on loopback: following referrals adds no waits of its own.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "query/ServerChoice.h"
#include "query/WhoisQuery.h"
#include "query/WinsockApi.h"
#include "support/ScriptedWhoisServer.h"

void ReportChain();

namespace {
using Clock = std::chrono::steady_clock;
const int kRounds = 20;

class QuietReport : public IQueryReport {
public:
    void Status(int, const std::string&) override {}
};

// Each pass brings a registry-sized answer of 64 KB.
std::string Answer(const std::string& referral)
{
    std::string answer = referral;
    while (answer.size() < (64u << 10)) answer += "remarks:        a line of a registry's answer, as many as it takes\n";
    return answer;
}

// Seconds of the quickest of kRounds runs of `job`.
double Best(const QueryJob& job)
{
    double best = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        QuerySocket socket(CWinsockApi::Instance());
        QuietReport report;
        const auto start = Clock::now();
        RunWhoisQuery(job, CWinsockApi::Instance(), socket, report);
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}
}  // namespace

void ReportChain()
{
    ScriptedWhoisServer servers[3];
    servers[0].Play({{ServerStep::Send(Answer("refer:        whois.arin.example\n"))}});
    servers[1].Play({{ServerStep::Send(Answer("ReferralServer: whois://whois.ripe.example\n"))}});
    servers[2].Play({{ServerStep::Send(Answer(""))}});
    const char* hosts[] = {kIanaHost, "whois.arin.example", "whois.ripe.example"};
    QueryJob chain;
    chain.question = "AS64496";
    double alone = 0;
    for (int i = 0; i < 3; ++i) {
        g_hostRoutes[hosts[i]] = {"127.0.0.1", servers[i].Port()};
        QueryJob pass = chain;
        pass.server = pass.serverChoice = kFirstCustomServer;
        pass.customServers = {{"alone", "127.0.0.1", std::to_string(servers[i].Port())}};
        alone += Best(pass);
    }
    const double chained = Best(chain);
    g_hostRoutes.clear();
    std::printf("%-58s %10.2f %8s\n", "referral chain of 3 passes / its passes run alone", chained / alone, "<= 1.1");
    std::printf("  (milliseconds: chain %.2f, passes alone %.2f)\n", chained * 1000, alone * 1000);
}
