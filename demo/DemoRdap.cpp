// The sample server's RDAP role, over plain HTTP: IANA's bootstrap file naming the demo's registry
// for .dev, the registry's record of example.dev (which links to the registrar's record), the
// registrar's record with its contacts, and the contacts' own records. Example names only.
#include <map>
#include <string>

#include "DemoAnswers.h"

namespace {
const std::map<std::string, std::string>& Records()
{
    static const std::map<std::string, std::string> records = {
        {"/rdap/dns.json", R"({"description": "The Tarquelin demo's bootstrap file", "services": [
  [["dev"], ["https://rdap.registry.example/rdap/"]]]})"},
        {"/rdap/domain/example.dev", R"({"objectClassName": "domain", "handle": "DEMO-DEV-1", "ldhName": "EXAMPLE.DEV",
  "status": ["client transfer prohibited"],
  "events": [{"eventAction": "registration", "eventDate": "2019-02-28T17:00:00Z"},
             {"eventAction": "expiration", "eventDate": "2027-02-28T17:00:00Z"},
             {"eventAction": "last changed", "eventDate": "2026-02-01T10:00:00Z"}],
  "entities": [{"objectClassName": "entity", "handle": "DEMO-REGISTRAR", "roles": ["registrar"],
    "publicIds": [{"type": "IANA Registrar ID", "identifier": "9999"}],
    "vcardArray": ["vcard", [["version", {}, "text", "4.0"], ["fn", {}, "text", "Tarquelin Demo Registrar"]]]}],
  "nameservers": [{"objectClassName": "nameserver", "ldhName": "ns1.example.net"},
                  {"objectClassName": "nameserver", "ldhName": "ns2.example.net"}],
  "secureDNS": {"delegationSigned": false},
  "notices": [{"title": "Demo", "description": ["An answer played by the Tarquelin demo server."]}],
  "links": [{"rel": "self", "href": "https://rdap.registry.example/rdap/domain/example.dev", "type": "application/rdap+json"},
            {"rel": "related", "href": "https://rdap.registrar.example/registrar/domain/example.dev",
             "type": "application/rdap+json"}]})"},
        {"/registrar/domain/example.dev", R"({"objectClassName": "domain", "ldhName": "example.dev",
  "entities": [
    {"objectClassName": "entity", "handle": "DEMO-HOLDER", "roles": ["registrant"],
     "vcardArray": ["vcard", [["fn", {}, "text", ""], ["org", {}, "text", "Example Domain Holder"],
       ["adr", {}, "text", ["", "", "", "Exampleton", "", "", "ZZ"]]]]},
    {"objectClassName": "entity", "handle": "DEMO-ABUSE", "roles": ["abuse"],
     "vcardArray": ["vcard", [["email", {}, "text", "abuse@registrar.example"],
       ["tel", {"type": ["voice"]}, "uri", "tel:+1.5555550100"]]]}],
  "redacted": [{"name": {"type": "Registrant Name"}, "method": "removal", "reason": {"description": "Server policy"}}]})"},
        {"/registrar/entity/DEMO-HOLDER", R"({"objectClassName": "entity", "handle": "DEMO-HOLDER", "roles": ["registrant"],
  "vcardArray": ["vcard", [["org", {}, "text", "Example Domain Holder"]]]})"},
        {"/registrar/entity/DEMO-ABUSE", R"({"objectClassName": "entity", "handle": "DEMO-ABUSE", "roles": ["abuse"],
  "vcardArray": ["vcard", [["email", {}, "text", "abuse@registrar.example"]]]})"},
        {"/registrar/entity/DEMO-REGISTRAR", R"({"objectClassName": "entity", "handle": "DEMO-REGISTRAR", "roles": ["registrar"],
  "vcardArray": ["vcard", [["fn", {}, "text", "Tarquelin Demo Registrar"]]]})"},
    };
    return records;
}

std::string Http(int status, const char* reason, const std::string& json)
{
    return "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\nContent-Type: application/rdap+json\r\nContent-Length: " +
           std::to_string(json.size()) + "\r\nConnection: close\r\n\r\n" + json;
}
}  // namespace

std::string DemoRdapAnswer(const std::string& path)
{
    const auto found = Records().find(path);
    if (found != Records().end()) return Http(200, "OK", found->second);
    return Http(404, "Not Found", R"({"errorCode": 404, "title": "Not Found", "description": ["The demo has no such record."]})");
}
