// A large answer goes into the view a batch at a time from the message loop: the window answers
// throughout, the run ends only once the answer is all in, what the user does with the part on
// show stays, the answer can be read whole at any time, and the links are marked exactly.
#include <gtest/gtest.h>

#include <string>

#include "support/ViewDriver.h"
#include "view/LinkScan.h"

namespace {
class AnswerFill : public MainDialogViewTest {
protected:
    // About 200 KB: short lines with a handle each, then a long line with many handles, some of
    // them extended past a ")" or holding a "(". (Each mark in a line costs the control a new
    // layout of the whole line, so only the long line's first handles are marked.)
    static std::string LargeAnswer()
    {
        std::string text;
        for (int i = 0; i < 1500; ++i)
            text += "member: (MEMBER-" + std::to_string(10000 + i) + ") remarks: " + std::string(60, '.') + "\n";
        std::string line;
        while (line.size() < 8000) line += "word (LONG-" + std::to_string(line.size()) + ") x(ab(cdefg)hi) ";
        return text + line + "\nlast line (LAST-1)\n";
    }

    bool Linked(long position) { return (CharFormatAt(View(), position).dwEffects & CFE_LINK) != 0; }
};

TEST_F(AnswerFill, ALargeAnswerGoesInWhileTheWindowAnswersAndEndsTheRunWhenAllIsIn)
{
    m_interNic.Play({{ServerStep::Send("small answer\n")}});
    ASSERT_TRUE(AskAndWait("first.example"));
    const QueryRecord* first = m_dlg.m_pCurrent;

    const std::string answer = LargeAnswer();
    m_interNic.Play({{ServerStep::Send(answer)}});
    ResponsivenessProbe probe(m_dlg.m_hWnd);
    Ask("large.example");
    ASSERT_TRUE(PumpUntil([&] { return m_dlg.m_pCurrent != first; }, 10000, m_dlg.m_hWnd));
    ASSERT_TRUE(m_dlg.m_richAnswer.IsFilling()) << "an answer this large takes more than one batch";

    // While it fills: the run is not over, so the history stays put and the caption reads "&Stop".
    EXPECT_TRUE(m_dlg.m_bRunning);
    EXPECT_EQ("&Stop", ItemText(m_dlg.m_hWnd, IDOK));
    const QueryRecord* large = m_dlg.m_pCurrent;
    SendClick(m_dlg.m_hWnd, IDC_PREV);
    EXPECT_EQ(large, m_dlg.m_pCurrent);
    // The answer reads back whole, however much of it is in the view.
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

    ASSERT_TRUE(WaitForEnd(120000));
    EXPECT_EQ(0, probe.Stop()) << "the window did not answer for 100 ms";
    EXPECT_FALSE(m_dlg.m_richAnswer.IsFilling());
    EXPECT_EQ("&Ask", ItemText(m_dlg.m_hWnd, IDOK));
    EXPECT_EQ("Complete.", StatusText());
    EXPECT_EQ(answer, ViewText());
    SendClick(m_dlg.m_hWnd, IDC_PREV);
    EXPECT_EQ(first, m_dlg.m_pCurrent) << "the history walks again once the run has ended";
}

TEST_F(AnswerFill, EveryLinkIsMarkedExactly)
{
    const std::string answer = LargeAnswer();
    m_interNic.Play({{ServerStep::Send(answer)}});
    Ask("large.example");
    ASSERT_TRUE(WaitForEnd(120000));
    ASSERT_EQ(answer, ViewText());

    // The scan of the whole text is the truth; the long line begins after the short ones.
    const size_t longLine = answer.find("word (LONG-");
    std::vector<LinkSpan> spans = ScanLinks(answer.data(), answer.size());
    int checked = 0;
    size_t inLongLine = 0;
    // Reading formats moves the selection; unpainted, that is quick.
    m_dlg.m_richAnswer.SendMessage(WM_SETREDRAW, FALSE);
    for (size_t i = 0; i < spans.size(); ++i) {
        // A longer span from the same "(" covers the shorter one: check the longest.
        if (i + 1 < spans.size() && spans[i + 1].start == spans[i].start) continue;
        // A sample: every hundredth short line's link; the long line's first ten, which the
        // view marks before it takes the rest of a line that full plain.
        if (spans[i].start < longLine ? i % 100 != 0 : ++inLongLine > 10) continue;
        const LinkSpan& span = spans[i];
        SCOPED_TRACE(answer.substr(span.start, span.end - span.start));
        EXPECT_FALSE(Linked(static_cast<long>(span.start) - 1)) << "the \"(\" is not part of the link";
        EXPECT_TRUE(Linked(static_cast<long>(span.start)));
        EXPECT_TRUE(Linked(static_cast<long>(span.end) - 1));
        EXPECT_FALSE(Linked(static_cast<long>(span.end))) << "the \")\" is not part of the link";
        ++checked;
    }
    EXPECT_FALSE(Linked(static_cast<long>(answer.rfind("(LONG-") + 1))) << "the long line's last link";
    EXPECT_TRUE(Linked(static_cast<long>(answer.find("LAST-1")))) << "the line after the long one";
    m_dlg.m_richAnswer.SendMessage(WM_SETREDRAW, TRUE);
    EXPECT_GT(checked, 20);
}

TEST_F(AnswerFill, AnAnswerShownAgainDuringTheFillReplacesItAndTheRunStillEnds)
{
    const std::string answer = LargeAnswer();
    m_interNic.Play({{ServerStep::Send(answer)}});
    Ask("large.example");
    ASSERT_TRUE(PumpUntil([&] { return m_dlg.m_richAnswer.IsFilling(); }, 10000, m_dlg.m_hWnd));

    // The Options dialog turns link marking off while the answer fills: it is shown again, plain.
    m_dlg.m_dlgOptions.bNoLinkParsing = TRUE;
    m_dlg.ShowRecord(nullptr);
    ASSERT_TRUE(WaitForEnd(120000));
    EXPECT_EQ("&Ask", ItemText(m_dlg.m_hWnd, IDOK));
    EXPECT_EQ(answer, ViewText());
    EXPECT_FALSE(Linked(static_cast<long>(answer.find("MEMBER-10000"))));
    EXPECT_FALSE(Linked(static_cast<long>(answer.find("LAST-1"))));
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
}  // namespace

namespace {
TEST_F(AnswerFill, TheViewShowsItsScrollBarOnceAnAnswerIsIn)
{
    // The control draws nothing while a batch goes in, its scroll bar included.
    ShowWindow(m_dlg.m_hWnd, SW_SHOW);
    std::string answer;
    for (int i = 0; i < 300; ++i) answer += "line " + std::to_string(i) + " (HANDLE-" + std::to_string(i) + ")\n";
    m_interNic.Play({{ServerStep::Send(answer)}});
    ASSERT_TRUE(AskAndWait("example.com"));
    PumpFor(200, m_dlg.m_hWnd);
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetScrollBarInfo(View(), OBJID_VSCROLL, &bar));
    ASSERT_FALSE(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE) << "the answer is longer than the view";
    // The middle of the bar's down arrow, on the screen: drawn in the bar's colours, not the view's.
    const POINT arrow{(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2, bar.rcScrollBar.bottom - bar.dxyLineButton / 2};
    HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, arrow.x, arrow.y);
    ReleaseDC(nullptr, screen);
    EXPECT_NE(m_dlg.m_dlgOptions.crBackground, pixel);
}
}  // namespace
