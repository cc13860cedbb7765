// CWinHttpClient: the RDAP queries' HTTP on WinHTTP: the system's TLS and certificate checks, the
// user's proxy settings, TLS 1.2 or newer, redirects followed, a time-out for each stage, the answer
// size capped, and Stop ending a request at once from any stage.
#pragma once

#include <windows.h>

#include <chrono>

#include "rdap/HttpClient.h"

// How long a connection may take, and how long a request may wait for data, before the server
// counts as gone. Writable only so that tests can shorten them in-process.
struct HttpLimits {
    std::chrono::milliseconds connect{15000};
    std::chrono::milliseconds idle{60000};
};
extern HttpLimits g_httpLimits;

class CWinHttpClient : public IHttpClient {
public:
    CWinHttpClient();
    ~CWinHttpClient() override;
    CWinHttpClient(const CWinHttpClient&) = delete;
    CWinHttpClient& operator=(const CWinHttpClient&) = delete;

    HttpAnswer Get(const std::string& url, IHttpProgress& progress) override;
    // Any thread: ends the request in progress at once, and every later one before it starts.
    void Stop();

private:
    HANDLE m_stop;  // manual-reset event, set by Stop
};
