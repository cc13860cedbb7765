// Stored custom servers: registry data and INI section lines, well-formed and not.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/ServerData.h"

namespace {
std::vector<std::string> Joined(const std::vector<ServerEntry>& servers)
{
    std::vector<std::string> texts;
    for (const ServerEntry& s : servers) texts.push_back(s.label + "|" + s.host + "|" + s.port);
    return texts;
}
}  // namespace

TEST(ServerData, RegistryDataIsTheHostAndThePort)
{
    EXPECT_EQ("localhost 43", ServerData({"Local", "localhost", "43"}));
    struct Case {
        const char* data;
        bool server;
        const char* host;
        const char* port;
    };
    const Case cases[] = {
        {"localhost 43", true, "localhost", "43"},
        {"  192.0.2.1\t4321 ", true, "192.0.2.1", "4321"},
        {"host 43 more", true, "host", "43"},  // the first two words
        {"host x", true, "host", "x"},         // the port stays text
        {"localhost", false, "", ""},
        {"   ", false, "", ""},
        {"", false, "", ""},
    };
    for (const Case& c : cases) {
        std::string host, port;
        EXPECT_EQ(c.server, SplitServerData(c.data, &host, &port)) << c.data;
        if (c.server) {
            EXPECT_EQ(c.host, host);
            EXPECT_EQ(c.port, port);
        }
    }
}

TEST(ServerData, IniLinesWithThreeFieldsAreServersAndOthersAreSkipped)
{
    struct Case {
        std::string section;
        std::vector<std::string> servers;
    };
    const Case cases[] = {
        {std::string("Local=localhost 43\0", 19), {"Local|localhost|43"}},
        {std::string("A=a.example 43\0B=192.0.2.2 4343\0", 32), {"A|a.example|43", "B|192.0.2.2|4343"}},
        {std::string("R=https://rdap.example/ 443\0", 28), {"R|https://rdap.example/|443"}},  // an RDAP server
        {std::string("My server=a 43\0B=b 1\0", 21), {"B|b|1"}},           // a label with a blank
        {std::string("NoPort=host\0B=b 1\0", 18), {"B|b|1"}},              // no port
        {std::string("junk\0=h 1\0", 10), {"|h|1"}},                       // no "=", an empty label
        {std::string("A=a 43\0Tail=t", 13), {"A|a|43"}},                   // cut short: "Tail=t" is two fields
        {std::string("", 0), {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.servers, Joined(ParseServerSection(c.section.data(), c.section.size()))) << c.section;
}
