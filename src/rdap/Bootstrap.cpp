// Reading and matching the RDAP bootstrap files.
#include "rdap/Bootstrap.h"

#include <nlohmann/json.hpp>

#include "rdap/BootstrapSnapshot.h"

namespace {
bool StartsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// "64496-64511" or "64496": the range; false for anything else.
bool ParseRange(const std::string& key, unsigned long long* first, unsigned long long* last)
{
    size_t dash = key.find('-');
    auto number = [](const std::string& text, unsigned long long* value) {
        if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos) return false;
        *value = std::stoull(text);
        return true;
    };
    if (!number(key.substr(0, dash), first)) return false;
    if (dash == std::string::npos) {
        *last = *first;
        return true;
    }
    return number(key.substr(dash + 1), last);
}

// How well a key fits a question: -1 for not at all, else larger for a more specific key.
int Fit(const std::string& key, const RdapQuestion& question)
{
    switch (question.kind) {
    case RdapKind::Domain: {
        const std::string& name = question.value;
        if (key.empty() || key.size() > name.size()) return -1;
        if (name.compare(name.size() - key.size(), key.size(), key) != 0) return -1;
        if (key.size() < name.size() && name[name.size() - key.size() - 1] != '.') return -1;
        return static_cast<int>(key.size());
    }
    case RdapKind::Ip: {
        IpPrefix prefix;
        return ParseIpPrefix(key, &prefix) && prefix.Contains(question.prefix) ? prefix.length : -1;
    }
    case RdapKind::Autnum: {
        unsigned long long first, last;
        return ParseRange(key, &first, &last) && first <= question.autnum && question.autnum <= last ? 0 : -1;
    }
    case RdapKind::Entity: break;
    }
    return -1;
}
}  // namespace

BootstrapFile BootstrapFileFor(const RdapQuestion& question)
{
    switch (question.kind) {
    case RdapKind::Domain: return BootstrapFile::Dns;
    case RdapKind::Ip: return question.prefix.v6 ? BootstrapFile::Ipv6 : BootstrapFile::Ipv4;
    case RdapKind::Autnum: return BootstrapFile::Asn;
    case RdapKind::Entity: break;
    }
    return BootstrapFile::None;
}

const char* BootstrapFileName(BootstrapFile file)
{
    switch (file) {
    case BootstrapFile::Dns: return "dns.json";
    case BootstrapFile::Ipv4: return "ipv4.json";
    case BootstrapFile::Ipv6: return "ipv6.json";
    case BootstrapFile::Asn: return "asn.json";
    case BootstrapFile::None: break;
    }
    return "";
}

std::string_view BuiltinBootstrap(BootstrapFile file)
{
    switch (file) {
    case BootstrapFile::Dns: return kSnapshotDns;
    case BootstrapFile::Ipv4: return kSnapshotIpv4;
    case BootstrapFile::Ipv6: return kSnapshotIpv6;
    case BootstrapFile::Asn: return kSnapshotAsn;
    case BootstrapFile::None: break;
    }
    return {};
}

bool BootstrapRegistry::Parse(std::string_view json)
{
    const nlohmann::json document = nlohmann::json::parse(json.begin(), json.end(), nullptr, false);
    if (!document.is_object()) return false;
    const auto services = document.find("services");
    if (services == document.end() || !services->is_array()) return false;
    std::vector<Service> parsed;
    for (const auto& entry : *services) {
        if (!entry.is_array() || entry.size() < 2 || !entry[0].is_array() || !entry[1].is_array()) continue;
        Service service;
        for (const auto& url : entry[1]) {
            if (!url.is_string()) continue;
            const std::string& text = url.get_ref<const std::string&>();
            if (StartsWith(AsciiLower(text), "https://")) {
                service.base = text;
                break;
            }
            if (service.base.empty() && StartsWith(AsciiLower(text), "http://")) service.base = text;
        }
        if (service.base.empty()) continue;
        for (const auto& key : entry[0])
            if (key.is_string()) service.keys.push_back(AsciiLower(key.get<std::string>()));
        parsed.push_back(std::move(service));
    }
    if (parsed.empty()) return false;
    m_services = std::move(parsed);
    return true;
}

std::string BootstrapRegistry::Find(const RdapQuestion& question) const
{
    int best = -1;
    const std::string* base = nullptr;
    for (const Service& service : m_services) {
        for (const std::string& key : service.keys) {
            int fit = Fit(key, question);
            if (fit > best) {
                best = fit;
                base = &service.base;
            }
        }
    }
    return base ? WithFinalSlash(*base) : std::string();
}

std::string KnownRdapServer(const std::string& name)
{
    // Registries that answer over RDAP without a line in dns.json, from public server tables; the
    // README lists them.
    static const struct {
        const char* tld;
        const char* base;
    } kKnown[] = {
        {"ac", "https://rdap.identitydigital.services/rdap/"},
        {"ch", "https://rdap.nic.ch/"},
        {"co", "https://rdap.registry.co/co/"},
        {"de", "https://rdap.denic.de/"},
        {"io", "https://rdap.identitydigital.services/rdap/"},
        {"li", "https://rdap.nic.ch/"},
        {"me", "https://rdap.identitydigital.services/rdap/"},
        {"sh", "https://rdap.identitydigital.services/rdap/"},
    };
    const size_t dot = name.rfind('.');
    const std::string tld = AsciiLower(dot == std::string::npos ? name : name.substr(dot + 1));
    for (const auto& known : kKnown)
        if (tld == known.tld) return known.base;
    return "";
}
