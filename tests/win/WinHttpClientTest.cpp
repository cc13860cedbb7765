// The RDAP queries' HTTP on WinHTTP, against scripted plain-HTTP servers: the request sent, a
// redirect followed, statuses, and every stage ended by a time-out or by Stop at once.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "rdap/WinHttpClient.h"
#include "support/ScriptedWhoisServer.h"

namespace {
class Stages : public IHttpProgress {
public:
    std::string seen;
    void Connecting(const std::string& host) override { seen += "connect " + host + ";"; }
    void Waiting() override { seen += "wait;"; }
    void Receiving() override
    {
        if (seen.size() < 8 || seen.compare(seen.size() - 8, 8, "receive;") != 0) seen += "receive;";
    }
};

std::string Url(std::uint16_t port, const char* path) { return "http://127.0.0.1:" + std::to_string(port) + path; }
}  // namespace

TEST(WinHttpClient, AnswersRedirectsAndStatuses)
{
    ScriptedWhoisServer first("\r\n\r\n"), second("\r\n\r\n");
    const std::string moved = "Location: " + Url(second.Port(), "/rdap/ip/192.0.2.1") + "\r\n";
    const struct {
        ServerScript script;
        int status;
        std::string body;
        const char* stages;
    } cases[] = {
        {{ServerStep::Send(HttpAnswerBytes(200, "{\"a\":")), ServerStep::Delay(100), ServerStep::Send("1}")}, 200, "{\"a\":1}",
         "connect 127.0.0.1;wait;receive;"},
        {{ServerStep::Send(HttpAnswerBytes(302, "", moved))}, 200, "{\"moved\":1}", "connect 127.0.0.1;wait;receive;"},
        {{ServerStep::Send(HttpAnswerBytes(404, "{\"errorCode\":404}"))}, 404, "{\"errorCode\":404}", "connect 127.0.0.1;wait;receive;"},
        {{ServerStep::Send(HttpAnswerBytes(429, ""))}, 429, "", "connect 127.0.0.1;wait;"},
    };
    for (const auto& c : cases) {
        first.Play({c.script});
        second.Play({{ServerStep::Send(HttpAnswerBytes(200, "{\"moved\":1}"))}});
        CWinHttpClient client;
        Stages stages;
        const HttpAnswer answer = client.Get(Url(first.Port(), "/rdap/ip/192.0.2.1"), stages);
        EXPECT_EQ(HttpEnd::Complete, answer.end) << c.body;
        EXPECT_EQ(c.status, answer.status) << c.body;
        EXPECT_EQ(c.body, answer.body);
        EXPECT_EQ(c.stages, stages.seen);
        const std::string request = first.Received().back();
        EXPECT_EQ(0u, request.find("GET /rdap/ip/192.0.2.1 HTTP/1.1\r\n")) << request;
        EXPECT_NE(std::string::npos, request.find("Accept: application/rdap+json\r\n")) << request;
    }
}

TEST(WinHttpClient, EveryStageEndsByTimeOrByStop)
{
    ScriptedWhoisServer silent("\r\n\r\n");
    FullBacklogListener hanging;
    const HttpLimits saved = g_httpLimits;
    g_httpLimits = {std::chrono::milliseconds(800), std::chrono::milliseconds(800)};
    const struct {
        const char* name;
        std::string url;
        ServerScript script;
        bool stop;
        HttpEnd end;
        std::string body;
    } cases[] = {
        {"refused", Url(RefusingPort(), "/"), {}, false, HttpEnd::ConnectFailed, ""},
        {"a connect that hangs", Url(hanging.Port(), "/"), {}, false, HttpEnd::TimedOut, ""},
        {"no answer", Url(silent.Port(), "/"), {ServerStep::HoldOpen()}, false, HttpEnd::TimedOut, ""},
        {"stop while connecting", Url(hanging.Port(), "/"), {}, true, HttpEnd::Stopped, ""},
        {"stop while waiting", Url(silent.Port(), "/"), {ServerStep::HoldOpen()}, true, HttpEnd::Stopped, ""},
        {"stop while receiving", Url(silent.Port(), "/"), {ServerStep::Send(HttpAnswerBytes(200, "{\"part")), ServerStep::HoldOpen()},
         true, HttpEnd::Stopped, "{\"part"},
    };
    for (const auto& c : cases) {
        silent.Play({c.script});
        CWinHttpClient client;
        Stages stages;
        if (c.stop) g_httpLimits = {std::chrono::seconds(60), std::chrono::seconds(60)};
        std::thread stopper([&] {
            if (!c.stop) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            client.Stop();
        });
        const auto start = std::chrono::steady_clock::now();
        const HttpAnswer answer = client.Get(c.url, stages);
        const auto took = std::chrono::steady_clock::now() - start;
        stopper.join();
        EXPECT_EQ(c.end, answer.end) << c.name;
        EXPECT_EQ(c.body, answer.body) << c.name;
        // A deadline, not a timing: a stop that did not end the request leaves it waiting 60 seconds.
        EXPECT_LT(took, std::chrono::seconds(10)) << c.name;
        silent.Release();
        g_httpLimits = {std::chrono::milliseconds(800), std::chrono::milliseconds(800)};
    }
    g_httpLimits = saved;
}
