// Fuzzing the referral rules over any answer bytes: a referral names a usable host (lower case,
// letters, digits, dots and hyphens, not starting with a dot or hyphen, at most 253 bytes) and a
// port from 1 to 65535; a registrar's referral comes only from its own label; and the line ends
// (LF or CR LF) and a line put in front that holds no label change nothing.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "query/ReferralRules.h"

namespace {
bool SameReferral(bool found, const Referral& a, bool foundAgain, const Referral& b)
{
    return found == foundAgain && (!found || (a.host == b.host && a.port == b.port && a.show == b.show));
}

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const std::string answer(reinterpret_cast<const char*>(data), size);
    Referral referral;
    const bool found = FindReferral(answer, &referral);
    if (found) {
        FUZZ_CHECK(!referral.host.empty() && referral.host.size() <= 253);
        FUZZ_CHECK(referral.host[0] != '.' && referral.host[0] != '-');
        for (char c : referral.host) FUZZ_CHECK((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-');
        FUZZ_CHECK(referral.port >= 1 && referral.port <= 65535);
        if (referral.show == ReferralShow::After) FUZZ_CHECK(Lower(answer).find("registrar whois server:") != std::string::npos);
    }

    std::string crlf;
    for (char c : answer) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    Referral again;
    FUZZ_CHECK(SameReferral(found, referral, FindReferral(crlf, &again), again));
    FUZZ_CHECK(SameReferral(found, referral, FindReferral("% a remark: whois.example.net\n" + answer, &again), again));
    return 0;
}
