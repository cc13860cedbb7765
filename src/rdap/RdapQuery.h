// One RDAP run: find the server (the one given, or through the bootstrap files), ask it for the
// question's kind, render the answer, and follow a registry's link to the registrar's record once.
#pragma once

#include <string>

#include "rdap/BootstrapSource.h"
#include "rdap/HttpClient.h"

struct RdapJob {
    std::string question;
    bool fromLink = false;  // a link is an entity's handle
    // The base address to ask (a custom RDAP server, or the server of the answer a link came
    // from); "" to find it through the bootstrap files.
    std::string server;
};

enum class RdapEnd {
    Complete,       // an answer, shown as text
    RelatedFailed,  // the registry's answer; the registrar's server, asked after it, failed
    NoServer,       // no RDAP server is known for the question
    NotFound,       // 404: the server holds no such object
    RateLimited,    // 429: too many questions; the server asks to wait
    HttpError,      // any other status that is no success
    Malformed,      // a success whose body is no RDAP answer (shown as it came)
    LookupFailed,
    ConnectFailed,
    TimedOut,
    Stopped,
    Failed,
    Cut,            // the answer reached the size limit
};

// The stages the status line follows.
class IRdapReport {
public:
    virtual ~IRdapReport() = default;
    // Asking an RDAP server (the registrar's too); fetching IANA's bootstrap file shows only as
    // the connection to its host.
    virtual void Asking(const std::string& host) = 0;
    virtual void Connecting(const std::string& host) = 0;
    virtual void Waiting() = 0;
    virtual void Receiving() = 0;
};

struct RdapResult {
    RdapEnd end = RdapEnd::NoServer;
    int status = 0;            // the HTTP status of the failing or last answer
    std::string text;          // what the view shows
    std::string json;          // the answer as received: one document, or [registry, registrar]
    std::string server;        // where links in the answer are asked: the registrar's, after its step
    std::string host;          // the host of the server the end names
    bool gotAnswer = false;    // a body arrived: the run makes a history record of it
};

RdapResult RunRdapQuery(const RdapJob& job, IHttpClient& http, BootstrapSource& bootstrap, IRdapReport& report);

// Where a request for `url` goes: where g_hostRoutes points its host (over plain HTTP, for tests
// and the demo), else the address itself.
std::string RoutedUrl(const std::string& url);
