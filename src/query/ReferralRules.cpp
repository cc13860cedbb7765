// The referral rules as a table over the answer's lines; portable, so that they are tested natively.
#include "query/ReferralRules.h"

#include <algorithm>
#include <cstring>

#include "query/Server.h"

namespace {
struct Rule {
    const char* label;
    bool lastCounts;  // several networks run from least to most specific: the last is the right one
    ReferralShow show;
};

const Rule kRules[] = {
    {"ReferralServer:", true, ReferralShow::Instead},
    {"ResourceLink:", true, ReferralShow::Instead},
    {"refer:", false, ReferralShow::Instead},
    {"Registrar WHOIS Server:", false, ReferralShow::After},
};
constexpr size_t kRuleCount = sizeof kRules / sizeof kRules[0];

constexpr int kWhoisPort = 43;
constexpr int kRwhoisPort = 4321;
constexpr size_t kLongestHost = 253;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool StartsWithNoCase(std::string_view text, const char* prefix)
{
    const size_t n = std::strlen(prefix);
    return text.size() >= n && AsciiLower(std::string(text.substr(0, n))) == AsciiLower(prefix);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsHostCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// "whois://host:port/", "rwhois://host", "host:port" or "host": the server it names, if any.
bool ParseServer(std::string value, Referral* referral)
{
    int port = kWhoisPort;
    const size_t scheme = value.find("://");
    if (scheme != std::string::npos) {
        const std::string name = AsciiLower(value.substr(0, scheme));
        if (name == "rwhois")
            port = kRwhoisPort;
        else if (name != "whois")
            return false;
        value.erase(0, scheme + 3);
    }
    value = value.substr(0, value.find('/'));
    const size_t colon = value.find(':');
    if (colon != std::string::npos) {
        const std::string digits = value.substr(colon + 1);
        if (digits.empty() || digits.size() > 5 || !std::all_of(digits.begin(), digits.end(), IsDigit)) return false;
        port = std::stoi(digits);
        value.erase(colon);
    }
    if (value.empty() || value.size() > kLongestHost || value.front() == '-' || value.front() == '.' ||
        !std::all_of(value.begin(), value.end(), IsHostCharacter) || port < 1 || port > 0xFFFF)
        return false;
    referral->host = AsciiLower(value);
    referral->port = port;
    return true;
}
}  // namespace

bool FindReferral(std::string_view answer, Referral* referral)
{
    Referral found[kRuleCount];
    bool seen[kRuleCount] = {};
    for (size_t start = 0; start < answer.size();) {
        size_t end = answer.find('\n', start);
        if (end == std::string::npos) end = answer.size();
        size_t at = start;
        while (at < end && IsBlank(answer[at])) ++at;
        for (size_t rule = 0; rule < kRuleCount; ++rule) {
            const bool settled = seen[rule] && !kRules[rule].lastCounts;
            if (settled || !StartsWithNoCase(answer.substr(at, end - at), kRules[rule].label)) continue;
            size_t from = at + std::strlen(kRules[rule].label), to = end;
            while (from < to && IsBlank(answer[from])) ++from;
            while (to > from && IsBlank(answer[to - 1])) --to;
            if (ParseServer(std::string(answer.substr(from, to - from)), &found[rule])) seen[rule] = true;
        }
        start = end + 1;
    }
    for (size_t rule = 0; rule < kRuleCount; ++rule) {
        if (!seen[rule]) continue;
        *referral = found[rule];
        referral->show = kRules[rule].show;
        return true;
    }
    return false;
}
