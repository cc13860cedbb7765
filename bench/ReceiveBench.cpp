// Receiving a large answer through the WHOIS exchange against a plain receive loop of the same
// bytes from the same scripted server, and how quickly Stop ends a run at each stage.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "query/WhoisQuery.h"
#include "query/WinsockApi.h"
#include "res/resource.h"
#include "support/ScriptedWhoisServer.h"

void ReportReceive();

namespace {
using Clock = std::chrono::steady_clock;
const size_t kAnswerBytes = 10u << 20;
const int kRounds = 5;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

class CountingReport : public IQueryReport {
public:
    void Status(int, const std::string&) override { ++count; }
    int count = 0;
};

// The floor: connect, send the question, read with recv until the server closes.
size_t PlainReceive(std::uint16_t port, int chunk)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(port);
    target.sin_addr.s_addr = inet_addr("127.0.0.1");
    connect(s, reinterpret_cast<sockaddr*>(&target), sizeof target);
    send(s, "bench\n", 6, 0);
    std::vector<char> buffer(static_cast<size_t>(chunk));
    size_t total = 0;
    int n;
    while ((n = recv(s, buffer.data(), chunk, 0)) > 0) total += static_cast<size_t>(n);
    closesocket(s);
    return total;
}

size_t ExchangeReceive(std::uint16_t port)
{
    QueryJob job;
    job.question = "bench";
    job.server = kFirstCustomServer;
    job.customServers = {{"bench", "127.0.0.1", std::to_string(port)}};
    QuerySocket socket(CWinsockApi::Instance());
    CountingReport report;
    QueryResult result = RunWhoisQuery(job, CWinsockApi::Instance(), socket, report);
    return result.answer.size();
}

template <class F>
double Best(F run)
{
    double best = 1e9;
    for (int i = 0; i < kRounds; ++i) {
        auto start = Clock::now();
        size_t got = run();
        best = std::min(best, Seconds(Clock::now() - start));
        if (got != kAnswerBytes) std::printf("  (short read: %zu bytes)\n", got);
    }
    return best;
}

// Milliseconds from Stop to the end of a run that is blocked at the given stage.
double StopLatency(std::uint16_t port, const char* waitFor)
{
    QueryJob job;
    job.question = "bench";
    job.server = kFirstCustomServer;
    job.customServers = {{"bench", "127.0.0.1", std::to_string(port)}};
    QuerySocket socket(CWinsockApi::Instance());
    struct StageReport : IQueryReport {
        std::atomic<int> last{0};
        void Status(int id, const std::string&) override { last = id; }
    } report;
    int stage = std::string(waitFor) == "connect" ? IDS_CONNECTING
                : std::string(waitFor) == "wait"  ? IDS_WAITING
                                                  : IDS_RECEIVING;
    Clock::time_point stopped;
    std::thread worker([&] { RunWhoisQuery(job, CWinsockApi::Instance(), socket, report); });
    while (report.last != stage) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    stopped = Clock::now();
    socket.Stop();
    worker.join();
    return Seconds(Clock::now() - stopped) * 1000;
}
}  // namespace

void ReportReceive()
{
    ScriptedWhoisServer server;
    server.Play({{ServerStep::Send(std::string(kAnswerBytes, 'x'))}});

    double plain512 = Best([&] { return PlainReceive(server.Port(), kChunkSize); });
    double plain64k = Best([&] { return PlainReceive(server.Port(), 1 << 16); });
    double exchange = Best([&] { return ExchangeReceive(server.Port()); });

    std::printf("%-58s %10.2f %8s\n", "receive 10 MB: exchange / plain 512-byte recv loop", exchange / plain512, "<= 1.5");
    std::printf("%-58s %10.2f %8s\n", "receive 10 MB: exchange / plain 64 KB recv loop", exchange / plain64k, "(info)");
    std::printf("  (seconds: exchange %.3f, plain 512-byte loop %.3f, plain 64 KB loop %.3f)\n", exchange, plain512, plain64k);

    FullBacklogListener silent;
    ScriptedWhoisServer holding;
    holding.Play({{ServerStep::HoldOpen()}});
    ScriptedWhoisServer trickling;
    trickling.Play({{ServerStep::Send("first chunk\n"), ServerStep::HoldOpen()}});
    std::printf("%-58s %8.1f ms %8s\n", "stop during a connect that never completes", StopLatency(silent.Port(), "connect"), "<= 200");
    std::printf("%-58s %8.1f ms %8s\n", "stop while waiting for data", StopLatency(holding.Port(), "wait"), "<= 200");
    std::printf("%-58s %8.1f ms %8s\n", "stop while data flows (server never closes)", StopLatency(trickling.Port(), "receive"), "<= 200");
    holding.Release();
    trickling.Release();
}
