// The settings store of the main dialog: the settings value moves between the dialog's members and
// a back end, the registry or the INI file m_strIniPath.
#include <cstring>
#include <memory>

#include "app/WhoisDlg.h"
#include "settings/SettingsBackEnds.h"

namespace {
static_assert(sizeof(LOGFONTA) == kFontRecordSize, "the stored font is the platform's record, byte for byte");

std::unique_ptr<ISettingsStore> BackEnd(BOOL bRegistry, const CString& iniPath)
{
    if (bRegistry) return std::make_unique<CRegistrySettings>(*AfxGetApp());
    return std::make_unique<CIniSettings>(iniPath.Str());
}

// A stored place whose size the window cannot take, or that no monitor shows, would leave the window
// out of the user's reach: the default place is taken instead. One larger than the screen it is on
// is fitted to the screen's work area.
RECT UsableRect(const WindowPlace& stored)
{
    WindowPlace place = HasUsableSize(stored) ? stored : DefaultWindowPlace();
    RECT rect{place.left, place.top, place.right, place.bottom};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    HMONITOR shown = MonitorFromRect(&rect, MONITOR_DEFAULTTONULL);
    if (!shown) {
        place = DefaultWindowPlace();
    } else if (GetMonitorInfoA(shown, &monitor)) {
        const RECT& work = monitor.rcWork;
        place = FittedPlace(place, WindowPlace{work.left, work.top, work.right, work.bottom});
    }
    return RECT{place.left, place.top, place.right, place.bottom};
}
}  // namespace

void CWhoisDlg::LoadSettings(BOOL bRegistry)
{
    COptionsDlg& view = m_dlgOptions;
    Settings settings;
    memcpy(settings.font.data(), &view.lfFont, kFontRecordSize);
    ReadSettings(*BackEnd(bRegistry, m_strIniPath), GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW), &settings);
    view.crText = settings.textColour;
    view.crBackground = settings.backgroundColour;
    view.crLink = settings.linkColour;
    view.bNoLinkParsing = settings.noLinkParsing;
    memcpy(&view.lfFont, settings.font.data(), kFontRecordSize);

    const RECT place = UsableRect(settings.place);
    MoveWindow(m_hWnd, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);

    m_dlgServers.m_servers = std::move(settings.servers);
    m_bServersReadWhole = settings.serversWhole;
    RebuildServerCombo();
}

BOOL CWhoisDlg::SaveSettings(BOOL bRegistry)
{
    const COptionsDlg& view = m_dlgOptions;
    Settings settings;
    settings.textColour = view.crText;
    settings.backgroundColour = view.crBackground;
    settings.linkColour = view.crLink;
    settings.noLinkParsing = view.bNoLinkParsing;
    memcpy(settings.font.data(), &view.lfFont, kFontRecordSize);

    // A minimised or maximised window is stored with its normal place, where it opens next time.
    RECT position;
    GetWindowRect(m_hWnd, &position);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if ((IsIconic() || IsZoomed(m_hWnd)) && GetWindowPlacement(m_hWnd, &placement)) {
        // The normal place is given in work-area coordinates.
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoA(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
        position = placement.rcNormalPosition;
        OffsetRect(&position, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
    }
    settings.place = WindowPlace{position.left, position.top, position.right, position.bottom};
    settings.servers = m_dlgServers.m_servers;
    settings.serversWhole = m_bServersReadWhole;
    return WriteSettings(*BackEnd(bRegistry, m_strIniPath), settings);
}
