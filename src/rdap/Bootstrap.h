// IANA's RDAP bootstrap files (RFC 9224): which RDAP server holds a domain, an address block or an
// AS number. A file is a list of services, each a list of keys (top-level domains, prefixes or AS
// ranges) and the base addresses of the server that holds them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rdap/RdapQuestion.h"

enum class BootstrapFile { Dns, Ipv4, Ipv6, Asn, None };

// The file that holds the server for a question; None for entities, which no file lists.
BootstrapFile BootstrapFileFor(const RdapQuestion& question);
// "dns.json", "ipv4.json", "ipv6.json", "asn.json".
const char* BootstrapFileName(BootstrapFile file);
// The copy built into the program, for when IANA's cannot be had.
std::string_view BuiltinBootstrap(BootstrapFile file);

class BootstrapRegistry {
public:
    // False, leaving the registry as it was, when the text is not a bootstrap file.
    bool Parse(std::string_view json);
    // The base address of the server for the question, "" when none holds it: the longest label
    // suffix of a name, the longest prefix holding an address or network, the range holding an AS
    // number. An https address is taken before an http one.
    std::string Find(const RdapQuestion& question) const;
    bool Empty() const { return m_services.empty(); }

private:
    struct Service {
        std::vector<std::string> keys;
        std::string base;
    };
    std::vector<Service> m_services;
};

// The servers of top-level domains that the bootstrap file lacks (their registries run RDAP but
// are not listed), "" for any other name.
std::string KnownRdapServer(const std::string& name);
