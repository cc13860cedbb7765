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

std::vector<ServerEntry> ParseServerSection(const char* section, size_t length)
{
    std::vector<ServerEntry> servers;
    size_t lineStart = 0;
    while (lineStart < length) {
        size_t lineEnd = lineStart;
        while (lineEnd < length && section[lineEnd] != '\0') ++lineEnd;
        std::vector<std::string> fields(1);
        for (size_t i = lineStart; i < lineEnd; ++i) {
            if (section[i] == '=' || section[i] == ' ')
                fields.emplace_back();
            else
                fields.back() += section[i];
        }
        if (fields.size() == 3) servers.push_back({fields[0], fields[1], fields[2]});
        lineStart = lineEnd + 1;
    }
    return servers;
}
