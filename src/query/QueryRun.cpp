// The run that holds both exchanges; portable, so that it runs natively with scripted sockets and
// scripted HTTP answers.
#include "query/QueryRun.h"

#include <new>

#include "query/ServerChoice.h"
#include "res/resource.h"

namespace {
// The RDAP stages in the status line's words.
class RdapStatus : public IRdapReport {
public:
    explicit RdapStatus(IQueryReport& report) : m_report(report) {}
    void Asking(const std::string& host) override { m_report.Status(IDS_RDAP_ASKING, host); }
    void Connecting(const std::string& host) override { m_report.Status(IDS_CONNECTING, host); }
    void Waiting() override { m_report.Status(IDS_WAITING, ""); }
    void Receiving() override { m_report.Status(IDS_RECEIVING, ""); }

private:
    IQueryReport& m_report;
};

// The status text that says how an RDAP run ended without a whole answer.
int FailureText(RdapEnd end)
{
    switch (end) {
    case RdapEnd::RelatedFailed: return IDS_RDAP_REGISTRAR_FAILED;
    case RdapEnd::NoServer: return IDS_RDAP_NO_SERVER;
    case RdapEnd::NotFound: return IDS_RDAP_NOT_FOUND;
    case RdapEnd::RateLimited: return IDS_RDAP_RATE_LIMITED;
    case RdapEnd::HttpError: return IDS_RDAP_ERROR;
    case RdapEnd::Malformed: return IDS_RDAP_MALFORMED;
    case RdapEnd::LookupFailed: return IDS_LOOKUP_FAILED;
    case RdapEnd::ConnectFailed: return IDS_CONNECT_FAILED;
    case RdapEnd::TimedOut: return IDS_RDAP_TIMED_OUT;
    case RdapEnd::Failed: return IDS_RDAP_FAILED;
    case RdapEnd::Complete:
    case RdapEnd::Stopped:
    case RdapEnd::Cut: break;
    }
    return 0;
}

// How the run ended, in the status line's words; the query's own end.
QueryEnd ReportEnd(const RdapResult& rdap, IQueryReport& report)
{
    switch (rdap.end) {
    case RdapEnd::Complete:
        report.Status(IDS_GOT_DATA, "");
        report.Status(IDS_COMPLETE, "");
        return QueryEnd::Complete;
    case RdapEnd::Stopped: report.Status(IDS_ABORTED, ""); return QueryEnd::Aborted;
    case RdapEnd::Cut: report.Status(IDS_ANSWER_CUT, ""); return QueryEnd::Cut;
    case RdapEnd::RelatedFailed: report.Status(IDS_GOT_DATA, ""); break;
    default: break;
    }
    report.Status(FailureText(rdap.end), rdap.host);
    return QueryEnd::RdapFailed;
}

// An RDAP run, its answer taking the place of whatever WHOIS found (which stays when RDAP brings
// nothing).
QueryResult AskRdap(const RdapJob& job, QueryResult result, IHttpClient& http, BootstrapSource& bootstrap,
                    IQueryReport& report)
{
    RdapStatus status(report);
    RdapResult rdap;
    try {
        rdap = RunRdapQuery(job, http, bootstrap, status);
    } catch (const std::bad_alloc&) {
        // No memory for the RDAP answer: what WHOIS found stays, and the status line says why.
        report.Status(IDS_ANSWER_NOT_KEPT, "");
        result.end = QueryEnd::RdapFailed;
        result.rdapText = IDS_ANSWER_NOT_KEPT;
        return result;
    }
    result.end = ReportEnd(rdap, report);
    if (result.end == QueryEnd::RdapFailed) {
        result.rdapText = FailureText(rdap.end);
        result.failedHost = rdap.host;
    }
    if (!rdap.server.empty() && !result.gotAnswer) {
        result.passStarted = true;
        result.lastServer = Server::RdapAt(rdap.server);
    }
    if (rdap.gotAnswer) {
        result.answer = std::move(rdap.text);
        result.json = std::move(rdap.json);
        result.lastServer = Server::RdapAt(rdap.server);
        result.gotAnswer = result.passStarted = true;
    }
    return result;
}

bool Contains(std::string text, const char* phrase)
{
    return AsciiLower(std::move(text)).find(phrase) != std::string::npos;
}
}  // namespace

bool IsRdapAddress(const std::string& host)
{
    const std::string lower = AsciiLower(host.substr(0, 8));
    return lower.compare(0, 8, "https://") == 0 || lower.compare(0, 7, "http://") == 0;
}

bool WhoisFoundNoServer(const QueryJob& job, const QueryResult& result)
{
    if (job.serverChoice != kServerAutomatic || job.fromLink || !result.passStarted) return false;
    if (result.end != QueryEnd::Complete && result.end != QueryEnd::LookupFailed && result.end != QueryEnd::ConnectFailed)
        return false;
    // IANA's record of a top-level domain alone is the answer to that question.
    const RdapQuestion question = ClassifyRdapQuestion(job.question, false);
    if (BootstrapFileFor(question) == BootstrapFile::None) return false;
    if (question.kind == RdapKind::Domain && question.value.find('.', 1) == std::string::npos) return false;
    if (result.lastServer.kind == Server::Kind::Host && result.lastServer.host == kIanaHost) return true;
    // The servers that are left say so in a line or two.
    constexpr size_t kShortAnswer = 1024;
    return result.end == QueryEnd::Complete && result.answer.size() < kShortAnswer &&
           (Contains(result.answer, "not supported") || Contains(result.answer, "no whois server"));
}

QueryResult RunQuery(const QueryJob& job, ISocketApi& api, QuerySocket& socket, IHttpClient& http,
                     BootstrapSource& bootstrap, IQueryReport& report)
{
    QueryResult start;
    start.question = job.question;
    if (!job.question.empty()) {
        // A link in an RDAP answer is an entity at the same server.
        if (job.fromLink && job.lastServer.kind == Server::Kind::Rdap)
            return AskRdap({job.question, true, job.lastServer.host}, start, http, bootstrap, report);
        ServerAddress entry;
        const bool linkServerKnown = job.fromLink && LocateServer(job.lastServer, job.customServers, &entry);
        if (!linkServerKnown && job.server >= kFirstCustomServer && LookupServer(job.server, job.customServers, &entry) &&
            IsRdapAddress(entry.host))
            return AskRdap({job.question, false, entry.host}, start, http, bootstrap, report);
    }
    QueryResult whois = RunWhoisQuery(job, api, socket, report);
    if (!WhoisFoundNoServer(job, whois) || !socket.Active()) return whois;
    return AskRdap({job.question, false, ""}, std::move(whois), http, bootstrap, report);
}
