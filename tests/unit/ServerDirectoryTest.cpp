// The server directory: how a custom entry's port text becomes a port, which host and port each
// server index names, and when and where an ARIN answer refers the question on.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "query/ServerDirectory.h"

TEST(PortFromText, ReadsTheLeadingNumberLikeAtoi)
{
    struct Case {
        std::string text;
        int port;
    };
    const Case cases[] = {
        {"43", 43},
        {"4343", 4343},
        {"0", 0},
        {"", 0},
        {"abc", 0},
        {"  43", 43},
        {"\t\n\v\f\r 43", 43},
        {"43abc", 43},
        {"43 44", 43},
        {"4.3", 4},
        {"0x2B", 0},
        {"0043", 43},
        {"000000000000000000000043", 43},  // many digits, but a small value: no saturation
        {"+43", 43},
        {"-43", -43},
        {"+", 0},
        {"-", 0},
        {"- 43", 0},
        {"+-43", 0},
        {"\xA0" "43", 0},  // a no-break space is no blank
        {"70000", 70000},  // the caller decides what a port beyond 16 bits means
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"99999999999999999999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"-99999999999999999999999999", INT_MIN},
        {std::string("43\0" "99", 5), 43},
    };
    for (const Case& c : cases) EXPECT_EQ(c.port, PortFromText(c.text)) << '"' << c.text << '"';
}

TEST(LookupServer, NamesTheRegistriesAndTheCustomEntries)
{
    const std::vector<ServerEntry> custom = {
        {"Mine", "whois.example.net", "4343"},
        {"No port", "192.0.2.80", ""},
        {"Too big", "big.example", "70000"},
    };
    struct Case {
        int index;
        bool found;
        const char* host;
        int port;
    };
    const Case cases[] = {
        {1, true, "whois.arin.net", 43},
        {2, true, "whois.ripe.net", 43},
        {3, true, "whois.apnic.net", 43},
        {4, true, "whois.internic.net", 43},
        {6, true, "whois.example.net", 4343},
        {7, true, "192.0.2.80", 0},
        {8, true, "big.example", 70000},
        // "Automatic" and "Add more..." name no server, nor does anything outside the list.
        {0, false, "", 0},
        {5, false, "", 0},
        {9, false, "", 0},
        {1000, false, "", 0},
        {-1, false, "", 0},
        {INT_MAX, false, "", 0},
        {INT_MIN, false, "", 0},
    };
    for (const Case& c : cases) {
        ServerAddress address{"untouched", -7};
        EXPECT_EQ(c.found, LookupServer(c.index, custom, &address)) << c.index;
        // An answer's character set goes by the same host.
        EXPECT_EQ(c.found ? c.host : "", AnswerHost(c.index, custom)) << c.index;
        if (c.found) {
            EXPECT_EQ(c.host, address.host) << c.index;
            EXPECT_EQ(c.port, address.port) << c.index;
        }
    }
}

TEST(LookupServer, AnEntryRemovedFromTheListIsNotReadAnyMore)
{
    // The list is exactly as long as its entries, so reading one slot past it is caught by the
    // address sanitizer rather than picking up stale memory.
    for (size_t size = 0; size <= 3; ++size) {
        std::vector<ServerEntry> custom;
        for (size_t i = 0; i < size; ++i) custom.push_back({"Entry", "host" + std::to_string(i) + ".example", "43"});
        custom.shrink_to_fit();
        ServerAddress address{"", 0};
        const int pastTheEnd = kFirstCustomServer + static_cast<int>(size);
        EXPECT_FALSE(LookupServer(pastTheEnd, custom, &address)) << size;
        if (size > 0) {
            EXPECT_TRUE(LookupServer(pastTheEnd - 1, custom, &address)) << size;
            EXPECT_EQ("host" + std::to_string(size - 1) + ".example", address.host);
        }
    }
}

TEST(LookupServer, FollowsTheRegistryTableWhenATestPointsItElsewhere)
{
    const ServerAddress saved = g_builtinServers[kServerRipe];
    g_builtinServers[kServerRipe] = {"127.0.0.1", 4300};
    ServerAddress address{"", 0};
    const bool found = LookupServer(kServerRipe, {}, &address);
    const std::string answerHost = AnswerHost(kServerRipe, {});
    g_builtinServers[kServerRipe] = saved;
    EXPECT_EQ("whois.ripe.net", answerHost) << "an answer's character set goes by the registry's own name";
    EXPECT_EQ("whois.nic.ad.jp", AnswerHost(Server::Named("whois.nic.ad.jp", 43), {}));
    EXPECT_TRUE(found);
    EXPECT_EQ("127.0.0.1", address.host);
    EXPECT_EQ(4300, address.port);
}

TEST(ReferralApplies, OnlyAtArinWhileTheChoiceIsAutomatic)
{
    struct Case {
        int passServer;
        int serverChoice;
        bool applies;
    };
    const Case cases[] = {
        {kServerArin, kServerAutomatic, true},
        {kServerArin, kServerArin, false},
        {kServerArin, kServerRipe, false},
        {kServerArin, kServerInterNic, false},
        {kServerArin, kFirstCustomServer, false},
        {kServerAutomatic, kServerAutomatic, false},
        {kServerRipe, kServerAutomatic, false},
        {kServerApnic, kServerAutomatic, false},
        {kServerInterNic, kServerAutomatic, false},
        {kFirstCustomServer, kServerAutomatic, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.applies, ReferralApplies(c.passServer, c.serverChoice)) << c.passServer << ", " << c.serverChoice;
}

TEST(ReferralServer, TheFirstWordsOfTheAnswerNameTheRegistry)
{
    struct Case {
        std::string answer;
        int server;
    };
    const Case cases[] = {
        {"Asia Pacific Network Information Center", kServerApnic},
        {"Asia Pacific Network Information Center (NETBLK-APNIC-CIDR-BLK)\n  Level 1\n", kServerApnic},
        {"European Regional Internet Registry", kServerRipe},
        {"European Regional Internet Registry/RIPE NCC (NETBLK-RIPE-C3)\n", kServerRipe},
        // Nothing else refers: not another case, spelling or position, not text further down.
        {"", 0},
        {"asia pacific network information center", 0},
        {"EUROPEAN REGIONAL INTERNET REGISTRY", 0},
        {"Asia Pacific Network Information Centre", 0},
        {"European Regional Internet Registries", 0},
        {" European Regional Internet Registry", 0},
        {"\nEuropean Regional Internet Registry", 0},
        {"Example Networks (NET-EXAMPLE)\nEuropean Regional Internet Registry\n", 0},
        {"Example Networks (NET-EXAMPLE)\nAsia Pacific Network Information Center\n", 0},
        {"See: Asia Pacific Network Information Center", 0},
        {"American Registry for Internet Numbers (NET-192-0-0-0)\n", 0},
        // The start of a referral is not one yet: more of the answer may still come.
        {"E", 0},
        {"European Regional Internet", 0},
        {"European Regional Internet Registr", 0},
        {"Asia", 0},
        {"Asia Pacific Network Information Cente", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.server, ReferralServer(c.answer)) << '"' << c.answer << '"';
}
