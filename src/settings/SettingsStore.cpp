// The settings store: the view settings, the window's place and the custom servers, in the
// registry (HKEY_CURRENT_USER\Software\Tarquelin\Whois) or in an INI file of the user's choice.
#include <vector>

#include "app/WhoisDlg.h"
#include "framework/WinApp.h"
#include "settings/HexRecord.h"
#include "settings/ServerData.h"

namespace {
const char kOptions[] = "Options";
const char kServers[] = "Servers";
// "Courier New" of height -10, every other field zero.
const char kDefaultFont[] =
    "f6ffffff000000000000000000000000000000000000000000000000436f7572696572204e6577000000000000000000000000000000000000000000";
// Left 80, top 80, right 640, bottom 521.
const char kDefaultPosition[] = "50000000500000008002000009020000";
// INI values are read through a buffer of this size.
const DWORD kIniValueBuffer = 1000;
// The INI section is read in steps of this size until it fits.
const DWORD kIniSectionStep = 16384;

const char* Section(BOOL options)
{
    return options ? kOptions : kServers;
}

RECT DefaultPosition()
{
    RECT rect{};
    DecodeHexRecord(kDefaultPosition, &rect, sizeof rect);
    return rect;
}

// A stored rectangle that has no size, or that no monitor shows, would leave the window out of
// the user's reach: the default place is taken instead.
RECT UsablePosition(const RECT& stored)
{
    if (stored.right <= stored.left || stored.bottom <= stored.top) return DefaultPosition();
    if (!MonitorFromRect(&stored, MONITOR_DEFAULTTONULL)) return DefaultPosition();
    return stored;
}

// Deletes a registry key with all keys below it; false when it could not.
bool DeleteKeyTree(HKEY parent, const char* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
    char child[256];
    DWORD length = sizeof child;
    while (RegEnumKeyExA(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           DeleteKeyTree(key, child))
        length = sizeof child;
    RegCloseKey(key);
    return RegDeleteKeyA(parent, name) == ERROR_SUCCESS;
}
}  // namespace

int CWhoisDlg::ReadSettingInt(BOOL bRegistry, BOOL bOptions, const char* key, int defaultValue) const
{
    if (bRegistry) return static_cast<int>(AfxGetApp()->GetProfileInt(Section(bOptions), key, defaultValue));
    return static_cast<int>(GetPrivateProfileIntA(Section(bOptions), key, defaultValue, m_strIniPath));
}

CString CWhoisDlg::ReadSettingString(BOOL bRegistry, BOOL bOptions, const char* key, const char* defaultValue) const
{
    if (bRegistry) return AfxGetApp()->GetProfileString(Section(bOptions), key, defaultValue);
    char value[kIniValueBuffer] = {};
    GetPrivateProfileStringA(Section(bOptions), key, defaultValue, value, kIniValueBuffer, m_strIniPath);
    return CString(value);
}

BOOL CWhoisDlg::WriteSettingInt(BOOL bRegistry, BOOL bOptions, const char* key, int value)
{
    if (bRegistry) return AfxGetApp()->WriteProfileInt(Section(bOptions), key, value);
    return WritePrivateProfileStringA(Section(bOptions), key, std::to_string(value).c_str(), m_strIniPath);
}

BOOL CWhoisDlg::WriteSettingString(BOOL bRegistry, BOOL bOptions, const char* key, const char* value)
{
    if (bRegistry) return AfxGetApp()->WriteProfileString(Section(bOptions), key, value);
    return WritePrivateProfileStringA(Section(bOptions), key, value, m_strIniPath);
}

void CWhoisDlg::LoadSettings(BOOL bRegistry)
{
    COptionsDlg& view = m_dlgOptions;
    view.crText = static_cast<COLORREF>(ReadSettingInt(bRegistry, TRUE, "Font color", static_cast<int>(GetSysColor(COLOR_WINDOWTEXT))));
    view.crBackground = static_cast<COLORREF>(ReadSettingInt(bRegistry, TRUE, "Background color", static_cast<int>(GetSysColor(COLOR_WINDOW))));
    view.crLink = static_cast<COLORREF>(ReadSettingInt(bRegistry, TRUE, "Link color", 16711680));
    view.bNoLinkParsing = ReadSettingInt(bRegistry, TRUE, "No link parsing", 0);
    DecodeHexRecord(ReadSettingString(bRegistry, TRUE, "Font", kDefaultFont).Str(), &view.lfFont, sizeof view.lfFont);
    // A stored face name of 32 characters has no room for its end: the last byte ends it.
    view.lfFont.lfFaceName[LF_FACESIZE - 1] = '\0';

    RECT position = DefaultPosition();
    DecodeHexRecord(ReadSettingString(bRegistry, TRUE, "Window position", kDefaultPosition).Str(), &position, sizeof position);
    position = UsablePosition(position);
    MoveWindow(m_hWnd, position.left, position.top, position.right - position.left, position.bottom - position.top, TRUE);

    LoadServers(bRegistry);
    RebuildServerCombo();
}

BOOL CWhoisDlg::SaveSettings(BOOL bRegistry)
{
    const COptionsDlg& view = m_dlgOptions;
    BOOL wrote = WriteSettingInt(bRegistry, TRUE, "Font color", static_cast<int>(view.crText));
    wrote &= WriteSettingInt(bRegistry, TRUE, "Background color", static_cast<int>(view.crBackground));
    wrote &= WriteSettingInt(bRegistry, TRUE, "Link color", static_cast<int>(view.crLink));
    wrote &= WriteSettingInt(bRegistry, TRUE, "No link parsing", view.bNoLinkParsing);
    wrote &= WriteSettingString(bRegistry, TRUE, "Font", EncodeHexRecord(&view.lfFont, sizeof view.lfFont).c_str());

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
    wrote &= WriteSettingString(bRegistry, TRUE, "Window position", EncodeHexRecord(&position, sizeof position).c_str());
    wrote &= SaveServers(bRegistry);
    return wrote;
}

void CWhoisDlg::LoadServers(BOOL bRegistry)
{
    std::vector<ServerEntry>& servers = m_dlgServers.m_servers;
    servers.clear();
    if (!bRegistry) {
        std::vector<char> section(kIniSectionStep);
        DWORD length = GetPrivateProfileSectionA(kServers, section.data(), static_cast<DWORD>(section.size()), m_strIniPath);
        while (length == section.size() - 2) {
            section.resize(section.size() + kIniSectionStep);
            length = GetPrivateProfileSectionA(kServers, section.data(), static_cast<DWORD>(section.size()), m_strIniPath);
        }
        servers = ParseServerSection(section.data(), length);
        return;
    }

    const std::string path = AfxGetApp()->GetSectionPath(kServers);
    HKEY key = nullptr;
    DWORD disposition = 0;
    char keyClass[] = "DWORD";
    if (path.empty() || RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, keyClass, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return;
    DWORD values = 0, longestName = 0, longestData = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, &longestName,
                         &longestData, nullptr, nullptr) == ERROR_SUCCESS) {
        std::vector<char> name(longestName + 1);
        std::vector<char> data(longestData + 1);
        for (DWORD index = 0; index < values; ++index) {
            DWORD nameLength = static_cast<DWORD>(name.size());
            DWORD dataLength = static_cast<DWORD>(data.size() - 1);
            std::fill(data.begin(), data.end(), '\0');
            if (RegEnumValueA(key, index, name.data(), &nameLength, nullptr, nullptr,
                              reinterpret_cast<BYTE*>(data.data()), &dataLength) != ERROR_SUCCESS)
                break;
            // The data is read as text up to its first zero, whatever type the value has.
            ServerEntry entry{std::string(name.data(), nameLength), "", ""};
            if (SplitServerData(data.data(), &entry.host, &entry.port)) servers.push_back(entry);
        }
    }
    RegCloseKey(key);
}

BOOL CWhoisDlg::SaveServers(BOOL bRegistry)
{
    if (bRegistry) {
        const std::string path = AfxGetApp()->GetSectionPath(kServers);
        if (!path.empty()) DeleteKeyTree(HKEY_CURRENT_USER, path.c_str());
    } else {
        WritePrivateProfileSectionA(kServers, nullptr, m_strIniPath);
    }
    BOOL wrote = TRUE;
    for (const ServerEntry& entry : m_dlgServers.m_servers)
        wrote &= WriteSettingString(bRegistry, FALSE, entry.label.c_str(), ServerData(entry).c_str());
    return wrote;
}
