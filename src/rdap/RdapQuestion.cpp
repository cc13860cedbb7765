// The kind of an RDAP question and its query path.
#include "rdap/RdapQuestion.h"

#include <cctype>

namespace {
std::string Trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return "";
    size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

bool AllDigits(const std::string& text, size_t from)
{
    if (from >= text.size() || text.size() - from > 10) return false;
    for (size_t i = from; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

// Bytes that may stand in a path segment as they are (RFC 3986 unreserved); the rest are %XX.
std::string Encoded(const std::string& text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}
}  // namespace

RdapQuestion ClassifyRdapQuestion(const std::string& question, bool fromLink)
{
    RdapQuestion result;
    result.value = Trimmed(question);
    if (fromLink) return result;
    const std::string text = result.value;
    const size_t digits = (text.size() > 2 && (text[0] == 'A' || text[0] == 'a') && (text[1] == 'S' || text[1] == 's')) ? 2 : 0;
    if (AllDigits(text, digits)) {
        unsigned long long number = std::stoull(text.substr(digits));
        if (number <= 0xFFFFFFFFull) {
            result.kind = RdapKind::Autnum;
            result.autnum = static_cast<unsigned long>(number);
            result.value = std::to_string(number);
            return result;
        }
    }
    if (ParseIpPrefix(text, &result.prefix)) {
        result.kind = RdapKind::Ip;
        return result;
    }
    if (text.find('.') != std::string::npos && text.find_first_of(" \t/") == std::string::npos) {
        result.kind = RdapKind::Domain;
        while (!result.value.empty() && result.value.back() == '.') result.value.pop_back();
        result.value = AsciiLower(result.value);
        if (!result.value.empty()) return result;
        result.value = text;
        result.kind = RdapKind::Entity;
    }
    return result;
}

std::string RdapQuestion::Path() const
{
    switch (kind) {
    case RdapKind::Domain: return "domain/" + Encoded(value);
    // A checked address: digits, dots, colons and one "/" before the length.
    case RdapKind::Ip: return "ip/" + value;
    case RdapKind::Autnum: return "autnum/" + value;
    case RdapKind::Entity: break;
    }
    return "entity/" + Encoded(value);
}

std::string WithFinalSlash(std::string base)
{
    if (base.empty() || base.back() != '/') base += '/';
    return base;
}
