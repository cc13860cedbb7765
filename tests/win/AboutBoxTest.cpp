// The About box and Quick help, opened from the main window and driven from inside their modal
// loops with real mouse input and keys: opening and closing every way, the links' colours on screen,
// the shell call each link makes, the hand cursor, the help text, and no font left over.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Afx.h"
#include <shellapi.h>

#include "app/WhoisDlg.h"
#include "framework/Font.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "support/DialogDriver.h"
#include "support/Input.h"
#include "support/ViewDriver.h"
#include "ui/AboutDlg.h"

namespace {
const COLORREF kBlue = 0xFF0000;
const COLORREF kCyan = 0xFFFF00;

struct ShellCall {
    HWND owner;
    std::string operation, file;
    bool parameters, directory;
    INT show;
};
std::vector<ShellCall> g_shellCalls;

HINSTANCE WINAPI RecordShellCall(HWND owner, const char* operation, const char* file, const char* parameters,
                                 const char* directory, INT show)
{
    g_shellCalls.push_back({owner, operation ? operation : "", file ? file : "", parameters != nullptr,
                            directory != nullptr, show});
    return reinterpret_cast<HINSTANCE>(42);
}

// The dialogs a test opens, found by caption while they are on screen.
const char* const kBoxes[] = {"About Whois", "Quick help"};

// Pixels of one colour in a window, as it is on screen.
int CountPixels(HWND window, COLORREF colour)
{
    RECT rect;
    GetClientRect(window, &rect);
    HDC dc = GetDC(window);
    int count = 0;
    for (int y = 0; y < rect.bottom; ++y)
        for (int x = 0; x < rect.right; ++x) count += GetPixel(dc, x, y) == colour;
    ReleaseDC(window, dc);
    return count;
}

class AboutBox : public testing::Test {
public:
    void SetUp() override
    {
        ASSERT_TRUE(m_dlg.Create());
        SetForegroundWindow(m_dlg.m_hWnd);
        g_shellCalls.clear();
        m_shellExecute = g_pfnShellExecute;
        g_pfnShellExecute = &RecordShellCall;
    }
    void TearDown() override
    {
        g_pfnShellExecute = m_shellExecute;
        if (m_dlg.m_hWnd) m_dlg.DestroyWindow();
    }

    // Each returns when the box has closed.
    void OpenByButton() { m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ABOUT, BN_CLICKED)); }
    void OpenBySystemMenu() { m_dlg.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX, 0); }

    // Opens the About box and works through the steps, each called until it returns true, from
    // inside the modal loops; returns what went wrong, or nothing.
    std::string Run(void (AboutBox::*open)(), const std::vector<std::function<bool()>>& steps)
    {
        StepsRun run = RunWithSteps([&] { (this->*open)(); }, steps, [] {
            for (const char* caption : kBoxes)
                if (HWND box = ShownWindow(caption)) PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
        });
        if (run.done < steps.size()) return "stuck at step " + std::to_string(run.done);
        if (run.timedOut) return "a box stayed open";
        for (const char* caption : kBoxes)
            if (ShownWindow(caption)) return std::string(caption) + " is still on screen";
        return "";
    }
    // A step that finds the About box once it is up.
    std::function<bool()> FindAbout() { return [this] { return (m_about = ShownWindow("About Whois")) != nullptr; }; }
    std::function<bool()> PressKey(WPARAM key) { return [key] { return PostMessageA(GetFocus(), WM_KEYDOWN, key, 0); }; }

    CWhoisDlg m_dlg;
    decltype(g_pfnShellExecute) m_shellExecute = nullptr;
    HWND m_about = nullptr;
};

TEST_F(AboutBox, OpensFromTheButtonAndTheSystemMenuAndClosesEveryWay)
{
    struct Case {
        const char* name;
        void (AboutBox::*open)();
        std::function<void(HWND box)> close;
    };
    const Case cases[] = {
        {"Abou&t..., Enter", &AboutBox::OpenByButton, [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0); }},
        {"system menu, Escape", &AboutBox::OpenBySystemMenu,
         [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"Abou&t..., OK clicked", &AboutBox::OpenByButton,
         [](HWND box) { ClickAt(ScreenCenter(GetDlgItem(box, IDCANCEL))); }},
        {"system menu, close box", &AboutBox::OpenBySystemMenu,
         [](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    const int fonts = CFont::LiveCount();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND owner = nullptr;
        bool okFocused = false;
        LRESULT defaultId = 0;
        BOOL mainEnabled = TRUE;
        std::string product;
        EXPECT_EQ("", Run(c.open, {FindAbout(), [&] {
            owner = GetWindow(m_about, GW_OWNER);
            mainEnabled = IsWindowEnabled(m_dlg.m_hWnd);
            okFocused = GetFocus() == GetDlgItem(m_about, IDCANCEL);
            defaultId = SendMessageA(m_about, DM_GETDEFID, 0, 0);
            product = WindowText(GetWindow(GetDlgItem(m_about, IDCANCEL), GW_HWNDNEXT));
            c.close(m_about);
            return true;
        }}));
        EXPECT_EQ(m_dlg.m_hWnd, owner);
        EXPECT_FALSE(mainEnabled) << "the main window waits while the box is open";
        EXPECT_TRUE(okFocused) << "\"OK\" has the focus";
        EXPECT_EQ(MAKELRESULT(IDCANCEL, DC_HASDEFID), defaultId);
        EXPECT_EQ("Tarquelin Whois version 0.3.2", product);
        EXPECT_FALSE(IsWindow(m_about));
        EXPECT_TRUE(IsWindowEnabled(m_dlg.m_hWnd));
    }
    EXPECT_TRUE(g_shellCalls.empty());
    EXPECT_EQ(fonts, CFont::LiveCount());
}

TEST_F(AboutBox, ALinkDrawsCyanWhilePressedAndOpensItsAddressThroughTheShell)
{
    struct Case {
        int id;
        const char* file;
    };
    const Case cases[] = {
        {IDC_MAIL_LINK, "mailto:feedback@tarquelin.example"},
        {IDC_WEB_LINK, "http://www.tarquelin.example/whois/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        g_shellCalls.clear();
        HWND link = nullptr;
        bool stayedOpen = false;
        auto shows = [&](COLORREF present, COLORREF absent) {
            return CountPixels(link, present) > 0 && CountPixels(link, absent) == 0;
        };
        EXPECT_EQ("", Run(&AboutBox::OpenByButton, {
            FindAbout(),
            [&] { link = GetDlgItem(m_about, c.id); return shows(kBlue, kCyan); },
            [&] { MoveMouseTo(ScreenCenter(link)); PressMouse(); return true; },
            [&] { return shows(kCyan, kBlue); },
            [&] {
                EXPECT_TRUE(g_shellCalls.empty()) << "nothing opens before the button is released";
                ReleaseMouse();
                return true;
            },
            [&] { return g_shellCalls.size() == 1 && shows(kBlue, kCyan); },
            [&] { stayedOpen = IsWindowVisible(m_about); return true; },
            PressKey(VK_ESCAPE),
        }));
        EXPECT_TRUE(stayedOpen);
        ASSERT_EQ(1u, g_shellCalls.size());
        const ShellCall& call = g_shellCalls[0];
        EXPECT_EQ(nullptr, call.owner);
        EXPECT_EQ("open", call.operation);
        EXPECT_EQ(c.file, call.file);
        EXPECT_FALSE(call.parameters);
        EXPECT_FALSE(call.directory);
        EXPECT_EQ(SW_SHOWNORMAL, call.show) << "the window that opens must be seen";
    }
}

TEST_F(AboutBox, TheHandCursorShowsOverTheTwoLinksOnly)
{
    struct Case {
        const char* name;
        int id;
        int dx;  // pixels right of the control's centre
        bool hand;
    };
    const Case cases[] = {
        {"e-mail link", IDC_MAIL_LINK, 0, true},       {"OK", IDCANCEL, 0, false},
        {"web link", IDC_WEB_LINK, 0, true},           {"the label left of the e-mail link", IDC_MAIL_LINK, -80, false},
        {"web link's left end", IDC_WEB_LINK, -80, true}, {"the box right of the web link", IDC_WEB_LINK, 110, false},
    };
    const HCURSOR hand = AfxGetApp()->LoadCursor(IDC_LINK_HAND);
    const HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
    std::vector<std::function<bool()>> steps = {FindAbout()};
    std::vector<HCURSOR> seen(std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        steps.push_back([&, i] {
            const Case& c = cases[i];
            HWND target = GetDlgItem(m_about, c.id);
            POINT at = ScreenCenter(target);
            at.x += c.dx;
            MoveMouseTo(at);
            PumpUntil([&] { return GetCursor() == (c.hand ? hand : arrow); }, 1500);
            seen[i] = GetCursor();
            return true;
        });
    }
    steps.push_back(PressKey(VK_ESCAPE));
    EXPECT_EQ("", Run(&AboutBox::OpenByButton, steps));
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].hand ? hand : arrow, seen[i]) << cases[i].name;
}

TEST_F(AboutBox, QuickHelpOpensOverTheBoxWithItsTextAndEnterClosesIt)
{
    const char* const lines[] = {
        " This program is made for searching the data in the whois databases.",
        "With it's help you can find all the info about an IP address, network or domain.",
        "In automatic mode ir can recognize and search the databases for an IP address or domain.",
        "Please note that domain means \"example.com\", not \"www.example.com\".",
        "You can also select the particular server and ask it whatever you want.",
        "Ask the server for HELP keyword to get the extended search rules.",
        "",
        "All the data you can recieve from server may be saved to text file (button at right top).",
        "Whois's window is resizable and answer view may be customized (Options button).",
        "Right-click on the window copies the selected data to the clipboard.",
        "Button \"Data >\" copies the clipboard contents to the question line.",
        "",
        "Visit http://www.tarquelin.example/whois/ for more info and updates.",
        "Comments, questions and suggestions, as well as bug reports are greatly appreciated and",
        "must be sent to feedback@tarquelin.example",
    };
    std::string expected;
    for (const char* line : lines) expected += std::string(line) + "\r\n";

    HWND help = nullptr, owner = nullptr;
    bool doneFocused = false;
    BOOL aboutEnabled = TRUE, aboutEnabledAfter = FALSE;
    LRESULT defaultId = 0, lineCount = 0;
    std::string text, textAfterTyping, copied;
    EmptyTheClipboard();
    EXPECT_EQ("", Run(&AboutBox::OpenByButton, {
        FindAbout(),
        [&] { ClickAt(ScreenCenter(GetDlgItem(m_about, IDC_QUICK_HELP))); return true; },
        [&] { return (help = ShownWindow("Quick help")) != nullptr; },
        [&] {
            HWND edit = GetDlgItem(help, IDC_HELP_TEXT);
            owner = GetWindow(help, GW_OWNER);
            aboutEnabled = IsWindowEnabled(m_about);
            HWND focus = GetFocus();
            doneFocused = focus == GetDlgItem(help, IDCANCEL);
            defaultId = SendMessageA(help, DM_GETDEFID, 0, 0);
            text = WindowText(edit);
            lineCount = SendMessageA(edit, EM_GETLINECOUNT, 0, 0);
            SendMessageA(edit, WM_CHAR, 'x', 0);
            textAfterTyping = WindowText(edit);
            SendMessageA(edit, EM_SETSEL, 1, 5);
            SendMessageA(edit, WM_COPY, 0, 0);
            copied = ClipboardText();
            return true;
        },
        PressKey(VK_RETURN),
        [&] { return !IsWindow(help); },
        [&] { aboutEnabledAfter = IsWindowEnabled(m_about) && IsWindowVisible(m_about); return true; },
        PressKey(VK_ESCAPE),
    }));
    EXPECT_EQ(expected, text);
    EXPECT_EQ(16, lineCount) << "no line wraps; the text ends with a line break";
    EXPECT_EQ(expected, textAfterTyping);
    EXPECT_EQ("This", copied);
    EXPECT_EQ(m_about, owner);
    EXPECT_FALSE(aboutEnabled);
    EXPECT_TRUE(doneFocused) << "\"Done\" has the focus";
    EXPECT_EQ(MAKELRESULT(IDCANCEL, DC_HASDEFID), defaultId);
    EXPECT_TRUE(aboutEnabledAfter) << "closing Quick help returns to the About box";
}

TEST_F(AboutBox, NoFontIsLeftOverAfterAHundredOpenings)
{
    const int fonts = CFont::LiveCount();
    LOGFONTA font{};
    for (int i = 0; i < 100; ++i) {
        SCOPED_TRACE(i);
        HFONT mailFont = nullptr, webFont = nullptr;
        int fontsWhileOpen = 0;
        ASSERT_EQ("", Run(&AboutBox::OpenByButton, {FindAbout(), [&] {
            mailFont = reinterpret_cast<HFONT>(SendDlgItemMessageA(m_about, IDC_MAIL_LINK, WM_GETFONT, 0, 0));
            webFont = reinterpret_cast<HFONT>(SendDlgItemMessageA(m_about, IDC_WEB_LINK, WM_GETFONT, 0, 0));
            fontsWhileOpen = CFont::LiveCount();
            GetObjectA(mailFont, sizeof font, &font);
            return true;
        }, PressKey(VK_ESCAPE)}));
        ASSERT_NE(nullptr, mailFont);
        EXPECT_EQ(mailFont, webFont);
        EXPECT_EQ(fonts + 1, fontsWhileOpen);
        EXPECT_EQ(0u, GetObjectType(mailFont)) << "the link font is deleted with the box";
        EXPECT_EQ(fonts, CFont::LiveCount());
    }
    EXPECT_EQ(8, font.lfHeight);
    EXPECT_EQ(5, font.lfWidth);
    EXPECT_TRUE(font.lfUnderline);
    EXPECT_STREQ("MS Sans Serif", font.lfFaceName);
}
}  // namespace
