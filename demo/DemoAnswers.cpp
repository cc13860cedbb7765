// The sample server's records. Everything here is made up: documentation address blocks
// (192.0.2.0/24, 198.51.100.0/24, 203.0.113.0/24) and the example domains.
#include "DemoAnswers.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {
const char kNetwork[] =
    "Tarquelin Demo Registry (DEMO-REG)\n"
    "\n"
    "Documentation Network One (NET-192-0-2-0-1)     192.0.2.0 - 192.0.2.255\n"
    "Example Hosting Ltd (NET-192-0-2-128-1)         192.0.2.128 - 192.0.2.191\n"
    "\n"
    "NetRange:   192.0.2.0 - 192.0.2.255\n"
    "CIDR:       192.0.2.0/24\n"
    "NetName:    TEST-NET-1\n"
    "NetHandle:  NET-192-0-2-0-1\n"
    "OrgName:    Documentation Networks (DOCNET)\n"
    "Updated:    2026-01-15\n"
    "\n"
    "OrgTechHandle: (TECH-DEMO)\n"
    "OrgAbuseHandle: (ABUSE-DEMO)\n"
    "\n"
    "To single out one record, look it up with its handle, for example (NET-192-0-2-0-1).\n";

const char kHosting[] =
    "Example Hosting Ltd (NET-192-0-2-128-1)\n"
    "  192.0.2.128 - 192.0.2.191\n"
    "  Parent: (NET-192-0-2-0-1)\n"
    "  Contact: (TECH-DEMO)\n";

const char kOrg[] =
    "OrgName:    Documentation Networks\n"
    "OrgId:      DOCNET\n"
    "Address:    1 Example Way\n"
    "City:       Exampleton\n"
    "Country:    ZZ\n"
    "Networks:   (NET-192-0-2-0-1) (NET-198-51-100-0-1) (NET-203-0-113-0-1)\n";

const char kTech[] =
    "Name:       Demo Technical Contact\n"
    "Handle:     TECH-DEMO\n"
    "Email:      tech@example.net\n"
    "Phone:      +1-555-0100\n"
    "Org:        (DOCNET)\n";

const char kAbuse[] =
    "Name:       Demo Abuse Desk\n"
    "Handle:     ABUSE-DEMO\n"
    "Email:      abuse@example.net\n"
    "Org:        (DOCNET)\n";

const char kDomain[] =
    "Domain Name: EXAMPLE.COM\n"
    "Registrar: Tarquelin Demo Registrar (REGISTRAR-DEMO)\n"
    "Name Server: NS1.EXAMPLE.NET (HOST-NS1-DEMO)\n"
    "Name Server: NS2.EXAMPLE.NET (HOST-NS2-DEMO)\n"
    "Status: clientTransferProhibited\n"
    "Updated Date: 2026-02-01\n"
    "Creation Date: 1995-08-14\n"
    "\n"
    "Registrant: Example Domain Holder (EXAMPLE-HOLDER)\n";

const char kRegistrar[] =
    "Registrar: Tarquelin Demo Registrar\n"
    "Handle: REGISTRAR-DEMO\n"
    "Whois Server: 127.0.0.1\n"
    "Referral URL: http://www.example.org/\n";

const char kHolder[] =
    "Registrant: Example Domain Holder\n"
    "Handle: EXAMPLE-HOLDER\n"
    "Domains: EXAMPLE.COM EXAMPLE.NET EXAMPLE.ORG\n"
    "Technical contact: (TECH-DEMO)\n";

// An organisation and its contacts in the manner of RIPE NCC's database, which answers in UTF-8:
// German, Russian and Japanese names and addresses.
const char kInternational[] =
    "% Tarquelin demo database, in UTF-8\n"
    "\n"
    "organisation:   ORG-MS1-DEMO\n"
    "org-name:       Müller & Söhne Straßenbau GmbH\n"
    "address:        Königstraße 12, 70173 Stuttgart\n"
    "country:        DE\n"
    "admin-c:        (JW1-DEMO)\n"
    "tech-c:         (AK1-DEMO)\n"
    "abuse-c:        (TY1-DEMO)\n"
    "\n"
    "person:         Jürgen Weiß\n"
    "address:        Große Bleiche 3, 55116 Mainz\n"
    "nic-hdl:        JW1-DEMO\n"
    "\n"
    "person:         Анна Кузнецова (Anna Kuznetsova)\n"
    "address:        ул. Тверская, 7, Москва\n"
    "nic-hdl:        AK1-DEMO\n"
    "\n"
    "person:         山田 太郎 (Yamada Taro)\n"
    "address:        東京都千代田区丸の内一丁目\n"
    "nic-hdl:        TY1-DEMO\n";

std::string HostRecord(const char* name, const char* address)
{
    return std::string("Server Name: ") + name + "\nIP Address: " + address + "\nRegistrar: (REGISTRAR-DEMO)\n";
}

std::string NetRecord(const char* range, const char* name)
{
    return std::string("NetRange: ") + range + "\nNetName: " + name + "\nOrgName: Documentation Networks (DOCNET)\n";
}

const std::map<std::string, std::string>& Records()
{
    static const std::map<std::string, std::string> records = {
        {"192.0.2.1", kNetwork},
        {"192.0.2.0", kNetwork},
        {"NET-192-0-2-0-1", kNetwork},
        {"NET-192-0-2-128-1", kHosting},
        {"NET-198-51-100-0-1", NetRecord("198.51.100.0 - 198.51.100.255", "TEST-NET-2")},
        {"NET-203-0-113-0-1", NetRecord("203.0.113.0 - 203.0.113.255", "TEST-NET-3")},
        {"DOCNET", kOrg},
        {"TECH-DEMO", kTech},
        {"ABUSE-DEMO", kAbuse},
        {"DEMO-REG", "Tarquelin Demo Registry: the sample server of Tarquelin whois. Ask HELP.\n"},
        {"EXAMPLE.COM", kDomain},
        {"REGISTRAR-DEMO", kRegistrar},
        {"EXAMPLE-HOLDER", kHolder},
        {"HOST-NS1-DEMO", HostRecord("NS1.EXAMPLE.NET", "192.0.2.53")},
        {"HOST-NS2-DEMO", HostRecord("NS2.EXAMPLE.NET", "198.51.100.53")},
        {"ORG-MS1-DEMO", kInternational},
        {"JW1-DEMO", kInternational},
        {"AK1-DEMO", kInternational},
        {"TY1-DEMO", kInternational},
    };
    return records;
}

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}
}  // namespace

std::vector<std::string> DemoQuestions()
{
    std::vector<std::string> questions;
    for (const auto& record : Records()) questions.push_back(record.first);
    return questions;
}

std::string DemoKey(const std::string& question)
{
    std::string key = Upper(Trimmed(question));
    if (!key.empty() && key[0] == '!') key.erase(0, 1);
    return key;
}

std::string DemoAnswer(const std::string& question)
{
    const std::string key = DemoKey(question);
    if (key == "HELP") {
        std::string help = "Tarquelin demo WHOIS server: synthetic records for trying the program.\n\nAsk one of:\n";
        for (const std::string& q : DemoQuestions()) help += "  " + q + "\n";
        return help + "\nHandles in parentheses, like (DOCNET), can be clicked.\n";
    }
    const auto found = Records().find(key);
    if (found != Records().end()) return found->second;
    return "No match for \"" + Trimmed(question) + "\".\n";
}
