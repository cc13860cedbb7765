// The RDAP run over the HTTP interface; portable, so that it runs natively against scripted
// answers.
#include "rdap/RdapQuery.h"

#include "query/ServerDirectory.h"
#include "rdap/RdapRender.h"

namespace {
class Progress : public IHttpProgress {
public:
    explicit Progress(IRdapReport& report) : m_report(report) {}
    void Connecting(const std::string& host) override { m_report.Connecting(host); }
    void Waiting() override { m_report.Waiting(); }
    void Receiving() override { m_report.Receiving(); }

private:
    IRdapReport& m_report;
};

RdapEnd EndOf(HttpEnd end)
{
    switch (end) {
    case HttpEnd::Complete: return RdapEnd::Complete;
    case HttpEnd::LookupFailed: return RdapEnd::LookupFailed;
    case HttpEnd::ConnectFailed: return RdapEnd::ConnectFailed;
    case HttpEnd::TimedOut: return RdapEnd::TimedOut;
    case HttpEnd::Stopped: return RdapEnd::Stopped;
    case HttpEnd::Failed: return RdapEnd::Failed;
    case HttpEnd::Cut: return RdapEnd::Cut;
    }
    return RdapEnd::Failed;
}

// A body that cannot be rendered is shown as it came, zero bytes made blanks so that the view
// holds all of it.
std::string Raw(std::string body)
{
    for (char& c : body)
        if (c == '\0') c = ' ';
    return body;
}

// The program's own line between a registry's answer and its registrar's, as for WHOIS.
std::string RegistrarHeading(const std::string& host)
{
    return "\n% The registrar's RDAP server " + host + " answers:\n\n";
}

// The outcome of one request: the end, and the text the view shows for it.
RdapEnd Outcome(const HttpAnswer& answer, const RdapRendering& rendering)
{
    if (answer.end != HttpEnd::Complete) return EndOf(answer.end);
    if (answer.status == 404) return RdapEnd::NotFound;
    if (answer.status == 429) return RdapEnd::RateLimited;
    if (answer.status < 200 || answer.status > 299) return RdapEnd::HttpError;
    return rendering.outcome == RdapOutcome::Rendered ? RdapEnd::Complete : RdapEnd::Malformed;
}
}  // namespace

std::string HostOfUrl(const std::string& url)
{
    size_t start = url.find("://");
    if (start == std::string::npos) return "";
    start += 3;
    size_t end = url.find_first_of(":/?#", start);
    return url.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string RoutedUrl(const std::string& url)
{
    const std::string host = HostOfUrl(url);
    const auto route = g_hostRoutes.find(AsciiLower(host));
    if (host.empty() || route == g_hostRoutes.end()) return url;
    const size_t rest = url.find_first_of("/?#", url.find("://") + 3);
    return "http://" + route->second.host + ":" + std::to_string(route->second.port) +
           (rest == std::string::npos ? "/" : url.substr(rest));
}

RdapResult RunRdapQuery(const RdapJob& job, IHttpClient& http, BootstrapSource& bootstrap, IRdapReport& report)
{
    RdapResult result;
    const RdapQuestion question = ClassifyRdapQuestion(job.question, job.fromLink);
    Progress progress(report);
    std::string base = job.server;
    if (base.empty()) {
        const BootstrapFile file = BootstrapFileFor(question);
        if (file != BootstrapFile::None) {
            BootstrapRegistry registry;
            if (!bootstrap.Get(file, http, progress, &registry)) {
                result.end = RdapEnd::Stopped;
                return result;
            }
            base = registry.Find(question);
        }
        if (base.empty() && question.kind == RdapKind::Domain) base = KnownRdapServer(question.value);
        if (base.empty()) {
            result.end = RdapEnd::NoServer;
            return result;
        }
    }
    result.server = WithFinalSlash(base);
    const std::string url = result.server + question.Path();
    result.host = HostOfUrl(url);
    report.Asking(result.host);
    const HttpAnswer answer = http.Get(url, progress);
    result.status = answer.status;
    // A record is made of what arrived; a bare status leaves the answer on display as it was.
    result.gotAnswer = !answer.body.empty();
    const RdapRendering rendering = RenderRdap(answer.body);
    result.end = Outcome(answer, rendering);
    result.json = answer.body;
    result.text = rendering.outcome == RdapOutcome::Rendered ? rendering.text : Raw(answer.body);
    if (result.end != RdapEnd::Complete || rendering.related.empty()) return result;

    // The registry names the registrar's record: asked once, shown after the registry's answer.
    const std::string host = HostOfUrl(rendering.related);
    report.Asking(host);
    const HttpAnswer registrar = http.Get(rendering.related, progress);
    const RdapRendering second = RenderRdap(registrar.body);
    const RdapEnd end = Outcome(registrar, second);
    if (end == RdapEnd::Complete) {
        result.text += RegistrarHeading(host) + second.text;
        result.json = "[" + result.json + ",\n" + registrar.body + "]";
        // As after WHOIS's registrar step, links are asked where the last answer came from: the
        // registrar's server, which holds the contacts.
        const size_t query = rendering.related.rfind("/domain/");
        if (query != std::string::npos) result.server = rendering.related.substr(0, query + 1);
        return result;
    }
    result.end = end == RdapEnd::Stopped ? RdapEnd::Stopped : RdapEnd::RelatedFailed;
    result.host = host;
    result.status = registrar.status;
    return result;
}
