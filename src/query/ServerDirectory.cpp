// The server directory's rules; portable, so that they are tested natively as well.
#include "query/ServerDirectory.h"

#include <climits>

ServerAddress g_builtinServers[kServerAddMore] = {
    {"", 0},
    {"whois.arin.net", 43},
    {"whois.ripe.net", 43},
    {"whois.apnic.net", 43},
    {"whois.internic.net", 43},
};

int AutomaticServer(const std::string& question, ISocketApi& api)
{
    return api.ParseAddress(question.c_str()) != kNoAddress ? kServerArin : kServerInterNic;
}

int PortFromText(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) return negative ? INT_MIN : INT_MAX;
    }
    return static_cast<int>(negative ? -value : value);
}

bool LookupServer(int index, const std::vector<ServerEntry>& custom, ServerAddress* address)
{
    if (index >= kServerArin && index <= kServerInterNic) {
        *address = g_builtinServers[index];
        return true;
    }
    if (index < kFirstCustomServer || static_cast<size_t>(index - kFirstCustomServer) >= custom.size())
        return false;
    const ServerEntry& entry = custom[static_cast<size_t>(index - kFirstCustomServer)];
    *address = {entry.host, PortFromText(entry.port)};
    return true;
}

bool ReferralApplies(int passServer, int serverChoice)
{
    return passServer == kServerArin && serverChoice == kServerAutomatic;
}

namespace {
bool StartsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}
}  // namespace

int ReferralServer(const std::string& answer)
{
    if (StartsWith(answer, "Asia Pacific Network Information Center")) return kServerApnic;
    if (StartsWith(answer, "European Regional Internet Registry")) return kServerRipe;
    return 0;
}
