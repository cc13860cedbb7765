// The query history in the running dialog: one sequence of asks, "<" and ">", an ask from an older
// record, failed asks, a stopped run, and presses while a run is going, with what the user sees
// after every step: the question box, the view, the buttons' states, the status line and the combo.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ViewDriver.h"
#include "view/LinkScan.h"

namespace {
enum class Action {
    kAsk,          // ask `question`; the registry it goes to answers `answer`
    kAskRefused,   // ask `question` at a registry that refuses the connection
    kAskHolding,   // ask `question`; the registry sends `answer` and holds the connection
    kBack,         // "<"
    kForward,      // ">"
    kStopAndBack,  // "&Stop" and "<" at once, before the stopped run's result arrives
};

struct Step {
    const char* name;
    Action action;
    std::string question;
    std::string answer;
    // What is seen after the step.
    std::string box;
    std::string view;
    int lastServer;
    bool back;
    bool forward;
    int records;
    std::string status;
};

class History : public MainDialogViewTest {
protected:
    void Run(const Step& step)
    {
        const bool toArin = step.question.find_first_not_of("0123456789.") == std::string::npos;
        ScriptedWhoisServer& registry = toArin ? m_arin : m_interNic;
        switch (step.action) {
        case Action::kAsk:
            registry.Play({{ServerStep::Send(step.answer)}});
            ASSERT_TRUE(AskAndWait(step.question));
            break;
        case Action::kAskRefused: {
            RedirectedServers refusing(RefusingPort(), kServerInterNic, kServerInterNic);
            ASSERT_TRUE(AskAndWait(step.question));
            break;
        }
        case Action::kAskHolding:
            registry.Play({{ServerStep::Send(step.answer), ServerStep::HoldOpen()}});
            Ask(step.question);
            ASSERT_TRUE(WaitForStatus("Recieving data..."));
            break;
        case Action::kBack:
        case Action::kForward:
            PostClick(m_dlg.m_hWnd, step.action == Action::kBack ? IDC_PREV : IDC_NEXT);
            PumpFor(50, m_dlg.m_hWnd);
            break;
        case Action::kStopAndBack:
            // Both are queued before the worker can post its result, so "<" arrives while the
            // stopped run is still going.
            PostClick(m_dlg.m_hWnd, IDOK);
            PostClick(m_dlg.m_hWnd, IDC_PREV);
            ASSERT_TRUE(WaitForEnd());
            break;
        }
    }

    // Link effects on exactly the scanned spans of what the view shows.
    std::string LinkMarks(const std::string& text)
    {
        std::string marks;
        for (size_t i = 0; i < text.size(); ++i)
            marks += (CharFormatAt(View(), static_cast<long>(i)).dwEffects & CFE_LINK) ? 'L' : '.';
        return marks;
    }
    static std::string ScannedMarks(const std::string& text)
    {
        std::string marks(text.size(), '.');
        for (const LinkSpan& span : ScanLinks(text.data(), text.size()))
            for (size_t i = span.start; i < span.end; ++i) marks[i] = 'L';
        return marks;
    }
};

TEST_F(History, EveryStepShowsTheRightRecordAndButtons)
{
    const std::string a1 = "answer one\n";
    const std::string a2 = "answer two (EXAMPLE-2)\n";
    const std::string a3 = "answer three\n";
    const std::string a4 = "answer four (NEW-4444)\n";
    const std::string partial = "partial (PART-9)\n";
    const std::string refused = "Connection to 127.0.0.1 failed";
    const std::string done = "Complete.";
    const std::string receiving = "Recieving data...";
    const Step steps[] = {
        {"first ask", Action::kAsk, "192.0.2.1", a1, "192.0.2.1", a1, kServerArin, false, false, 1, done},
        {"second ask", Action::kAsk, "example.com", a2, "example.com", a2, kServerInterNic, true, false, 2, done},
        {"third ask", Action::kAsk, "192.0.2.3", a3, "192.0.2.3", a3, kServerArin, true, false, 3, done},
        {"back to the second", Action::kBack, "", "", "example.com", a2, kServerInterNic, true, true, 3, done},
        {"back to the first", Action::kBack, "", "", "192.0.2.1", a1, kServerArin, false, true, 3, done},
        {"back with nothing older", Action::kBack, "", "", "192.0.2.1", a1, kServerArin, false, true, 3, done},
        {"forward to the second", Action::kForward, "", "", "example.com", a2, kServerInterNic, true, true, 3, done},
        {"ask from the middle drops the third", Action::kAsk, "example.net", a4, "example.net", a4, kServerInterNic,
         true, false, 3, done},
        {"forward with nothing newer", Action::kForward, "", "", "example.net", a4, kServerInterNic, true, false, 3,
         done},
        {"back past the new record", Action::kBack, "", "", "example.com", a2, kServerInterNic, true, true, 3, done},
        {"a refused ask keeps the history", Action::kAskRefused, "refused.example", "", "refused.example", a2,
         kServerInterNic, true, true, 3, refused},
        {"an empty question keeps the history", Action::kAsk, "", "", "", a2, kServerInterNic, true, true, 3,
         "Fatal error: nothing to ask for."},
        {"a run that holds after a chunk", Action::kAskHolding, "192.0.2.9", partial, "192.0.2.9", a2,
         kServerInterNic, true, true, 3, receiving},
        {"back while it runs", Action::kBack, "", "", "192.0.2.9", a2, kServerInterNic, true, true, 3, receiving},
        {"forward while it runs", Action::kForward, "", "", "192.0.2.9", a2, kServerInterNic, true, true, 3,
         receiving},
        {"stopped, with back pressed before its result", Action::kStopAndBack, "", "", "192.0.2.9", partial,
         kServerArin, true, false, 3, done},
        {"back from the stopped run's record", Action::kBack, "", "", "example.com", a2, kServerInterNic, true, true,
         3, done},
        {"back to the oldest", Action::kBack, "", "", "192.0.2.1", a1, kServerArin, false, true, 3, done},
        {"forward", Action::kForward, "", "", "example.com", a2, kServerInterNic, true, true, 3, done},
        {"forward to the stopped run's record", Action::kForward, "", "", "192.0.2.9", partial, kServerArin, true,
         false, 3, done},
    };
    EXPECT_FALSE(Enabled(IDC_PREV));
    EXPECT_FALSE(Enabled(IDC_NEXT));
    EXPECT_EQ(0, RecordCount());
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        ASSERT_NO_FATAL_FAILURE(Run(step));
        EXPECT_EQ(step.box, QuestionText());
        EXPECT_EQ(step.view, ViewText());
        EXPECT_EQ(step.lastServer, m_dlg.m_nLastServer);
        EXPECT_EQ(step.back, Enabled(IDC_PREV));
        EXPECT_EQ(step.forward, Enabled(IDC_NEXT));
        EXPECT_EQ(step.records, RecordCount());
        EXPECT_EQ(step.status, StatusText());
        EXPECT_EQ(ScannedMarks(step.view), LinkMarks(step.view)) << "links marked in the record shown";
        // Showing a record never changes the server the user chose.
        EXPECT_EQ(kServerAutomatic, static_cast<int>(SendDlgItemMessageA(m_dlg.m_hWnd, IDC_SERVER, CB_GETCURSEL, 0, 0)));
    }
    // Each ask that reached a registry connected once; the refused and the empty one did not.
    EXPECT_EQ((std::vector<std::string>{"192.0.2.1\n", "192.0.2.3\n", "192.0.2.9\n"}), m_arin.Received());
    EXPECT_EQ((std::vector<std::string>{"example.com\n", "example.net\n"}), m_interNic.Received());
}

// A record keeps the question as it was asked: a record shown again and asked again is a new record.
TEST_F(History, AskingAnOlderRecordAgainMakesItTheNewest)
{
    m_interNic.Play({{ServerStep::Send("first\n")}});
    ASSERT_TRUE(AskAndWait("one.example"));
    m_interNic.Play({{ServerStep::Send("second\n")}});
    ASSERT_TRUE(AskAndWait("two.example"));
    PostClick(m_dlg.m_hWnd, IDC_PREV);
    PumpFor(50, m_dlg.m_hWnd);
    ASSERT_EQ("one.example", QuestionText());
    m_interNic.Play({{ServerStep::Send("first, again\n")}});
    PostClick(m_dlg.m_hWnd, IDOK);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ("first, again\n", ViewText());
    EXPECT_EQ(2, RecordCount()) << "the record after the one shown is dropped";
    EXPECT_TRUE(Enabled(IDC_PREV));
    EXPECT_FALSE(Enabled(IDC_NEXT));
    PostClick(m_dlg.m_hWnd, IDC_PREV);
    PumpFor(50, m_dlg.m_hWnd);
    EXPECT_EQ("one.example", QuestionText());
    EXPECT_EQ("first\n", ViewText());
}
}  // namespace
