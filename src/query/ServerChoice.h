// Where an "Automatic" run starts, chosen from the kind of question, and the form in which a named
// server wants a question where a plain one gets no proper answer.
#pragma once

#include <string>

#include "query/Server.h"
#include "query/SocketApi.h"

// IANA's server knows the server of every top-level domain, address block and AS number.
constexpr char kIanaHost[] = "whois.iana.org";

struct FirstPass {
    Server server;
    // False where the first server's answer is the answer itself: IANA's record of a top-level
    // domain describes the domain, while the domain's own server knows only the names under it.
    bool followReferrals = true;
};

// IPv4 addresses and network numbers (as inet_addr takes them) go to ARIN; IPv6 addresses and
// networks, AS numbers ("AS64496"), top-level domains alone (".de", "de." or two letters) and names
// under any top-level domain but .com, .net and .edu to IANA; handles with a registry's suffix
// ("-ARIN", "-RIPE", "-AP", "-LACNIC", "-AFRINIC") to that registry; anything else to the
// domain-name registry, names under the reserved test domains (RFC 2606) included.
FirstPass AutomaticFirstPass(const std::string& question, ISocketApi& api);

// What a pass sends (before its line feed): the question as typed, or the named server's own form.
// The entries of the combo always get the question as typed.
std::string QuestionFor(const Server& server, const std::string& question);
