// The custom server list as stored: registry data "host port" under the label's value name, and
// INI section lines "label=host port".
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "query/ServerDirectory.h"

// The stored data of one server: host, one space, port.
std::string ServerData(const ServerEntry& entry);

// The first two whitespace-delimited words of registry data, as host and port. False when the
// data holds fewer than two words: there is no server in it.
bool SplitServerData(const std::string& data, std::string* host, std::string* port);

// The servers of an INI section as the platform hands it over: `length` characters of lines, each
// ended by a zero. A line gives a server when "=" and blanks cut it into exactly three fields
// (label, host, port); any other line (a label with a blank, no port) is skipped on its own.
std::vector<ServerEntry> ParseServerSection(const char* section, size_t length);
