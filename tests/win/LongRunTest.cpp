// A thousand queries in a row against the scripted server, ending normally or stopped at a stage
// picked at random (connecting, waiting, data flowing), with the dialogs opened and closed in
// between: nothing the program holds may grow but the history.
#include <gtest/gtest.h>

#include <random>

#include "support/ProcessMemory.h"
#include "support/ViewDriver.h"
#include "ui/ServerListDlg.h"

namespace {
DWORD HandleCount()
{
    DWORD count = 0;
    GetProcessHandleCount(GetCurrentProcess(), &count);
    return count;
}

int ChildWindowCount(HWND parent)
{
    int count = 0;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) ++count;
    return count;
}

class LongRun : public MainDialogViewTest {};

TEST_F(LongRun, QueriesAndStopsInARowLeaveNothingBehindButTheHistory)
{
    const int kRuns = 1000;
    const int kWarmUp = 20;
    DWORD handlesAfterWarmUp = 0;
    int gdiObjectsAfterWarmUp = 0;
    int childrenAfterWarmUp = 0;
    SIZE_T memoryAfterWarmUp = 0;
    int recordsAfterWarmUp = 0;
    int records = 0;
    FullBacklogListener neverAccepts;
    // A fixed seed: a failing run can be repeated.
    std::mt19937 random(20261207);
    for (int run = 0; run < kRuns; ++run) {
        const unsigned stage = random() % 5;
        SCOPED_TRACE("run " + std::to_string(run) + ", stage " + std::to_string(stage));
        switch (stage) {
        case 0:  // a normal end
            m_interNic.Play({{ServerStep::Send("answer (HANDLE-" + std::to_string(run) + ")\n")}});
            ASSERT_TRUE(AskAndWait("example.com"));
            EXPECT_EQ("Complete.", StatusText());
            ++records;
            break;
        case 1: {  // stopped while the connect hangs: no answer, no record
            RedirectedServers hanging(neverAccepts.Port(), kServerInterNic, kServerInterNic);
            Ask("example.com");
            ASSERT_TRUE(PumpUntil([&] { return StatusText().rfind("Connecting to ", 0) == 0; }, 10000, m_dlg.m_hWnd));
            PostClick(m_dlg.m_hWnd, IDOK);
            ASSERT_TRUE(WaitForEnd());
            break;
        }
        case 2:  // stopped while waiting for data
            m_interNic.Play({{ServerStep::HoldOpen()}});
            Ask("example.com");
            ASSERT_TRUE(WaitForStatus("Waiting for data..."));
            PostClick(m_dlg.m_hWnd, IDOK);
            ASSERT_TRUE(WaitForEnd());
            m_interNic.Release();
            ++records;
            break;
        case 3:  // stopped in a receive after the first chunk: the failed receive ends the run like a close
            m_interNic.Play({{ServerStep::Send("first chunk\n"), ServerStep::HoldOpen()}});
            Ask("example.com");
            ASSERT_TRUE(WaitForStatus("Recieving data..."));
            PostClick(m_dlg.m_hWnd, IDOK);
            ASSERT_TRUE(WaitForEnd());
            EXPECT_EQ("Complete.", StatusText());
            EXPECT_EQ("first chunk\n", m_dlg.m_strAnswer.Str());
            m_interNic.Release();
            ++records;
            break;
        case 4: {  // the custom server list and the About box opened and closed in between
            WhenShown cancel("Custom server list", [](HWND list) { PostMessageA(list, WM_COMMAND, IDCANCEL, 0); });
            SendDlgItemMessageA(m_dlg.m_hWnd, IDC_SERVER, CB_SETCURSEL, kServerAddMore, 0);
            m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SERVER, CBN_SELCHANGE),
                              reinterpret_cast<LPARAM>(m_dlg.GetDlgItem(IDC_SERVER)));
            ASSERT_TRUE(cancel.Ran());
            WhenShown close("About Whois", [](HWND about) { PostMessageA(about, WM_COMMAND, IDCANCEL, 0); });
            m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ABOUT, BN_CLICKED), reinterpret_cast<LPARAM>(m_dlg.GetDlgItem(IDC_ABOUT)));
            ASSERT_TRUE(close.Ran());
            break;
        }
        }
        EXPECT_EQ("&Ask", ItemText(m_dlg.m_hWnd, IDOK));
        if (run == kWarmUp) {
            PumpFor(100, m_dlg.m_hWnd);
            handlesAfterWarmUp = HandleCount();
            gdiObjectsAfterWarmUp = GdiObjectCount();
            childrenAfterWarmUp = ChildWindowCount(m_dlg.m_hWnd);
            memoryAfterWarmUp = PrivateBytes();
            recordsAfterWarmUp = records;
        }
    }
    PumpFor(100, m_dlg.m_hWnd);
    // A few handles of the platform's own may come and go; a leak per query would show hundreds.
    EXPECT_LE(HandleCount(), handlesAfterWarmUp + 8);
    // A font, brush or device context left behind per query or per dialog would show hundreds.
    EXPECT_GT(gdiObjectsAfterWarmUp, 0);
    EXPECT_LE(GdiObjectCount(), gdiObjectsAfterWarmUp + 8);
    EXPECT_EQ(childrenAfterWarmUp, ChildWindowCount(m_dlg.m_hWnd)) << "a replaced answer view was left behind";
    // The history grows by a record of a short answer per query that reached the server, well
    // under a kilobyte each; a view or a record's text leaked per query would show megabytes.
    const SIZE_T historyGrowth = static_cast<SIZE_T>(records - recordsAfterWarmUp) * 1024;
    EXPECT_LE(PrivateBytes(), memoryAfterWarmUp + historyGrowth + (1u << 20))
        << "grown by " << PrivateBytes() - memoryAfterWarmUp << " bytes";
    EXPECT_EQ(0, CServerListDlg::LiveRowRecords());
    // Every query that reached the server, finished or stopped, is one record.
    EXPECT_EQ(records, RecordCount());
}
}  // namespace
