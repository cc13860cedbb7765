// Where the bootstrap files come from: a copy saved less than a day ago; else IANA's current file,
// which is then saved; else the saved copy however old; else the copy built into the program. A
// fetch that failed is not tried again for an hour, so a network that blocks IANA's site costs
// one time-out, not one per question.
#pragma once

#include <chrono>
#include <mutex>
#include <string>

#include "rdap/Bootstrap.h"
#include "rdap/HttpClient.h"

// The saved copies: files in the user's local application data in the program.
class IBootstrapStore {
public:
    virtual ~IBootstrapStore() = default;
    // The saved text of a file and its age; false when there is none.
    virtual bool Load(const std::string& name, std::string* text, std::chrono::seconds* age) = 0;
    // Keeps the text; a failure to save is no failure of the query.
    virtual void Save(const std::string& name, const std::string& text) = 0;
};

// Where IANA publishes the files. Writable only so that tests can point it at a server of their own.
extern std::string g_rdapBootstrapBase;

constexpr std::chrono::seconds kBootstrapFreshFor = std::chrono::hours(24);
constexpr std::chrono::minutes kBootstrapRetryAfter{60};

class BootstrapSource {
public:
    explicit BootstrapSource(IBootstrapStore& store) : m_store(store) {}
    // The registry of a file; false only when the user stopped the fetch.
    bool Get(BootstrapFile file, IHttpClient& http, IHttpProgress& progress, BootstrapRegistry* registry);
    // Tries IANA again at the next question, even after a failed fetch (for tests).
    void Forget();

private:
    IBootstrapStore& m_store;
    std::mutex m_lock;
    bool m_failed = false;
    std::chrono::steady_clock::time_point m_failedAt;
};
