// Addresses and prefixes as RDAP questions and bootstrap keys write them: dotted IPv4, IPv6 with
// "::" and an optional dotted tail, each with an optional "/length".
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

struct IpPrefix {
    bool v6 = false;
    std::array<std::uint8_t, 16> bytes{};  // IPv4 uses the first four
    int length = 0;                        // prefix length; the whole address when none was given

    int Bits() const { return v6 ? 128 : 32; }
    // Whether `other` lies inside this prefix (same family, at least as long, same leading bits).
    bool Contains(const IpPrefix& other) const;
};

// Strict forms only: four decimal parts of at most 255 for IPv4, no leading blanks. False for
// anything else.
bool ParseIpPrefix(std::string_view text, IpPrefix* prefix);
