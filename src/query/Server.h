// A server a pass asks: an entry of the server combo, known by its index as everywhere in the
// program, or a host that a referral or the first-server table named, known by host and port, or an
// RDAP server, known by its base address.
#pragma once

#include <algorithm>
#include <string>
#include <utility>

// Host names, and the labels and schemes around them, compare in ASCII lower case.
inline std::string AsciiLower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

struct Server {
    enum class Kind { Entry, Host, Rdap };

    Kind kind = Kind::Entry;
    int index = 0;     // Entry: the combo index (1 to 4 built-in, 6 and up custom); 0 names none
    std::string host;  // Host: the name as the referral gave it, in lower case; Rdap: the base address
    int port = 0;      // Host: the TCP port

    Server() = default;
    // One integer names an entry of the combo, so an index converts to a server.
    Server(int entryIndex) : index(entryIndex) {}
    static Server Named(std::string host, int port)
    {
        Server server;
        server.kind = Kind::Host;
        server.host = std::move(host);
        server.port = port;
        return server;
    }
    static Server RdapAt(std::string base)
    {
        Server server;
        server.kind = Kind::Rdap;
        server.host = std::move(base);
        return server;
    }
};

inline bool operator==(const Server& a, const Server& b)
{
    if (a.kind != b.kind) return false;
    return a.kind == Server::Kind::Entry ? a.index == b.index : a.host == b.host && a.port == b.port;
}
inline bool operator!=(const Server& a, const Server& b) { return !(a == b); }
