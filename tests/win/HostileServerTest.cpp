// Servers that misbehave, against the real main dialog: trickling bytes, every byte value, resets,
// closes and silence, lines full of handles or braces, referral texts cut anywhere, and answers of
// the largest size in every shape that once held the window. Each run ends with the right status
// and history, and the window keeps answering.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "query/WhoisQuery.h"
#include "support/HostileAnswers.h"
#include "support/ViewDriver.h"
#include "text/SystemText.h"

namespace {
class HostileServer : public MainDialogViewTest {
protected:
    // Asks `question` of a server playing `script`, watching the window throughout.
    void Run(const std::string& question, ServerScript script, bool stopWhenWaiting = false)
    {
        m_interNic.Play({script});
        m_arin.Play({script});
        ResponsivenessProbe probe(m_dlg.m_hWnd);
        Ask(question);
        if (stopWhenWaiting) {
            ASSERT_TRUE(WaitForStatus("Waiting for data..."));
            PumpFor(200, m_dlg.m_hWnd);
            PostClick(m_dlg.m_hWnd, IDOK);
        }
        ASSERT_TRUE(WaitForEnd());
        m_missed = probe.Stop();
    }
    int m_missed = 0;
};

TEST_F(HostileServer, SmallAnswersOfEveryShapeEndCleanlyWithTheWindowAnswering)
{
    std::string everyByte;
    for (int b = 1; b < 256; ++b) everyByte += static_cast<char>(b);
    // The view lays out a line again for each run put into it: lines like these once took it
    // minutes to hours.
    std::string crowdedLine;
    while (crowdedLine.size() < 6000) crowdedLine += "(H" + std::to_string(100000 + crowdedLine.size()) + ") ";
    crowdedLine += "\n";
    const std::string braces = std::string(10000, '{') + "\n";
    ServerScript trickle;
    for (char c : std::string("slow answer\n(TRICKLE-1)\n")) {
        trickle.push_back(ServerStep::Send(std::string(1, c)));
        trickle.push_back(ServerStep::Delay(50));
    }
    struct Case {
        const char* name;
        ServerScript script;
        bool stop;
        std::string status;
        std::string answer;
    };
    const Case cases[] = {
        {"one byte every 50 ms", trickle, false, "Complete.", "slow answer\n(TRICKLE-1)\n"},
        {"every byte value, then a zero that cuts its chunk",
         {ServerStep::Send(everyByte), ServerStep::Delay(50), ServerStep::Send(std::string("\0hidden", 7)),
          ServerStep::Delay(50), ServerStep::Send("end")},
         false, "Complete.", everyByte + "end"},
        {"a reset in the middle", {ServerStep::Send("partial (PART-1"), ServerStep::Delay(50), ServerStep::Reset()},
         false, "Complete.", "partial (PART-1"},
        {"one line of 600 handles", {ServerStep::Send(crowdedLine)}, false, "Complete.", crowdedLine},
        {"one line of 10,000 braces", {ServerStep::Send(braces)}, false, "Complete.", braces},
        {"closed right after accepting", {}, false, "Complete.", ""},
        // The stop fails the receive, which ends the run like a close.
        {"accepts and never sends, then Stop", {ServerStep::HoldOpen()}, true, "Complete.", ""},
    };
    int records = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Run("example.com", c.script, c.stop);
        ++records;
        EXPECT_EQ(c.status, StatusText());
        EXPECT_EQ(c.answer, m_dlg.m_strAnswer.Str());
        EXPECT_EQ(records, RecordCount()) << "every run, stopped or not, becomes a record";
        EXPECT_EQ(0, m_missed) << "the window did not answer for 100 ms";
    }
    m_interNic.Release();
}

TEST_F(HostileServer, AnAnswerCutAtTheLimitIsShownAndSaysSo)
{
    // The result a worker hands over when a server would not stop sending (sixty-four megabytes
    // take minutes to go through a socket and into the view under Wine).
    auto result = std::make_unique<QueryResult>();
    result->end = QueryEnd::Cut;
    result->question = "example.com";
    result->answer = "the first part (FIRST-1)\n";
    result->lastServer = kServerInterNic;
    result->passStarted = result->gotAnswer = true;
    m_dlg.SendMessage(WM_QUERY_DONE, 0, reinterpret_cast<LPARAM>(result.release()));
    EXPECT_EQ("Answer cut at 64 MB: the server sent more", StatusText());
    EXPECT_EQ(1, RecordCount());
    EXPECT_EQ("the first part (FIRST-1)\n", ViewText());
}

TEST_F(HostileServer, AReferralTextCutAtAnyByteIsStillFollowed)
{
    const std::string referral = "European Regional Internet Registry/RIPE NCC\nmore of ARIN's answer\n";
    for (size_t cut = 1; cut < 56; cut += 3) {
        SCOPED_TRACE(cut);
        // ARIN's answer comes in two pieces; RIPE NCC (the same scripted server here) answers the
        // second connection, so its answer on show proves the referral.
        m_arin.Play({{ServerStep::Send(referral.substr(0, cut)), ServerStep::Delay(40), ServerStep::Send(referral.substr(cut))},
                     {ServerStep::Send("RIPE answer\n")}});
        ResponsivenessProbe probe(m_dlg.m_hWnd);
        ASSERT_TRUE(AskAndWait("192.0.2.1"));
        EXPECT_EQ(0, probe.Stop());
        EXPECT_EQ("RIPE answer\n", m_dlg.m_strAnswer.Str());
        EXPECT_EQ("Complete.", StatusText());
    }
}

// Answers of the largest size a run hands over, of every shape that once held the window: none
// holds it while it goes into the view or when it is replaced. The view shows a part of each
// (every link in it marked) and says how much more there is; reading back and copying give the
// whole answer.
TEST_F(HostileServer, HugeAnswersOfAnyShapeNeverHoldTheWindow)
{
    for (HostileAnswer& c : HostileAnswers()) {
        SCOPED_TRACE(c.name);
        auto result = std::make_unique<QueryResult>();
        result->question = "example.com";
        result->answer = c.text;
        result->lastServer = kServerInterNic;
        result->passStarted = result->gotAnswer = true;
        // Decoded as the worker decodes it, before it hands the result over.
        result->text = DecodedAnswerText(c.text, "whois.internic.net");
        ResponsivenessProbe filling(m_dlg.m_hWnd);
        ASSERT_TRUE(m_dlg.PostMessage(WM_QUERY_DONE, 0, reinterpret_cast<LPARAM>(result.release())));
        ASSERT_TRUE(WaitForEnd(120000));
        EXPECT_EQ(0, filling.Stop()) << "the window did not answer for 100 ms while the answer went in";

        EXPECT_EQ(c.text.size(), m_dlg.m_pCurrent->answer->size());
        const std::string shown = ViewText();
        EXPECT_LE(shown.size(), 600000u);
        EXPECT_NE(std::string::npos, shown.find(" more characters of this answer are not shown. Save... writes the whole answer.]"));
        if (c.linkAt != std::string::npos) {
            EXPECT_TRUE(CharFormatAt(View(), static_cast<long>(c.linkAt)).dwEffects & CFE_LINK);
        }
        ASSERT_TRUE(m_dlg.UpdateData(TRUE));
        EXPECT_TRUE(c.text == m_dlg.m_strAnswer.Str()) << "the answer reads back whole";
        EXPECT_EQ(c.text.size(), CopiedAll().size());

        // Replaced by a small answer, as the next question or a step in the history would.
        ResponsivenessProbe replacing(m_dlg.m_hWnd);
        m_dlg.m_strAnswer = "small\n";
        m_dlg.ShowRecord(nullptr);
        PumpFor(300, m_dlg.m_hWnd);
        EXPECT_EQ(0, replacing.Stop()) << "the window did not answer for 100 ms while the answer was replaced";
        c.text.clear();
        c.text.shrink_to_fit();
    }
}
}  // namespace
