// One WHOIS run as the servers and the status line see it: which server is asked, the bytes sent,
// how the answer is put together, the statuses in order, the referral from ARIN to APNIC or
// RIPE NCC, and stopping a run from the window through QuerySocket. All over scripted sockets.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <initializer_list>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "ScriptedSockets.h"
#include "query/QuerySocket.h"
#include "query/WhoisQuery.h"
#include "res/resource.h"

namespace {
using StatusLine = std::pair<int, std::string>;  // string ID, host
using Statuses = std::vector<StatusLine>;
using Log = std::vector<std::string>;

class RecordingReport : public IQueryReport {
public:
    void Status(int stringId, const std::string& host) override { statuses.emplace_back(stringId, host); }
    Statuses statuses;
};

const std::string kArin = "whois.arin.net";
const std::string kRipe = "whois.ripe.net";
const std::string kApnic = "whois.apnic.net";
const std::string kInterNic = "whois.internic.net";
const std::string kOwnHost = "whois.example.net";

const std::string kRipeReferral = "European Regional Internet Registry";
const std::string kApnicReferral = "Asia Pacific Network Information Center";

// The network the runs see: the registries and a host of our own resolve, and two dotted texts
// parse as addresses; other names do not resolve.
class Network : public ScriptedSockets {
public:
    Network()
    {
        names = {{kArin, 0x0A000001}, {kRipe, 0x0A000002}, {kApnic, 0x0A000003}, {kInterNic, 0x0A000004},
                 {kOwnHost, 0x0A000010}};
        addresses = {{"192.0.2.1", 0x010200C0}, {"192.0.2.80", 0x500200C0}};
    }
    // Scripts the next connection: the server sends `chunks`, then closes.
    ScriptedConnection& Answer(std::vector<std::string> chunks)
    {
        connections.emplace_back();
        connections.back().chunks = std::move(chunks);
        return connections.back();
    }
};

QueryJob Ask(const std::string& question, int server = kServerAutomatic)
{
    QueryJob job;
    job.question = question;
    job.server = job.serverChoice = server;
    return job;
}

struct Outcome {
    QueryResult result;
    Statuses statuses;
};

Outcome RunQuery(const QueryJob& job, ScriptedSockets& net, QuerySocket& socket)
{
    RecordingReport report;
    Outcome outcome;
    outcome.result = RunWhoisQuery(job, net, socket, report);
    outcome.statuses = report.statuses;
    return outcome;
}

Outcome RunQuery(const QueryJob& job, ScriptedSockets& net)
{
    QuerySocket socket(net);
    return RunQuery(job, net, socket);
}

// The statuses of a pass that gets as far as the answer: looking up and connecting to `host`,
// requesting, waiting, and one "receiving" per chunk.
Statuses Pass(const std::string& host, size_t chunks)
{
    Statuses statuses = {{IDS_LOOKING_UP, host}, {IDS_CONNECTING, host}, {IDS_REQUESTING, ""}, {IDS_WAITING, ""}};
    statuses.insert(statuses.end(), chunks, {IDS_RECEIVING, ""});
    return statuses;
}

const Statuses kDone = {{IDS_GOT_DATA, ""}, {IDS_COMPLETE, ""}};

Statuses Join(std::initializer_list<Statuses> pieces)
{
    Statuses all;
    for (const Statuses& piece : pieces) all.insert(all.end(), piece.begin(), piece.end());
    return all;
}

// The socket calls of pass `number`: open, connect, the question, the line feed, `receives`
// receives, close.
Log PassLog(int number, const std::string& host, int port, const std::string& question, int receives)
{
    const std::string socket = "#" + std::to_string(number);
    Log log = {"open " + socket, "connect " + socket + " " + host + ":" + std::to_string(port),
               "send " + socket + " \"" + ScriptedSockets::Escape(question) + "\"", "send " + socket + " \"\\n\""};
    log.insert(log.end(), static_cast<size_t>(receives), "receive " + socket);
    log.push_back("close " + socket);
    return log;
}

Log Join(std::initializer_list<Log> pieces)
{
    Log all;
    for (const Log& piece : pieces) all.insert(all.end(), piece.begin(), piece.end());
    return all;
}

std::string Concat(const std::vector<std::string>& chunks)
{
    std::string text;
    for (const std::string& chunk : chunks) text += chunk;
    return text;
}
}  // namespace

TEST(WhoisQuery, AnEmptyQuestionAsksNothing)
{
    QueryJob fromLink = Ask("", kServerRipe);
    fromLink.fromLink = true;
    fromLink.lastServer = kServerApnic;
    for (const QueryJob& job : {Ask(""), Ask("", kServerArin), Ask("", kFirstCustomServer), fromLink}) {
        Network net;
        net.Answer({"never sent\n"});
        Outcome outcome = RunQuery(job, net);
        EXPECT_EQ((Statuses{{IDS_NOTHING_TO_ASK, ""}}), outcome.statuses) << job.server;
        EXPECT_EQ(Log{}, net.Log()) << job.server;
        EXPECT_EQ(QueryEnd::EmptyQuestion, outcome.result.end);
        EXPECT_FALSE(outcome.result.gotAnswer);
        EXPECT_FALSE(outcome.result.passStarted);
    }
}

TEST(WhoisQuery, ANormalRunStepByStep)
{
    Network net;
    const std::vector<std::string> chunks = {"Domain Name: EXAMPLE.COM\n", "Registrar: Example Registrar\n"};
    net.Answer(chunks);
    Outcome outcome = RunQuery(Ask("example.com"), net);
    EXPECT_EQ(Join({Pass(kInterNic, 2), kDone}), outcome.statuses);
    EXPECT_EQ(PassLog(1, kInterNic, 43, "example.com", 3), net.Log());
    EXPECT_EQ(QueryEnd::Complete, outcome.result.end);
    EXPECT_EQ(Concat(chunks), outcome.result.answer);
    EXPECT_TRUE(outcome.result.gotAnswer);
    EXPECT_TRUE(outcome.result.passStarted);
    EXPECT_EQ(kServerInterNic, outcome.result.lastServer);
}

TEST(WhoisQuery, TheServerGetsTheQuestionThenOneLineFeed)
{
    const std::string questions[] = {
        "example.com", "192.0.2.1", "   ", " example.com ", "a\tb", "\xC3\xA9xample.com", std::string(700, 'q'),
    };
    for (const std::string& question : questions) {
        Network net;
        net.Answer({"ok\n"});
        RunQuery(Ask(question), net);
        // Exactly these two sends: no terminating zero, no carriage return, nothing trimmed.
        EXPECT_EQ((std::vector<std::string>{question, "\n"}), net.Sent(ScriptedSockets::Handle(0)))
            << '"' << question << '"';
    }
}

TEST(WhoisQuery, TheAnswerIsTheChunksInOrderEachEndingAtItsFirstZero)
{
    struct Case {
        const char* name;
        std::vector<std::string> chunks;
        int end;
        std::string answer;
    };
    const Case cases[] = {
        {"one chunk", {"abc"}, 0, "abc"},
        {"three chunks", {"abc", "def", "ghi"}, 0, "abcdefghi"},
        {"a zero inside", {std::string("ab\0cd", 5), "ef"}, 0, "abef"},
        {"a zero first", {std::string("\0abc", 4), "x"}, 0, "x"},
        {"a zero last", {std::string("abc\0", 4), "def"}, 0, "abcdef"},
        {"zeros in two chunks", {std::string("a\0b\0c", 5), std::string("d\0e", 3), "f"}, 0, "adf"},
        {"only a zero", {std::string(1, '\0')}, 0, ""},
        {"full chunks", {std::string(kChunkSize, 'a'), std::string(kChunkSize, 'b'), "c"}, 0,
         std::string(kChunkSize, 'a') + std::string(kChunkSize, 'b') + "c"},
        {"closed at once", {}, 0, ""},
        {"a failed receive ends like a close", {"abc", "def"}, -1, "abcdef"},
        {"a receive that fails at once", {}, -1, ""},
    };
    for (const Case& c : cases) {
        Network net;
        net.Answer(c.chunks).end = c.end;
        Outcome outcome = RunQuery(Ask("example.com"), net);
        EXPECT_EQ(c.answer, outcome.result.answer) << c.name;
        EXPECT_EQ(QueryEnd::Complete, outcome.result.end) << c.name;
        EXPECT_TRUE(outcome.result.gotAnswer) << c.name;
        EXPECT_EQ(Join({Pass(kInterNic, c.chunks.size()), kDone}), outcome.statuses) << c.name;
        EXPECT_EQ(PassLog(1, kInterNic, 43, "example.com", static_cast<int>(c.chunks.size()) + 1), net.Log())
            << c.name;
    }
}

TEST(WhoisQuery, AnAnswerIsCutPastTheLimitAndTheRestIsNotRead)
{
    // The server sends chunks of a size, then closes; a byte past the limit cuts the answer there.
    struct Case {
        const char* name;
        size_t chunkBytes;
        size_t extraChunks;  // sent after those that reach the limit
        QueryEnd end;
        size_t chunksRead;  // past those that reach the limit, before the connection is closed
    };
    const Case cases[] = {
        {"the limit inside a chunk", 500, 10, QueryEnd::Cut, 0},
        {"the limit at a chunk's end", kChunkSize, 10, QueryEnd::Cut, 1},
        {"an answer of exactly the limit", kChunkSize, 0, QueryEnd::Complete, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t chunksToLimit = (kMaxAnswerBytes + c.chunkBytes - 1) / c.chunkBytes;
        Network net;
        net.Answer(std::vector<std::string>(chunksToLimit + c.extraChunks, std::string(c.chunkBytes, 'a')));
        Outcome outcome = RunQuery(Ask("example.com"), net);
        EXPECT_EQ(c.end, outcome.result.end);
        EXPECT_TRUE(outcome.result.gotAnswer);
        EXPECT_EQ(kMaxAnswerBytes, outcome.result.answer.size());
        const size_t received = chunksToLimit + (c.end == QueryEnd::Cut ? c.chunksRead : 0);
        const Statuses last = c.end == QueryEnd::Cut ? Statuses{{IDS_ANSWER_CUT, ""}} : kDone;
        EXPECT_TRUE(Join({Pass(kInterNic, received), last}) == outcome.statuses);
        EXPECT_TRUE(PassLog(1, kInterNic, 43, "example.com", static_cast<int>(chunksToLimit + c.chunksRead)) ==
                    net.Log())
            << "the connection is closed once a byte past the limit arrives, or by the server";
    }
}

TEST(WhoisQuery, AServerNamedByAnAddressIsNotLookedUp)
{
    Network net;
    net.Answer({"ok\n"});
    QueryJob job = Ask("example.com", kFirstCustomServer);
    job.customServers = {{"Dotted", "192.0.2.80", "43"}};
    Outcome outcome = RunQuery(job, net);
    EXPECT_EQ(Join({Pass("192.0.2.80", 1), kDone}), outcome.statuses);
    EXPECT_EQ(PassLog(1, "192.0.2.80", 43, "example.com", 2), net.Log());
    for (const std::string& lookup : net.Lookups()) EXPECT_EQ(0u, lookup.rfind("parse ", 0)) << lookup;
}

TEST(WhoisQuery, ARunThatCannotReachTheServerEndsAtTheFailedStep)
{
    struct Case {
        const char* name;
        QueryJob job;
        void (*setUp)(Network&);
        Statuses statuses;
        Log log;
        QueryEnd end;
        int lastServer;
    };
    QueryJob unknownHost = Ask("example.com", kFirstCustomServer);
    unknownHost.customServers = {{"Gone", "nowhere.example", "43"}};
    const Case cases[] = {
        {"a custom host that does not resolve", unknownHost, [](Network&) {},
         {{IDS_LOOKING_UP, "nowhere.example"}, {IDS_LOOKUP_FAILED, "nowhere.example"}}, {}, QueryEnd::LookupFailed,
         kFirstCustomServer},
        {"a registry that does not resolve", Ask("192.0.2.1"), [](Network& net) { net.names.erase(kArin); },
         {{IDS_LOOKING_UP, kArin}, {IDS_LOOKUP_FAILED, kArin}}, {}, QueryEnd::LookupFailed, kServerArin},
        {"no socket", Ask("example.com"), [](Network& net) { net.connections[0].openFails = true; },
         {{IDS_LOOKING_UP, kInterNic}, {IDS_CONNECTING, kInterNic}, {IDS_NETWORK_FAILED, ""}}, {"open (fails)"},
         QueryEnd::NoSocket, kServerInterNic},
        {"the connection is refused", Ask("example.com"), [](Network& net) { net.connections[0].connects = false; },
         {{IDS_LOOKING_UP, kInterNic}, {IDS_CONNECTING, kInterNic}, {IDS_CONNECT_FAILED, kInterNic}},
         {"open #1", "connect #1 whois.internic.net:43", "close #1"}, QueryEnd::ConnectFailed, kServerInterNic},
    };
    for (const Case& c : cases) {
        Network net;
        net.Answer({"never sent\n"});
        c.setUp(net);
        Outcome outcome = RunQuery(c.job, net);
        EXPECT_EQ(c.statuses, outcome.statuses) << c.name;
        EXPECT_EQ(c.log, net.Log()) << c.name;
        EXPECT_EQ(c.end, outcome.result.end) << c.name;
        EXPECT_FALSE(outcome.result.gotAnswer) << c.name;
        EXPECT_TRUE(outcome.result.passStarted) << c.name;
        EXPECT_EQ(c.lastServer, outcome.result.lastServer) << c.name;
    }
}

TEST(WhoisQuery, ACustomEntryIsAskedOnThePortItsTextNames)
{
    struct Case {
        const char* portText;
        int port;
    };
    const Case cases[] = {
        {"4343", 4343},
        {"43", 43},
        {" 4343", 4343},
        {"4343/tcp", 4343},
        {"65535", 65535},
        {"", 0},
        {"0", 0},
        {"none", 0},
        // Ports beyond 16 bits are not wrapped onto some other port.
        {"70000", 0},
        {"65536", 0},
        {"65579", 0},  // 65536 + 43
        {"99999999999", 0},
        {"-43", 0},
        {"-65493", 0},  // -65536 + 43
    };
    for (const Case& c : cases) {
        Network net;
        net.Answer({"ok\n"});
        QueryJob job = Ask("example.com", kFirstCustomServer);
        job.customServers = {{"Mine", kOwnHost, c.portText}};
        Outcome outcome = RunQuery(job, net);
        EXPECT_EQ(PassLog(1, kOwnHost, c.port, "example.com", 2), net.Log()) << '"' << c.portText << '"';
    }
}

TEST(WhoisQuery, TheServerAskedFollowsTheChoiceTheLinkAndTheQuestion)
{
    struct Case {
        const char* name;
        std::string question;
        int server;
        bool fromLink;
        int lastServer;
        std::string host;
        int port;
        int passServer;
    };
    const Case cases[] = {
        {"automatic, an address", "192.0.2.1", kServerAutomatic, false, 0, kArin, 43, kServerArin},
        {"automatic, another address", "192.0.2.80", kServerAutomatic, false, 0, kArin, 43, kServerArin},
        {"automatic, a domain name", "example.com", kServerAutomatic, false, 0, kInterNic, 43, kServerInterNic},
        {"RIPE NCC chosen", "192.0.2.1", kServerRipe, false, 0, kRipe, 43, kServerRipe},
        {"APNIC chosen", "example.com", kServerApnic, false, 0, kApnic, 43, kServerApnic},
        {"InterNic chosen for an address", "192.0.2.1", kServerInterNic, false, 0, kInterNic, 43, kServerInterNic},
        {"ARIN chosen for a name", "example.com", kServerArin, false, 0, kArin, 43, kServerArin},
        {"a custom entry chosen", "example.com", kFirstCustomServer, false, 0, kOwnHost, 4343, kFirstCustomServer},
        {"the last server is only for links", "example.com", kServerArin, false, kServerApnic, kArin, 43, kServerArin},
        {"a link asks where its answer came from", "example.com", kServerArin, true, kServerApnic, kApnic, 43,
         kServerApnic},
        {"a link from a custom entry", "example.com", kServerAutomatic, true, kFirstCustomServer, kOwnHost, 4343,
         kFirstCustomServer},
        // A link from an answer whose custom server has since been removed is asked like a typed
        // question: at the server the combo shows, chosen from the question for "Automatic".
        {"a link from a removed entry, combo on RIPE", "example.com", kServerRipe, true, kFirstCustomServer + 1, kRipe,
         43, kServerRipe},
        {"a link from a removed entry, a name", "example.com", kServerAutomatic, true, kFirstCustomServer + 1,
         kInterNic, 43, kServerInterNic},
        {"a link from a removed entry, an address", "192.0.2.1", kServerAutomatic, true, kFirstCustomServer + 1, kArin,
         43, kServerArin},
        {"a link with no last server", "192.0.2.1", kServerRipe, true, kServerAutomatic, kRipe, 43, kServerRipe},
    };
    for (const Case& c : cases) {
        Network net;
        net.Answer({"ok\n"});
        QueryJob job = Ask(c.question, c.server);
        job.fromLink = c.fromLink;
        job.lastServer = c.lastServer;
        job.customServers = {{"Mine", kOwnHost, "4343"}};
        Outcome outcome = RunQuery(job, net);
        EXPECT_EQ(PassLog(1, c.host, c.port, c.question, 2), net.Log()) << c.name;
        EXPECT_EQ(Join({Pass(c.host, 1), kDone}), outcome.statuses) << c.name;
        EXPECT_EQ(c.passServer, outcome.result.lastServer) << c.name;
        EXPECT_TRUE(outcome.result.passStarted) << c.name;
    }
}

// The two registries an ARIN answer can name, with the host and index each referral leads to.
struct ReferralCase {
    std::string referral;
    std::string host;
    int server;
};
const ReferralCase kReferralCases[] = {
    {kRipeReferral, kRipe, kServerRipe},
    {kApnicReferral, kApnic, kServerApnic},
};

TEST(WhoisQueryReferral, ArinRefersToTheRegistryItsAnswerNames)
{
    for (const ReferralCase& c : kReferralCases) {
        Network net;
        net.Answer({c.referral + " (NETBLK-REGISTRY)\n", "  ARIN text the user never sees\n"});
        const std::vector<std::string> second = {"% The registry's own answer\n", "inetnum: 192.0.2.0 - 192.0.2.255\n"};
        net.Answer(second);
        Outcome outcome = RunQuery(Ask("192.0.2.1"), net);
        // The ARIN socket is closed right after the chunk that showed the referral.
        EXPECT_EQ(Join({PassLog(1, kArin, 43, "192.0.2.1", 1), PassLog(2, c.host, 43, "192.0.2.1", 3)}), net.Log())
            << c.host;
        EXPECT_EQ(Join({Pass(kArin, 1), Pass(c.host, 2), kDone}), outcome.statuses) << c.host;
        EXPECT_EQ(Concat(second), outcome.result.answer) << c.host;
        EXPECT_EQ(c.server, outcome.result.lastServer) << c.host;
        EXPECT_EQ(QueryEnd::Complete, outcome.result.end) << c.host;
        EXPECT_TRUE(outcome.result.gotAnswer) << c.host;
    }
}

TEST(WhoisQueryReferral, AReferralSplitAcrossChunksStillRefers)
{
    for (const ReferralCase& c : kReferralCases) {
        const std::string line = c.referral + " (NETBLK-REGISTRY)\n";
        // Two chunks, split at every byte: the referral is seen with the chunk that completes it.
        for (size_t split = 1; split < line.size(); ++split) {
            Network net;
            net.Answer({line.substr(0, split), line.substr(split), "more ARIN text\n"});
            net.Answer({"registry answer\n"});
            Outcome outcome = RunQuery(Ask("192.0.2.1"), net);
            const int arinReceives = split >= c.referral.size() ? 1 : 2;
            EXPECT_EQ(Join({PassLog(1, kArin, 43, "192.0.2.1", arinReceives), PassLog(2, c.host, 43, "192.0.2.1", 2)}),
                      net.Log())
                << c.host << " split at " << split;
            EXPECT_EQ("registry answer\n", outcome.result.answer) << c.host << " split at " << split;
            EXPECT_EQ(c.server, outcome.result.lastServer) << c.host << " split at " << split;
        }
        // One byte a chunk.
        Network net;
        std::vector<std::string> bytes;
        for (char ch : line) bytes.emplace_back(1, ch);
        net.Answer(bytes);
        net.Answer({"registry answer\n"});
        Outcome outcome = RunQuery(Ask("192.0.2.1"), net);
        EXPECT_EQ(Join({PassLog(1, kArin, 43, "192.0.2.1", static_cast<int>(c.referral.size())),
                        PassLog(2, c.host, 43, "192.0.2.1", 2)}),
                  net.Log())
            << c.host << " byte by byte";
        EXPECT_EQ(c.server, outcome.result.lastServer) << c.host << " byte by byte";
    }
}

TEST(WhoisQueryReferral, NoReferralOutsideItsRule)
{
    struct Case {
        const char* name;
        QueryJob job;
        std::vector<std::string> chunks;
        std::string host;
        int passServer;
    };
    QueryJob linkToInterNic = Ask("192.0.2.1");
    linkToInterNic.fromLink = true;
    linkToInterNic.lastServer = kServerInterNic;
    QueryJob linkToRipe = Ask("192.0.2.1");
    linkToRipe.fromLink = true;
    linkToRipe.lastServer = kServerRipe;
    const std::string longStart = "Example Networks (NET-EXAMPLE) 192.0.2.0 - 192.0.2.255\n";
    static_assert(sizeof "Example Networks (NET-EXAMPLE) 192.0.2.0 - 192.0.2.255\n" - 1 > kReferralTestLength,
                  "the first chunk must be past the referral test");
    const Case cases[] = {
        {"the referral text after a long first chunk", Ask("192.0.2.1"), {longStart, kRipeReferral + "\n"}, kArin,
         kServerArin},
        {"the referral text on a later line", Ask("192.0.2.1"), {"Example\n", kApnicReferral + "\n"}, kArin,
         kServerArin},
        {"the referral text after a blank", Ask("192.0.2.1"), {" " + kRipeReferral + "\n"}, kArin, kServerArin},
        {"ARIN chosen by the user", Ask("192.0.2.1", kServerArin), {kRipeReferral + "\n"}, kArin, kServerArin},
        {"automatic, but the pass is at InterNic", Ask("example.com"), {kRipeReferral + "\n"}, kInterNic,
         kServerInterNic},
        {"a link to InterNic", linkToInterNic, {kApnicReferral + "\n"}, kInterNic, kServerInterNic},
        {"a link to RIPE NCC", linkToRipe, {kApnicReferral + "\n"}, kRipe, kServerRipe},
    };
    for (const Case& c : cases) {
        Network net;
        net.Answer(c.chunks);
        Outcome outcome = RunQuery(c.job, net);
        EXPECT_EQ(PassLog(1, c.host, 43, c.job.question, static_cast<int>(c.chunks.size()) + 1), net.Log()) << c.name;
        EXPECT_EQ(Concat(c.chunks), outcome.result.answer) << c.name;
        EXPECT_EQ(c.passServer, outcome.result.lastServer) << c.name;
        EXPECT_EQ(QueryEnd::Complete, outcome.result.end) << c.name;
    }
}

TEST(WhoisQueryReferral, AtMostOneReferral)
{
    struct Case {
        std::string fromArin;
        std::string fromRegistry;
        std::string host;
        int server;
    };
    const Case cases[] = {
        {kRipeReferral, kRipeReferral, kRipe, kServerRipe},
        {kRipeReferral, kApnicReferral, kRipe, kServerRipe},
        {kApnicReferral, kRipeReferral, kApnic, kServerApnic},
        {kApnicReferral, kApnicReferral, kApnic, kServerApnic},
    };
    for (const Case& c : cases) {
        Network net;
        net.Answer({c.fromArin + "\n"});
        net.Answer({c.fromRegistry + "\n", "inetnum: 192.0.2.0 - 192.0.2.255\n"});
        net.Answer({"a third server\n"});  // only used if the run went wrong
        Outcome outcome = RunQuery(Ask("192.0.2.1"), net);
        EXPECT_EQ(2, net.CountStarting("open")) << c.host;
        EXPECT_EQ(Join({PassLog(1, kArin, 43, "192.0.2.1", 1), PassLog(2, c.host, 43, "192.0.2.1", 3)}), net.Log())
            << c.host;
        EXPECT_EQ(c.fromRegistry + "\ninetnum: 192.0.2.0 - 192.0.2.255\n", outcome.result.answer) << c.host;
        EXPECT_EQ(c.server, outcome.result.lastServer) << c.host;
    }
}

TEST(WhoisQueryReferral, WhenTheReferredServerCannotBeReachedTheArinTextStays)
{
    struct Case {
        const char* name;
        void (*setUp)(Network&);
        Statuses secondPass;
        QueryEnd end;
    };
    const Case cases[] = {
        {"the connection is refused", [](Network& net) { net.connections[1].connects = false; },
         {{IDS_LOOKING_UP, kRipe}, {IDS_CONNECTING, kRipe}, {IDS_CONNECT_FAILED, kRipe}}, QueryEnd::ConnectFailed},
        {"the name does not resolve", [](Network& net) { net.names.erase(kRipe); },
         {{IDS_LOOKING_UP, kRipe}, {IDS_LOOKUP_FAILED, kRipe}}, QueryEnd::LookupFailed},
        {"no socket", [](Network& net) { net.connections[1].openFails = true; },
         {{IDS_LOOKING_UP, kRipe}, {IDS_CONNECTING, kRipe}, {IDS_NETWORK_FAILED, ""}}, QueryEnd::NoSocket},
    };
    for (const Case& c : cases) {
        Network net;
        const std::string arinText = kRipeReferral + " (NETBLK-RIPE)\n";
        net.Answer({arinText, "never read\n"});
        net.Answer({"never sent\n"});
        c.setUp(net);
        Outcome outcome = RunQuery(Ask("192.0.2.1"), net);
        EXPECT_EQ(c.end, outcome.result.end) << c.name;
        EXPECT_TRUE(outcome.result.gotAnswer) << c.name;
        EXPECT_EQ(arinText, outcome.result.answer) << c.name;
        EXPECT_EQ(kServerRipe, outcome.result.lastServer) << c.name;
        EXPECT_EQ(Join({Pass(kArin, 1), c.secondPass}), outcome.statuses) << c.name;
        EXPECT_EQ(1, net.Count("close #1")) << c.name;
        EXPECT_LE(net.Count("close #2"), 1) << c.name;
        EXPECT_EQ(0, net.CountStarting("send #2")) << c.name;
    }
}

TEST(WhoisQueryStop, AStopWhileTheAnswerArrivesEndsTheRunAborted)
{
    struct Case {
        const char* name;
        std::string question;
        std::vector<std::string> chunks;
        size_t stopAt;  // the chunk whose receive the stop interrupts
        std::string host;
    };
    const Case cases[] = {
        {"during the first chunk", "example.com", {"first\n", "second\n", "third\n"}, 0, kInterNic},
        {"during the second chunk", "example.com", {"first\n", "second\n", "third\n"}, 1, kInterNic},
        {"during the last chunk", "example.com", {"first\n", "second\n", "third\n"}, 2, kInterNic},
        // A stopped run does not follow the referral it has just received.
        {"during an ARIN referral", "192.0.2.1", {kRipeReferral + "\n", "more\n"}, 0, kArin},
    };
    for (const Case& c : cases) {
        Network net;
        QuerySocket socket(net);
        net.Answer(c.chunks).beforeChunk = [&socket, &c](size_t index) {
            if (index == c.stopAt) socket.Stop();
        };
        Outcome outcome = RunQuery(Ask(c.question), net, socket);
        std::vector<std::string> received(c.chunks.begin(), c.chunks.begin() + static_cast<long>(c.stopAt) + 1);
        EXPECT_EQ(Join({Pass(c.host, c.stopAt + 1), {{IDS_ABORTED, ""}}}), outcome.statuses) << c.name;
        EXPECT_EQ(QueryEnd::Aborted, outcome.result.end) << c.name;
        EXPECT_TRUE(outcome.result.gotAnswer) << c.name;
        EXPECT_EQ(Concat(received), outcome.result.answer) << c.name;
        // Closed once, by the stop inside the last receive; nothing is received after it.
        EXPECT_EQ(PassLog(1, c.host, 43, c.question, static_cast<int>(c.stopAt) + 1), net.Log()) << c.name;
        EXPECT_FALSE(socket.Active()) << c.name;
    }
}

TEST(WhoisQueryStop, AReceiveThatTheStopMadeFailEndsTheRunAborted)
{
    // The stop comes while the worker waits for more data; the socket it closed makes the wait fail.
    Network net;
    QuerySocket socket(net);
    ScriptedConnection& connection = net.Answer({"first\n", "second\n"});
    connection.end = -1;
    connection.beforeChunk = [&socket](size_t index) {
        if (index == 2) socket.Stop();
    };
    Outcome outcome = RunQuery(Ask("example.com"), net, socket);
    EXPECT_EQ(Join({Pass(kInterNic, 2), {{IDS_ABORTED, ""}}}), outcome.statuses);
    EXPECT_EQ(QueryEnd::Aborted, outcome.result.end);
    EXPECT_TRUE(outcome.result.gotAnswer);
    EXPECT_EQ("first\nsecond\n", outcome.result.answer);
    EXPECT_EQ(PassLog(1, kInterNic, 43, "example.com", 3), net.Log());
}

TEST(WhoisQueryStop, AStopWhileConnectingEndsTheRunThere)
{
    Network net;
    QuerySocket socket(net);
    ScriptedConnection& connection = net.Answer({"never sent\n"});
    connection.connects = false;  // the stop closed the socket, so the connect fails
    connection.onConnect = [&socket] { socket.Stop(); };
    Outcome outcome = RunQuery(Ask("example.com"), net, socket);
    EXPECT_EQ((Statuses{{IDS_LOOKING_UP, kInterNic}, {IDS_CONNECTING, kInterNic}, {IDS_CONNECT_FAILED, kInterNic}}),
              outcome.statuses);
    EXPECT_EQ((Log{"open #1", "connect #1 whois.internic.net:43", "close #1"}), net.Log());
    EXPECT_EQ(QueryEnd::ConnectFailed, outcome.result.end);
    EXPECT_FALSE(outcome.result.gotAnswer);
}

TEST(WhoisQueryStop, AStopBeforeThePassHasItsSocketEndsTheRunAtTheConnect)
{
    // The window's stop lands after "Connecting to" is shown but before the socket exists.
    Network net;
    // The socket is closed before the connect, which then fails.
    net.Answer({"never sent\n"}).connects = false;
    QuerySocket socket(net);
    socket.Stop();
    Outcome outcome = RunQuery(Ask("example.com"), net, socket);
    EXPECT_EQ((Statuses{{IDS_LOOKING_UP, kInterNic}, {IDS_CONNECTING, kInterNic}, {IDS_CONNECT_FAILED, kInterNic}}),
              outcome.statuses);
    EXPECT_EQ((Log{"open #1", "close #1", "connect #1 whois.internic.net:43"}), net.Log());
    EXPECT_EQ(QueryEnd::ConnectFailed, outcome.result.end);
    EXPECT_FALSE(outcome.result.gotAnswer);
}

TEST(QuerySocket, TheSocketIsClosedOnceWhoeverClosesIt)
{
    struct Case {
        const char* steps;  // a: attach the next socket, c: the worker closes, s: the window stops
        Log log;
        bool active;
    };
    const Case cases[] = {
        {"", {}, true},
        {"s", {}, false},
        {"ss", {}, false},
        {"a", {}, true},
        {"ac", {"close #1"}, true},
        {"acc", {"close #1"}, true},
        {"as", {"close #1"}, false},
        {"ass", {"close #1"}, false},
        {"asc", {"close #1"}, false},
        {"acs", {"close #1"}, false},
        {"acas", {"close #1", "close #2"}, false},
        {"asac", {"close #1", "close #2"}, false},
        // A stop before the socket is attached closes it as it comes.
        {"sa", {"close #1"}, false},
        {"sac", {"close #1"}, false},
        {"sas", {"close #1"}, false},
    };
    for (const Case& c : cases) {
        ScriptedSockets net;
        {
            QuerySocket socket(net);
            size_t attached = 0;
            for (const char* step = c.steps; *step; ++step) {
                if (*step == 'a') socket.Attach(ScriptedSockets::Handle(attached++));
                if (*step == 'c') socket.Close();
                if (*step == 's') socket.Stop();
            }
            EXPECT_EQ(c.active, socket.Active()) << c.steps;
        }
        EXPECT_EQ(c.log, net.Log()) << c.steps;
    }
}

TEST(QuerySocket, AStopFromTheWindowUnblocksAWorkerWaitingForData)
{
    struct Case {
        const char* name;
        std::vector<std::string> chunks;  // what arrives before the worker blocks
        Statuses statuses;
        QueryEnd end;
    };
    const Case cases[] = {
        {"while the answer arrives", {"partial answer\n"}, Join({Pass(kInterNic, 1), {{IDS_ABORTED, ""}}}),
         QueryEnd::Aborted},
        // Before any data the stop ends the wait as if the server had closed.
        {"before any data", {}, Join({Pass(kInterNic, 0), kDone}), QueryEnd::Complete},
    };
    for (const Case& c : cases) {
        Network net;
        net.Answer(c.chunks).blockUntilClosed = true;
        QuerySocket socket(net);
        RecordingReport report;
        QueryResult result;
        std::thread worker([&] {
            result = RunWhoisQuery(Ask("example.com"), net, socket, report);
            socket.MarkFinished();
        });
        // The limits only keep a broken run from hanging the tests; they are not what is tested.
        const bool blocked = net.WaitUntilBlocked(std::chrono::seconds(10));
        socket.Stop();
        const bool finished = socket.WaitFinished(std::chrono::seconds(10));
        if (!finished) net.ReleaseBlocked();
        worker.join();
        EXPECT_TRUE(blocked) << c.name;
        EXPECT_TRUE(finished) << c.name;
        // Closed once, by the stop; the worker does not close it again.
        EXPECT_EQ(PassLog(1, kInterNic, 43, "example.com", static_cast<int>(c.chunks.size()) + 1), net.Log())
            << c.name;
        EXPECT_EQ(c.statuses, report.statuses) << c.name;
        EXPECT_EQ(c.end, result.end) << c.name;
        EXPECT_TRUE(result.gotAnswer) << c.name;
        EXPECT_EQ(Concat(c.chunks), result.answer) << c.name;
    }
}

TEST(QuerySocket, AStopRacingTheWorkerClosesEverySocketOnce)
{
    // The window's stop is sent when the worker reaches a stage of a run that follows a referral. In
    // even rounds the worker waits there until the stop has landed, and the run ends as a stop at that
    // stage ends it; in odd rounds it goes on, and the stop lands then or at a later stage. Whatever
    // the order, every socket is closed exactly once.
    enum Stage { kArinConnect, kArinChunk, kRipeConnect, kRipeFirstChunk, kRipeSecondChunk, kRipeEnd, kStages };
    const std::string referral = kRipeReferral + "\n";
    struct End {
        QueryEnd end;
        int server;
        std::string answer;
    };
    // How a stop landing at each stage ends the run, and (last) a stop after the run's last step.
    const End ends[kStages + 1] = {
        {QueryEnd::Aborted, kServerArin, referral},          {QueryEnd::Aborted, kServerArin, referral},
        {QueryEnd::Aborted, kServerRipe, "first\n"},         {QueryEnd::Aborted, kServerRipe, "first\n"},
        {QueryEnd::Aborted, kServerRipe, "first\nsecond\n"}, {QueryEnd::Aborted, kServerRipe, "first\nsecond\n"},
        {QueryEnd::Complete, kServerRipe, "first\nsecond\n"}};
    for (int stage = 0; stage < kStages; ++stage) {
        for (int round = 0; round < 20; ++round) {
            Network net;
            net.Answer({referral, "ARIN text\n"});
            net.Answer({"first\n", "second\n"});
            ScriptedConnection& arin = net.connections[0];
            ScriptedConnection& ripe = net.connections[1];
            QuerySocket socket(net);
            std::promise<void> reached, landed;
            std::future<void> stopLanded = landed.get_future();
            std::atomic<bool> sent{false};
            auto reach = [&](int at) {
                if (at != stage || sent.exchange(true)) return;
                reached.set_value();
                if (round % 2 == 0) stopLanded.wait();
            };
            arin.onConnect = [&] { reach(kArinConnect); };
            arin.beforeChunk = [&](size_t index) {
                if (index == 0) reach(kArinChunk);  // the referral: ARIN sends no more
            };
            ripe.onConnect = [&] { reach(kRipeConnect); };
            ripe.beforeChunk = [&](size_t index) { reach(kRipeFirstChunk + static_cast<int>(index)); };
            std::thread window([&] {
                reached.get_future().wait();
                socket.Stop();
                landed.set_value();
            });
            Outcome outcome = RunQuery(Ask("192.0.2.1"), net, socket);
            if (!sent.exchange(true)) reached.set_value();  // a run that ended first still frees the window
            window.join();

            const std::string name = "stage " + std::to_string(stage) + ", round " + std::to_string(round);
            const int opened = net.CountStarting("open ");
            for (int number = 1; number <= opened; ++number)
                EXPECT_EQ(1, net.Count("close #" + std::to_string(number))) << name;
            const QueryResult& result = outcome.result;
            auto endedAs = [&](const End& e) {
                return e.end == result.end && e.server == result.lastServer && e.answer == result.answer;
            };
            const End* last = round % 2 == 0 ? ends + stage + 1 : std::end(ends);
            EXPECT_NE(last, std::find_if(ends + stage, last, endedAs)) << name << ": " << result.answer;
            EXPECT_EQ(result.end == QueryEnd::Aborted ? IDS_ABORTED : IDS_COMPLETE, outcome.statuses.back().first) << name;
        }
    }
}

TEST(QuerySocket, WaitFinishedTellsWhetherTheWorkerHasEnded)
{
    ScriptedSockets net;
    QuerySocket socket(net);
    EXPECT_FALSE(socket.WaitFinished(std::chrono::milliseconds(0)));
    EXPECT_FALSE(socket.WaitFinished(std::chrono::milliseconds(20)));
    socket.Stop();  // a stop is not the worker's end
    EXPECT_FALSE(socket.WaitFinished(std::chrono::milliseconds(0)));
    socket.MarkFinished();
    EXPECT_TRUE(socket.WaitFinished(std::chrono::milliseconds(0)));
    EXPECT_TRUE(socket.WaitFinished(std::chrono::seconds(10)));

    QuerySocket other(net);
    std::thread worker([&other] { other.MarkFinished(); });
    EXPECT_TRUE(other.WaitFinished(std::chrono::seconds(10)));
    worker.join();
}
