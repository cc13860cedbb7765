// The custom server list as stored: registry data "host port" under the label's value name, and
// INI section lines "label=host port".
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "query/ServerDirectory.h"

// One entry of a stored servers section: the name it is stored under, and the server it gives, or
// none when it does not have a server's shape.
struct StoredServer {
    std::string name;
    std::optional<ServerEntry> server;
};

// The stored data of one server: host, one space, port.
std::string ServerData(const ServerEntry& entry);

// The first two whitespace-delimited words of registry data, as host and port. False when the
// data holds fewer than two words: there is no server in it.
bool SplitServerData(const std::string& data, std::string* host, std::string* port);

// A registry value of the servers section: its name is the label, its data host and port.
StoredServer StoredRegistryServer(const std::string& name, const std::string& data);

// The entries of an INI section as the platform hands it over: `length` characters of lines, each
// ended by a zero. A line is stored under its text before the first "=", and gives a server when
// "=" and blanks cut it into exactly three fields (label, host, port).
std::vector<StoredServer> StoredIniServers(const char* section, size_t length);

// The servers of an INI section: any other line (a label with a blank, no port) is skipped on its own.
std::vector<ServerEntry> ParseServerSection(const char* section, size_t length);
