// The Options dialog opened from the main window: the link switch taken only through OK, the INI
// export and import through the real file picker, and an export that cannot be written.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/WhoisDlg.h"
#include "res/resource.h"
#include "support/DialogDriver.h"
#include "support/ViewDriver.h"

namespace {
bool Ticked(HWND options)
{
    return SendDlgItemMessageA(options, IDC_NO_LINK_PARSING, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

class OptionsDialog : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dlg.Create()); }
    void TearDown() override
    {
        if (m_dlg.m_hWnd) m_dlg.DestroyWindow();
    }

    // Presses "&Options..." and works in the Options dialog while it is open.
    void InOptions(const std::function<void(HWND)>& work)
    {
        WhenShown act("Options", work);
        SendClick(m_dlg.m_hWnd, IDC_OPTIONS);
        EXPECT_TRUE(act.Ran());
    }

    // Presses an INI button and names `path` in the file picker that opens; returns what the
    // watcher saw (the picker and any message box).
    void PickFile(HWND options, int button, const std::string& path, std::vector<ModalWatcher::Box>* boxes = nullptr)
    {
        ModalWatcher picker(m_dlg.m_hWnd, path);
        picker.Ignore(options);
        SendClick(options, button);
        ASSERT_EQ(1u, picker.FileDialogs().size());
        EXPECT_EQ("whois.ini", picker.FileDialogs()[0].proposedName);
        EXPECT_EQ(std::vector<std::string>{"Configuration files (*.ini)"}, picker.FileDialogs()[0].filters);
        if (boxes) *boxes = picker.Boxes();
    }

    CWhoisDlg m_dlg;
};

TEST_F(OptionsDialog, TheLinkSwitchIsTakenOnlyThroughOkAndAnExportHasTheConfirmedOne)
{
    const std::string ini = TempPath("whois-options-test.ini");
    DeleteFileA(ini.c_str());
    InOptions([&](HWND options) {
        EXPECT_FALSE(Ticked(options));
        SendDlgItemMessageA(options, IDC_NO_LINK_PARSING, BM_SETCHECK, BST_CHECKED, 0);
        PickFile(options, IDC_SAVE_INI, ini);
        SendClick(options, IDCANCEL);
    });
    EXPECT_EQ(0, m_dlg.m_dlgOptions.bNoLinkParsing);
    EXPECT_EQ(0u, GetPrivateProfileIntA("Options", "No link parsing", 7, ini.c_str())) << "exported before OK";
    EXPECT_EQ(16711680u, GetPrivateProfileIntA("Options", "Link color", 7, ini.c_str()));

    const struct {
        bool tick;
        int button;
        int stored;
    } openings[] = {{false, IDCANCEL, 0}, {true, IDOK, 1}, {false, IDCANCEL, 1}};
    for (const auto& opening : openings) {
        InOptions([&](HWND options) {
            EXPECT_EQ(m_dlg.m_dlgOptions.bNoLinkParsing != 0, Ticked(options)) << "shows the switch as last confirmed";
            if (opening.tick) SendDlgItemMessageA(options, IDC_NO_LINK_PARSING, BM_SETCHECK, BST_CHECKED, 0);
            SendClick(options, opening.button);
        });
        EXPECT_EQ(opening.stored, m_dlg.m_dlgOptions.bNoLinkParsing);
    }

    // An import replaces everything: the exported file brings the switch back to 0.
    m_dlg.m_dlgServers.m_servers = {{"Gone", "gone.example", "43"}};
    m_dlg.RebuildServerCombo();
    InOptions([&](HWND options) {
        PickFile(options, IDC_LOAD_INI, ini);
        EXPECT_FALSE(Ticked(options)) << "the check box shows the imported switch";
        SendClick(options, IDCANCEL);
    });
    EXPECT_EQ(0, m_dlg.m_dlgOptions.bNoLinkParsing);
    EXPECT_TRUE(m_dlg.m_dlgServers.m_servers.empty());
    EXPECT_EQ(6, SendDlgItemMessageA(m_dlg.m_hWnd, IDC_SERVER, CB_GETCOUNT, 0, 0));
    DeleteFileA(ini.c_str());
}

TEST_F(OptionsDialog, ImportingAMissingFileSetsTheDefaultsAndAFailedExportIsReported)
{
    m_dlg.m_dlgOptions.crBackground = RGB(1, 1, 1);
    m_dlg.m_dlgOptions.bNoLinkParsing = 1;
    MoveWindow(m_dlg.m_hWnd, 10, 10, 600, 500, TRUE);
    const std::string unwritable = TempPath("no-such-folder\\whois.ini");
    std::vector<ModalWatcher::Box> boxes;
    InOptions([&](HWND options) {
        PickFile(options, IDC_LOAD_INI, TempPath("whois-no-such-file.ini"));
        EXPECT_FALSE(Ticked(options));
        PickFile(options, IDC_SAVE_INI, unwritable, &boxes);
        SendClick(options, IDOK);
    });
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), m_dlg.m_dlgOptions.crBackground);
    EXPECT_EQ(0, m_dlg.m_dlgOptions.bNoLinkParsing);
    RECT rect;
    GetWindowRect(m_dlg.m_hWnd, &rect);
    EXPECT_EQ(80, rect.left);
    EXPECT_EQ(521, rect.bottom);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("The settings could not be written to " + unwritable + ".", boxes[0].text);
}
}  // namespace

namespace {
// Picks a colour in the platform's colour picker as a user would: its custom colour fields.
void PickColour(HWND picker, COLORREF colour)
{
    const int kDefineCustom = 719, kRed = 706, kGreen = 707, kBlue = 708;
    SendClick(picker, kDefineCustom);
    SetDlgItemInt(picker, kRed, GetRValue(colour), FALSE);
    SetDlgItemInt(picker, kGreen, GetGValue(colour), FALSE);
    SetDlgItemInt(picker, kBlue, GetBValue(colour), FALSE);
    SendClick(picker, IDOK);
}

TEST_F(OptionsDialog, AChosenColourStaysAfterCancelAndACancelledPickerChangesNothing)
{
    m_dlg.m_dlgOptions.crBackground = RGB(255, 255, 255);
    m_dlg.m_dlgOptions.crText = RGB(0, 0, 0);
    InOptions([&](HWND options) {
        WhenShown pick("Color", [](HWND picker) { PickColour(picker, RGB(10, 200, 30)); });
        SendClick(options, IDC_BACKGROUND_COLOR);
        EXPECT_TRUE(pick.Ran());
        WhenShown cancel("Color", [](HWND picker) { SendClick(picker, IDCANCEL); });
        SendClick(options, IDC_TEXT_COLOR);
        EXPECT_TRUE(cancel.Ran());
        SendClick(options, IDCANCEL);
    });
    EXPECT_EQ(RGB(10, 200, 30), m_dlg.m_dlgOptions.crBackground);
    EXPECT_EQ(RGB(0, 0, 0), m_dlg.m_dlgOptions.crText);
    EXPECT_EQ(RGB(10, 200, 30), static_cast<COLORREF>(m_dlg.m_richAnswer.SendMessage(EM_SETBKGNDCOLOR, 0, RGB(10, 200, 30))))
        << "the view took the new background at once";
}
}  // namespace

namespace {
TEST_F(OptionsDialog, ASizeChosenInTheFontPickerIsKept)
{
    InOptions([&](HWND options) {
        WhenShown pick("Font", [](HWND picker) {
            // The size list, as a user picks from it.
            const int kSizeList = 1138;
            HWND sizes = GetDlgItem(picker, kSizeList);
            SendMessageA(sizes, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("20"));
            SendMessageA(picker, WM_COMMAND, MAKEWPARAM(kSizeList, CBN_SELCHANGE), reinterpret_cast<LPARAM>(sizes));
            SendClick(picker, IDOK);
        });
        SendClick(options, IDC_SELECT_FONT);
        EXPECT_TRUE(pick.Ran()) << "the font picker opened";
        SendClick(options, IDOK);
    });
    HDC screen = GetDC(nullptr);
    const LONG height = -MulDiv(20, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(height, m_dlg.m_dlgOptions.lfFont.lfHeight);
}
}  // namespace
