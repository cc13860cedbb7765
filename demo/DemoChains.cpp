// The records of the servers the sample server plays for the demo program: made-up answers in the
// layouts of ARIN, RIPE NCC, APNIC, IANA, a .com registry, DENIC, a registrar and an RWhois server,
// which refer from one to the next as today's servers do. Documentation addresses and example names
// only.
#include <map>
#include <utility>

#include "DemoAnswers.h"

namespace {
const char kArinHeader[] =
    "#\n"
    "# An answer in ARIN's layout, played by the Tarquelin demo server: comment lines come first,\n"
    "# and a block that another registry holds says where to ask.\n"
    "#\n\n";

const char kRipeHeader[] = "% An answer in RIPE NCC's layout, played by the Tarquelin demo server.\n\n";
const char kIanaHeader[] = "% An answer in IANA's layout, played by the Tarquelin demo server.\n\n";

std::string Arin(const std::string& body) { return kArinHeader + body; }
std::string Ripe(const std::string& body) { return kRipeHeader + body; }
std::string Iana(const std::string& body) { return kIanaHeader + body; }

const char kDeRecord[] =
    "domain:       DE\n"
    "organisation: The registry of .de, as the demo plays it\n"
    "whois:        whois.denic.de\n"
    "status:       ACTIVE\n";

const std::map<std::pair<DemoRole, std::string>, std::string>& Records()
{
    static const std::map<std::pair<DemoRole, std::string>, std::string> records = {
        {{kDemoArin, "192.0.2.1"}, Arin("NetRange:       192.0.2.0 - 192.0.2.255\n"
                                        "NetName:        RIPE-DEMO-BLOCK\n"
                                        "NetHandle:      NET-192-0-2-0-1\n"
                                        "NetType:        Early Registrations, Transferred to RIPE NCC\n"
                                        "OrgName:        RIPE Network Coordination Centre\n"
                                        "ResourceLink:   https://apps.db.ripe.net/db-web-ui/query\n"
                                        "ResourceLink:   whois.ripe.net\n"
                                        "ReferralServer: whois://whois.ripe.net\n")},
        {{kDemoArin, "198.51.100.1"}, Arin("NetRange:       198.51.100.0 - 198.51.100.255\n"
                                           "NetName:        EXAMPLE-HOSTING\n"
                                           "NetType:        Reallocated\n"
                                           "OrgName:        Example Hosting Ltd\n"
                                           "ReferralServer: rwhois://rwhois.example.net:4321\n")},
        {{kDemoArin, "203.0.113.1"}, Arin("NetRange:       203.0.0.0 - 203.255.255.255\n"
                                          "NetName:        APNIC-DEMO-BLOCK\n"
                                          "NetType:        Allocated to APNIC\n"
                                          "ReferralServer: whois.apnic.net\n")},
        {{kDemoRipe, "192.0.2.1"}, Ripe("inetnum:        192.0.2.0 - 192.0.2.255\n"
                                        "netname:        EXAMPLE-NET\n"
                                        "descr:          Documentation network\n"
                                        "country:        ZZ\n"
                                        "admin-c:        (DEMO1-RIPE)\n"
                                        "tech-c:         (DEMO1-RIPE)\n"
                                        "status:         ASSIGNED PA\n"
                                        "mnt-by:         (DEMO-MNT)\n"
                                        "source:         RIPE\n")},
        {{kDemoRipe, "2001:DB8::1"}, Ripe("inet6num:       2001:db8::/32\n"
                                          "netname:        EXAMPLE-V6\n"
                                          "admin-c:        (DEMO1-RIPE)\n"
                                          "source:         RIPE\n")},
        {{kDemoRipe, "AS64496"}, Ripe("aut-num:        AS64496\n"
                                      "as-name:        EXAMPLE-AS\n"
                                      "admin-c:        (DEMO1-RIPE)\n"
                                      "mnt-by:         (DEMO-MNT)\n"
                                      "source:         RIPE\n")},
        {{kDemoRipe, "DEMO1-RIPE"}, Ripe("person:         Demo Network Administrator\n"
                                         "address:        1 Example Street, Exampleton\n"
                                         "nic-hdl:        DEMO1-RIPE\n"
                                         "mnt-by:         (DEMO-MNT)\n")},
        {{kDemoRipe, "DEMO-MNT"}, Ripe("mntner:         DEMO-MNT\n"
                                       "admin-c:        (DEMO1-RIPE)\n")},
        {{kDemoApnic, "203.0.113.1"}, "% An answer in APNIC's layout, played by the Tarquelin demo server.\n\n"
                                      "inetnum:        203.0.113.0 - 203.0.113.255\n"
                                      "netname:        EXAMPLE-AP\n"
                                      "admin-c:        (DEMO2-AP)\n"},
        {{kDemoApnic, "DEMO2-AP"}, "person:         Demo Administrator, Asia Pacific\nnic-hdl:        DEMO2-AP\n"},
        {{kDemoIana, "EXAMPLE.DE"}, Iana("refer:        whois.denic.de\n\n" + std::string(kDeRecord))},
        {{kDemoIana, "DE"}, Iana(kDeRecord)},
        {{kDemoIana, ".DE"}, Iana(kDeRecord)},
        {{kDemoIana, "2001:DB8::1"}, Iana("refer:        whois.ripe.net\n\ninet6:        2001:db8::/32\n")},
        // A top-level domain whose registry has no WHOIS server: the program goes on to RDAP.
        {{kDemoIana, "EXAMPLE.DEV"}, Iana("domain:       DEV\n\nstatus:       ACTIVE\n"
                                          "remarks:      Registration information: https://www.registry.example/\n")},
        {{kDemoIana, "AS64496"}, Iana("refer:        whois.ripe.net\n\nas-block:     AS64496-AS64511\n")},
        // Asked plainly, DENIC gives only the status; its own form gives the record.
        {{kDemoDenic, "EXAMPLE.DE"}, "Domain: example.de\nStatus: connect\n"},
        {{kDemoDenic, "-T DN,ACE EXAMPLE.DE"}, "Domain: example.de\n"
                                               "Nserver: ns1.example.de\n"
                                               "Status: connect\n"
                                               "Changed: 2026-01-10T09:00:00+01:00\n"},
        {{kDemoInterNic, "EXAMPLE.COM"}, "Domain Name: EXAMPLE.COM\n"
                                         "Registrar WHOIS Server: whois.registrar.example\n"
                                         "Registrar: Tarquelin Demo Registrar (REGISTRAR-DEMO)\n"
                                         "Name Server: NS1.EXAMPLE.NET\n"
                                         "Updated Date: 2026-02-01\n"},
        {{kDemoInterNic, "EXAMPLE.NET"}, "Domain Name: EXAMPLE.NET\n"
                                         "Registrar WHOIS Server: whois.closed-registrar.example\n"
                                         "Registrar: A registrar whose WHOIS service is switched off\n"},
        {{kDemoRegistrar, "EXAMPLE.COM"}, "Domain Name: EXAMPLE.COM\n"
                                          "Registrar WHOIS Server: whois.registrar.example\n"
                                          "Registrant Name: REDACTED FOR PRIVACY\n"
                                          "Registrant Organization: Example Domain Holder (EXAMPLE-HOLDER)\n"
                                          "Tech Contact: (TECH-DEMO)\n"},
        {{kDemoRwhois, "198.51.100.1"}, "%rwhois V-1.5 played by the Tarquelin demo server\n"
                                        "network:Network-Name:EXAMPLE-CUSTOMER\n"
                                        "network:IP-Network:198.51.100.0/26\n"
                                        "network:Tech-Contact:(TECH-DEMO)\n"},
    };
    return records;
}
}  // namespace

std::string DemoAnswer(DemoRole role, const std::string& question)
{
    const auto found = Records().find({role, DemoKey(question)});
    return found == Records().end() ? DemoAnswer(question) : found->second;
}

std::vector<std::string> DemoQuestions(DemoRole role)
{
    std::vector<std::string> questions;
    for (const auto& record : Records())
        if (record.first.first == role) questions.push_back(record.first.second);
    return questions;
}
