// The sample server's records: every link in them leads to a record, and the others answer sensibly.
#include <gtest/gtest.h>

#include <string>

#include "DemoAnswers.h"
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
