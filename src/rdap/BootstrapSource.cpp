// The bootstrap files' sources, in order of preference.
#include "rdap/BootstrapSource.h"

std::string g_rdapBootstrapBase = "https://data.iana.org/rdap/";

void BootstrapSource::Forget()
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_failed = false;
}

bool BootstrapSource::Get(BootstrapFile file, IHttpClient& http, IHttpProgress& progress, BootstrapRegistry* registry)
{
    const std::string name = BootstrapFileName(file);
    std::string saved;
    std::chrono::seconds age{0};
    const bool haveSaved = m_store.Load(name, &saved, &age);
    if (haveSaved && age < kBootstrapFreshFor && registry->Parse(saved)) return true;

    bool tryFetch;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        tryFetch = !m_failed || std::chrono::steady_clock::now() - m_failedAt >= kBootstrapRetryAfter;
    }
    if (tryFetch) {
        const HttpAnswer answer = http.Get(g_rdapBootstrapBase + name, progress);
        if (answer.end == HttpEnd::Stopped) return false;
        if (answer.end == HttpEnd::Complete && answer.status == 200 && registry->Parse(answer.body)) {
            m_store.Save(name, answer.body);
            return true;
        }
        std::lock_guard<std::mutex> hold(m_lock);
        m_failed = true;
        m_failedAt = std::chrono::steady_clock::now();
    }
    if (haveSaved && registry->Parse(saved)) return true;
    registry->Parse(BuiltinBootstrap(file));
    return true;
}
