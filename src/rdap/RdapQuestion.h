// What an RDAP server is asked for a question: a domain, an address or network, an AS number or an
// entity, and the path of that query under a server's base address.
#pragma once

#include <string>

#include "query/Server.h"
#include "rdap/IpAddress.h"

enum class RdapKind { Domain, Ip, Autnum, Entity };

struct RdapQuestion {
    RdapKind kind = RdapKind::Entity;
    std::string value;  // the name (lower case, no final dot), address, AS number or handle
    IpPrefix prefix;    // Ip: the address or network
    unsigned long autnum = 0;

    // The query under a base address, e.g. "domain/example.dev", percent-encoded where needed.
    std::string Path() const;
};

// "AS64496", "as64496" or a bare number: an AS number; a dotted IPv4 or an IPv6 address, with or
// without a prefix length: an address or network; a word with a dot in it: a domain name; anything
// else: an entity's handle. A link is always an entity: only handles are marked as links.
RdapQuestion ClassifyRdapQuestion(const std::string& question, bool fromLink);

// A base address with the "/" that its queries follow.
std::string WithFinalSlash(std::string base);
