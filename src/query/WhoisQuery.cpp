// The WHOIS exchange over the socket interface; portable, so the same code runs natively under the
// sanitizers with scripted sockets.
#include "query/WhoisQuery.h"

#include <cstring>

#include "res/resource.h"

namespace {
// The server a run starts with: a link is asked where its answer came from; "Automatic" chooses
// from the question. A link whose server is gone (a custom entry removed since) is asked like a
// typed question, at the server the combo shows.
int FirstServer(const QueryJob& job, ISocketApi& api)
{
    ServerAddress unused;
    auto names = [&](int server) { return LookupServer(server, job.customServers, &unused); };
    int server = job.fromLink && names(job.lastServer) ? job.lastServer : job.server;
    return names(server) ? server : AutomaticServer(job.question, api);
}
}  // namespace

QueryResult RunWhoisQuery(const QueryJob& job, ISocketApi& api, QuerySocket& socket, IQueryReport& report)
{
    QueryResult result;
    result.question = job.question;
    if (job.question.empty()) {
        report.Status(IDS_NOTHING_TO_ASK, "");
        result.end = QueryEnd::EmptyQuestion;
        return result;
    }
    int server = FirstServer(job, api);
    char buffer[kChunkSize + 1];
    for (;;) {
        result.lastServer = server;
        result.passStarted = true;
        ServerAddress target;
        LookupServer(server, job.customServers, &target);
        report.Status(IDS_LOOKING_UP, target.host);

        std::uint32_t address = api.ParseAddress(target.host.c_str());
        if (address == kNoAddress && !api.Resolve(target.host.c_str(), &address)) {
            report.Status(IDS_LOOKUP_FAILED, target.host);
            result.end = QueryEnd::LookupFailed;
            return result;
        }
        report.Status(IDS_CONNECTING, target.host);

        bool final = true;
        bool testReferral = true;
        SocketHandle handle = api.Open();
        if (handle == kNoSocket) {
            report.Status(IDS_NETWORK_FAILED, "");
            result.end = QueryEnd::NoSocket;
            return result;
        }
        socket.Attach(handle);
        // A port beyond 16 bits names no server; port 0 makes the connection fail plainly.
        std::uint16_t port = target.port > 0 && target.port <= 0xFFFF ? static_cast<std::uint16_t>(target.port) : 0;
        if (!api.Connect(handle, address, port)) {
            report.Status(IDS_CONNECT_FAILED, target.host);
            socket.Close();
            result.end = QueryEnd::ConnectFailed;
            return result;
        }
        report.Status(IDS_REQUESTING, "");
        api.Send(handle, job.question.data(), static_cast<int>(job.question.size()));
        api.Send(handle, "\n", 1);
        report.Status(IDS_WAITING, "");
        result.answer.clear();
        result.gotAnswer = true;

        bool dataFlowed = false;
        for (;;) {
            int received = api.Receive(handle, buffer, kChunkSize);
            if (received <= 0 && dataFlowed && !socket.Active()) {
                // Stop closed the socket while the answer was arriving: the data flow was aborted.
                // A stop before any data came ends the wait as if the server had closed.
                report.Status(IDS_ABORTED, "");
                result.end = QueryEnd::Aborted;
                return result;
            }
            if (received <= 0) break;
            dataFlowed = true;
            // A chunk counts as text: it ends at its first zero byte.
            result.answer.append(buffer, strnlen(buffer, static_cast<size_t>(received)));
            report.Status(IDS_RECEIVING, "");
            if (!socket.Active()) {
                report.Status(IDS_ABORTED, "");
                socket.Close();
                result.end = QueryEnd::Aborted;
                return result;
            }
            if (result.answer.size() >= kMaxAnswerBytes) {
                result.answer.resize(kMaxAnswerBytes);
                report.Status(IDS_ANSWER_CUT, "");
                socket.Close();
                result.end = QueryEnd::Cut;
                return result;
            }
            if (testReferral) {
                int referred = ReferralApplies(server, job.serverChoice) ? ReferralServer(result.answer) : 0;
                if (referred) {
                    final = false;
                    server = referred;
                    break;
                }
                if (result.answer.size() > kReferralTestLength) testReferral = false;
            }
        }
        socket.Close();
        if (final) {
            report.Status(IDS_GOT_DATA, "");
            report.Status(IDS_COMPLETE, "");
            result.end = QueryEnd::Complete;
            return result;
        }
    }
}
