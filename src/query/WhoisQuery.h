// One WHOIS run: pick the server, resolve, connect, send the question and a line feed, read until
// the server closes; in "Automatic" runs, follow the referrals that answers make, pass by pass.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "query/QuerySocket.h"
#include "query/ServerDirectory.h"
#include "text/WideText.h"

// Everything a run needs, copied from the window when it starts.
struct QueryJob {
    std::string question;
    int server = kServerAutomatic;        // the combo's selection
    int serverChoice = kServerAutomatic;  // the user's choice: only "Automatic" follows referrals
    bool fromLink = false;                // asked from a link: use lastServer
    Server lastServer;                    // the server of the answer shown
    std::vector<ServerEntry> customServers;
};

enum class QueryEnd {
    EmptyQuestion,  // nothing was asked
    LookupFailed,
    NoSocket,
    ConnectFailed,
    Aborted,   // a stop came while the answer was arriving
    Complete,  // the server closed the connection (or a stop ended the wait for data)
    Cut,       // the answer reached kMaxAnswerBytes; the rest was not read
    RdapFailed,  // RDAP brought no answer, or only part of one; the status line says why
    OutOfMemory,  // no memory for more of the answer; what came before is kept
};

struct QueryResult {
    QueryEnd end = QueryEnd::EmptyQuestion;
    std::string question;              // as asked
    std::string answer;                // meaningful when gotAnswer
    std::string json;                  // an RDAP answer as it came; empty for WHOIS
    // The server of the answer: the last one asked, or, when a server that an answer referred to
    // gave nothing, the one that answered. Meaningful when a pass started.
    Server lastServer;
    bool passStarted = false;
    bool gotAnswer = false;            // a pass reached the receive stage
    std::string failedHost;            // the server that could not be asked, for the failed ends
    int rdapText = 0;                  // RdapFailed: the status text that says why (of failedHost)
    // The answer as the view shows it, decoded by the worker off the window's thread; null when it
    // is still to be decoded.
    std::shared_ptr<const WideText> text;
};

// Receives the status texts of a run, in order, by string ID (the host for the IDs that name it).
class IQueryReport {
public:
    virtual ~IQueryReport() = default;
    virtual void Status(int stringId, const std::string& host) = 0;
};

// How long a connect may take, and a receive wait for data, before the server counts as gone: the
// connect then fails as a refused one does, and the pass ends as if the server had closed.
// Writable only so that tests can shorten them in-process.
struct QueryLimits {
    std::chrono::milliseconds connect{15000};
    std::chrono::milliseconds idle{60000};
};
extern QueryLimits g_queryLimits;

// Bytes one receive may bring.
constexpr int kChunkSize = 512;
// The most of an answer a run keeps, far beyond any registry's answer: a server that never stops
// sending would otherwise take all the memory there is. The status text of a cut answer names it.
constexpr size_t kMaxAnswerBytes = 64u << 20;

QueryResult RunWhoisQuery(const QueryJob& job, ISocketApi& api, QuerySocket& socket, IQueryReport& report);
