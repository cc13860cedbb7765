// The answer view in the running dialog: links marked on exactly the scanned spans in the view's
// colours and font, clicks on links asking their handle at the server that answered, the hand
// cursor over links, the right-button copy and "&Data >".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/ViewDriver.h"
#include "text/Utf8.h"
#include "view/LinkScan.h"

namespace {
// Handles of every kind the scan meets: too short, broken by blanks, nested, extended by a later
// ")", after a CR LF line end, at the very end without a line end.
const std::string kLinkAnswer =
    "owner: Example (EXAMPLE-1)\n"
    "not (abcd) nor (a b c)\n"
    "nested ((NESTED)\n"
    "long (ABCDE)FGH)\n"
    "crlf line (CRLF-77)\r\n"
    "quote (it's-x) tab (AB\tCDEFG) star (ST*ARS)\n"
    "tail (TAIL-1)";

// The same handles over and over: an answer long enough to go into the view in several pieces, with
// the pieces' ends falling on lines of every kind.
std::string LongLinkAnswer()
{
    std::string answer;
    for (int i = 0; answer.size() < 10000; ++i) answer += "record " + std::to_string(i) + "\n" + kLinkAnswer + "\n";
    return answer;
}

struct Look {
    const char* name;
    COLORREF text;
    COLORREF link;
    COLORREF background;
    const char* face;
    LONG height;  // logical units, as a font picker gives
    LONG weight;
    BYTE italic;
    int noLinkParsing;
};

// 'L': link effect, underline and the link colour; '.': none of them and the text colour; '?':
// anything else.
char MarkOf(const CHARFORMATA& format, const Look& look)
{
    const bool link = (format.dwEffects & CFE_LINK) != 0;
    const bool underline = (format.dwEffects & CFE_UNDERLINE) != 0;
    const bool autoColour = (format.dwEffects & CFE_AUTOCOLOR) != 0;
    if (link && underline && !autoColour && format.crTextColor == look.link) return 'L';
    if (!link && !underline && !autoColour && format.crTextColor == look.text) return '.';
    return '?';
}

std::string ExpectedMarks(const std::string& answer, bool marked)
{
    std::string marks(answer.size(), '.');
    if (!marked) return marks;
    for (const LinkSpan& span : ScanLinks(answer.data(), answer.size()))
        for (size_t i = span.start; i < span.end; ++i) marks[i] = 'L';
    return marks;
}

// What the dialog answered to each link notification for the cursor: the cursor it set and the
// result it returned, seen as its handler returns.
struct CursorAnswer {
    HCURSOR cursor;
    LRESULT result;
    CHARRANGE range;
};

class CursorAnswers {
public:
    CursorAnswers() : m_hook(SetWindowsHookExA(WH_CALLWNDPROCRET, &CursorAnswers::Hook, nullptr, GetCurrentThreadId()))
    {
        s_pThis = this;
    }
    ~CursorAnswers()
    {
        UnhookWindowsHookEx(m_hook);
        s_pThis = nullptr;
    }
    std::vector<CursorAnswer> Get() const { return m_answers; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && s_pThis && call->message == WM_NOTIFY) {
            const ENLINK* link = reinterpret_cast<const ENLINK*>(call->lParam);
            if (link->nmhdr.code == EN_LINK && link->msg == WM_SETCURSOR)
                s_pThis->m_answers.push_back({GetCursor(), call->lResult, link->chrg});
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static CursorAnswers* s_pThis;
    HHOOK m_hook;
    std::vector<CursorAnswer> m_answers;
};
CursorAnswers* CursorAnswers::s_pThis = nullptr;

class AnswerView : public MainDialogViewTest {
protected:
    void SetLook(const Look& look)
    {
        m_dlg.m_dlgOptions.crText = look.text;
        m_dlg.m_dlgOptions.crLink = look.link;
        m_dlg.m_dlgOptions.crBackground = look.background;
        m_dlg.m_dlgOptions.lfFont = LOGFONTA{};
        m_dlg.m_dlgOptions.lfFont.lfHeight = look.height;
        m_dlg.m_dlgOptions.lfFont.lfWeight = look.weight;
        m_dlg.m_dlgOptions.lfFont.lfItalic = look.italic;
        lstrcpynA(m_dlg.m_dlgOptions.lfFont.lfFaceName, look.face, LF_FACESIZE);
        m_dlg.m_dlgOptions.bNoLinkParsing = look.noLinkParsing;
        m_dlg.ApplyViewSettings();
    }

    std::string ActualMarks(const Look& look, size_t length)
    {
        std::string marks;
        for (size_t i = 0; i < length; ++i) marks += MarkOf(CharFormatAt(View(), static_cast<long>(i)), look);
        return marks;
    }

    // Brings the dialog to the front so that real mouse input reaches it.
    void ToFront()
    {
        SetForegroundWindow(m_dlg.m_hWnd);
        PumpFor(20, m_dlg.m_hWnd);
    }
};

TEST(AnswerViewSample, TheScanFindsTheHandlesTheSampleIsMadeFor)
{
    // The marking test below compares with the scan; this pins what the scan finds in its answer.
    std::vector<std::string> found;
    for (const LinkSpan& span : ScanLinks(kLinkAnswer.data(), kLinkAnswer.size()))
        found.push_back(kLinkAnswer.substr(span.start, span.end - span.start));
    EXPECT_EQ((std::vector<std::string>{"EXAMPLE-1", "(NESTED", "ABCDE", "ABCDE)FGH", "CRLF-77", "TAIL-1"}), found);
}

TEST_F(AnswerView, LinksAreMarkedExactlyOnTheScannedSpansInTheViewLook)
{
    const int dpi = [] {
        HDC screen = GetDC(nullptr);
        int value = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        return value;
    }();
    const Look looks[] = {
        {"first-start look", GetSysColor(COLOR_WINDOWTEXT), RGB(0, 0, 255), GetSysColor(COLOR_WINDOW), "Courier New",
         -10, 0, 0, 0},
        {"own colours, bold italic font", RGB(0x20, 0x60, 0x20), RGB(0xC0, 0x10, 0x40), RGB(0xFF, 0xF0, 0xD0), "Arial",
         -16, FW_BOLD, 1, 0},
        {"link parsing off", RGB(0x30, 0x30, 0x90), RGB(0xC0, 0x10, 0x40), RGB(0xFF, 0xFF, 0xFF), "Courier New", -13,
         FW_NORMAL, 0, 1},
    };
    for (const Look& look : looks)
    for (const std::string& answer : {kLinkAnswer, LongLinkAnswer()}) {
        SCOPED_TRACE(std::string(look.name) + ", answer of " + std::to_string(answer.size()) + " bytes");
        SetLook(look);
        m_interNic.Play({{ServerStep::Send(answer)}});
        ASSERT_TRUE(AskAndWait("example.com"));

        // The view holds a carriage return and line feed as one line end.
        const std::string shown = AsShown(answer);
        EXPECT_EQ(shown, ViewText()) << "marking changes no text";
        EXPECT_EQ("Complete.", StatusText());
        EXPECT_EQ(ExpectedMarks(shown, !look.noLinkParsing), ActualMarks(look, shown.size()));

        // Every character, link or not, is in the view's font.
        const LONG twips = MulDiv(-look.height, 1440, dpi);
        for (long i = 0; i < static_cast<long>(shown.size()); ++i) {
            CHARFORMATA format = CharFormatAt(View(), i);
            SCOPED_TRACE("character " + std::to_string(i));
            ASSERT_STREQ(look.face, format.szFaceName);
            ASSERT_EQ(twips, format.yHeight);
            ASSERT_EQ(look.weight > FW_MEDIUM, (format.dwEffects & CFE_BOLD) != 0);
            ASSERT_EQ(look.italic != 0, (format.dwEffects & CFE_ITALIC) != 0);
        }
        // Setting the background answers the colour the view had.
        EXPECT_EQ(look.background, static_cast<COLORREF>(SendMessageA(View(), EM_SETBKGNDCOLOR, 0, look.background)));
    }
}

// A link clicked with the real mouse is asked at the server that gave the answer: the domain-name
// registry wants "!" before a handle, ARIN takes it as it is. Answers in any script show as their
// characters, their links marked on exactly the handle's characters, and copy as Unicode text.
TEST_F(AnswerView, ARealClickOnALinkAsksItsHandleWhereTheAnswerCameFrom)
{
    struct Case {
        const char* name;
        std::string question;
        std::string answer;
        std::string handle;
        int server;
        std::string asked;
        std::string text = "";  // the answer's characters in UTF-8, when they are not its bytes
    };
    const Case cases[] = {
        {"domain-name registry", "example.com", "Registrant: Example Holder (EXAMPLE-1)\nmore text\n", "EXAMPLE-1",
         kServerInterNic, "!EXAMPLE-1"},
        {"ARIN", "192.0.2.1", "NetRange: 192.0.2.0 - 192.0.2.255\nNetHandle: (NET-192-0-2-0-1)\n", "NET-192-0-2-0-1",
         kServerArin, "NET-192-0-2-0-1"},
        {"after CR LF line ends", "example.net", "Domain: EXAMPLE.ORG\r\nStatus: active\r\nTech: (TECH-CRLF-9)\r\n",
         "TECH-CRLF-9", kServerInterNic, "!TECH-CRLF-9"},
        {"UTF-8 in three scripts", "example.org", "org: Müller Straße\r\nperson: Анна Кузнецова\r\naddress: 東京都千代田区 (TY1-JP)\n",
         "TY1-JP", kServerInterNic, "!TY1-JP"},
        {"Latin-1 from APNIC", "203.0.113.1", "person: J\xFCrgen Wei\xDF (JW1-AP)\nNa\xEFve caf\xE9\n", "JW1-AP",
         kServerApnic, "JW1-AP", "person: Jürgen Weiß (JW1-AP)\nNaïve café\n"},
        {"Windows-1251 from a custom server at whois.kg", "example.kg", "person: \xC0\xED\xED\xE0 (AN1-KG)\n", "AN1-KG",
         kFirstCustomServer, "AN1-KG", "person: Анна (AN1-KG)\n"},
    };
    // The custom server, reached here on the scripted server that plays ARIN.
    m_dlg.m_dlgServers.m_servers = {{"Kyrgyz", "whois.kg", "43"}};
    m_dlg.RebuildServerCombo();
    g_hostRoutes["whois.kg"] = {"127.0.0.1", m_arin.Port()};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedWhoisServer& answering = c.server == kServerInterNic ? m_interNic : m_arin;
        ScriptedWhoisServer& other = c.server == kServerInterNic ? m_arin : m_interNic;
        answering.Play({{ServerStep::Send(c.answer)}});
        SendDlgItemMessageA(m_dlg.m_hWnd, IDC_SERVER, CB_SETCURSEL, static_cast<WPARAM>(c.server), 0);
        ASSERT_TRUE(AskAndWait(c.question));
        ASSERT_EQ(c.server, m_dlg.m_nLastServer);
        const std::string text = c.text.empty() ? c.answer : c.text;
        EXPECT_EQ(AsShown(text), ViewText());
        EXPECT_EQ(text, CopiedAll());
        const long link = static_cast<long>(RichEditWideText(View()).find(Utf8ToWide(c.handle)));
        for (long at = link - 2; at < link + static_cast<long>(c.handle.size()) + 2; ++at)
            EXPECT_EQ(at >= link && at < link + static_cast<long>(c.handle.size()), (CharFormatAt(View(), at).dwEffects & CFE_LINK) != 0) << at;
        const int answeringBefore = answering.Connections();
        const int otherBefore = other.Connections();
        answering.Play({{ServerStep::Send("handle record for " + c.handle + "\n")}});

        ToFront();
        ClickAt(CharScreenPoint(View(), link + 2));
        ASSERT_TRUE(PumpUntil([&] { return answering.Connections() > answeringBefore; }, 10000, m_dlg.m_hWnd))
            << "the click asked nothing";
        ASSERT_TRUE(WaitForEnd());
        EXPECT_EQ(c.asked + "\n", answering.Received().back());
        EXPECT_EQ(answeringBefore + 1, answering.Connections());
        EXPECT_EQ(otherBefore, other.Connections());
        EXPECT_EQ(c.asked, QuestionText());
        EXPECT_EQ("handle record for " + c.handle + "\n", ViewText());
        EXPECT_EQ(c.server, m_dlg.m_nLastServer);
        EXPECT_FALSE(m_dlg.m_bFromLink);
    }
    g_hostRoutes.erase("whois.kg");
}

TEST_F(AnswerView, AClickWhileARunIsGoingOnlyPutsTheQuestionInTheBox)
{
    const std::string answer = "Registrant: Example Holder (EXAMPLE-1)\n";
    m_interNic.Play({{ServerStep::Send(answer)}});
    ASSERT_TRUE(AskAndWait("example.com"));
    m_interNic.Play({{ServerStep::HoldOpen()}});
    Ask("other.example");
    ASSERT_TRUE(WaitForStatus("Waiting for data..."));

    ToFront();
    ClickAt(CharScreenPoint(View(), static_cast<long>(answer.find("EXAMPLE-1")) + 3));
    ASSERT_TRUE(PumpUntil([&] { return QuestionText() == "!EXAMPLE-1"; }, 10000, m_dlg.m_hWnd));
    // An "&Ask" posted by the click would be handled by now, as "&Stop".
    PumpFor(200, m_dlg.m_hWnd);
    EXPECT_TRUE(m_dlg.m_bRunning) << "the click must not stop the run";
    EXPECT_EQ("&Stop", ItemText(m_dlg.m_hWnd, IDOK));
    EXPECT_EQ(2, m_interNic.Connections());
    EXPECT_EQ(0, m_arin.Connections());
    EXPECT_EQ(answer, ViewText());
    EXPECT_TRUE(CharFormatAt(View(), static_cast<long>(answer.find("EXAMPLE-1"))).dwEffects & CFE_LINK)
        << "showing the new question leaves the answer and its links as they were";

    PostClick(m_dlg.m_hWnd, IDOK);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(2, m_interNic.Connections());
    EXPECT_EQ("other.example", QuestionText()) << "the stopped run's record holds the question it asked";
}

// The real mouse over a link: the view asks the dialog for the cursor with a link notification, and
// the dialog answers with its hand cursor and claims the message. (Wine's rich edit then puts up a
// hand of its own whatever the answer, so the dialog's answer is watched as it is given.)
TEST_F(AnswerView, TheMouseOverALinkGetsTheDialogsHandCursor)
{
    const std::string answer = "plain words here and (HAND-1234) there\n";
    m_interNic.Play({{ServerStep::Send(answer)}});
    ASSERT_TRUE(AskAndWait("example.com"));
    ToFront();

    struct Case {
        const char* name;
        long position;
        bool overLink;
    };
    const Case cases[] = {
        {"plain text", 2, false},
        {"a link", static_cast<long>(answer.find("HAND-1234")) + 3, true},
        {"after the link", static_cast<long>(answer.find("there")) + 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CursorAnswers answers;
        ASSERT_TRUE(MoveMouseTo(CharScreenPoint(View(), c.position)));
        // Real input arrives through the queue: pump until the view has asked, or a while for plain text.
        PumpUntil([&] { return !answers.Get().empty(); }, c.overLink ? 3000 : 300, m_dlg.m_hWnd);
        std::vector<CursorAnswer> got = answers.Get();
        if (!c.overLink) {
            EXPECT_TRUE(got.empty());
            continue;
        }
        ASSERT_FALSE(got.empty()) << "no link notification for the cursor";
        for (const CursorAnswer& a : got) {
            EXPECT_EQ(m_dlg.m_hLinkCursor, a.cursor);
            EXPECT_EQ(1, a.result);
            EXPECT_EQ("HAND-1234", answer.substr(static_cast<size_t>(a.range.cpMin),
                                                 static_cast<size_t>(a.range.cpMax - a.range.cpMin)));
        }
    }
    EXPECT_EQ(1, m_interNic.Connections()) << "hovering asks nothing";
    EXPECT_EQ("example.com", QuestionText());
}

TEST_F(AnswerView, TheLinkNotificationForTheCursorSetsTheHandAndClaimsTheMessage)
{
    const std::string answer = "(CURSOR-1)\n";
    m_interNic.Play({{ServerStep::Send(answer)}});
    ASSERT_TRUE(AskAndWait("example.com"));
    SetCursor(LoadCursor(nullptr, IDC_ARROW));

    ENLINK link{};
    link.nmhdr.hwndFrom = View();
    link.nmhdr.idFrom = IDC_ANSWER;
    link.nmhdr.code = EN_LINK;
    link.msg = WM_SETCURSOR;
    link.chrg = {1, 9};
    EXPECT_EQ(1, m_dlg.SendMessage(WM_NOTIFY, IDC_ANSWER, reinterpret_cast<LPARAM>(&link)));
    EXPECT_EQ(m_dlg.m_hLinkCursor, GetCursor());
    PumpFor(100, m_dlg.m_hWnd);
    EXPECT_EQ(1, m_interNic.Connections()) << "the cursor notification asks nothing";
    EXPECT_EQ("example.com", QuestionText());
}

// The right button's release in the view copies the selection, through the view's message filter.
TEST_F(AnswerView, ARealRightClickCopiesTheSelection)
{
    // The view holds each carriage return and line feed as one character.
    const std::string answer = "first line (FIRST-1)\r\nsecond line\r\nthird\r\n";
    struct Case {
        const char* name;
        long start, end;
        std::string expected;
    };
    const Case cases[] = {
        {"inside a line", 6, 10, "line"},
        {"a link", 12, 19, "FIRST-1"},
        {"across a line end", 11, 28, "(FIRST-1)\r\nsecond "},
        {"everything", 0, 39, answer},
    };
    m_interNic.Play({{ServerStep::Send(answer)}});
    ASSERT_TRUE(AskAndWait("example.com"));
    ToFront();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetClipboardText("before");
        CHARRANGE range{c.start, c.end};
        SendMessageA(View(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        ClickAt(CharScreenPoint(View(), 30), true);
        const std::string& expected = c.expected;
        EXPECT_TRUE(PumpUntil([&] { return ClipboardText() == expected; }, 3000, m_dlg.m_hWnd))
            << "clipboard holds \"" << ClipboardText() << "\"";
    }
    EXPECT_EQ(1, m_interNic.Connections()) << "a right click asks nothing";
}

TEST_F(AnswerView, OnlyTheRightButtonReleaseInTheFilterCopies)
{
    const std::string answer = "copy (THIS-PART) only\n";
    m_interNic.Play({{ServerStep::Send(answer)}});
    ASSERT_TRUE(AskAndWait("example.com"));
    struct Case {
        UINT message;
        bool copies;
    };
    const Case cases[] = {{WM_RBUTTONDOWN, false}, {WM_LBUTTONUP, false}, {WM_MOUSEMOVE, false}, {WM_RBUTTONUP, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        SetClipboardText("before");
        CHARRANGE range{6, 15};
        SendMessageA(View(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        MSGFILTER filter{};
        filter.nmhdr.hwndFrom = View();
        filter.nmhdr.idFrom = IDC_ANSWER;
        filter.nmhdr.code = EN_MSGFILTER;
        filter.msg = c.message;
        EXPECT_EQ(0, m_dlg.SendMessage(WM_NOTIFY, IDC_ANSWER, reinterpret_cast<LPARAM>(&filter)))
            << "the view goes on handling the message";
        PumpFor(20, m_dlg.m_hWnd);
        EXPECT_EQ(c.copies ? "THIS-PART" : "before", ClipboardText());
    }
}

TEST_F(AnswerView, DataPastesTheClipboardOverTheWholeQuestion)
{
    struct Case {
        const char* name;
        bool clipboardHasText;
        std::string clipboard;
        std::string question;
    };
    const Case cases[] = {
        {"a domain name", true, "example.org", "example.org"},
        {"blanks kept", true, "  AS64500 ", "  AS64500 "},
        {"a handle", true, "!EXAMPLE-1", "!EXAMPLE-1"},
        {"empty clipboard", false, "", "old question"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetDlgItemTextA(m_dlg.m_hWnd, IDC_QUESTION, "old question");
        // The caret in the middle: the paste replaces all of the box, not just what follows it.
        SendDlgItemMessageA(m_dlg.m_hWnd, IDC_QUESTION, EM_SETSEL, 4, 4);
        if (c.clipboardHasText)
            SetClipboardText(c.clipboard);
        else
            EmptyTheClipboard();
        PostClick(m_dlg.m_hWnd, IDC_DATA);
        PumpFor(50, m_dlg.m_hWnd);
        EXPECT_EQ(c.question, QuestionText());
    }
    EXPECT_EQ(0, m_interNic.Connections() + m_arin.Connections()) << "pasting asks nothing";
}
}  // namespace
