// A large answer goes into the view a batch at a time from the message loop, after its run has
// ended: the window answers throughout, the history, the links and new questions act at once and
// replace the fill, what the user does with the part on show stays, the answer reads back and
// copies whole, every link is marked exactly, and a reader outside sees when the view is filled.
#include <gtest/gtest.h>

#include <string>

#include "support/ViewDriver.h"
#include "view/LinkScan.h"

namespace {
class AnswerFill : public MainDialogViewTest {
protected:
    // About 200 KB: short lines with a handle each, then a long line with a few hundred handles,
    // some of them extended past a ")" or holding a "(", which the view shows broken into display
    // lines, then a last line.
    static std::string LargeAnswer()
    {
        std::string text;
        for (int i = 0; i < 1500; ++i)
            text += "member: (MEMBER-" + std::to_string(10000 + i) + ") remarks: " + std::string(60, '.') + "\n";
        std::string line;
        while (line.size() < 8000) line += "word (LONG-" + std::to_string(line.size()) + ") x(ab(cdefg)hi) ";
        return text + line + "\nlast line (LAST-1)\n";
    }

    // Whether the character the view shows for the answer's byte `position` is a link.
    bool Linked(const std::vector<long>& shownAt, size_t position)
    {
        return (CharFormatAt(View(), shownAt[position]).dwEffects & CFE_LINK) != 0;
    }

    bool Filling() { return GetPropA(View(), CRichEditCtrl::kFillingProperty) != nullptr; }
};

TEST_F(AnswerFill, TheRunEndsAtTheHandOverWhileTheAnswerGoesInAndTheWindowActsAtOnce)
{
    m_interNic.Play({{ServerStep::Send("small answer (SMALL-1)\n")}});
    ASSERT_TRUE(AskAndWait("first.example"));
    const QueryRecord* first = m_dlg.m_pCurrent;
    EXPECT_FALSE(Filling());

    const std::string answer = LargeAnswer();
    m_interNic.Play({{ServerStep::Send(answer)}});
    ResponsivenessProbe probe(m_dlg.m_hWnd);
    Ask("large.example");
    ASSERT_TRUE(PumpUntil([&] { return m_dlg.m_pCurrent != first; }, 10000, m_dlg.m_hWnd));
    ASSERT_TRUE(m_dlg.m_richAnswer.IsFilling()) << "an answer this large takes more than one batch";
    EXPECT_TRUE(Filling()) << "a reader outside sees the view filling";

    // The run is over: caption, status and flags say so while the answer goes in.
    EXPECT_FALSE(m_dlg.m_bRunning);
    EXPECT_FALSE(m_dlg.m_bQueryActive);
    EXPECT_EQ("&Ask", ItemText(m_dlg.m_hWnd, IDOK));
    EXPECT_EQ("Complete.", StatusText());
    // The answer reads back and copies whole, however much of it is in the view.
    ASSERT_TRUE(m_dlg.UpdateData(TRUE));
    EXPECT_EQ(answer, m_dlg.m_strAnswer.Str());
    EXPECT_EQ("large.example", m_dlg.m_strQuestion.Str());

    // The user scrolls and selects in the part on show; the next batches leave both as they are.
    m_dlg.m_richAnswer.SendMessage(EM_LINESCROLL, 0, 5);
    m_dlg.m_richAnswer.SetSel(100, 120);
    const LRESULT firstLine = m_dlg.m_richAnswer.SendMessage(EM_GETFIRSTVISIBLELINE);
    EXPECT_GT(firstLine, 0);
    const int before = GetWindowTextLengthA(View());
    ASSERT_TRUE(PumpUntil([&] { return GetWindowTextLengthA(View()) > before; }, 10000, m_dlg.m_hWnd));
    EXPECT_EQ(firstLine, m_dlg.m_richAnswer.SendMessage(EM_GETFIRSTVISIBLELINE));
    const CHARRANGE selection = m_dlg.m_richAnswer.GetSel();
    EXPECT_EQ(100, selection.cpMin);
    EXPECT_EQ(120, selection.cpMax);

    // A step back in the history replaces the filling view at once; a step forward fills it anew.
    ASSERT_TRUE(m_dlg.m_richAnswer.IsFilling());
    SendClick(m_dlg.m_hWnd, IDC_PREV);
    EXPECT_EQ(first, m_dlg.m_pCurrent);
    EXPECT_FALSE(m_dlg.m_richAnswer.IsFilling());
    EXPECT_FALSE(Filling());
    EXPECT_EQ("small answer (SMALL-1)\n", ViewText());
    SendClick(m_dlg.m_hWnd, IDC_NEXT);
    EXPECT_TRUE(m_dlg.m_richAnswer.IsFilling());

    ASSERT_TRUE(WaitForEnd(120000));
    EXPECT_EQ(0, probe.Stop()) << "the window did not answer for 100 ms";
    EXPECT_FALSE(Filling());
    EXPECT_EQ("Complete.", StatusText());
    EXPECT_EQ(answer, CopiedAll());
}

// Every link is marked on its exact characters, those of the long line too.
TEST_F(AnswerFill, EveryLinkIsMarkedExactly)
{
    // In a view made anew, as for every answer after the first.
    const std::string answer = LargeAnswer();
    m_interNic.Play({{ServerStep::Send("short\n")}, {ServerStep::Send(answer)}});
    ASSERT_TRUE(AskAndWait("short.example"));
    ASSERT_TRUE(AskAndWait("large.example", 120000));
    const std::string shown = ViewText();
    EXPECT_NE(answer, shown) << "the long line is shown broken";
    const std::vector<long> at = ViewPositions(answer, shown);

    const size_t longLine = answer.find("word (LONG-");
    std::vector<LinkSpan> spans = ScanLinks(answer.data(), answer.size());
    int checked = 0;
    const CHARFORMATA plain = CharFormatAt(View(), 0);
    // Reading formats moves the selection; unpainted, that is quick.
    m_dlg.m_richAnswer.SendMessage(WM_SETREDRAW, FALSE);
    for (size_t i = 0; i < spans.size(); ++i) {
        // A longer span from the same "(" covers the shorter one: check the longest.
        if (i + 1 < spans.size() && spans[i + 1].start == spans[i].start) continue;
        // A sample of the short lines; every link of the long line and after it.
        if (spans[i].start < longLine && i % 100 != 0) continue;
        const LinkSpan& span = spans[i];
        SCOPED_TRACE(answer.substr(span.start, span.end - span.start));
        EXPECT_FALSE(Linked(at, span.start - 1)) << "the \"(\" is not part of the link";
        EXPECT_TRUE(Linked(at, span.start));
        EXPECT_TRUE(Linked(at, span.end - 1));
        EXPECT_FALSE(Linked(at, span.end)) << "the \")\" is not part of the link";
        const CHARFORMATA link = CharFormatAt(View(), at[span.start]);
        EXPECT_TRUE(link.yHeight == plain.yHeight && (link.dwEffects & CFE_BOLD) == 0) << "in the view's font";
        ++checked;
    }
    m_dlg.m_richAnswer.SendMessage(WM_SETREDRAW, TRUE);
    EXPECT_GT(checked, 250);
}

TEST_F(AnswerFill, AnAnswerShownAgainDuringTheFillReplacesIt)
{
    const std::string answer = LargeAnswer();
    m_interNic.Play({{ServerStep::Send(answer)}});
    Ask("large.example");
    ASSERT_TRUE(PumpUntil([&] { return m_dlg.m_richAnswer.IsFilling(); }, 10000, m_dlg.m_hWnd));

    // The Options dialog turns link marking off while the answer fills: it is shown again, plain.
    m_dlg.m_dlgOptions.bNoLinkParsing = TRUE;
    m_dlg.ShowRecord(nullptr);
    ASSERT_TRUE(WaitForEnd(120000));
    EXPECT_EQ(answer, CopiedAll());
    const std::vector<long> at = ViewPositions(answer, ViewText());
    EXPECT_FALSE(Linked(at, answer.find("MEMBER-10000")));
    EXPECT_FALSE(Linked(at, answer.find("LAST-1")));
}

// A link clicked while a large answer goes in is asked at once, at the server of the answer it
// came from; the next question typed goes where "Automatic" says; and the status line ends on
// the last run's outcome.
TEST_F(AnswerFill, ALinkClickedDuringTheFillIsAskedAndLeavesNothingBehind)
{
    std::string handles;
    for (int i = 0; i < 3000; ++i) handles += "(H" + std::to_string(100000 + i) + ")\n";
    m_arin.Play({{ServerStep::Send(handles)}, {ServerStep::Send("the handle's record\n")}});
    m_interNic.Play({{ServerStep::Send("the domain's record\n")}});
    Ask("192.0.2.1");
    ASSERT_TRUE(PumpUntil([&] { return m_dlg.m_pCurrent && m_dlg.m_richAnswer.IsFilling(); }, 10000, m_dlg.m_hWnd));

    SetForegroundWindow(m_dlg.m_hWnd);
    ClickAt(CharScreenPoint(View(), 3));
    ASSERT_TRUE(PumpUntil([&] { return m_arin.Connections() == 2; }, 10000, m_dlg.m_hWnd)) << "the click asked nothing";
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ("H100000", m_dlg.m_strQuestion.Str());
    EXPECT_EQ("the handle's record\n", ViewText());
    EXPECT_EQ((std::vector<std::string>{"192.0.2.1\n", "H100000\n"}), m_arin.Received());
    EXPECT_FALSE(m_dlg.m_bFromLink);
    EXPECT_EQ("Complete.", StatusText());

    ASSERT_TRUE(AskAndWait("example.com"));
    EXPECT_EQ((std::vector<std::string>{"example.com\n"}), m_interNic.Received());
    EXPECT_EQ("the domain's record\n", ViewText());
    PumpFor(200, m_dlg.m_hWnd);
    EXPECT_EQ("Complete.", StatusText());
}

TEST_F(AnswerFill, ClosingTheWindowDuringTheFillEndsItCleanly)
{
    m_interNic.Play({{ServerStep::Send(LargeAnswer())}});
    Ask("large.example");
    ASSERT_TRUE(PumpUntil([&] { return m_dlg.m_richAnswer.IsFilling(); }, 10000, m_dlg.m_hWnd));
    m_dlg.DestroyWindow();
    EXPECT_FALSE(m_dlg.m_richAnswer.IsFilling());
    // Nothing of the fill is left to run against the window that is gone.
    PumpFor(300);
    EXPECT_EQ(nullptr, m_dlg.m_hWnd);
}

TEST_F(AnswerFill, TheViewShowsItsScrollBarsOnceAnAnswerIsIn)
{
    // The control draws nothing while a batch goes in, its scroll bars included. The answer
    // replaces a short one, whose view needed no scroll bars.
    ShowWindow(m_dlg.m_hWnd, SW_SHOW);
    std::string answer = std::string(300, 'w') + "\n";
    for (int i = 0; i < 300; ++i) answer += "line " + std::to_string(i) + " (HANDLE-" + std::to_string(i) + ")\n";
    m_interNic.Play({{ServerStep::Send("short\n")}, {ServerStep::Send(answer)}});
    ASSERT_TRUE(AskAndWait("example.net"));
    ASSERT_TRUE(AskAndWait("example.com"));
    PumpFor(200, m_dlg.m_hWnd);
    for (LONG which : {OBJID_VSCROLL, OBJID_HSCROLL}) {
        SCROLLBARINFO bar{};
        bar.cbSize = sizeof bar;
        ASSERT_TRUE(GetScrollBarInfo(View(), which, &bar));
        ASSERT_FALSE(bar.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_UNAVAILABLE)) << "the answer is longer and wider than the view";
        // The middle of the bar's last arrow, on the screen: drawn in the bar's colours, not the view's.
        const RECT& r = bar.rcScrollBar;
        const int half = bar.dxyLineButton / 2;
        const POINT arrow = which == OBJID_VSCROLL ? POINT{(r.left + r.right) / 2, r.bottom - half} : POINT{r.right - half, (r.top + r.bottom) / 2};
        HDC screen = GetDC(nullptr);
        const COLORREF pixel = GetPixel(screen, arrow.x, arrow.y);
        ReleaseDC(nullptr, screen);
        EXPECT_NE(m_dlg.m_dlgOptions.crBackground, pixel);
    }
}
}  // namespace
