// An RDAP answer (RFC 9083 JSON) as plain text in the WHOIS manner: the object's name and handle,
// status, events, entities by role with their vCard's name, organisation, e-mail, telephone and
// address, nameservers, DNSSEC, remarks, notices, links and redactions. Entity handles stand in
// parentheses on lines of their own, so that the answer view marks them as links.
#pragma once

#include <string>
#include <string_view>

enum class RdapOutcome {
    Rendered,  // an RDAP object or error object, as text
    NotJson,   // malformed or cut short
    TooDeep,   // nested beyond any RDAP answer
    NotRdap,   // JSON, but no object
};

struct RdapRendering {
    RdapOutcome outcome = RdapOutcome::NotJson;
    std::string text;
    // A domain answer's link to the registrar's RDAP record ("rel": "related"), "" for none.
    std::string related;
    // An error object's code (RFC 9083 section 6), 0 for an answer that is none.
    int errorCode = 0;
};

// Deeper nesting than this is no RDAP answer.
constexpr int kMaxRdapDepth = 64;

RdapRendering RenderRdap(std::string_view json);

// Whether a handle can stand as a link: five bytes or more (and not absurdly many), none of them a
// blank, line end, tab, quote, asterisk, parenthesis or other control byte.
bool IsLinkableHandle(std::string_view handle);
