// The query history: the chain stays linked both ways through pushes, Back and Forward; a push
// after an older record discards the newer ones; and the chain is freed whole from any record.
// Leaks and uses after free are caught by the address sanitizer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "view/HistoryChain.h"

namespace {
// The questions from the oldest record to the newest, checking the links on the way; the walk
// from the newest back to the oldest must meet the same records.
std::vector<std::string> ChainQuestions(const QueryRecord* any)
{
    std::vector<std::string> questions;
    if (!any) return questions;
    const QueryRecord* oldest = any;
    while (oldest->older) oldest = oldest->older;
    const QueryRecord* newest = oldest;
    for (const QueryRecord* r = oldest; r; r = r->newer) {
        questions.push_back(r->question);
        if (r->newer) {
            EXPECT_EQ(r, r->newer->older) << r->question;
        }
        if (r->older) {
            EXPECT_EQ(r, r->older->newer) << r->question;
        }
        newest = r;
    }
    std::vector<std::string> backwards;
    for (const QueryRecord* r = newest; r; r = r->older) backwards.insert(backwards.begin(), r->question);
    EXPECT_EQ(questions, backwards);
    return questions;
}

std::string Joined(const std::vector<std::string>& questions)
{
    std::string text;
    for (const std::string& q : questions) text += q;
    return text;
}
}  // namespace

TEST(PushRecordAfter, KeepsTheChainLinkedThroughPushesAndWalks)
{
    // Each letter asks that question after the record on display; "<" is Back, ">" Forward.
    struct Case {
        const char* steps;
        const char* chain;  // the questions from the oldest to the newest
        char current;
    };
    const Case cases[] = {
        {"a", "a", 'a'},
        {"abc", "abc", 'c'},
        {"abc<<d", "ad", 'd'},
        {"abc<d", "abd", 'd'},
        {"abc<<", "abc", 'a'},
        {"abc<<>", "abc", 'b'},
        {"abc<<>>d", "abcd", 'd'},
        {"abc<<<", "abc", 'a'},  // Back at the oldest stays there
        {"abc>", "abc", 'c'},    // Forward at the newest stays there
        {"abc<<da", "ada", 'a'},
        {"abcdef<<<<<g", "ag", 'g'},
        {"abcdef<<<g<h", "abch", 'h'},
        {"ab<c<d<e", "ae", 'e'},
        {"aaaa<<a", "aaa", 'a'},
    };
    for (const Case& c : cases) {
        QueryRecord* current = nullptr;
        for (const char* step = c.steps; *step; ++step) {
            if (*step == '<') {
                if (current->older) current = current->older;
            } else if (*step == '>') {
                if (current->newer) current = current->newer;
            } else {
                QueryRecord* previous = current;
                current = PushRecordAfter(current, std::string(1, *step), nullptr, 1);
                EXPECT_EQ(nullptr, current->newer) << c.steps;
                EXPECT_EQ(previous, current->older) << c.steps;
                if (previous) {
                    EXPECT_EQ(current, previous->newer) << c.steps;
                }
            }
            ChainQuestions(current);
        }
        EXPECT_EQ(c.chain, Joined(ChainQuestions(current))) << c.steps;
        EXPECT_EQ(std::string(1, c.current), current->question) << c.steps;
        FreeChain(current);
    }
}

TEST(PushRecordAfter, OntoNoRecordStartsAChainAndCopiesTheFields)
{
    const auto answer = std::make_shared<const std::string>(1 << 20, 'x');
    QueryRecord* first = PushRecordAfter(nullptr, "192.0.2.1", answer, 3);
    EXPECT_EQ(nullptr, first->older);
    EXPECT_EQ(nullptr, first->newer);
    EXPECT_EQ("192.0.2.1", first->question);
    EXPECT_EQ(answer, first->answer);
    EXPECT_EQ(3, first->server);

    QueryRecord* second = PushRecordAfter(first, "example.com", nullptr, 6);
    EXPECT_EQ("example.com", second->question);
    EXPECT_EQ("", *second->answer) << "no answer is the empty one";
    EXPECT_EQ(6, second->server);
    // The older record is left as it was.
    EXPECT_EQ("192.0.2.1", first->question);
    EXPECT_EQ(answer, first->answer);
    EXPECT_EQ(3, first->server);
    FreeChain(second);
}

TEST(FreeChain, FreesTheWholeChainFromAnyRecord)
{
    // Under the leak sanitizer, a record left behind fails the run.
    for (size_t from = 0; from < 5; ++from) {
        std::vector<QueryRecord*> records;
        QueryRecord* current = nullptr;
        for (char q = 'a'; q < 'f'; ++q) records.push_back(current = PushRecordAfter(current, std::string(1, q), std::make_shared<const std::string>(100, q), 1));
        ASSERT_EQ("abcde", Joined(ChainQuestions(records[from])));
        FreeChain(records[from]);
    }
    FreeChain(nullptr);
}
