// Rendering a 1 MB RDAP answer as text, against a plain parse of the same JSON by the JSON library:
// the rendering's own work must stay small beside the parse it needs. Built natively and optimised,
// without the sanitizers; run by ./bench.sh.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>

#include "rdap/RdapRender.h"

namespace {
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// A large registry answer: a network with hundreds of contacts, each with a full vCard, events,
// remarks, links and contacts of its own.
std::string LargeAnswer(size_t size)
{
    std::string json = R"({"rdapConformance": ["rdap_level_0"], "objectClassName": "ip network", "handle": "NET-192-0-2-0-1",
        "startAddress": "192.0.2.0", "endAddress": "192.0.2.255", "name": "EXAMPLE-NET", "status": ["active"], "entities": [)";
    for (int i = 0; json.size() < size; ++i) {
        const std::string n = std::to_string(i);
        if (i > 0) json += ",";
        json += R"({"objectClassName": "entity", "handle": "EXAMPLE)" + n + R"(-TEST", "roles": ["technical", "abuse"],
            "vcardArray": ["vcard", [["version", {}, "text", "4.0"], ["fn", {}, "text", "Example Person )" + n + R"("],
              ["org", {}, "text", "Example Organisation"], ["email", {}, "text", "person)" + n + R"(@example.com"],
              ["tel", {"type": ["voice"]}, "uri", "tel:+1.5555550100"],
              ["adr", {}, "text", ["", "", "1 Example Street", "Example City", "", "12345", "Example Land"]]]],
            "events": [{"eventAction": "registration", "eventDate": "2001-02-03T04:05:06Z"},
                       {"eventAction": "last changed", "eventDate": "2021-02-03T04:05:06Z"}],
            "remarks": [{"title": "Remark", "description": ["An example remark.", "Its second line."]}],
            "links": [{"rel": "self", "href": "https://rdap.example.net/entity/EXAMPLE)" + n + R"(-TEST"}],
            "entities": [{"handle": "ABUSE)" + n + R"(-TEST", "roles": ["abuse"],
              "vcardArray": ["vcard", [["email", {}, "text", "abuse@example.com"]]]}]})";
    }
    return json + R"(], "notices": [{"title": "Terms", "description": ["Subject to terms."]}]})";
}
}  // namespace

int main()
{
    const std::string json = LargeAnswer(1u << 20);
    double renderSeconds = 1e9, parseSeconds = 1e9;
    size_t textSize = 0, values = 0;
    for (int round = 0; round < 15; ++round) {
        // The parse's document is let go inside the measure, as the rendering lets go of its own.
        auto start = Clock::now();
        {
            const nlohmann::json document = nlohmann::json::parse(json, nullptr, false);
            values = document["entities"].size();
        }
        parseSeconds = std::min(parseSeconds, Since(start));

        start = Clock::now();
        textSize = RenderRdap(json).text.size();
        renderSeconds = std::min(renderSeconds, Since(start));
    }
    std::printf("%-58s %10.2f %8s\n", "RDAP answer of 1 MB as text / plain parse of its JSON", renderSeconds / parseSeconds, "<= 1.5");
    std::printf("  (seconds: render %.4f, parse %.4f; %zu entities, %zu bytes of text)\n", renderSeconds, parseSeconds, values, textSize);
    return 0;
}
