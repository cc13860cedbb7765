// The main dialog as it opens: its template and its live controls in tab order (ID, class, text,
// styles, place), the window's caption, styles and size, the scroll bars, the server combo's fixed
// items, the system menu's About entry, the icons, the initial states and the "< add more >" item.
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "app/WhoisDlg.h"
#include "res/resource.h"
#include "support/DialogDriver.h"

namespace {
// A rectangle given in dialog units, converted the way the dialog manager places a control: the
// corner and the size each converted on their own.
RECT DialogUnitsToPixels(HWND dialog, int x, int y, int width, int height)
{
    RECT corner{x, y, x, y};
    RECT size{0, 0, width, height};
    MapDialogRect(dialog, &corner);
    MapDialogRect(dialog, &size);
    return RECT{corner.left, corner.top, corner.left + size.right, corner.top + size.bottom};
}

class MainDialogTemplate : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dlg.Create()); }
    void TearDown() override
    {
        if (m_dlg.m_hWnd) m_dlg.DestroyWindow();
    }

    HWND Item(int id) { return m_dlg.GetDlgItem(id); }
    int ComboSelection() { return static_cast<int>(SendMessageA(Item(IDC_SERVER), CB_GETCURSEL, 0, 0)); }

    CWhoisDlg m_dlg;
};

const DWORD kButtonStyle = WS_TABSTOP | BS_FLAT;

// One control of the main dialog, in tab order.
struct ControlRow {
    int id;
    const char* className;
    const char* text;
    int x, y, width, height;  // dialog units; a combo's height is its dropped height
    DWORD typeMask;           // the style field that holds the control's kind, and its value
    DWORD type;
    DWORD styles;             // further style bits besides WS_CHILD | WS_VISIBLE
    DWORD exStyles;
    // Bits the platform's control moves out of its window style once created (an edit draws its
    // border itself, a combo hands its scroll bar to its list): checked in the template and by
    // their effect, not in the live style.
    DWORD movedByControl;
};

const ControlRow kControls[] = {
    {IDC_QUESTION, "EDIT", "", 33, 1, 178, 13, 0, 0, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0, WS_BORDER},
    {IDC_SERVER, "COMBOBOX", "", 212, 1, 56, 176, 0x3, CBS_DROPDOWNLIST, WS_VSCROLL | WS_TABSTOP, 0, WS_VSCROLL},
    {IDOK, "BUTTON", "&Ask", 313, 1, 42, 13, BS_TYPEMASK, BS_OWNERDRAW, kButtonStyle, 0, 0},
    {IDC_SAVE, "BUTTON", "&Save...", 357, 1, 42, 13, BS_TYPEMASK, BS_OWNERDRAW, kButtonStyle, 0, 0},
    {IDC_ANSWER, "RichEdit20W", "", 1, 15, 398, 262, 0, 0,
     ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_READONLY | ES_DISABLENOSCROLL | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
     WS_EX_STATICEDGE, 0},
    {IDC_PREV, "BUTTON", "<", 268, 1, 22, 13, BS_TYPEMASK, BS_OWNERDRAW, kButtonStyle | WS_DISABLED, 0, 0},
    {IDC_NEXT, "BUTTON", ">", 290, 1, 22, 13, BS_TYPEMASK, BS_OWNERDRAW, kButtonStyle | WS_DISABLED, 0, 0},
    {IDC_STATUS, "STATIC", "Idle", 2, 278, 316, 11, SS_TYPEMASK, SS_LEFTNOWORDWRAP, SS_SUNKEN | WS_GROUP, 0, 0},
    {IDC_DATA, "BUTTON", "&Data >", 2, 1, 31, 13, BS_TYPEMASK, BS_OWNERDRAW, kButtonStyle | BS_RIGHT, 0, 0},
    {IDC_OPTIONS, "BUTTON", "&Options...", 319, 278, 42, 11, BS_TYPEMASK, BS_OWNERDRAW, kButtonStyle, 0, 0},
    {IDC_ABOUT, "BUTTON", "Abou&t...", 361, 278, 38, 11, BS_TYPEMASK, BS_OWNERDRAW, kButtonStyle, 0, 0},
};

// The main dialog's template as stored in the program (an extended dialog template).
struct TemplateItem {
    DWORD style, exStyle;
    int x, y, width, height;
    DWORD id;
    std::string className, text;
};
struct DialogTemplate {
    DWORD style = 0;
    int width = 0, height = 0;
    std::string caption;
    std::vector<TemplateItem> items;
};

class TemplateReader {
public:
    explicit TemplateReader(const BYTE* data) : m_p(data) {}
    WORD Word() { WORD v; memcpy(&v, m_p, 2); m_p += 2; return v; }
    DWORD Dword() { DWORD v; memcpy(&v, m_p, 4); m_p += 4; return v; }
    int Short() { return static_cast<short>(Word()); }
    // A name or an ordinal; the standard control ordinals are given as their class names.
    std::string NameOrOrdinal()
    {
        WORD first = Word();
        if (first == 0xFFFF) {
            static const char* const kOrdinals[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
            WORD ordinal = Word();
            return ordinal >= 0x80 && ordinal <= 0x85 ? kOrdinals[ordinal - 0x80] : "#" + std::to_string(ordinal);
        }
        std::wstring wide;
        for (WORD c = first; c; c = Word()) wide += static_cast<wchar_t>(c);
        return Narrow(wide);
    }
    void AlignDword()
    {
        while (reinterpret_cast<UINT_PTR>(m_p) % 4) ++m_p;
    }
    void Skip(size_t bytes) { m_p += bytes; }

private:
    static std::string Narrow(const std::wstring& wide)
    {
        if (wide.empty()) return "";
        const int length = static_cast<int>(wide.size());
        int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
        std::string text(static_cast<size_t>(bytes), '\0');
        WideCharToMultiByte(CP_ACP, 0, wide.data(), length, &text[0], bytes, nullptr, nullptr);
        return text;
    }
    const BYTE* m_p;
};

bool ReadMainTemplate(DialogTemplate* result)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(IDD_WHOIS_DIALOG), MAKEINTRESOURCEA(5));  // RT_DIALOG
    if (!info) return false;
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(module, info)));
    if (!data) return false;
    TemplateReader in(data);
    if (in.Word() != 1 || in.Word() != 0xFFFF) return false;  // version 1, extended template
    in.Dword();                                                 // help ID
    in.Dword();                                                 // extended style
    result->style = in.Dword();
    const WORD count = in.Word();
    in.Short();
    in.Short();
    result->width = in.Short();
    result->height = in.Short();
    in.NameOrOrdinal();  // menu
    in.NameOrOrdinal();  // window class
    result->caption = in.NameOrOrdinal();
    if (result->style & DS_SETFONT) {
        in.Skip(6);  // point size, weight, italic, character set
        in.NameOrOrdinal();
    }
    for (WORD i = 0; i < count; ++i) {
        in.AlignDword();
        TemplateItem item;
        in.Dword();  // help ID
        item.exStyle = in.Dword();
        item.style = in.Dword();
        item.x = in.Short();
        item.y = in.Short();
        item.width = in.Short();
        item.height = in.Short();
        item.id = in.Dword();
        item.className = in.NameOrOrdinal();
        item.text = in.NameOrOrdinal();
        in.Skip(in.Word());  // creation data
        result->items.push_back(item);
    }
    return true;
}

TEST_F(MainDialogTemplate, TheTemplateDescribesEachControlExactly)
{
    DialogTemplate dialog;
    ASSERT_TRUE(ReadMainTemplate(&dialog));
    EXPECT_EQ("Tarquelin whois", dialog.caption);
    EXPECT_EQ(400, dialog.width);
    EXPECT_EQ(290, dialog.height);
    const DWORD dialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    EXPECT_EQ(dialogStyle, dialog.style & dialogStyle);
    ASSERT_EQ(std::size(kControls), dialog.items.size());
    for (size_t i = 0; i < dialog.items.size(); ++i) {
        const ControlRow& row = kControls[i];
        const TemplateItem& item = dialog.items[i];
        SCOPED_TRACE(row.id);
        EXPECT_EQ(static_cast<DWORD>(row.id), item.id);
        EXPECT_EQ(0, _stricmp(row.className, item.className.c_str())) << item.className;
        EXPECT_EQ(row.text, item.text);
        EXPECT_EQ(row.x, item.x);
        EXPECT_EQ(row.y, item.y);
        EXPECT_EQ(row.width, item.width);
        EXPECT_EQ(row.height, item.height);
        EXPECT_EQ(WS_CHILD | WS_VISIBLE | row.type | row.styles, item.style) << std::hex << "style " << item.style;
        EXPECT_EQ(row.exStyles, item.exStyle) << std::hex << "extended style " << item.exStyle;
    }
}

TEST_F(MainDialogTemplate, ControlsInTabOrder)
{
    // The window opens at its stored place; back at the template's size, every control stands where
    // the template puts it.
    RECT frame = DialogUnitsToPixels(m_dlg.m_hWnd, 0, 0, 400, 290);
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(m_dlg.m_hWnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(m_dlg.m_hWnd, GWL_EXSTYLE)));
    RECT now;
    GetWindowRect(m_dlg.m_hWnd, &now);
    SetWindowPos(m_dlg.m_hWnd, nullptr, now.left, now.top, frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER);
    HWND child = GetWindow(m_dlg.m_hWnd, GW_CHILD);
    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(row.id);
        ASSERT_NE(nullptr, child) << "fewer controls than expected";
        EXPECT_EQ(row.id, GetDlgCtrlID(child));
        EXPECT_EQ(0, _stricmp(row.className, ClassOf(child).c_str())) << ClassOf(child);
        // A drop-down list shows its selected item as its text.
        EXPECT_EQ(row.id == IDC_SERVER ? std::string("Automatic") : row.text, WindowText(child));
        const DWORD style = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
        const DWORD wanted = (WS_CHILD | WS_VISIBLE | row.styles) & ~row.movedByControl;
        EXPECT_EQ(wanted, style & wanted) << std::hex << "style " << style << ", missing " << (wanted & ~style);
        EXPECT_EQ(row.type, style & row.typeMask) << std::hex << "style " << style;
        const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(child, GWL_EXSTYLE));
        EXPECT_EQ(row.exStyles, exStyle & row.exStyles) << std::hex << "extended style " << exStyle;

        RECT expected = DialogUnitsToPixels(m_dlg.m_hWnd, row.x, row.y, row.width, row.height);
        RECT actual;
        GetWindowRect(child, &actual);
        MapWindowPoints(nullptr, m_dlg.m_hWnd, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(expected.left, actual.left);
        EXPECT_EQ(expected.top, actual.top);
        EXPECT_EQ(expected.right - expected.left, actual.right - actual.left);
        if (row.id != IDC_SERVER) {
            EXPECT_EQ(expected.bottom - expected.top, actual.bottom - actual.top);
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(nullptr, child) << "more controls than expected: " << GetDlgCtrlID(child);
}

TEST_F(MainDialogTemplate, ScrollBarsAreThereWhenNeeded)
{
    // A server list longer than the dropped list brings up its scroll bar.
    for (int i = 0; i < 40; ++i) m_dlg.m_cmbServer.AddString(("whois" + std::to_string(i) + ".example").c_str());
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof combo;
    ASSERT_TRUE(GetComboBoxInfo(Item(IDC_SERVER), &combo));
    EXPECT_TRUE(GetWindowLongA(combo.hwndList, GWL_STYLE) & WS_VSCROLL);

    // An answer longer and wider than the view brings up both scroll bars.
    std::string answer;
    for (int line = 0; line < 200; ++line)
        answer += "line " + std::to_string(line) + ": " + std::string(400, 'w') + "\n";
    m_dlg.m_richAnswer.SetWindowText(answer.c_str());
    const LONG style = GetWindowLongA(Item(IDC_ANSWER), GWL_STYLE);
    EXPECT_TRUE(style & WS_VSCROLL) << std::hex << style;
    EXPECT_TRUE(style & WS_HSCROLL) << std::hex << style;
}

TEST_F(MainDialogTemplate, WindowCaptionStylesAndSize)
{
    EXPECT_EQ("Tarquelin whois", WindowText(m_dlg.m_hWnd));
    const DWORD wanted = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    const DWORD style = static_cast<DWORD>(GetWindowLongA(m_dlg.m_hWnd, GWL_STYLE));
    EXPECT_EQ(wanted, style & wanted) << std::hex << "style " << style;
    // The template's size; the window itself opens at the stored (or default) place.
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(IDD_WHOIS_DIALOG), MAKEINTRESOURCEA(5));
    ASSERT_NE(nullptr, info);
    const auto* header = static_cast<const BYTE*>(LockResource(LoadResource(module, info)));
    WORD size[2];
    memcpy(size, header + 22, sizeof size);  // cx and cy of the extended template's header
    EXPECT_EQ(400, size[0]);
    EXPECT_EQ(290, size[1]);
}

TEST_F(MainDialogTemplate, ServerComboHoldsTheSixFixedItems)
{
    const std::string addMore = "\x97< add more >" + std::string(16, '\x97');
    const std::vector<std::string> expected = {"Automatic", "Arin", "RIPE", "ApNic", "InterNic", addMore};
    HWND combo = Item(IDC_SERVER);
    std::vector<std::string> items;
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LRESULT size = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        std::string text(static_cast<size_t>(size > 0 ? size : 0) + 1, '\0');
        LRESULT length = SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(length > 0 ? static_cast<size_t>(length) : 0);
        items.push_back(text);
    }
    EXPECT_EQ(expected, items);
    EXPECT_EQ(0, ComboSelection());
}

TEST_F(MainDialogTemplate, SystemMenuEndsWithAbout)
{
    HMENU menu = GetSystemMenu(m_dlg.m_hWnd, FALSE);
    ASSERT_NE(nullptr, menu);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_TRUE(GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(static_cast<UINT>(IDM_ABOUTBOX), GetMenuItemID(menu, count - 1));
    EXPECT_EQ(16u, GetMenuItemID(menu, count - 1));
    char text[64] = {};
    GetMenuStringA(menu, static_cast<UINT>(count - 1), text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("&About Whois...", text);
}

TEST_F(MainDialogTemplate, BigAndSmallIconsAreSet)
{
    HICON big = reinterpret_cast<HICON>(m_dlg.SendMessage(WM_GETICON, ICON_BIG));
    HICON smallIcon = reinterpret_cast<HICON>(m_dlg.SendMessage(WM_GETICON, ICON_SMALL));
    ASSERT_NE(nullptr, big);
    ASSERT_NE(nullptr, smallIcon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(smallIcon, &info));
    EXPECT_TRUE(info.fIcon);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);

    // The icon resource has an image of its own for the small size.
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(IDR_MAINFRAME), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_NE(nullptr, group);
    auto* directory = static_cast<BYTE*>(LockResource(LoadResource(module, group)));
    int imageId = LookupIconIdFromDirectoryEx(directory, TRUE, 16, 16, LR_DEFAULTCOLOR);
    ASSERT_NE(0, imageId);
    HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(imageId), MAKEINTRESOURCEA(3));  // RT_ICON
    ASSERT_NE(nullptr, image);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, image)));
    ASSERT_NE(nullptr, header);
    EXPECT_EQ(16, header->biWidth);
    EXPECT_EQ(32, header->biHeight) << "image and mask, 16 rows each";
}

TEST_F(MainDialogTemplate, InitialStates)
{
    EXPECT_EQ("Idle", ItemText(m_dlg.m_hWnd, IDC_STATUS));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_PREV)));
    EXPECT_FALSE(IsWindowEnabled(Item(IDC_NEXT)));
    EXPECT_TRUE(IsWindowEnabled(Item(IDOK)));
    EXPECT_TRUE(IsWindowEnabled(Item(IDC_QUESTION)));
    EXPECT_EQ("", m_dlg.m_richAnswer.GetWindowText().Str());
    EXPECT_EQ(0, m_dlg.m_nServerChoice);
}

TEST_F(MainDialogTemplate, ChoosingAddMoreReturnsTheComboToAutomatic)
{
    struct Case {
        int chosen;
        int selection;
        int choice;
    };
    const Case cases[] = {{5, 0, 0}, {2, 2, 2}, {5, 0, 0}, {4, 4, 4}, {1, 1, 1}, {0, 0, 0}};
    HWND combo = Item(IDC_SERVER);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        // "< add more >" opens the custom server list; it is closed at once.
        WhenShown cancel("Custom server list", [](HWND list) { PostMessageA(list, WM_COMMAND, IDCANCEL, 0); });
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(c.chosen), 0);
        m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SERVER, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        EXPECT_EQ(c.chosen == kServerAddMore, cancel.Ran());
        EXPECT_EQ(c.selection, ComboSelection());
        EXPECT_EQ(c.choice, m_dlg.m_nServerChoice);
        EXPECT_EQ(6, SendMessageA(combo, CB_GETCOUNT, 0, 0));
    }
}
}  // namespace
