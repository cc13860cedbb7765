// The server directory's rules; portable, so that they are tested natively as well.
#include "query/ServerDirectory.h"

#include <climits>

const char* const kRegistryHosts[kServerAddMore] = {
    "", "whois.arin.net", "whois.ripe.net", "whois.apnic.net", "whois.internic.net",
};

ServerAddress g_builtinServers[kServerAddMore] = {
    {"", 0},
    {kRegistryHosts[kServerArin], 43},
    {kRegistryHosts[kServerRipe], 43},
    {kRegistryHosts[kServerApnic], 43},
    {kRegistryHosts[kServerInterNic], 43},
};

std::map<std::string, ServerAddress> g_hostRoutes;

ServerAddress RouteOf(const ServerAddress& address)
{
    const auto route = g_hostRoutes.find(address.host);
    return route == g_hostRoutes.end() ? address : route->second;
}

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

Server ServerForHost(const std::string& host, int port)
{
    for (int index = kServerArin; index <= kServerInterNic; ++index)
        if (port == 43 && host == kRegistryHosts[index]) return index;
    return Server::Named(host, port);
}

bool LocateServer(const Server& server, const std::vector<ServerEntry>& custom, ServerAddress* address)
{
    if (server.kind == Server::Kind::Entry) return LookupServer(server.index, custom, address);
    *address = {server.host, server.port};
    return true;
}

std::string AnswerHost(const Server& server, const std::vector<ServerEntry>& custom)
{
    if (server.kind == Server::Kind::Entry && server.index >= kServerArin && server.index <= kServerInterNic)
        return kRegistryHosts[server.index];
    ServerAddress address{"", 0};
    LocateServer(server, custom, &address);
    return address.host;
}

std::string ServerIdentity(const Server& server, const std::vector<ServerEntry>& custom)
{
    ServerAddress address{"", 0};
    if (server.kind == Server::Kind::Entry && server.index >= kServerArin && server.index <= kServerInterNic)
        address = {kRegistryHosts[server.index], 43};
    else
        LocateServer(server, custom, &address);
    return AsciiLower(address.host) + ":" + std::to_string(address.port);
}

bool ReferralApplies(int passServer, int serverChoice)
{
    return passServer == kServerArin && serverChoice == kServerAutomatic;
}

namespace {
bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}
}  // namespace

int ReferralServer(std::string_view answer)
{
    if (StartsWith(answer, "Asia Pacific Network Information Center")) return kServerApnic;
    if (StartsWith(answer, "European Regional Internet Registry")) return kServerRipe;
    return 0;
}
