// Parsing of stored server data, entry by entry: a malformed entry is skipped, never the others.
#include "settings/ServerData.h"

namespace {
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The next whitespace-delimited word from `at`, or "" at the end.
std::string NextWord(const std::string& text, size_t* at)
{
    while (*at < text.size() && IsBlank(text[*at])) ++*at;
    size_t start = *at;
    while (*at < text.size() && !IsBlank(text[*at])) ++*at;
    return text.substr(start, *at - start);
}
}  // namespace

std::string ServerData(const ServerEntry& entry)
{
    return entry.host + " " + entry.port;
}

bool SplitServerData(const std::string& data, std::string* host, std::string* port)
{
    size_t at = 0;
    *host = NextWord(data, &at);
    *port = NextWord(data, &at);
    return !port->empty();
}

StoredServer StoredRegistryServer(const std::string& name, const std::string& data)
{
    StoredServer stored{name, std::nullopt};
    ServerEntry entry{name, "", ""};
    if (SplitServerData(data, &entry.host, &entry.port)) stored.server = entry;
    return stored;
}

std::vector<StoredServer> StoredIniServers(const char* section, size_t length)
{
    std::vector<StoredServer> entries;
    size_t lineStart = 0;
    while (lineStart < length) {
        size_t lineEnd = lineStart;
        while (lineEnd < length && section[lineEnd] != '\0') ++lineEnd;
        const std::string line(section + lineStart, lineEnd - lineStart);
        std::vector<std::string> fields(1);
        for (char c : line) {
            if (c == '=' || c == ' ')
                fields.emplace_back();
            else
                fields.back() += c;
        }
        StoredServer stored{line.substr(0, line.find('=')), std::nullopt};
        if (fields.size() == 3) stored.server = ServerEntry{fields[0], fields[1], fields[2]};
        entries.push_back(stored);
        lineStart = lineEnd + 1;
    }
    return entries;
}

std::vector<ServerEntry> ParseServerSection(const char* section, size_t length)
{
    std::vector<ServerEntry> servers;
    for (const StoredServer& entry : StoredIniServers(section, length))
        if (entry.server) servers.push_back(*entry.server);
    return servers;
}
