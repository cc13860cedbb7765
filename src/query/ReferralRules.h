// The referral rules: the lines of a complete answer that name another server to ask the same
// question, and how the referred server's answer is shown.
#pragma once

#include <string>
#include <string_view>

enum class ReferralShow {
    Instead,  // another registry holds the object: its answer replaces this one
    After,    // a registrar holds the contacts: its answer follows the registry's
};

struct Referral {
    std::string host;  // lower case
    int port = 0;
    ReferralShow show = ReferralShow::Instead;
};

// The referral the first rule finds, in this order, or false for none:
//   "ReferralServer:" (ARIN) as whois://host[:port], a bare host, or rwhois://host[:port] (port
//     4321 unless given); with several networks in the answer, the last one;
//   "ResourceLink:" naming a WHOIS host (ARIN), the last one;
//   "refer:" (IANA);
//   "Registrar WHOIS Server:" (a registry naming the registrar's server), shown after.
// A label counts at the start of a line, after blanks, in any case; a value that names no usable
// host (a web address, an IPv6 literal, a bad port) counts as no line at all.
bool FindReferral(std::string_view answer, Referral* referral);
