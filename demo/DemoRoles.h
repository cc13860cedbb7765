// The sample server's roles: besides its own records on the base port, it plays the registries and
// the servers they refer to, each on a port of its own after the base port, so that the demo program
// can point each host at the role that plays it.
#pragma once

constexpr int kDemoBasePort = 4343;

enum DemoRole {
    kDemoOwn,  // the "Demo" entry of the demo's custom server list
    kDemoArin,
    kDemoRipe,
    kDemoApnic,
    kDemoInterNic,
    kDemoIana,
    kDemoDenic,
    kDemoRegistrar,
    kDemoRwhois,
    kDemoRdap,   // plain HTTP: IANA's bootstrap file, a registry's and a registrar's RDAP servers
    kDemoRoles,  // as a role of a host: nothing listens there, so the connection is refused
};

struct DemoHost {
    const char* host;
    int port;
    DemoRole role;
};

// The hosts the demo program reaches on the sample server instead, at kDemoBasePort + role.
constexpr DemoHost kDemoHosts[] = {
    {"whois.arin.net", 43, kDemoArin},
    {"whois.ripe.net", 43, kDemoRipe},
    {"whois.apnic.net", 43, kDemoApnic},
    {"whois.internic.net", 43, kDemoInterNic},
    {"whois.iana.org", 43, kDemoIana},
    {"whois.denic.de", 43, kDemoDenic},
    {"whois.registrar.example", 43, kDemoRegistrar},
    {"rwhois.example.net", 4321, kDemoRwhois},
    {"whois.closed-registrar.example", 43, kDemoRoles},
    {"data.iana.org", 443, kDemoRdap},
    {"rdap.registry.example", 443, kDemoRdap},
    {"rdap.registrar.example", 443, kDemoRdap},
};
