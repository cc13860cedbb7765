// The small HTTP interface the RDAP queries run over: WinHTTP in the program, scripted answers in
// the tests.
#pragma once

#include <string>

enum class HttpEnd {
    Complete,       // a status and the whole body
    LookupFailed,   // the host name does not resolve
    ConnectFailed,  // no connection (refused, no route, or a failed TLS handshake)
    TimedOut,       // no connection, or no data, within the time allowed
    Stopped,        // the user stopped the query
    Failed,         // anything else: a broken exchange, a certificate that is not trusted, ...
    Cut,            // the body reached the answer size limit; the rest was not read
};

struct HttpAnswer {
    HttpEnd end = HttpEnd::Failed;
    int status = 0;    // the HTTP status, when end is Complete or Cut
    std::string body;  // what arrived, even when the exchange broke off
};

// The stages of one request, as they happen.
class IHttpProgress {
public:
    virtual ~IHttpProgress() = default;
    virtual void Connecting(const std::string& host) = 0;
    virtual void Waiting() = 0;
    virtual void Receiving() = 0;
};

class IHttpClient {
public:
    virtual ~IHttpClient() = default;
    // GET with "Accept: application/rdap+json", redirects followed. Blocks until the answer is in,
    // it fails, or the user stops it.
    virtual HttpAnswer Get(const std::string& url, IHttpProgress& progress) = 0;
};

// The host of an http or https address ("rdap.example.dev" of "https://rdap.example.dev:8443/x"),
// "" when the text is no such address.
std::string HostOfUrl(const std::string& url);
