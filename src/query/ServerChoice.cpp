// The first-server table and the query forms; portable, so that they are tested natively.
#include "query/ServerChoice.h"

#include <algorithm>

#include "query/ServerDirectory.h"

namespace {
// A handle ending in a registry's suffix is that registry's object.
const struct {
    const char* suffix;
    const char* host;
} kHandleSuffixes[] = {
    {"-ARIN", "whois.arin.net"},     {"-RIPE", "whois.ripe.net"},       {"-AP", "whois.apnic.net"},
    {"-LACNIC", "whois.lacnic.net"}, {"-AFRINIC", "whois.afrinic.net"},
};

// The domain-name registry holds these; the reserved test domains are held by no one, as before.
const char* const kRegistryDomains[] = {"com", "net", "edu", "example", "test", "invalid", "localhost"};

// Servers that answer a plain domain name with less than its record.
const struct {
    const char* host;
    const char* before;
    const char* after;
} kQueryForms[] = {
    {"whois.denic.de", "-T dn,ace ", ""},  // a plain name gets only its status
    {"whois.jprs.jp", "", "/e"},           // the record in English rather than in Japanese
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool AllOf(const std::string& text, bool (*test)(char))
{
    return !text.empty() && std::all_of(text.begin(), text.end(), test);
}

bool EndsWithNoCase(const std::string& text, const char* suffix)
{
    const std::string tail = suffix;
    return text.size() > tail.size() && AsciiLower(text.substr(text.size() - tail.size())) == AsciiLower(tail);
}

bool IsAsNumber(const std::string& question)
{
    return question.size() > 2 && question.size() <= 12 && AsciiLower(question.substr(0, 2)) == "as" &&
           AllOf(question.substr(2), IsDigit);
}

// Hexadecimal groups with at least two colons, maybe an IPv4 tail, maybe a prefix length.
bool IsIpv6(const std::string& question)
{
    const size_t slash = question.find('/');
    if (slash != std::string::npos) {
        const std::string length = question.substr(slash + 1);
        if (length.size() > 3 || !AllOf(length, IsDigit)) return false;
    }
    const std::string address = question.substr(0, slash);
    return std::count(address.begin(), address.end(), ':') >= 2 &&
           AllOf(address, [](char c) { return IsHexDigit(c) || c == ':' || c == '.'; });
}

// A label of a name: letters, digits and hyphens; bytes beyond ASCII for a name in its own script.
bool IsLabel(const std::string& label)
{
    return AllOf(label, [](char c) { return IsLetter(c) || IsDigit(c) || c == '-' || (c & 0x80); });
}

// The top-level domain of a name of two labels or more (lower case), or "" for anything else. A
// last label of digits alone is no domain: it is a malformed address.
std::string TopLevelDomain(std::string name)
{
    if (!name.empty() && name.back() == '.') name.pop_back();
    size_t start = 0;
    for (size_t dot; (dot = name.find('.', start)) != std::string::npos; start = dot + 1)
        if (!IsLabel(name.substr(start, dot - start))) return "";
    const std::string label = name.substr(start);
    if (start == 0 || !IsLabel(label) || AllOf(label, IsDigit)) return "";
    return AsciiLower(label);
}

// ".de", "de." or two letters: a top-level domain asked about itself.
bool IsTopLevelDomainAlone(const std::string& question)
{
    if (question.size() == 2) return AllOf(question, IsLetter);
    if (question.size() < 2) return false;
    const std::string label = question.front() == '.' ? question.substr(1)
                              : question.back() == '.' ? question.substr(0, question.size() - 1)
                                                       : "";
    return IsLabel(label) && !AllOf(label, IsDigit);
}
}  // namespace

FirstPass AutomaticFirstPass(const std::string& question, ISocketApi& api)
{
    const Server iana = Server::Named(kIanaHost, 43);
    if (AutomaticServer(question, api) == kServerArin) return {kServerArin};
    if (IsIpv6(question) || IsAsNumber(question)) return {iana};
    if (IsTopLevelDomainAlone(question)) return {iana, false};
    if (question.find('.') == std::string::npos)
        for (const auto& handle : kHandleSuffixes)
            if (EndsWithNoCase(question, handle.suffix) && IsLabel(question)) return {ServerForHost(handle.host, 43)};
    const std::string domain = TopLevelDomain(question);
    const bool registryDomain =
        std::find(std::begin(kRegistryDomains), std::end(kRegistryDomains), domain) != std::end(kRegistryDomains);
    return domain.empty() || registryDomain ? FirstPass{kServerInterNic} : FirstPass{iana};
}

std::string QuestionFor(const Server& server, const std::string& question)
{
    if (server.kind != Server::Kind::Host || TopLevelDomain(question).empty()) return question;
    for (const auto& form : kQueryForms)
        if (server.host == form.host) return form.before + question + form.after;
    return question;
}
