// RDAP answers as text: a registry's domain answer in full, then the other objects, error objects
// and answers that are no RDAP, each by the lines that matter.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "rdap/RdapRender.h"

namespace {
std::string Sample(const char* name)
{
    std::ifstream file(std::string(WHOIS_RDAP_SAMPLES) + "/" + name, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}
}  // namespace

TEST(RdapRender, DomainInTheWhoisManner)
{
    const RdapRendering rendering = RenderRdap(Sample("domain.json"));
    EXPECT_EQ(RdapOutcome::Rendered, rendering.outcome);
    EXPECT_EQ(Sample("domain.txt"), rendering.text);
    EXPECT_EQ("https://rdap.registrar.example/domain/EXAMPLE.DEV", rendering.related);
    EXPECT_EQ(0, rendering.errorCode);
}

TEST(RdapRender, ObjectsErrorsAndWhatIsNoRdap)
{
    const std::string deep = std::string(kMaxRdapDepth + 1, '[') + std::string(kMaxRdapDepth + 1, ']');
    const struct {
        std::string json;
        RdapOutcome outcome;
        const char* shows;
        int errorCode;
    } cases[] = {
        {R"({"objectClassName": "ip network", "handle": "NET-192-0-2-0-1", "startAddress": "192.0.2.0",
            "endAddress": "192.0.2.255", "name": "EXAMPLE-NET", "country": "ZZ",
            "cidr0_cidrs": [{"v4prefix": "192.0.2.0", "length": 24}],
            "entities": [{"handle": "EXAMPLE-ORG", "roles": ["registrant"], "vcardArray": ["vcard",
              [["adr", {"label": "1 Example Street\nExample City"}, "text", ["", "", "", "", "", "", ""]]]]}]})",
         RdapOutcome::Rendered,
         "Handle:           NET-192-0-2-0-1\nRange:            192.0.2.0 - 192.0.2.255\nCIDR:             192.0.2.0/24\n"
         "Name:             EXAMPLE-NET\nCountry:          ZZ\n\nRegistrant:\n   Handle:        (EXAMPLE-ORG)\n"
         "   Address:       1 Example Street\n                  Example City\n", 0},
        {R"({"objectClassName": "autnum", "handle": "AS64496", "startAutnum": 64496, "endAutnum": 64511, "name": "EX"})",
         RdapOutcome::Rendered, "Handle:           AS64496\nAS Numbers:       64496 - 64511\nName:             EX\n", 0},
        {R"({"objectClassName": "entity", "handle": "EXAMPLE1-ARIN", "roles": ["technical"],
            "vcardArray": ["vcard", [["fn", {}, "text", "Example Person"], ["email", {}, "text", "p@example.com"]]]})",
         RdapOutcome::Rendered,
         "Technical:\n   Handle:        (EXAMPLE1-ARIN)\n   Name:          Example Person\n   E-mail:        p@example.com\n", 0},
        // Handles too short or with a blank stay plain text.
        {R"({"objectClassName": "entity", "handle": "ABCD", "entities": [{"handle": "A B C D E"}]})",
         RdapOutcome::Rendered, "Contact:\n   Handle:        ABCD\n   Contact:\n      Handle:     A B C D E\n", 0},
        {R"({"errorCode": 404, "title": "Not Found", "description": ["No such domain.", "Try another."]})",
         RdapOutcome::Rendered, "Error:            404 Not Found\n                  No such domain.\n                  Try another.\n", 404},
        {R"({"errorCode": 429, "title": "Too Many Requests"})", RdapOutcome::Rendered, "Error:            429 Too Many Requests\n", 429},
        {R"({"objectClassName": "domain", "ldhName": "example.dev")", RdapOutcome::NotJson, "", 0},
        {"<html><body>Not here</body></html>", RdapOutcome::NotJson, "", 0},
        {"", RdapOutcome::NotJson, "", 0},
        {R"(["domain"])", RdapOutcome::NotRdap, "", 0},
        {deep, RdapOutcome::TooDeep, "", 0},
        {R"({"objectClassName": "domain", "ldhName": "[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[["})",
         RdapOutcome::Rendered, "Domain Name:      [[[[", 0},
    };
    for (const auto& c : cases) {
        const RdapRendering rendering = RenderRdap(c.json);
        EXPECT_EQ(c.outcome, rendering.outcome) << c.json;
        EXPECT_NE(std::string::npos, rendering.text.find(c.shows)) << rendering.text;
        EXPECT_EQ(c.errorCode, rendering.errorCode) << c.json;
        EXPECT_EQ("", rendering.related);
    }
}
