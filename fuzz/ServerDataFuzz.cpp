// Fuzzing the stored server data with any bytes, read both as registry data and as an INI section:
// - registry data gives the first two whitespace-delimited words, as a stream reads them, or no
//   server when there are fewer; the stored form of host and port splits back into the same two;
// - a port text converts like atoi, saturating at the ends of an int;
// - a section gives one server for each line that "=" and blanks cut into exactly three fields, in
//   order, and no field holds "=", a blank or a zero byte; writing those servers out as a section
//   and reading it again gives the same servers.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "settings/ServerData.h"

namespace {
bool IsCut(char c)
{
    return c == '=' || c == ' ';
}

bool Same(const ServerEntry& a, const ServerEntry& b)
{
    return a.label == b.label && a.host == b.host && a.port == b.port;
}

// The section's lines: zero-ended, the last one possibly cut short.
std::vector<std::string> Lines(const std::string& section)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < section.size()) {
        size_t end = section.find('\0', start);
        if (end == std::string::npos) end = section.size();
        lines.push_back(section.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::vector<ServerEntry> Parse(const std::string& section)
{
    // In a buffer of exactly the section's size, so that a read past it is caught.
    std::unique_ptr<char[]> bytes(new char[section.size()]);
    section.copy(bytes.get(), section.size());
    return ParseServerSection(bytes.get(), section.size());
}

void CheckRegistryData(const std::string& data)
{
    std::string host, port;
    const bool server = SplitServerData(data, &host, &port);
    std::istringstream words(data);
    std::string first, second;
    words >> first >> second;
    FUZZ_CHECK(server == !second.empty());
    if (!server) return;
    FUZZ_CHECK(host == first && port == second);
    std::string hostAgain, portAgain;
    FUZZ_CHECK(SplitServerData(ServerData({"label", host, port}), &hostAgain, &portAgain));
    FUZZ_CHECK(hostAgain == host && portAgain == port);
}

void CheckPort(const std::string& text)
{
    long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    FUZZ_CHECK(PortFromText(text) == value);
}

void CheckSection(const std::string& section)
{
    const std::vector<ServerEntry> servers = Parse(section);
    for (const ServerEntry& server : servers)
        for (const std::string* field : {&server.label, &server.host, &server.port})
            FUZZ_CHECK(field->find_first_of(std::string("= \0", 3)) == std::string::npos);

    // Each line with exactly two cuts is the next server: its three fields with a cut after the
    // first two.
    size_t next = 0;
    for (const std::string& line : Lines(section)) {
        if (std::count_if(line.begin(), line.end(), IsCut) != 2) continue;
        FUZZ_CHECK(next < servers.size());
        const ServerEntry& server = servers[next++];
        const size_t firstCut = server.label.size(), secondCut = firstCut + 1 + server.host.size();
        FUZZ_CHECK(line.size() == secondCut + 1 + server.port.size());
        FUZZ_CHECK(IsCut(line[firstCut]) && IsCut(line[secondCut]));
        FUZZ_CHECK(line.compare(0, firstCut, server.label) == 0);
        FUZZ_CHECK(line.compare(firstCut + 1, server.host.size(), server.host) == 0);
        FUZZ_CHECK(line.compare(secondCut + 1, std::string::npos, server.port) == 0);
    }
    FUZZ_CHECK(next == servers.size());

    std::string written;
    for (const ServerEntry& server : servers) written += server.label + "=" + server.host + " " + server.port + '\0';
    const std::vector<ServerEntry> again = Parse(written);
    FUZZ_CHECK(again.size() == servers.size());
    for (size_t i = 0; i < servers.size(); ++i) FUZZ_CHECK(Same(again[i], servers[i]));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CheckRegistryData(bytes);
    CheckPort(bytes);
    CheckSection(bytes);
    return 0;
}
