// The server directory: server indexes, the built-in registry servers, custom entries, hosts that
// referrals name, the classic choice between ARIN and the domain-name registry, and the classic
// referral rule.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "query/Server.h"
#include "query/SocketApi.h"

// Server indexes, as the server combo lists them.
enum ServerIndex : int {
    kServerAutomatic = 0,
    kServerArin = 1,
    kServerRipe = 2,
    kServerApnic = 3,
    kServerInterNic = 4,
    kServerAddMore = 5,
    kFirstCustomServer = 6,
};

// One custom WHOIS server; the port stays text until a query uses it. Label and host may be of any
// script, in UTF-8.
struct ServerEntry {
    std::string label;
    std::string host;
    std::string port;
};

struct ServerAddress {
    std::string host;
    int port;
};

// Host and port of built-in servers 1 to 4 (slot 0 unused). Writable only so that tests can point
// the registries at a server of their own in-process.
extern ServerAddress g_builtinServers[kServerAddMore];
// The registries' own host names, whatever the table above says: a referral names them.
extern const char* const kRegistryHosts[kServerAddMore];

// Where a named host is reached instead of its own address and port. Empty in the program; tests
// and the demo point hosts at servers of their own in-process. The status line still names the host.
extern std::map<std::string, ServerAddress> g_hostRoutes;
ServerAddress RouteOf(const ServerAddress& address);

// The server a referral to `host` (lower case) and `port` names: a built-in entry when it is that
// registry's host on port 43, else the host itself.
Server ServerForHost(const std::string& host, int port);
// Host and port of any server (see LookupServer for entries); false when it names none.
bool LocateServer(const Server& server, const std::vector<ServerEntry>& custom, ServerAddress* address);
// What makes two servers the same for a run: the host in lower case and the port, a registry by its
// own host name even when the table points it elsewhere.
std::string ServerIdentity(const Server& server, const std::vector<ServerEntry>& custom);

// The host whose character set an answer from `server` is in: a registry's own host name (not where
// the table above points it), a custom entry's host, a named server's host; empty for none.
std::string AnswerHost(const Server& server, const std::vector<ServerEntry>& custom);

// The classic choice: ARIN when the platform's address parser (inet_addr) takes the whole question
// as an IPv4 address or network number, else the domain-name registry. 255.255.255.255 parses to
// the same value as "no address" and so goes to the domain-name registry too.
int AutomaticServer(const std::string& question, ISocketApi& api);

// The port text of a custom entry converted like atoi: leading blanks skipped, decimal digits up to
// the first other character, 0 when there are none. Values beyond an int saturate.
int PortFromText(const std::string& text);

// Host and port of server `index`: a built-in server (1 to 4) or custom entry index - 6.
// False when the index names no server (0, 5, or a custom entry that is no longer in the list).
bool LookupServer(int index, const std::vector<ServerEntry>& custom, ServerAddress* address);

// Whether the referral test runs for a pass: only at ARIN while the user's choice is "Automatic".
bool ReferralApplies(int passServer, int serverChoice);
// The registry that the start of an ARIN answer names (APNIC before RIPE NCC), or 0 for none yet.
int ReferralServer(std::string_view answer);
// The referral texts are shorter than this, so the test stops once the answer is longer.
constexpr size_t kReferralTestLength = 50;
