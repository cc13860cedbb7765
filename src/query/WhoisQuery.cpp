// The WHOIS exchange over the socket interface; portable, so the same code runs natively under the
// sanitizers with scripted sockets.
#include "query/WhoisQuery.h"

#include <cstring>
#include <new>

#include "query/RunPlan.h"
#include "query/ServerChoice.h"
#include "res/resource.h"

QueryLimits g_queryLimits;

namespace {
// The first pass of a run: a link is asked where its answer came from; "Automatic" chooses from the
// question. A link whose server is gone (a custom entry removed since) is asked like a typed
// question, at the server the combo shows.
FirstPass FirstServer(const QueryJob& job, ISocketApi& api)
{
    ServerAddress unused;
    const bool automatic = job.serverChoice == kServerAutomatic;
    if (job.fromLink && LocateServer(job.lastServer, job.customServers, &unused)) return {job.lastServer, automatic};
    if (LookupServer(job.server, job.customServers, &unused)) return {job.server, automatic};
    FirstPass first = AutomaticFirstPass(job.question, api);
    first.followReferrals = first.followReferrals && automatic;
    return first;
}

// The program's own line between a registry's answer and its registrar's.
std::string RegistrarHeading(const std::string& shownBefore, const std::string& registrar)
{
    const char* lineEnd = shownBefore.empty() || shownBefore.back() == '\n' ? "" : "\n";
    return lineEnd + std::string("\n% The registrar's server ") + registrar + " answers:\n\n";
}

// A failed pass: the statuses say which server failed; what earlier passes received stays, with
// the server that sent it.
QueryResult& Failed(QueryResult& result, QueryEnd end, const RunPlan& plan, const std::string& host)
{
    result.end = end;
    result.failedHost = host;
    if (result.gotAnswer) result.lastServer = plan.ServerIfNothingArrives();
    return result;
}

// What every step of a run works with.
struct Exchange {
    const QueryJob& job;
    ISocketApi& api;
    QuerySocket& socket;
    IQueryReport& report;
};

// Looks the pass's server up and connects to it: QueryEnd::Complete when connected, else the end
// of the run, its status shown.
QueryEnd Connect(Exchange& x, const ServerAddress& target, SocketHandle* handle)
{
    x.report.Status(IDS_LOOKING_UP, target.host);
    const ServerAddress route = RouteOf(target);
    std::uint32_t address = x.api.ParseAddress(route.host.c_str());
    if (address == kNoAddress && !x.api.Resolve(route.host.c_str(), &address)) {
        x.report.Status(IDS_LOOKUP_FAILED, target.host);
        return QueryEnd::LookupFailed;
    }
    x.report.Status(IDS_CONNECTING, target.host);
    *handle = x.api.Open();
    if (*handle == kNoSocket) {
        x.report.Status(IDS_NETWORK_FAILED, "");
        return QueryEnd::NoSocket;
    }
    x.socket.Attach(*handle);
    // A port beyond 16 bits names no server; port 0 makes the connection fail plainly.
    const std::uint16_t port = route.port > 0 && route.port <= 0xFFFF ? static_cast<std::uint16_t>(route.port) : 0;
    x.socket.Limit(g_queryLimits.connect);
    const bool connected = x.api.Connect(*handle, address, port);
    x.socket.Unlimit();
    if (!connected) {
        x.report.Status(IDS_CONNECT_FAILED, target.host);
        x.socket.Close();
        return QueryEnd::ConnectFailed;
    }
    return QueryEnd::Complete;
}

enum class PassEnd {
    Complete,  // the server closed (or went silent): the answer is in
    Referred,  // ARIN's classic referral: the plan has moved on, the rest was not read
    RunEnded,  // a stop or the size limit ended the run; its end is set
};

// Receives a pass's answer into the result. The answer of a server that an answer referred to takes
// the place of that answer (or, a registrar's, follows it) once something arrives; until then what
// came before stays the answer. `passStart` is where the pass's own text begins, npos while none.
PassEnd Receive(Exchange& x, RunPlan& plan, const ServerAddress& target, SocketHandle handle, QueryResult& result,
                size_t* passStart)
{
    char buffer[kChunkSize + 1];
    bool testReferral = true;
    bool dataFlowed = false;
    for (;;) {
        x.socket.Limit(g_queryLimits.idle);
        const int received = x.api.Receive(handle, buffer, kChunkSize);
        x.socket.Unlimit();
        if (received <= 0 && dataFlowed && !x.socket.Active()) {
            // Stop closed the socket while the answer was arriving: the data flow was aborted.
            // A stop before any data came ends the wait as if the server had closed.
            x.report.Status(IDS_ABORTED, "");
            result.end = QueryEnd::Aborted;
            return PassEnd::RunEnded;
        }
        if (received <= 0) return PassEnd::Complete;
        dataFlowed = true;
        try {
            if (*passStart == std::string::npos) {
                if (plan.Show() == ReferralShow::After)
                    result.answer += RegistrarHeading(result.answer, target.host);
                else
                    result.answer.clear();
                *passStart = result.answer.size();
            }
            // A chunk counts as text: it ends at its first zero byte.
            result.answer.append(buffer, strnlen(buffer, static_cast<size_t>(received)));
        } catch (const std::bad_alloc&) {
            // No memory for more of the answer: what came before is the answer, from the server
            // that sent it.
            if (*passStart == std::string::npos) result.lastServer = plan.ServerIfNothingArrives();
            x.report.Status(IDS_OUT_OF_MEMORY, "");
            x.socket.Close();
            result.end = QueryEnd::OutOfMemory;
            return PassEnd::RunEnded;
        }
        x.report.Status(IDS_RECEIVING, "");
        if (!x.socket.Active()) {
            x.report.Status(IDS_ABORTED, "");
            x.socket.Close();
            result.end = QueryEnd::Aborted;
            return PassEnd::RunEnded;
        }
        // Only a byte beyond the limit cuts: an answer of the limit's exact size that ends there
        // is whole.
        if (result.answer.size() > kMaxAnswerBytes) {
            result.answer.resize(kMaxAnswerBytes);
            x.report.Status(IDS_ANSWER_CUT, "");
            x.socket.Close();
            result.end = QueryEnd::Cut;
            return PassEnd::RunEnded;
        }
        if (testReferral) {
            // ARIN's classic referral: its first words name the registry, and the rest is not read.
            const std::string_view text = std::string_view(result.answer).substr(*passStart);
            const int referred = ReferralApplies(plan.Current().index, x.job.serverChoice) ? ReferralServer(text) : 0;
            if (referred && plan.Refer(referred, ReferralShow::Instead)) return PassEnd::Referred;
            if (text.size() > kReferralTestLength) testReferral = false;
        }
    }
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
    Exchange x{job, api, socket, report};
    struct LimitsEnd {
        QuerySocket& socket;
        ~LimitsEnd() { socket.EndLimits(); }
    } limitsEnd{socket};
    const FirstPass first = FirstServer(job, api);
    RunPlan plan(first.server, first.followReferrals, job.customServers);
    for (;;) {
        if (plan.Passes() > 1 && !socket.Active()) {
            // A stop between two passes: the answer so far is the answer.
            report.Status(IDS_ABORTED, "");
            result.end = QueryEnd::Aborted;
            return result;
        }
        const Server server = plan.Current();
        result.lastServer = server;
        result.passStarted = true;
        ServerAddress target;
        LocateServer(server, job.customServers, &target);
        SocketHandle handle = kNoSocket;
        const QueryEnd failure = Connect(x, target, &handle);
        if (failure != QueryEnd::Complete) return Failed(result, failure, plan, target.host);

        report.Status(IDS_REQUESTING, "");
        const std::string question = QuestionFor(server, job.question);
        api.Send(handle, question.data(), static_cast<int>(question.size()));
        api.Send(handle, "\n", 1);
        report.Status(IDS_WAITING, "");
        size_t passStart = std::string::npos;
        if (!plan.Followed()) {
            result.answer.clear();
            passStart = 0;
        }
        result.gotAnswer = true;
        const PassEnd end = Receive(x, plan, target, handle, result, &passStart);
        if (end == PassEnd::RunEnded) return result;
        socket.Close();
        if (end == PassEnd::Referred) continue;
        if (passStart == std::string::npos) {
            // The referred server sent nothing: the answer that referred to it stays.
            result.lastServer = plan.ServerIfNothingArrives();
        } else if (plan.FollowAnswer(std::string_view(result.answer).substr(passStart))) {
            continue;
        }
        report.Status(IDS_GOT_DATA, "");
        report.Status(IDS_COMPLETE, "");
        result.end = QueryEnd::Complete;
        return result;
    }
}
