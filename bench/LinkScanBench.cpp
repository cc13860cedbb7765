// The link scan over a 100 MB answer, against the least any scan must do: one memchr pass that
// finds every "(". Built natively and optimised, without the sanitizers; run by ./bench.sh.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "view/LinkScan.h"

namespace {
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Registry output: mostly plain lines, some handles in parentheses, some remarks in parentheses
// that are not links.
std::string WhoisText(size_t size)
{
    const char* const lines[] = {
        "inetnum: 192.0.2.0 - 192.0.2.255\n",
        "netname: EXAMPLE-NET\n",
        "descr: Example Networks, Documentation Block\n",
        "org: Example (ORG-EX1-TEST)\n",
        "admin-c: John Doe (JD123-TEST)\n",
        "tech-c: Network Operations (NOC42-TEST)\n",
        "remarks: see (not a link)\n",
        "remarks: (abuse contacts listed below)\n",
        "status: ASSIGNED PA\n",
        "mnt-by: EXAMPLE-MNT\n",
        "Example Networks (NET-192-0-2-0-1) 192.0.2.0 - 192.0.2.255\n",
        "created: 2020-01-01T00:00:00Z\n",
        "last-modified: 2024-06-30T12:34:56Z\n",
        "source: TEST # Filtered\n",
        "\n",
    };
    std::string text;
    text.reserve(size + 128);
    for (size_t i = 0; text.size() < size; ++i) text += lines[i % (sizeof lines / sizeof lines[0])];
    text.resize(size);
    return text;
}

size_t CountOpenings(const char* text, size_t length)
{
    size_t count = 0;
    const char* end = text + length;
    for (const char* p = text; (p = static_cast<const char*>(memchr(p, '(', static_cast<size_t>(end - p)))) != nullptr; ++p) ++count;
    return count;
}
}  // namespace

int main()
{
    const std::string text = WhoisText(100u << 20);
    double scanSeconds = 1e9, memchrSeconds = 1e9;
    size_t links = 0, openings = 0;
    for (int round = 0; round < 3; ++round) {
        auto start = Clock::now();
        links = 0;
        ForEachLink(text.data(), text.size(), [&](const LinkSpan&) { ++links; });
        scanSeconds = std::min(scanSeconds, Since(start));

        start = Clock::now();
        openings = CountOpenings(text.data(), text.size());
        memchrSeconds = std::min(memchrSeconds, Since(start));
    }
    std::printf("%-58s %10.2f %8s\n", "link scan speed / plain memchr pass over 100 MB", memchrSeconds / scanSeconds, ">= 0.25");
    std::printf("  (seconds: scan %.3f, memchr %.3f, %zu links, %zu \"(\")\n", scanSeconds, memchrSeconds, links, openings);
    return 0;
}
