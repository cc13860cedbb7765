// The sample server's records: every link in them leads to a record, the others answer sensibly, and
// the chains of the servers it plays for the demo hold together.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "DemoAnswers.h"
#include "query/ReferralRules.h"
#include "query/ServerChoice.h"
#include "query/ServerDirectory.h"
#include "view/LinkScan.h"

TEST(DemoAnswers, EveryLinkLeadsToARecordOfItsOwn)
{
    int links = 0;
    for (const std::string& question : DemoQuestions()) {
        const std::string answer = DemoAnswer(question);
        ForEachLink(answer.data(), answer.size(), [&](LinkSpan span) {
            const std::string handle = answer.substr(span.start, span.end - span.start);
            ++links;
            EXPECT_EQ(std::string::npos, DemoAnswer(handle).find("No match")) << handle << " in " << question;
        });
    }
    EXPECT_GT(links, 20);
}

TEST(DemoAnswers, HelpListsTheRecordsAndUnknownQuestionsGetNoMatch)
{
    const std::string help = DemoAnswer("help");
    for (const std::string& question : DemoQuestions()) EXPECT_NE(std::string::npos, help.find(question)) << question;
    struct Case {
        const char* question;
        const char* answerStart;
    };
    const Case cases[] = {
        {"example.com", "Domain Name: EXAMPLE.COM"},
        {"!EXAMPLE.COM", "Domain Name: EXAMPLE.COM"},  // a link to the domain-name registry
        {" docnet \r", "OrgName:"},
        {"nothing.example", "No match for \"nothing.example\"."},
        {"", "No match for \"\"."},
    };
    for (const Case& c : cases) EXPECT_EQ(0u, DemoAnswer(c.question).find(c.answerStart)) << c.question;
}

// The servers the demo plays: every link leads to a record at the server that showed it, and every
// referral to a server that has a record for the question, in the form the program sends it.
TEST(DemoAnswers, EveryRoleAnswersItsLinksAndItsReferrals)
{
    int referrals = 0;
    for (int index = kDemoArin; index < kDemoRdap; ++index) {
        const DemoRole role = static_cast<DemoRole>(index);
        for (const std::string& question : DemoQuestions(role)) {
            const std::string answer = DemoAnswer(role, question);
            ForEachLink(answer.data(), answer.size(), [&](LinkSpan span) {
                const std::string handle = answer.substr(span.start, span.end - span.start);
                EXPECT_EQ(std::string::npos, DemoAnswer(role, handle).find("No match")) << handle;
            });
            Referral referral;
            if (!FindReferral(answer, &referral) || referral.host == "whois.closed-registrar.example") continue;
            const DemoHost* to = std::find_if(std::begin(kDemoHosts), std::end(kDemoHosts),
                                              [&](const DemoHost& host) { return host.host == referral.host; });
            ASSERT_NE(std::end(kDemoHosts), to) << referral.host;
            const std::string asked = QuestionFor(ServerForHost(referral.host, referral.port), question);
            EXPECT_EQ(std::string::npos, DemoAnswer(to->role, asked).find("No match")) << question;
            ++referrals;
        }
    }
    EXPECT_GE(referrals, 8);
}
