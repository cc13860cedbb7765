// The referral rules over answers in today's formats (ARIN, IANA, a .com registry), the first
// server of an "Automatic" run for every kind of question, the query forms, and the run's plan.
#include <gtest/gtest.h>

#include "ScriptedSockets.h"
#include "query/ReferralRules.h"
#include "query/RunPlan.h"
#include "query/ServerChoice.h"

namespace {
const std::string kArinHeader = "#\n# ARIN WHOIS data and services are subject to the Terms of Use\n#\n\n";
const std::string kToRipe = "NetType:        Early Registrations, Transferred to RIPE NCC\nOrgId:          RIPE\n";
}  // namespace

TEST(FindReferral, ReadsEachRuleInTodaysFormats)
{
    const Referral none{"", 0, ReferralShow::Instead};
    struct Case {
        const char* name;
        std::string answer;
        Referral referral;  // host "" for none
    };
    const Case cases[] = {
        {"ARIN, whois:// form", kArinHeader + kToRipe + "ReferralServer:  whois://whois.ripe.net\n", {"whois.ripe.net", 43}},
        {"ARIN, bare host", kArinHeader + "ReferralServer: whois.apnic.net\n", {"whois.apnic.net", 43}},
        {"ARIN, rwhois with its port", "ReferralServer: rwhois://rwhois.example.net:4321/\n", {"rwhois.example.net", 4321}},
        {"ARIN, rwhois without a port", "ReferralServer: rwhois://rwhois.example.net\n", {"rwhois.example.net", 4321}},
        {"ARIN, whois:// with a port", "ReferralServer: whois://WHOIS.Example.NET:4343\r\n", {"whois.example.net", 4343}},
        {"several networks: the last", "ReferralServer: whois://whois.ripe.net\n\nReferralServer: rwhois://rwhois.example.net:4321\n",
         {"rwhois.example.net", 4321}},
        {"the last one that names a server", "ReferralServer: whois.lacnic.net\nReferralServer: https://rdap.example.net/\n",
         {"whois.lacnic.net", 43}},
        {"ResourceLink naming a host", kToRipe + "ResourceLink:  https://apps.db.ripe.net/search\nResourceLink:  whois.ripe.net\n",
         {"whois.ripe.net", 43}},
        {"ReferralServer before ResourceLink", "ResourceLink: whois.ripe.net\nReferralServer: whois://whois.afrinic.net\n",
         {"whois.afrinic.net", 43}},
        {"IANA", "% IANA WHOIS server\n\nrefer:        whois.denic.de\n\ndomain:       DE\nwhois:        whois.denic.de\n",
         {"whois.denic.de", 43}},
        {"a registry names its registrar", "   Domain Name: EXAMPLE.COM\r\n   Registrar WHOIS Server: whois.example-registrar.com\r\n",
         {"whois.example-registrar.com", 43, ReferralShow::After}},
        {"ResourceLink to the web only", "ResourceLink:  https://apps.db.ripe.net/search\n", none},
        {"a registrar with no server", "   Registrar WHOIS Server: \n   Registrar URL: http://www.example.com\n", none},
        {"a label inside a line", "remarks: refer: whois.example.net\nremarks:  see ReferralServer: whois.ripe.net\n", none},
        {"an IPv6 literal", "ReferralServer: whois://[2001:db8::43]:43\n", none},
        {"a port beyond 16 bits", "ReferralServer: whois://whois.example.net:70000\n", none},
        {"a blank in the host", "refer: whois example net\n", none},
        {"RIPE NCC's own answer", "inetnum:        192.0.2.0 - 192.0.2.255\nnetname:        EXAMPLE-NET\nsource:         RIPE\n", none},
        {"nothing", "", none},
    };
    for (const Case& c : cases) {
        Referral found;
        EXPECT_EQ(!c.referral.host.empty(), FindReferral(c.answer, &found)) << c.name;
        if (c.referral.host.empty()) continue;
        EXPECT_EQ(c.referral.host, found.host) << c.name;
        EXPECT_EQ(c.referral.port, found.port) << c.name;
        EXPECT_EQ(c.referral.show, found.show) << c.name;
    }
}

TEST(AutomaticFirstPass, EveryKindOfQuestionStartsAtItsServer)
{
    const Server iana = Server::Named(kIanaHost, 43);
    struct Case {
        const char* question;
        Server server;
        bool follows;
    };
    const Case cases[] = {
        {"192.0.2.1", kServerArin, true},
        {"example.com", kServerInterNic, true},
        {"EXAMPLE.NET.", kServerInterNic, true},
        {"example.edu", kServerInterNic, true},
        {"large.example", kServerInterNic, true},
        {"HELP", kServerInterNic, true},
        {"!EXREG-1", kServerInterNic, true},
        {"192.0.2.0/24", kServerInterNic, true},
        {"192.0.2.256", kServerInterNic, true},
        {"n + 192.0.2.1", kServerInterNic, true},
        {"example.org", iana, true},
        {"example.de", iana, true},
        {"example.co.uk", iana, true},
        {"example.jp", iana, true},
        {"xn--bcher-kva.example.xn--p1ai", iana, true},
        {"2001:db8::1", iana, true},
        {"2001:DB8::/32", iana, true},
        {"::ffff:192.0.2.1", iana, true},
        {"AS64496", iana, true},
        {"as64496", iana, true},
        {"AS", iana, false},  // American Samoa
        {".de", iana, false},
        {"org.", iana, false},
        {"jp", iana, false},
        {"EXAMPLE1-ARIN", kServerArin, true},
        {"EXAMPLE1-RIPE", kServerRipe, true},
        {"EX1-AP", kServerApnic, true},
        {"ex1-lacnic", Server::Named("whois.lacnic.net", 43), true},
        {"EX1-AFRINIC", Server::Named("whois.afrinic.net", 43), true},
        {"-RIPE", kServerInterNic, true},
    };
    ScriptedSockets api;
    api.addresses = {{"192.0.2.1", 0x010200C0}};
    for (const Case& c : cases) {
        const FirstPass first = AutomaticFirstPass(c.question, api);
        EXPECT_TRUE(c.server == first.server) << c.question << ": " << first.server.index << " " << first.server.host;
        EXPECT_EQ(c.follows, first.followReferrals) << c.question;
    }
}

TEST(QuestionFor, NamedServersGetTheirOwnFormAndTheEntriesTheQuestion)
{
    struct Case {
        Server server;
        const char* question;
        const char* sent;
    };
    const Case cases[] = {
        {Server::Named("whois.denic.de", 43), "example.de", "-T dn,ace example.de"},
        {Server::Named("whois.jprs.jp", 43), "example.jp", "example.jp/e"},
        {Server::Named("whois.denic.de", 43), "EXAMPLE1-DENIC", "EXAMPLE1-DENIC"},
        {Server::Named("whois.iana.org", 43), "example.de", "example.de"},
        {kServerRipe, "example.de", "example.de"},
        {kFirstCustomServer, "example.de", "example.de"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.sent, QuestionFor(c.server, c.question)) << c.question;
}

TEST(RunPlan, NeverTheSameHostAndPortTwiceAndAtMostFourPasses)
{
    const std::vector<ServerEntry> custom = {{"Mine", "WHOIS.RIPE.NET", "43"}};
    RunPlan plan(kServerArin, true, custom);
    EXPECT_FALSE(plan.Refer(kServerArin, ReferralShow::Instead));
    EXPECT_FALSE(plan.FollowAnswer("ReferralServer: whois://whois.arin.net\n")) << "ARIN by its host";
    ASSERT_TRUE(plan.FollowAnswer("ReferralServer: whois://WHOIS.RIPE.NET\n"));
    EXPECT_TRUE(plan.Current() == kServerRipe) << "a registry's host names its entry";
    EXPECT_TRUE(plan.Followed());
    EXPECT_TRUE(plan.ServerIfNothingArrives() == kServerArin);
    EXPECT_FALSE(plan.Refer(kFirstCustomServer, ReferralShow::Instead)) << "the custom entry is RIPE NCC's host";
    EXPECT_FALSE(plan.Refer(Server::Named("whois.ripe.net", 43), ReferralShow::Instead));
    ASSERT_TRUE(plan.Refer(Server::Named("whois.ripe.net", 4343), ReferralShow::Instead)) << "another port";
    EXPECT_FALSE(plan.Followed()) << "the classic referral";
    EXPECT_TRUE(plan.ServerIfNothingArrives() == plan.Current());
    ASSERT_TRUE(plan.FollowAnswer("   Registrar WHOIS Server: whois.example-registrar.com\n"));
    EXPECT_EQ(ReferralShow::After, plan.Show());
    EXPECT_EQ(4, plan.Passes());
    EXPECT_FALSE(plan.Refer(kServerApnic, ReferralShow::Instead)) << "a fifth pass";

    RunPlan chosen(kServerArin, false, custom);
    EXPECT_FALSE(chosen.FollowAnswer("ReferralServer: whois://whois.ripe.net\n")) << "a server the user chose";
    EXPECT_TRUE(chosen.Current() == kServerArin);
}
