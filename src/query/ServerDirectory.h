// The server directory: server indexes, the built-in registry servers, custom entries, the
// automatic choice between ARIN and the domain-name registry, and the referral rule.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

// One custom WHOIS server; the port stays text until a query uses it.
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

// ARIN when the platform's address parser (inet_addr) takes the whole question as an IPv4 address
// or network number, else the domain-name registry. 255.255.255.255 parses to the same value as
// "no address" and so goes to the domain-name registry too.
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
int ReferralServer(const std::string& answer);
// The referral texts are shorter than this, so the test stops once the answer is longer.
constexpr size_t kReferralTestLength = 50;
