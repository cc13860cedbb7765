// The referral rules over answers in today's formats (ARIN, IANA, a .com registry), the first
// server of an "Automatic" run for every kind of question, the query forms, and the run's plan.
#include <gtest/gtest.h>

#include "ScriptedSockets.h"
#include "query/ReferralRules.h"
#include "query/RunPlan.h"
#include "query/ServerChoice.h"

namespace {
const std::string kArinHeader = "#\n# Comment lines first, as ARIN's answers have them\n#\n\n";
const std::string kToRipe = "NetType:        Early Registrations, Transferred to RIPE NCC\nOrgId:          RIPE\n";
}  // namespace

TEST(FindReferral, ReadsEachRuleInTodaysFormats)
{
    const Referral none{"", 0, ReferralShow::Instead};
    const std::string ripe = "whois.ripe.net", rwhois = "rwhois.example.net";
    struct Case {
        std::string answer;
        Referral referral;  // host "" for none
    };
    const Case cases[] = {
        // ARIN: three forms of ReferralServer, the last of several networks, then ResourceLink.
        {kArinHeader + kToRipe + "ReferralServer:  whois://whois.ripe.net\n", {ripe, 43}},
        {kArinHeader + "ReferralServer: whois.apnic.net\n", {"whois.apnic.net", 43}},
        {"ReferralServer: rwhois://rwhois.example.net:4321/\n", {rwhois, 4321}},
        {"ReferralServer: rwhois://rwhois.example.net\n", {rwhois, 4321}},
        {"ReferralServer: whois://WHOIS.Example.NET:4343\r\n", {"whois.example.net", 4343}},
        {"ReferralServer: whois.ripe.net\n\nReferralServer: rwhois://rwhois.example.net:4321\n", {rwhois, 4321}},
        {"ReferralServer: whois.lacnic.net\nReferralServer: https://rdap.example.net/\n", {"whois.lacnic.net", 43}},
        {kToRipe + "ResourceLink:  https://apps.db.ripe.net/search\nResourceLink:  whois.ripe.net\n", {ripe, 43}},
        {"ResourceLink: whois.ripe.net\nReferralServer: whois://whois.afrinic.net\n", {"whois.afrinic.net", 43}},
        // IANA, and a registry naming its registrar.
        {"% IANA WHOIS server\n\nrefer:        whois.denic.de\n\ndomain:       DE\n", {"whois.denic.de", 43}},
        {"   Domain Name: EXAMPLE.COM\r\n   Registrar WHOIS Server: whois.example-registrar.com\r\n",
         {"whois.example-registrar.com", 43, ReferralShow::After}},
        // No referral.
        {"ResourceLink:  https://apps.db.ripe.net/search\n", none},
        {"   Registrar WHOIS Server: \n   Registrar URL: http://www.example.com\n", none},
        {"remarks: refer: whois.example.net\nremarks:  see ReferralServer: whois.ripe.net\n", none},
        {"ReferralServer: whois://[2001:db8::43]:43\n", none},
        {"ReferralServer: whois://whois.example.net:70000\n", none},
        {"refer: whois example net\n", none},
        {"inetnum:        192.0.2.0 - 192.0.2.255\nnetname:        EXAMPLE-NET\nsource:         RIPE\n", none},
        {"", none},
    };
    for (const Case& c : cases) {
        Referral found;
        EXPECT_EQ(!c.referral.host.empty(), FindReferral(c.answer, &found)) << c.answer;
        if (c.referral.host.empty()) continue;
        EXPECT_EQ(c.referral.host, found.host) << c.answer;
        EXPECT_EQ(c.referral.port, found.port) << c.answer;
        EXPECT_EQ(c.referral.show, found.show) << c.answer;
    }
}

TEST(AutomaticFirstPass, EveryKindOfQuestionStartsAtItsServer)
{
    const Server iana = Server::Named(kIanaHost, 43);
    struct Case {
        Server server;
        bool follows;
        std::vector<const char*> questions;
    };
    const Case cases[] = {
        {kServerArin, true, {"192.0.2.1", "EXAMPLE1-ARIN"}},
        {kServerInterNic, true, {"example.com", "EXAMPLE.NET.", "example.edu", "large.example", "HELP", "!EXREG-1",
                                 "192.0.2.0/24", "192.0.2.256", "n + 192.0.2.1", "-RIPE"}},
        {iana, true, {"example.org", "example.de", "example.co.uk", "example.jp", "xn--bcher-kva.example.xn--p1ai",
                      "2001:db8::1", "2001:DB8::/32", "::ffff:192.0.2.1", "AS64496", "as64496"}},
        {iana, false, {".de", "org.", "jp", "AS"}},  // top-level domains alone (AS: American Samoa)
        {kServerRipe, true, {"EXAMPLE1-RIPE"}},
        {kServerApnic, true, {"EX1-AP"}},
        {Server::Named("whois.lacnic.net", 43), true, {"ex1-lacnic"}},
        {Server::Named("whois.afrinic.net", 43), true, {"EX1-AFRINIC"}},
    };
    ScriptedSockets api;
    api.addresses = {{"192.0.2.1", 0x010200C0}};
    for (const Case& c : cases) {
        for (const char* question : c.questions) {
            const FirstPass first = AutomaticFirstPass(question, api);
            EXPECT_TRUE(c.server == first.server) << question << ": " << first.server.index << first.server.host;
            EXPECT_EQ(c.follows, first.followReferrals) << question;
        }
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
