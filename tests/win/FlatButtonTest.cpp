// The flat button in a real dialog (the custom server list's five buttons): clicks from the real
// mouse and keyboard, the default button that follows the focus, and the pixels of every look.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "res/resource.h"
#include "support/DialogDriver.h"
#include "support/Input.h"
#include "ui/ServerListDlg.h"

namespace {
// The dialog records the clicks it is given instead of acting on them.
class RecordingDialog : public CServerListDlg {
public:
    struct Command {
        int id;
        int code;
        HWND from;
    };
    std::vector<Command> m_commands;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND && reinterpret_cast<HWND>(lParam) != nullptr &&
            GetParent(reinterpret_cast<HWND>(lParam)) == m_hWnd && HIWORD(wParam) == BN_CLICKED) {
            m_commands.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
            return 0;
        }
        return CServerListDlg::WindowProc(message, wParam, lParam);
    }
};

const POINT kAway = {2, 2};

class FlatButton : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dlg.Create());
        SetWindowPos(m_dlg.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
        SetForegroundWindow(m_dlg.m_hWnd);
        MoveMouseTo(kAway);
        Settle();
    }

    void TearDown() override
    {
        ReleaseMouse();
        if (m_dlg.m_hWnd) m_dlg.DestroyWindow();
    }

    HWND Button(int id) const { return m_dlg.GetDlgItem(id); }
    // Lets queued input, posted commands and the mouse-leave notice arrive, and paints.
    void Settle(int ms = 250)
    {
        PumpFor(ms, m_dlg.m_hWnd);
        UpdateWindow(m_dlg.m_hWnd);
    }
    LRESULT DefaultId() const { return LOWORD(m_dlg.SendMessage(DM_GETDEFID)); }

    RecordingDialog m_dlg;
};

TEST_F(FlatButton, OneClickGivesOneCommandAndOnlyAClickGivesOne)
{
    struct Case {
        const char* name;
        void (*act)(POINT button, POINT outside);
        size_t commands;
        int stateAfter;
    };
    const Case cases[] = {
        {"press and release inside",
         [](POINT on, POINT) { ClickAt(on); }, 1, CFlatButton::kHover},
        {"press inside, move out, release outside",
         [](POINT on, POINT off) { MoveMouseTo(on); PressMouse(); PumpFor(100); MoveMouseTo(off); ReleaseMouse(); },
         0, CFlatButton::kNormal},
        {"double click",
         [](POINT on, POINT) { ClickAt(on); PressMouse(); ReleaseMouse(); }, 2, CFlatButton::kHover},
        {"press on the background, move onto the button, release there",
         [](POINT on, POINT off) { MoveMouseTo(off); PressMouse(); PumpFor(100); MoveMouseTo(on); ReleaseMouse(); },
         1, CFlatButton::kHover},
    };
    HWND add = Button(IDC_SERVER_ADD);
    RECT rect;
    GetWindowRect(add, &rect);
    // A point on the dialog's background just below the button.
    const POINT below = {(rect.left + rect.right) / 2, rect.bottom + 4};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MoveMouseTo(kAway);
        Settle();
        m_dlg.m_commands.clear();
        c.act(ScreenCenter(add), below);
        Settle();
        ASSERT_EQ(c.commands, m_dlg.m_commands.size());
        for (const auto& command : m_dlg.m_commands) {
            EXPECT_EQ(IDC_SERVER_ADD, command.id);
            EXPECT_EQ(add, command.from);
        }
        EXPECT_EQ(c.stateAfter, m_dlg.m_btnAdd.m_nState);
    }
}

TEST_F(FlatButton, TheCommandArrivesAfterTheButtonsOwnMessage)
{
    HWND add = Button(IDC_SERVER_ADD);
    SendMessageA(add, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(add, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(m_dlg.m_commands.empty()) << "posted, not sent";
    EXPECT_EQ(add, GetFocus());
    EXPECT_EQ(nullptr, GetCapture());
    Settle();
    ASSERT_EQ(1u, m_dlg.m_commands.size());
    EXPECT_EQ(IDC_SERVER_ADD, m_dlg.m_commands[0].id);
    EXPECT_EQ(BN_CLICKED, m_dlg.m_commands[0].code);
}

TEST_F(FlatButton, TheFocusedButtonIsTheDefaultAndEnterTriggersIt)
{
    SetFocus(m_dlg.GetDlgItem(IDC_SERVER_ROWS));
    PressKey(VK_TAB);
    Settle();
    ASSERT_EQ(Button(IDC_SERVER_ADD), GetFocus());
    EXPECT_EQ(IDC_SERVER_ADD, DefaultId());
    PressKey(VK_RETURN);
    Settle();
    ASSERT_EQ(1u, m_dlg.m_commands.size());
    EXPECT_EQ(IDC_SERVER_ADD, m_dlg.m_commands[0].id);

    // From the last button the tab goes round to the label field: control 1 is the default again.
    SetFocus(Button(IDCANCEL));
    Settle();
    EXPECT_EQ(IDCANCEL, DefaultId());
    PressKey(VK_TAB);
    Settle();
    ASSERT_EQ(m_dlg.GetDlgItem(IDC_SERVER_LABEL), GetFocus());
    EXPECT_EQ(IDOK, DefaultId());
}

// The colours of a button as painted, read back from its window.
struct Look {
    COLORREF outer;      // the outline, top left
    COLORREF inner;      // one pixel inside it, top left
    COLORREF innerEnd;   // one pixel inside the outline, bottom right
    COLORREF outerEnd;   // the outline, bottom right
    COLORREF focusMark;  // where the focus mark's right side is, half way down
    RECT caption;        // where pixels of the caption colour are
};

RECT PixelsOf(HDC dc, const RECT& area, COLORREF colour)
{
    RECT found = {area.right, area.bottom, area.left, area.top};
    for (LONG y = area.top; y < area.bottom; ++y)
        for (LONG x = area.left; x < area.right; ++x)
            if (GetPixel(dc, x, y) == colour) {
                found.left = std::min(found.left, x);
                found.top = std::min(found.top, y);
                found.right = std::max(found.right, x + 1);
                found.bottom = std::max(found.bottom, y + 1);
            }
    return found;
}

Look LookOf(HWND button, COLORREF captionColour)
{
    RECT client;
    GetClientRect(button, &client);
    HDC dc = GetDC(button);
    const LONG w = client.right;
    const LONG h = client.bottom;
    const RECT inside = {4, 4, w - 4, h - 4};
    Look look{GetPixel(dc, 0, 0), GetPixel(dc, 1, 1), GetPixel(dc, w - 2, h - 2), GetPixel(dc, w - 1, h - 1),
              GetPixel(dc, w - 4, h / 2), PixelsOf(dc, inside, captionColour)};
    ReleaseDC(button, dc);
    return look;
}

bool HasPixels(const RECT& box) { return box.right > box.left; }

TEST_F(FlatButton, EveryLookIsPaintedAsTheUserSeesIt)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF light = GetSysColor(COLOR_3DLIGHT);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    ASSERT_NE(face, shadow);
    ASSERT_NE(face, highlight);
    ASSERT_NE(highlight, shadow);
    ASSERT_NE(dark, shadow);

    HWND add = Button(IDC_SERVER_ADD);
    HWND elsewhere = m_dlg.GetDlgItem(IDC_SERVER_LABEL);
    struct Case {
        const char* name;
        bool focused;
        bool hover;
        bool pressed;
        bool enabled;
        COLORREF outer, inner, innerEnd, outerEnd, focusMark;
    };
    const Case cases[] = {
        {"normal", false, false, false, true, shadow, highlight, shadow, highlight, face},
        {"normal, focused", true, false, false, true, shadow, highlight, shadow, highlight, shadow},
        {"hover", false, true, false, true, face, highlight, shadow, face, face},
        {"hover, focused", true, true, false, true, face, highlight, shadow, face, shadow},
        {"pressed, focused", true, false, true, true, shadow, dark, light, highlight, face},
        {"disabled, focused before", true, false, false, false, shadow, highlight, shadow, highlight, face},
    };
    RECT restingCaption{};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MoveMouseTo(kAway);
        Settle();
        SetFocus(c.focused ? add : elsewhere);
        if (c.hover) MoveMouseTo(ScreenCenter(add));
        if (c.pressed) SendMessageA(add, BM_SETSTATE, TRUE, 0);
        EnableWindow(add, c.enabled);
        Settle();
        const Look look = LookOf(add, c.enabled ? text : shadow);
        EXPECT_EQ(c.outer, look.outer);
        EXPECT_EQ(c.inner, look.inner);
        EXPECT_EQ(c.innerEnd, look.innerEnd);
        EXPECT_EQ(c.outerEnd, look.outerEnd);
        EXPECT_EQ(c.focusMark, look.focusMark);
        ASSERT_TRUE(HasPixels(look.caption)) << "the caption is drawn";
        if (!c.focused && !c.hover && c.enabled) restingCaption = look.caption;
        if (c.pressed) {
            // The caption moves one pixel right and one down while pressed.
            EXPECT_EQ(restingCaption.left + 1, look.caption.left);
            EXPECT_EQ(restingCaption.top + 1, look.caption.top);
        }
        if (!c.enabled) {
            // Embossed: a shadow-coloured caption over a highlight copy, nothing in the text colour.
            EXPECT_TRUE(HasPixels(LookOf(add, highlight).caption));
            EXPECT_FALSE(HasPixels(LookOf(add, text).caption));
        }
        SendMessageA(add, BM_SETSTATE, FALSE, 0);
        EnableWindow(add, TRUE);
    }
}

TEST_F(FlatButton, ANewCaptionOrEnabledStateRepaintsAtOnceAndAnImageIsNeverShown)
{
    HWND add = Button(IDC_SERVER_ADD);
    Settle();
    const RECT before = LookOf(add, GetSysColor(COLOR_BTNTEXT)).caption;
    struct Case {
        const char* name;
        void (*change)(HWND button);
    };
    const Case cases[] = {
        {"caption", [](HWND b) { SetWindowTextA(b, "Add more"); }},
        {"disabled", [](HWND b) { EnableWindow(b, FALSE); }},
        {"enabled", [](HWND b) { EnableWindow(b, TRUE); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ValidateRect(add, nullptr);
        c.change(add);
        EXPECT_TRUE(GetUpdateRect(add, nullptr, FALSE)) << "the button is to be painted again";
    }
    Settle();
    const RECT longer = LookOf(add, GetSysColor(COLOR_BTNTEXT)).caption;
    EXPECT_GT(longer.right - longer.left, before.right - before.left);

    SendMessageA(add, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(LoadIconA(nullptr, IDI_ERROR)));
    InvalidateRect(add, nullptr, TRUE);
    Settle();
    const RECT withImage = LookOf(add, GetSysColor(COLOR_BTNTEXT)).caption;
    EXPECT_TRUE(EqualRect(&longer, &withImage));
}
}  // namespace
