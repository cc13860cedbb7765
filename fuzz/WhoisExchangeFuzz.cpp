// Fuzzing the whole WHOIS exchange with any answer, split into any chunks, over scripted sockets.
// The first input byte sets up the run (bits 0-2: the server choice, bit 3: the question is an
// address, bit 4: the last receive fails instead of the server closing, bit 5: asked from a link in
// an ARIN answer); the rest is the chunks the servers send, each a length byte (0 for a full 512)
// and that many bytes. The run always completes; it follows the classic referral exactly when ARIN
// is asked under "Automatic" and the received text starts with a registry's referral, wherever the
// chunks split it; the answer is the chunks after the referral point (all of them without one),
// each up to its first zero byte; under "Automatic", a referral line in that answer (by the rules'
// own reading) to a server not yet asked makes one more pass, which gets nothing and so leaves the
// answer and its server; each server gets the question (in its own form) and a line feed; every
// socket is closed once and never used after that.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "query/QuerySocket.h"
#include "query/ReferralRules.h"
#include "query/ServerChoice.h"
#include "query/WhoisQuery.h"
#include "res/resource.h"

namespace {
const char kAddressQuestion[] = "192.0.2.1";
const char kCustomHost[] = "192.0.2.9";
const std::uint32_t kAddressOf[kServerAddMore] = {0, 0x0A000001, 0x0A000002, 0x0A000003, 0x0A000004};
const std::uint32_t kCustomAddress = 0x090200C0;
const std::uint32_t kNamedAddress = 0x0B000001;  // every other name resolves here

// Hands out the chunks in order to whichever connection receives, then the end.
class ChunkSockets : public ISocketApi {
public:
    ChunkSockets(std::vector<std::string> chunks, int end) : m_chunks(std::move(chunks)), m_end(end) {}

    std::uint32_t ParseAddress(const char* text) override
    {
        if (std::strcmp(text, kAddressQuestion) == 0) return 0x010200C0;
        if (std::strcmp(text, kCustomHost) == 0) return kCustomAddress;
        return kNoAddress;
    }
    bool Resolve(const char* host, std::uint32_t* address) override
    {
        for (int server = kServerArin; server <= kServerInterNic; ++server) {
            if (g_builtinServers[server].host == host) {
                *address = kAddressOf[server];
                return true;
            }
        }
        *address = kNamedAddress;
        return true;
    }
    SocketHandle Open() override
    {
        connections.emplace_back();
        return connections.size();
    }
    bool Connect(SocketHandle socket, std::uint32_t address, std::uint16_t port) override
    {
        Connection& connection = Use(socket);
        connection.address = address;
        connection.port = port;
        return true;
    }
    void Send(SocketHandle socket, const char* data, int length) override
    {
        FUZZ_CHECK(length >= 0);
        Use(socket).sent.append(data, static_cast<size_t>(length));
    }
    int Receive(SocketHandle socket, char* buffer, int length) override
    {
        Use(socket);
        FUZZ_CHECK(length == kChunkSize);
        if (m_next == m_chunks.size()) return m_end;
        const std::string& chunk = m_chunks[m_next++];
        std::memcpy(buffer, chunk.data(), chunk.size());
        return static_cast<int>(chunk.size());
    }
    void Close(SocketHandle socket) override { Use(socket).closed = true; }

    struct Connection {
        std::uint32_t address = 0;
        std::uint16_t port = 0;
        std::string sent;
        bool closed = false;
    };
    std::vector<Connection> connections;

private:
    // A call on a socket that was never opened, or has been closed, breaks the exchange.
    Connection& Use(SocketHandle socket)
    {
        FUZZ_CHECK(socket >= 1 && socket <= connections.size());
        Connection& connection = connections[socket - 1];
        FUZZ_CHECK(!connection.closed);
        return connection;
    }

    std::vector<std::string> m_chunks;
    size_t m_next = 0;
    int m_end;
};

class StatusCount : public IQueryReport {
public:
    void Status(int stringId, const std::string&) override
    {
        ++count[stringId];
        last = stringId;
    }
    std::map<int, int> count;
    int last = 0;
};

std::vector<std::string> Chunks(const std::uint8_t* data, size_t size)
{
    std::vector<std::string> chunks;
    size_t at = 0;
    while (at < size) {
        size_t length = data[at++];
        if (length == 0) length = kChunkSize;
        if (length > size - at) length = size - at;
        if (length == 0) break;
        chunks.emplace_back(reinterpret_cast<const char*>(data) + at, length);
        at += length;
    }
    return chunks;
}

// The referral texts, as they open an ARIN answer that names another registry.
const struct {
    const char* text;
    int server;
} kReferrals[] = {
    {"Asia Pacific Network Information Center", kServerApnic},
    {"European Regional Internet Registry", kServerRipe},
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const std::uint8_t setup = data[0];
    // The last two name no server: a custom entry no longer in the list, and "< add more >".
    const int kChoices[] = {kServerAutomatic, kServerArin, kServerRipe, kServerApnic, kServerInterNic,
                            kFirstCustomServer, kFirstCustomServer + 1, kServerAddMore};
    QueryJob job;
    job.server = job.serverChoice = kChoices[setup & 7];
    const bool isAddress = setup & 8;
    job.question = isAddress ? kAddressQuestion : "example.com";
    job.fromLink = setup & 32;
    job.lastServer = kServerArin;
    job.customServers = {{"Own", kCustomHost, "4343"}};
    const std::vector<std::string> chunks = Chunks(data + 1, size - 1);

    ChunkSockets sockets(chunks, setup & 16 ? -1 : 0);
    QuerySocket socket(sockets);
    StatusCount report;
    const QueryResult result = RunWhoisQuery(job, sockets, socket, report);

    // What the run should have done.
    int first = job.fromLink ? kServerArin : job.server;
    if (first == kServerAutomatic || first == kServerAddMore || first == kFirstCustomServer + 1)
        first = isAddress ? kServerArin : kServerInterNic;
    std::vector<std::string> texts;  // each chunk up to its first zero byte
    std::string whole;
    for (const std::string& chunk : chunks) {
        texts.push_back(chunk.substr(0, strnlen(chunk.data(), chunk.size())));
        whole += texts.back();
    }
    int referred = 0;
    size_t referralText = 0;
    if (first == kServerArin && job.serverChoice == kServerAutomatic) {
        for (const auto& referral : kReferrals) {
            if (whole.compare(0, std::strlen(referral.text), referral.text) == 0) {
                referred = referral.server;
                referralText = std::strlen(referral.text);
            }
        }
    }
    // The referral is seen with the chunk that completes its text; the rest goes to the registry.
    size_t secondPass = 0;
    if (referred) {
        size_t received = 0;
        while (received < referralText) received += texts[secondPass++].size();
    }
    std::string answer;
    for (size_t i = secondPass; i < texts.size(); ++i) answer += texts[i];
    Server asked[] = {first, referred ? referred : first};
    Referral referral;
    Server further;
    if (job.serverChoice == kServerAutomatic && FindReferral(answer, &referral)) {
        further = ServerForHost(referral.host, referral.port);
        for (const Server& server : asked)
            if (ServerIdentity(server, job.customServers) == ServerIdentity(further, job.customServers)) further = Server();
    }
    const bool third = further != Server();

    FUZZ_CHECK(result.end == QueryEnd::Complete && report.last == IDS_COMPLETE);
    FUZZ_CHECK(result.gotAnswer && result.question == job.question);
    FUZZ_CHECK(result.lastServer == (referred ? referred : first));
    FUZZ_CHECK(result.answer == answer);
    FUZZ_CHECK(report.count[IDS_RECEIVING] == static_cast<int>(chunks.size()));
    FUZZ_CHECK(sockets.connections.size() == (referred ? 2u : 1u) + (third ? 1u : 0u));
    for (size_t pass = 0; pass < sockets.connections.size(); ++pass) {
        const ChunkSockets::Connection& connection = sockets.connections[pass];
        FUZZ_CHECK(connection.closed);
        if (third && pass + 1 == sockets.connections.size()) {
            FUZZ_CHECK(connection.sent == QuestionFor(further, job.question) + "\n");
            const bool named = further.kind == Server::Kind::Host;
            const std::uint32_t parsed = named ? sockets.ParseAddress(further.host.c_str()) : kNoAddress;
            const std::uint32_t address = !named ? kAddressOf[further.index] : parsed != kNoAddress ? parsed : kNamedAddress;
            FUZZ_CHECK(connection.address == address);
            FUZZ_CHECK(connection.port == (named ? further.port : 43));
            continue;
        }
        const int server = pass == 0 ? first : referred;
        FUZZ_CHECK(connection.sent == job.question + "\n");
        FUZZ_CHECK(connection.address == (server == kFirstCustomServer ? kCustomAddress : kAddressOf[server]));
        FUZZ_CHECK(connection.port == (server == kFirstCustomServer ? 4343 : 43));
    }
    return 0;
}
