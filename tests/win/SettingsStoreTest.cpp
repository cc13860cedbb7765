// The settings store through the real main dialog: a fresh registry, what the close box writes and
// Escape does not, a restart, stored data of the wrong shape, the window's place, and INI files.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/WhoisDlg.h"
#include "res/resource.h"
#include "support/DialogDriver.h"
#include "support/ProgramRun.h"
#include "support/Registry.h"
#include "text/Utf8.h"

namespace {
using Texts = std::vector<std::string>;

LOGFONTA DefaultFont()
{
    LOGFONTA font{};
    font.lfHeight = -10;
    lstrcpynA(font.lfFaceName, "Courier New", LF_FACESIZE);
    return font;
}

bool SameFont(const LOGFONTA& a, const LOGFONTA& b)
{
    return memcmp(&a, &b, offsetof(LOGFONTA, lfFaceName)) == 0 && strcmp(a.lfFaceName, b.lfFaceName) == 0;
}

RECT WindowRect(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

std::string RectText(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

class SettingsStore : public testing::Test {
protected:
    // A main dialog as the program starts it: the settings load while it initialises.
    CWhoisDlg* Start()
    {
        m_dialogs.push_back(std::make_unique<CWhoisDlg>());
        EXPECT_TRUE(m_dialogs.back()->Create());
        return m_dialogs.back().get();
    }

    void TearDown() override
    {
        for (auto& dlg : m_dialogs)
            if (dlg->m_hWnd) dlg->DestroyWindow();
    }
    // The close box: the settings are saved, then the window ends.
    static void CloseBox(CWhoisDlg& dlg)
    {
        dlg.SendMessage(WM_CLOSE);
        PumpUntil([&] { return dlg.m_hWnd == nullptr; }, 5000);
    }
    static void Escape(CWhoisDlg& dlg) { dlg.SendMessage(WM_COMMAND, IDCANCEL, 0); }

    // In UTF-8: a label may be of any script.
    static Texts ComboCustomItems(const CWhoisDlg& dlg)
    {
        Texts labels;
        HWND combo = dlg.GetDlgItem(IDC_SERVER);
        const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
        for (int i = kFirstCustomServer; i < count; ++i) {
            wchar_t label[256] = {};
            SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(label));
            labels.push_back(WideToUtf8(label));
        }
        return labels;
    }

    static Texts Servers(const CWhoisDlg& dlg)
    {
        Texts texts;
        for (const ServerEntry& s : dlg.m_dlgServers.m_servers) texts.push_back(s.label + "|" + s.host + "|" + s.port);
        return texts;
    }

    RawValue Raw(const char* section, const char* entry) const
    {
        return ReadRawValue(m_profile.SectionPath(section), entry);
    }

    TestProfile m_profile{"TarquelinSettingsTest", "Whois"};
    std::vector<std::unique_ptr<CWhoisDlg>> m_dialogs;
};

TEST_F(SettingsStore, AFreshRegistryGivesTheDefaults)
{
    auto dlg = Start();
    const COptionsDlg& view = dlg->m_dlgOptions;
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), view.crText);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), view.crBackground);
    EXPECT_EQ(16711680u, view.crLink);
    EXPECT_EQ(0, view.bNoLinkParsing);
    EXPECT_TRUE(SameFont(DefaultFont(), view.lfFont)) << view.lfFont.lfFaceName;
    EXPECT_EQ("80,80,640,521", RectText(WindowRect(dlg->m_hWnd)));
    EXPECT_EQ(6, SendMessageA(dlg->GetDlgItem(IDC_SERVER), CB_GETCOUNT, 0, 0));

    // The server list's key was made by the store, with its class.
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, m_profile.SectionPath("Servers").c_str(), 0, KEY_READ, &key));
    char keyClass[32] = {};
    DWORD length = sizeof keyClass;
    RegQueryInfoKeyA(key, keyClass, &length, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    EXPECT_STREQ("DWORD", keyClass);
}

TEST_F(SettingsStore, TheCloseBoxSavesAndARestartRestoresWhileEscapeSavesNothing)
{
    auto dlg = Start();
    COptionsDlg& view = dlg->m_dlgOptions;
    view.crText = RGB(1, 2, 3);
    view.crBackground = RGB(250, 240, 230);
    view.crLink = RGB(0, 128, 0);
    view.bNoLinkParsing = 1;
    view.lfFont.lfHeight = -13;
    view.lfFont.lfWeight = FW_BOLD;
    lstrcpynA(view.lfFont.lfFaceName, "Tahoma", LF_FACESIZE);
    // The same label in another letter case is one stored value: the later data wins.
    dlg->m_dlgServers.m_servers = {{"Local", "localhost", "43"}, {"Mine", "192.0.2.9", "4343"}, {"LOCAL", "other.example", "44"}};
    MoveWindow(dlg->m_hWnd, 100, 120, 600, 480, TRUE);
    const LOGFONTA font = view.lfFont;
    CloseBox(*dlg);
    EXPECT_EQ(nullptr, dlg->m_hWnd);

    struct Expected {
        const char* section;
        const char* entry;
        DWORD type;
        std::string data;
    };
    const Expected stored[] = {
        {"Options", "Font color", REG_DWORD, DwordBytes(RGB(1, 2, 3))},
        {"Options", "Background color", REG_DWORD, DwordBytes(RGB(250, 240, 230))},
        {"Options", "Link color", REG_DWORD, DwordBytes(RGB(0, 128, 0))},
        {"Options", "No link parsing", REG_DWORD, DwordBytes(1)},
        {"Options", "Window position", REG_SZ, std::string("6400000078000000bc02000058020000") + '\0'},
        {"Servers", "Mine", REG_SZ, std::string("192.0.2.9 4343") + '\0'},
        {"Servers", "local", REG_SZ, std::string("other.example 44") + '\0'},
    };
    for (const Expected& e : stored) {
        SCOPED_TRACE(e.entry);
        const RawValue value = Raw(e.section, e.entry);
        ASSERT_EQ(ERROR_SUCCESS, value.status);
        EXPECT_EQ(e.type, value.type);
        EXPECT_EQ(e.data, value.data);
    }
    const RawValue fontText = Raw("Options", "Font");
    EXPECT_EQ(REG_SZ, fontText.type);
    EXPECT_EQ(121u, fontText.data.size());
    EXPECT_EQ(120u, fontText.data.find_first_not_of("0123456789abcdef")) << "120 lowercase digits";

    auto again = Start();
    EXPECT_EQ(RGB(1, 2, 3), again->m_dlgOptions.crText);
    EXPECT_EQ(RGB(250, 240, 230), again->m_dlgOptions.crBackground);
    EXPECT_EQ(RGB(0, 128, 0), again->m_dlgOptions.crLink);
    EXPECT_EQ(1, again->m_dlgOptions.bNoLinkParsing);
    EXPECT_TRUE(SameFont(font, again->m_dlgOptions.lfFont));
    EXPECT_EQ("100,120,700,600", RectText(WindowRect(again->m_hWnd)));
    EXPECT_EQ(2u, again->m_dlgServers.m_servers.size());
    EXPECT_EQ((Texts{"Local", "Mine"}), ComboCustomItems(*again));
    EXPECT_EQ((Texts{"Local|other.example|44", "Mine|192.0.2.9|4343"}), Servers(*again));

    // Escape leaves without saving: the next start finds the old state.
    again->m_dlgOptions.crLink = RGB(9, 9, 9);
    again->m_dlgServers.m_servers.clear();
    Escape(*again);
    EXPECT_EQ(nullptr, again->m_hWnd);
    auto third = Start();
    EXPECT_EQ(RGB(0, 128, 0), third->m_dlgOptions.crLink);
    EXPECT_EQ(2u, third->m_dlgServers.m_servers.size());
}

TEST_F(SettingsStore, StoredDataOfTheWrongShapeLoadsEntryByEntry)
{
    const std::string servers = m_profile.SectionPath("Servers");
    WriteRawValue(servers, "Local", REG_SZ, std::string("localhost 43") + '\0');
    WriteRawValue(servers, "HostOnly", REG_SZ, std::string("lonely.example") + '\0');
    WriteRawValue(servers, "Number", REG_DWORD, DwordBytes(43));
    WriteRawValue(servers, "Empty", REG_SZ, std::string(1, '\0'));
    WriteRawValue(servers, "Unended", REG_SZ, "192.0.2.5 4444");
    WriteRawValue(servers, "Extra", REG_SZ, std::string("extra.example 45 more") + '\0');
    const std::string options = m_profile.SectionPath("Options");
    WriteRawValue(options, "Font", REG_SZ, std::string("F6FFFFFF") + '\0');  // the height alone
    WriteRawValue(options, "Font color", REG_SZ, std::string("red") + '\0');  // not a number

    auto dlg = Start();
    // The registry hands the values back in its own order (Wine's is by name).
    Texts loaded = Servers(*dlg);
    std::sort(loaded.begin(), loaded.end());
    EXPECT_EQ((Texts{"Extra|extra.example|45", "Local|localhost|43", "Unended|192.0.2.5|4444"}), loaded);
    EXPECT_EQ(-10, dlg->m_dlgOptions.lfFont.lfHeight);
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), dlg->m_dlgOptions.crText);

    // The close box writes the list back: a server taken off it goes, the entries the program could
    // not read stay as they were.
    auto unread = [&] {
        Texts raw;
        for (const char* name : {"HostOnly", "Number", "Empty", "Extra"}) {
            const RawValue value = ReadRawValue(servers, name);
            raw.push_back(std::to_string(value.status) + " " + std::to_string(value.type) + " " + value.data);
        }
        return raw;
    };
    Texts before = unread();
    before.back() = std::to_string(ERROR_FILE_NOT_FOUND) + " 0 ";
    auto& list = dlg->m_dlgServers.m_servers;
    list.erase(std::remove_if(list.begin(), list.end(), [](const ServerEntry& s) { return s.label == "Extra"; }), list.end());
    CloseBox(*dlg);
    EXPECT_EQ(before, unread());

    // The window's place: digits in any spacing and case load unchanged; a place on no monitor or
    // without a size gives the default place.
    struct Case {
        const char* text;
        const char* rect;
    };
    const Case cases[] = {
        {"64 00 00 00 78 00 00 00 BC 02 00 00 58 02 00 00", "100,120,700,600"},
        {"64000000", "100,80,640,521"},                             // the left edge alone
        {"10270000102700009c2a00009c2a0000", "80,80,640,521"},      // 10000,10000: off every monitor
        {"6400000078000000640000007800000000", "80,80,640,521"},    // no size
        {"6400000078000000000000000000000000", "80,80,640,521"},    // right and bottom before left and top
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        WriteRawValue(options, "Window position", REG_SZ, std::string(c.text) + '\0');
        auto placed = Start();
        EXPECT_EQ(c.rect, RectText(WindowRect(placed->m_hWnd)));
    }
    // A place stored on a larger screen: the window takes the work area, with every control in it.
    WriteRawValue(options, "Window position", REG_SZ, std::string("0a0000000a000000aa0f0000c20b0000") + '\0');
    const HWND large = Start()->m_hWnd;
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    GetMonitorInfoA(MonitorFromWindow(large, MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_EQ(RectText(monitor.rcWork), RectText(WindowRect(large)));
    RECT client, inside;
    GetClientRect(large, &client);
    for (HWND child = GetWindow(large, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect = WindowRect(child);
        MapWindowPoints(nullptr, large, reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_TRUE(IntersectRect(&inside, &rect, &client) && EqualRect(&inside, &rect)) << GetDlgCtrlID(child) << " outside";
    }
}

TEST_F(SettingsStore, AMinimisedOrMaximisedWindowStoresItsNormalPlace)
{
    for (int show : {SW_MINIMIZE, SW_MAXIMIZE}) {
        SCOPED_TRACE(show);
        auto dlg = Start();
        MoveWindow(dlg->m_hWnd, 90, 100, 610, 470, TRUE);
        ShowWindow(dlg->m_hWnd, show);
        PumpFor(50, dlg->m_hWnd);
        CloseBox(*dlg);
        EXPECT_EQ(std::string("5a00000064000000bc0200003a020000") + '\0', Raw("Options", "Window position").data);
    }
}

TEST_F(SettingsStore, AnIniFileGivesBackWhatWasExportedAndAMissingOneGivesTheDefaults)
{
    const std::string path = TempPath("whois-settings-test.ini");
    DeleteFileA(path.c_str());
    auto dlg = Start();
    dlg->m_strIniPath = path.c_str();
    COptionsDlg& view = dlg->m_dlgOptions;
    view.crText = RGB(10, 20, 30);
    view.crLink = RGB(200, 0, 0);
    view.bNoLinkParsing = 1;
    lstrcpynA(view.lfFont.lfFaceName, "Arial", LF_FACESIZE);
    const LOGFONTA font = view.lfFont;
    dlg->m_dlgServers.m_servers = {{"A", "a.example", "43"}, {"B", "192.0.2.2", "4343"}};
    MoveWindow(dlg->m_hWnd, 70, 60, 620, 500, TRUE);
    ASSERT_TRUE(dlg->SaveSettings(FALSE));

    char line[64] = {};
    GetPrivateProfileStringA("Servers", "B", "", line, sizeof line, path.c_str());
    EXPECT_STREQ("192.0.2.2 4343", line);
    GetPrivateProfileStringA("Options", "Link color", "", line, sizeof line, path.c_str());
    EXPECT_STREQ("200", line);

    view.crText = view.crLink = 0;
    view.bNoLinkParsing = 0;
    view.lfFont = LOGFONTA{};
    dlg->m_dlgServers.m_servers.clear();
    MoveWindow(dlg->m_hWnd, 0, 0, 500, 400, TRUE);
    dlg->LoadSettings(FALSE);
    EXPECT_EQ(RGB(10, 20, 30), view.crText);
    EXPECT_EQ(RGB(200, 0, 0), view.crLink);
    EXPECT_EQ(1, view.bNoLinkParsing);
    EXPECT_TRUE(SameFont(font, view.lfFont));
    EXPECT_EQ("70,60,690,560", RectText(WindowRect(dlg->m_hWnd)));
    EXPECT_EQ((Texts{"A|a.example|43", "B|192.0.2.2|4343"}), Servers(*dlg));
    EXPECT_EQ((Texts{"A", "B"}), ComboCustomItems(*dlg));

    // A "Servers" section larger than one read, with lines of the wrong shape among the servers.
    std::string section;
    for (int i = 0; i < 1200; ++i) section += "Server" + std::to_string(i) + "=host" + std::to_string(i) + ".example 43" + '\0';
    section += std::string("My server=bad.example 43") + '\0' + "NoPort=bad.example" + '\0' + "Last=last.example 4444" + '\0' + '\0';
    ASSERT_GT(section.size(), 16384u);
    ASSERT_TRUE(WritePrivateProfileSectionA("Servers", section.c_str(), path.c_str()));
    dlg->LoadSettings(FALSE);
    ASSERT_EQ(1201u, dlg->m_dlgServers.m_servers.size());
    EXPECT_EQ("Server1199|host1199.example|43", Servers(*dlg)[1199]);
    EXPECT_EQ("Last|last.example|4444", Servers(*dlg).back());

    // An export to the same file keeps the lines the program could not read.
    section = std::string("My server=bad.example 43") + '\0' + "A=a.example 43" + '\0' + "NoPort=bad.example" + '\0' + '\0';
    ASSERT_TRUE(WritePrivateProfileSectionA("Servers", section.c_str(), path.c_str()));
    dlg->LoadSettings(FALSE);
    dlg->m_dlgServers.m_servers.push_back({"B", "b.example", "44"});
    ASSERT_TRUE(dlg->SaveSettings(FALSE));
    char kept[256] = {};
    const DWORD length = GetPrivateProfileSectionA("Servers", kept, sizeof kept, path.c_str());
    EXPECT_EQ(std::string("My server=bad.example 43") + '\0' + "NoPort=bad.example" + '\0' + "A=a.example 43" + '\0' +
                  "B=b.example 44" + '\0',
              std::string(kept, length));

    dlg->m_strIniPath = TempPath("whois-no-such-file.ini").c_str();
    dlg->LoadSettings(FALSE);
    EXPECT_EQ(16711680u, view.crLink);
    EXPECT_EQ(0, view.bNoLinkParsing);
    EXPECT_TRUE(SameFont(DefaultFont(), view.lfFont));
    EXPECT_EQ("80,80,640,521", RectText(WindowRect(dlg->m_hWnd)));
    EXPECT_TRUE(Servers(*dlg).empty());
    EXPECT_TRUE(ComboCustomItems(*dlg).empty());
    DeleteFileA(path.c_str());
}

// Labels and hosts of any script come back the same from the registry and from an exported file,
// which is kept in UTF-16; a file an older version wrote in the ANSI code page still loads, and an
// export into it keeps its other lines.
TEST_F(SettingsStore, ServersOfAnyScriptComeBackFromTheRegistryAndFromAnIniFile)
{
    const std::string japanese = "\u65E5\u672C\u30B5\u30FC\u30D0";
    // In the order in which the registry lists them.
    const std::vector<ServerEntry> servers = {{"Caf\u00E9", "c.example", "4343"}, {japanese, "whois.\u4F8B\u3048.jp", "43"}};
    const Texts expected = {"Caf\u00E9|c.example|4343", japanese + "|whois.\u4F8B\u3048.jp|43"};
    Start()->m_dlgServers.m_servers = servers;
    CloseBox(*m_dialogs.back());
    wchar_t data[64] = {};
    DWORD size = sizeof data;
    RegGetValueW(HKEY_CURRENT_USER, Utf8ToWide(m_profile.SectionPath("Servers")).c_str(), Utf8ToWide(japanese).c_str(),
                 RRF_RT_REG_SZ, nullptr, data, &size);
    EXPECT_EQ("whois.\u4F8B\u3048.jp 43", WideToUtf8(data));
    auto dlg = Start();
    EXPECT_EQ(expected, Servers(*dlg));
    EXPECT_EQ((Texts{"Caf\u00E9", japanese}), ComboCustomItems(*dlg));

    struct Case {
        std::string file;  // empty: no file
        Texts loaded;
        UINT kept;  // a line of another section in the file
    };
    const Case cases[] = {{"", {}, 0}, {"[Servers]\r\nCaf\xE9=old.example 43\r\n[Other]\r\nkept=1\r\n", {"Caf\u00E9|old.example|43"}, 1}};
    const std::string path = TempPath("whois-any-script-test.ini");
    dlg->m_strIniPath = path.c_str();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        DeleteFileA(path.c_str());
        if (!c.file.empty()) WriteWholeFile(path, c.file);
        dlg->LoadSettings(FALSE);
        EXPECT_EQ(c.loaded, Servers(*dlg));
        dlg->m_dlgServers.m_servers = servers;
        ASSERT_TRUE(dlg->SaveSettings(FALSE));
        EXPECT_EQ("\xFF\xFE", ReadWholeFile(path).substr(0, 2));
        EXPECT_EQ(c.kept, GetPrivateProfileIntA("Other", "kept", 0, path.c_str()));
        dlg->m_dlgServers.m_servers.clear();
        dlg->LoadSettings(FALSE);
        EXPECT_EQ(expected, Servers(*dlg));
        EXPECT_EQ((Texts{"Caf\u00E9", japanese}), ComboCustomItems(*dlg));
    }
    DeleteFileA(path.c_str());
}
}  // namespace

// On a Japanese system a label of Japanese characters takes two bytes a character in the program's
// code page, more than the registry's count of characters gives room for.
TEST(SettingsStoreCodePage, LabelsOfDoubleByteCharactersLoadAndOutliveTheSave)
{
    const std::wstring kServers = L"Software\\Tarquelin\\Whois\\Servers";
    const std::wstring names[] = {L"Alpha", L"\u6771\u4eac\u30b5\u30fc\u30d0\u4e00\u53f7", L"\u65e5\u672c"};
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Tarquelin");
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kServers.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    for (const std::wstring& name : names)
        RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(L"host.example 43"), 32);
    RegCloseKey(key);
    LRESULT items = 0;
    EXPECT_TRUE(RunProgram(kProgram, L"LC_ALL=ja_JP.UTF-8",
                           [&](HWND window) { items = SendDlgItemMessageW(window, IDC_SERVER, CB_GETCOUNT, 0, 0); }));
    EXPECT_EQ(kFirstCustomServer + 3, items) << "every custom server is in the combo";
    for (const std::wstring& name : names) {
        wchar_t data[64] = {};
        DWORD size = sizeof data;
        RegGetValueW(HKEY_CURRENT_USER, kServers.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, data, &size);
        EXPECT_STREQ(L"host.example 43", data) << "lost at the close: a label of " << name.size() << " characters";
    }
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\Tarquelin");
}
