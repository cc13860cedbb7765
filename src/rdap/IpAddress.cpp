// Strict address and prefix parsing for RDAP questions and the bootstrap files.
#include "rdap/IpAddress.h"

#include <algorithm>

namespace {
bool ParseDecimal(std::string_view text, unsigned limit, unsigned* value)
{
    if (text.empty() || text.size() > 3) return false;
    unsigned result = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        result = result * 10 + static_cast<unsigned>(c - '0');
    }
    if (result > limit) return false;
    *value = result;
    return true;
}

bool ParseIpv4(std::string_view text, std::uint8_t* out)
{
    for (int part = 0; part < 4; ++part) {
        size_t dot = part < 3 ? text.find('.') : text.size();
        if (dot == std::string_view::npos) return false;
        unsigned value;
        if (!ParseDecimal(text.substr(0, dot), 255, &value)) return false;
        out[part] = static_cast<std::uint8_t>(value);
        text.remove_prefix(part < 3 ? dot + 1 : dot);
    }
    return true;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Groups of up to four hex digits separated by ":", one "::" standing for the zero groups left out,
// and an IPv4 address in place of the last two groups.
bool ParseIpv6(std::string_view text, std::uint8_t* out)
{
    std::uint8_t groups[16] = {};
    int count = 0;  // bytes filled
    int gap = -1;   // where "::" stands, in bytes
    if (text.substr(0, 2) == "::") {
        gap = 0;
        text.remove_prefix(2);
    }
    while (!text.empty()) {
        size_t end = text.find(':');
        std::string_view group = text.substr(0, end);
        if (end == std::string_view::npos && group.find('.') != std::string_view::npos) {
            if (count > 12 || !ParseIpv4(group, groups + count)) return false;
            count += 4;
            text = {};
            break;
        }
        if (group.empty() || group.size() > 4 || count > 14) return false;
        unsigned value = 0;
        for (char c : group) {
            int digit = HexDigit(c);
            if (digit < 0) return false;
            value = value * 16 + static_cast<unsigned>(digit);
        }
        groups[count++] = static_cast<std::uint8_t>(value >> 8);
        groups[count++] = static_cast<std::uint8_t>(value);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
        if (!text.empty() && text[0] == ':') {
            if (gap >= 0) return false;
            gap = count;
            text.remove_prefix(1);
        } else if (text.empty()) {
            return false;  // a single trailing ":"
        }
    }
    if (gap < 0) {
        if (count != 16) return false;
        std::copy(groups, groups + 16, out);
        return true;
    }
    if (count > 14) return false;
    std::fill(out, out + 16, 0);
    std::copy(groups, groups + gap, out);
    std::copy(groups + gap, groups + count, out + 16 - (count - gap));
    return true;
}
}  // namespace

bool IpPrefix::Contains(const IpPrefix& other) const
{
    if (v6 != other.v6 || other.length < length) return false;
    for (int bit = 0; bit < length; ++bit) {
        const int mask = 0x80 >> (bit % 8);
        if ((bytes[bit / 8] & mask) != (other.bytes[bit / 8] & mask)) return false;
    }
    return true;
}

bool ParseIpPrefix(std::string_view text, IpPrefix* prefix)
{
    IpPrefix result;
    size_t slash = text.find('/');
    std::string_view address = text.substr(0, slash);
    result.v6 = address.find(':') != std::string_view::npos;
    if (!(result.v6 ? ParseIpv6(address, result.bytes.data()) : ParseIpv4(address, result.bytes.data())))
        return false;
    result.length = result.Bits();
    if (slash != std::string_view::npos) {
        unsigned length;
        if (!ParseDecimal(text.substr(slash + 1), static_cast<unsigned>(result.Bits()), &length)) return false;
        result.length = static_cast<int>(length);
    }
    *prefix = result;
    return true;
}
