// RDAP questions and the bootstrap files: the kind and path of a question, and the server that a
// file (IANA's form, written here with documentation addresses) names for it.
#include <gtest/gtest.h>

#include "rdap/Bootstrap.h"

TEST(RdapQuestion, KindAndPath)
{
    const struct {
        const char* question;
        bool fromLink;
        const char* path;
    } cases[] = {
        {"example.dev", false, "domain/example.dev"},
        {" Example.DEV. ", false, "domain/example.dev"},
        {"192.0.2.1", false, "ip/192.0.2.1"},
        {"192.0.2.0/24", false, "ip/192.0.2.0/24"},
        {"2001:db8::1", false, "ip/2001:db8::1"},
        {"2001:db8::/32", false, "ip/2001:db8::/32"},
        {"::ffff:192.0.2.1", false, "ip/::ffff:192.0.2.1"},
        {"AS64496", false, "autnum/64496"},
        {"as64496", false, "autnum/64496"},
        {"64496", false, "autnum/64496"},
        {"AS99999999999", false, "entity/AS99999999999"},
        {"EXAMPLE-ARIN", false, "entity/EXAMPLE-ARIN"},
        {"example.dev", true, "entity/example.dev"},  // a link is a handle
        {"a b/c", false, "entity/a%20b%2Fc"},
        {"192.0.2.256", false, "domain/192.0.2.256"},
        {"2001:db8:::1", false, "entity/2001%3Adb8%3A%3A%3A1"},
        {"...", false, "entity/..."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.path, ClassifyRdapQuestion(c.question, c.fromLink).Path()) << c.question;
}

TEST(RdapBootstrap, LongestMatchOfEachFile)
{
    BootstrapRegistry dns, ipv4, ipv6, asn;
    ASSERT_TRUE(dns.Parse(R"({"services": [
        [["dev", "app"], ["http://rdap.example.dev/", "https://rdap.example.dev/"]],
        [["uk"], ["https://rdap.example.uk/uk"]],
        [["co.uk"], ["http://rdap.example.co.uk/"]],
        [["bad"], []], "noise"]})"));
    ASSERT_TRUE(ipv4.Parse(R"({"services": [[["192.0.0.0/8"], ["https://rdap.example.net/a/"]],
        [["192.0.2.0/24", "198.51.100.0/24"], ["https://rdap.example.net/b/"]]]})"));
    ASSERT_TRUE(ipv6.Parse(R"({"services": [[["2001:db8::/32"], ["https://rdap.example.net/a/"]],
        [["2001:db8:1000::/36"], ["https://rdap.example.net/b/"]]]})"));
    ASSERT_TRUE(asn.Parse(R"({"services": [[["64496-64500", "64510"], ["https://rdap.example.net/a/"]],
        [["64501-64511"], ["https://rdap.example.net/b/"]]]})"));
    const struct {
        const BootstrapRegistry* file;
        const char* question;
        const char* base;
    } cases[] = {
        {&dns, "example.dev", "https://rdap.example.dev/"},  // https before http
        {&dns, "WWW.EXAMPLE.APP", "https://rdap.example.dev/"},
        {&dns, "example.uk", "https://rdap.example.uk/uk/"},  // the final "/" added
        {&dns, "example.co.uk", "http://rdap.example.co.uk/"},  // the longer suffix
        {&dns, "example.xco.uk", "https://rdap.example.uk/uk/"},  // labels, not characters
        {&dns, "example.bad", ""},
        {&dns, "example.org", ""},
        {&ipv4, "192.0.2.1", "https://rdap.example.net/b/"},
        {&ipv4, "192.0.3.1", "https://rdap.example.net/a/"},
        {&ipv4, "192.0.0.0/16", "https://rdap.example.net/a/"},  // a network wider than /24
        {&ipv4, "198.51.100.7", "https://rdap.example.net/b/"},
        {&ipv4, "203.0.113.1", ""},
        {&ipv6, "2001:db8:1234::1", "https://rdap.example.net/b/"},
        {&ipv6, "2001:db8:2000::1", "https://rdap.example.net/a/"},
        {&ipv6, "2001:db9::1", ""},
        {&asn, "AS64496", "https://rdap.example.net/a/"},
        {&asn, "AS64500", "https://rdap.example.net/a/"},
        {&asn, "AS64501", "https://rdap.example.net/b/"},
        {&asn, "AS64510", "https://rdap.example.net/a/"},
        {&asn, "AS64512", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.base, c.file->Find(ClassifyRdapQuestion(c.question, false))) << c.question;
    // A text that is no bootstrap file leaves the registry as it was.
    for (const char* bad : {"", "[]", "{\"services\": 1}", "{\"services\": [[[\"x\"], []]]}", "{\"services\": [[[\"x\"], [\"https://a/\"]]"}) {
        EXPECT_FALSE(dns.Parse(bad)) << bad;
        EXPECT_EQ("https://rdap.example.dev/", dns.Find(ClassifyRdapQuestion("example.dev", false)));
    }
}

TEST(RdapBootstrap, BuiltInCopyAndKnownServers)
{
    const struct {
        BootstrapFile file;
        const char* question;
        const char* base;
    } cases[] = {
        {BootstrapFile::Dns, "example.dev", "https://pubapi.registry.google/rdap/"},
        {BootstrapFile::Dns, "example.com", "https://rdap.verisign.com/com/v1/"},
        {BootstrapFile::Ipv4, "193.0.6.139", "https://rdap.db.ripe.net/"},
        {BootstrapFile::Ipv6, "2001:200::1", "https://rdap.apnic.net/"},
        {BootstrapFile::Asn, "AS3333", "https://rdap.db.ripe.net/"},
    };
    for (const auto& c : cases) {
        const RdapQuestion question = ClassifyRdapQuestion(c.question, false);
        EXPECT_EQ(c.file, BootstrapFileFor(question));
        BootstrapRegistry registry;
        ASSERT_TRUE(registry.Parse(BuiltinBootstrap(c.file))) << BootstrapFileName(c.file);
        EXPECT_EQ(c.base, registry.Find(question)) << c.question;
    }
    EXPECT_EQ("https://rdap.denic.de/", KnownRdapServer("example.de"));
    EXPECT_EQ("", KnownRdapServer("example.dev"));
}
