// The custom server list dialog, driven as the user drives it: the fields, the rows of the list
// view (read back through the dialog's own text callback), Add, Remove, Update, OK and Cancel, and
// the main window's "< add more >" entry that opens it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "support/DialogDriver.h"
#include "support/ViewDriver.h"
#include "text/Utf8.h"
#include "ui/ServerListDlg.h"

namespace {
using Texts = std::vector<std::string>;

std::string Joined(const ServerEntry& entry)
{
    return entry.label + "|" + entry.host + "|" + entry.port;
}

Texts Joined(const std::vector<ServerEntry>& entries)
{
    Texts texts;
    for (const ServerEntry& entry : entries) texts.push_back(Joined(entry));
    return texts;
}

const std::vector<ServerEntry> kStored = {
    {"Alpha", "alpha.example", "43"},
    {"Beta", "192.0.2.7", "4321"},
    {"Gamma", "gamma.example", "x1"},
};

// The dialog created modelessly over a stored list of three servers. Every test ends with no row
// record left alive: the list view's rows free theirs when they go, also when the window does.
class ServerListDialog : public testing::Test {
public:
    void SetUp() override
    {
        m_dlg.m_servers = kStored;
        ASSERT_TRUE(m_dlg.Create());
        ShowWindow(m_dlg.m_hWnd, SW_SHOW);
    }

    void TearDown() override
    {
        if (m_dlg.m_hWnd) m_dlg.DestroyWindow();
        EXPECT_EQ(0, CServerListDlg::LiveRowRecords());
    }

    HWND List() const { return m_dlg.GetDlgItem(IDC_SERVER_ROWS); }
    int RowCount() const { return static_cast<int>(SendMessageA(List(), LVM_GETITEMCOUNT, 0, 0)); }

    // In UTF-8: a label or host may be of any script.
    std::string Cell(int row, int column, int capacity = 256) const
    {
        std::wstring buffer(static_cast<size_t>(capacity), L'\0');
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = &buffer[0];
        item.cchTextMax = capacity;
        SendMessageW(List(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return WideToUtf8(buffer.c_str());
    }

    Texts Rows() const
    {
        Texts rows;
        for (int row = 0; row < RowCount(); ++row)
            rows.push_back(Cell(row, 0) + "|" + Cell(row, 1) + "|" + Cell(row, 2));
        return rows;
    }

    std::string Fields() const
    {
        HWND dlg = m_dlg.m_hWnd;
        return Utf8WindowText(GetDlgItem(dlg, IDC_SERVER_LABEL)) + "|" + Utf8WindowText(GetDlgItem(dlg, IDC_SERVER_HOST)) + "|" +
               ItemText(dlg, IDC_SERVER_PORT);
    }

    void SetFields(const char* label, const char* host, const char* port)
    {
        SetDlgItemTextW(m_dlg.m_hWnd, IDC_SERVER_LABEL, Utf8ToWide(label).c_str());
        SetDlgItemTextW(m_dlg.m_hWnd, IDC_SERVER_HOST, Utf8ToWide(host).c_str());
        SetDlgItemTextA(m_dlg.m_hWnd, IDC_SERVER_PORT, port);
    }

    // Selects exactly these rows, as clicks with Ctrl held would.
    void Select(const std::vector<int>& rows)
    {
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED;
        SendMessageA(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
        state.state = LVIS_SELECTED;
        for (int row : rows)
            SendMessageA(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    }

    void Click(int id) { SendClick(m_dlg.m_hWnd, id); }

    CServerListDlg m_dlg;
};

TEST_F(ServerListDialog, OpensWithTheFieldsAndACopyOfTheList)
{
    EXPECT_EQ("Local|localhost|43", Fields());
    EXPECT_EQ(Joined(kStored), Rows());
    const struct {
        const char* heading;
        int width;
    } columns[] = {{"Label", 70}, {"Host", 120}, {"Port", 50}};
    for (int column = 0; column < 3; ++column) {
        char heading[32] = {};
        LVCOLUMNA info{};
        info.mask = LVCF_TEXT | LVCF_WIDTH;
        info.pszText = heading;
        info.cchTextMax = sizeof heading;
        SendMessageA(List(), LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
        EXPECT_STREQ(columns[column].heading, heading);
        EXPECT_EQ(columns[column].width, info.cx);
    }
    const LRESULT extended = SendMessageA(List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    EXPECT_EQ(LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP | LVS_EX_ONECLICKACTIVATE, extended);
    EXPECT_EQ(3, CServerListDlg::LiveRowRecords());
}

TEST_F(ServerListDialog, AddAppendsTheFieldsWithThePortCutTo16Bits)
{
    struct Case {
        const char* label;
        const char* host;
        const char* port;
        const char* row;
        bool complaint;
    };
    const Case cases[] = {
        {"Seventy", "seventy.example", "70000", "Seventy|seventy.example|4464", false},
        {"Top", "top.example", "65535", "Top|top.example|65535", false},
        {"Zero", "zero.example", "0", "Zero|zero.example|0", false},
        {"", "", "43", "||43", false},
        {"Same", "alpha.example", "43", "Same|alpha.example|43", false},
        {"\u65E5\u672C\u30B5\u30FC\u30D0", "whois.\u4F8B\u3048.jp", "43", "\u65E5\u672C\u30B5\u30FC\u30D0|whois.\u4F8B\u3048.jp|43", false},
        // A port that does not convert is complained about; the row keeps the port read last.
        {"Blank", "blank.example", "", "Blank|blank.example|43", true},
        {"Blank", "blank.example", "  7 ", "Blank|blank.example|7", false},
    };
    ModalWatcher boxes(m_dlg.m_hWnd, "");
    Texts expected = Joined(kStored);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        SetFields(c.label, c.host, c.port);
        const size_t boxesBefore = boxes.Boxes().size();
        Click(IDC_SERVER_ADD);
        expected.push_back(c.row);
        EXPECT_EQ(expected, Rows());
        ASSERT_EQ(boxesBefore + (c.complaint ? 1 : 0), boxes.Boxes().size());
        if (c.complaint) {
            EXPECT_EQ("Please enter an integer.", boxes.Boxes().back().text);
        }
        // The field keeps what the user typed.
        EXPECT_EQ(std::string(c.label) + "|" + c.host + "|" + c.port, Fields());
    }
    EXPECT_EQ(RowCount(), CServerListDlg::LiveRowRecords());
}

TEST_F(ServerListDialog, TheFirstSelectedRowFillsTheFields)
{
    struct Case {
        std::vector<int> selected;
        const char* fields;
    };
    const Case cases[] = {
        {{1}, "Beta|192.0.2.7|4321"},
        {{0, 2}, "Alpha|alpha.example|43"},
        {{2}, "Gamma|gamma.example|0"},  // a port text that is no number
        {{}, "Gamma|gamma.example|0"},   // nothing selected: the fields stay
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fields);
        Select(c.selected);
        EXPECT_EQ(c.fields, Fields());
    }
    EXPECT_EQ(Joined(kStored), Rows());
}

TEST_F(ServerListDialog, RemoveTakesEverySelectedRowAndNothingWithoutASelection)
{
    SetFields("Delta", "delta.example", "43");
    Click(IDC_SERVER_ADD);
    Select({});
    Click(IDC_SERVER_REMOVE);
    EXPECT_EQ(4, RowCount());
    Select({0, 1, 3});
    Click(IDC_SERVER_REMOVE);
    EXPECT_EQ(Texts{"Gamma|gamma.example|x1"}, Rows());
    EXPECT_EQ(1, CServerListDlg::LiveRowRecords());
}

TEST_F(ServerListDialog, UpdateChangesTheFirstSelectedRowOnly)
{
    Select({1, 2});
    SetFields("New", "new.example", "70001");
    Click(IDC_SERVER_UPDATE);
    EXPECT_EQ((Texts{"Alpha|alpha.example|43", "New|new.example|4465", "Gamma|gamma.example|x1"}), Rows());

    // Without a selection nothing is read, so an empty port field brings no complaint either.
    ModalWatcher boxes(m_dlg.m_hWnd, "");
    Select({});
    SetFields("Other", "other.example", "");
    Click(IDC_SERVER_UPDATE);
    PumpFor(100, m_dlg.m_hWnd);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ((Texts{"Alpha|alpha.example|43", "New|new.example|4465", "Gamma|gamma.example|x1"}), Rows());
}

TEST_F(ServerListDialog, ALongTextIsCutToTheBufferTheListViewGives)
{
    SetFields(std::string(300, 'L').c_str(), "long.example", "43");
    Click(IDC_SERVER_ADD);
    std::string buffer(16, '#');
    LVITEMA item{};
    item.pszText = &buffer[0];
    item.cchTextMax = 8;
    SendMessageA(List(), LVM_GETITEMTEXTA, 3, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::string("LLLLLLL") + '\0' + "########", buffer);
}

TEST_F(ServerListDialog, OkReplacesTheListWithTheRowsAndCancelKeepsIt)
{
    struct Case {
        const char* name;
        void (*edit)(ServerListDialog& test);
        int button;
        Texts servers;
    };
    const Case cases[] = {
        {"cancel after add", [](ServerListDialog& t) { t.SetFields("D", "d.example", "1"); t.Click(IDC_SERVER_ADD); },
         IDCANCEL, Joined(kStored)},
        {"cancel after remove", [](ServerListDialog& t) { t.Select({0}); t.Click(IDC_SERVER_REMOVE); },
         IDCANCEL, Joined(kStored)},
        {"cancel after update", [](ServerListDialog& t) { t.Select({0}); t.Click(IDC_SERVER_UPDATE); },
         IDCANCEL, Joined(kStored)},
        {"ok with every row removed", [](ServerListDialog& t) { t.Select({0, 1, 2}); t.Click(IDC_SERVER_REMOVE); },
         IDOK, {}},
        {"ok after add", [](ServerListDialog& t) { t.SetFields("D", "d.example", "1"); t.Click(IDC_SERVER_ADD); },
         IDOK, {"Alpha|alpha.example|43", "Beta|192.0.2.7|4321", "Gamma|gamma.example|x1", "D|d.example|1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!m_dlg.m_hWnd) {
            m_dlg.m_servers = kStored;
            ASSERT_TRUE(m_dlg.Create());
        }
        c.edit(*this);
        Click(c.button);
        EXPECT_EQ(nullptr, m_dlg.m_hWnd);
        EXPECT_EQ(c.servers, Joined(m_dlg.m_servers));
        EXPECT_EQ(0, CServerListDlg::LiveRowRecords());
        m_dlg.m_servers = kStored;
    }
    // The fields open with what the members took last.
    ASSERT_TRUE(m_dlg.Create());
    EXPECT_EQ("D|d.example|1", Fields());
    EXPECT_EQ(Joined(kStored), Rows());
}

TEST_F(ServerListDialog, OkWithAnEmptyPortComplainsWithTheListAlreadyReplaced)
{
    ModalWatcher boxes(m_dlg.m_hWnd, "");
    Select({0});
    Click(IDC_SERVER_REMOVE);
    SetDlgItemTextA(m_dlg.m_hWnd, IDC_SERVER_PORT, "");
    Click(IDOK);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ("Please enter an integer.", boxes.Boxes()[0].text);
    ASSERT_NE(nullptr, m_dlg.m_hWnd) << "the dialog stays open";
    const Texts remaining = {"Beta|192.0.2.7|4321", "Gamma|gamma.example|x1"};
    EXPECT_EQ(remaining, Joined(m_dlg.m_servers));
    Click(IDCANCEL);
    EXPECT_EQ(remaining, Joined(m_dlg.m_servers));
}

// "< add more >" in the main window: the dialog runs modally over it, and the combo then lists the
// custom servers after the fixed entries and returns to "Automatic", whichever way it closed.
class AddMoreFromTheMainWindow : public MainDialogViewTest {
protected:
    HWND Combo() const { return m_dlg.GetDlgItem(IDC_SERVER); }

    // Chooses "< add more >" and lets `inDialog` work in the dialog that opens.
    void AddMore(const std::function<void(HWND)>& inDialog)
    {
        WhenShown act("Custom server list", inDialog);
        SendMessageA(Combo(), CB_SETCURSEL, kServerAddMore, 0);
        m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SERVER, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Combo()));
        EXPECT_TRUE(act.Ran());
    }

    Texts CustomEntries() const
    {
        Texts labels;
        const int count = static_cast<int>(SendMessageA(Combo(), CB_GETCOUNT, 0, 0));
        for (int index = kFirstCustomServer; index < count; ++index) {
            char label[64] = {};
            SendMessageA(Combo(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(label));
            labels.push_back(label);
        }
        return labels;
    }
};

TEST_F(AddMoreFromTheMainWindow, CustomServersAreListedAndAskedAtTheirPort)
{
    const std::string port = std::to_string(m_interNic.Port());
    AddMore([&](HWND dialog) {
        EXPECT_EQ(GetDlgItem(dialog, IDC_SERVER_LABEL), GetFocus());
        EXPECT_FALSE(IsWindowEnabled(m_dlg.m_hWnd)) << "the main window waits while the list is open";
        for (const char* label : {"Mine", "Second"}) {
            SetDlgItemTextA(dialog, IDC_SERVER_LABEL, label);
            SetDlgItemTextA(dialog, IDC_SERVER_HOST, "127.0.0.1");
            SetDlgItemTextA(dialog, IDC_SERVER_PORT, port.c_str());
            SendClick(dialog, IDC_SERVER_ADD);
        }
        SendClick(dialog, IDOK);
    });
    EXPECT_EQ((Texts{"Mine", "Second"}), CustomEntries());
    EXPECT_EQ(kServerAutomatic, SendMessageA(Combo(), CB_GETCURSEL, 0, 0));
    EXPECT_EQ(kServerAutomatic, m_dlg.m_nServerChoice);

    m_interNic.Play({{ServerStep::Send("Custom answer\n")}});
    SendMessageA(Combo(), CB_SETCURSEL, kFirstCustomServer + 1, 0);
    m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SERVER, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Combo()));
    ASSERT_TRUE(AskAndWait("192.0.2.1"));
    EXPECT_EQ(Texts{"192.0.2.1\n"}, m_interNic.Received());
    EXPECT_EQ("Custom answer\n", ViewText());

    // Cancel keeps the list; OK after a removal moves the second entry up to index 6.
    const struct {
        int button;
        Texts entries;
    } closes[] = {{IDCANCEL, {"Mine", "Second"}}, {IDOK, {"Second"}}};
    for (const auto& close : closes) {
        AddMore([&](HWND dialog) {
            ListView_SetItemState(GetDlgItem(dialog, IDC_SERVER_ROWS), 0, LVIS_SELECTED, LVIS_SELECTED);
            SendClick(dialog, IDC_SERVER_REMOVE);
            SendClick(dialog, close.button);
        });
        EXPECT_EQ(close.entries, CustomEntries());
        EXPECT_EQ(kServerAutomatic, SendMessageA(Combo(), CB_GETCURSEL, 0, 0));
    }
    EXPECT_EQ(0, CServerListDlg::LiveRowRecords());
}
}  // namespace
