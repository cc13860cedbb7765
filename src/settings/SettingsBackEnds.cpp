// The registry and INI back ends of the settings store.
#include "settings/SettingsBackEnds.h"

#include <cstring>

#include "settings/IniEncoding.h"
#include "text/SystemText.h"
#include "text/Utf8.h"

namespace {
// INI values are read through a buffer of this size.
const DWORD kIniValueBuffer = 1000;
// The INI section is read in steps of this size until it fits.
const DWORD kIniSectionStep = 16384;
// Room for the longest value name there can be.
const size_t kLongestValueName = 16383 + 1;

// Registry data as text up to its first zero, whatever type the value has: a text value in UTF-16,
// any other's bytes in the ANSI code page (as the ANSI functions handed them over before).
std::string DataText(DWORD type, const BYTE* data, DWORD length)
{
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
        WideText text(length / sizeof(wchar_t), L'\0');
        memcpy(text.data(), data, text.size() * sizeof(wchar_t));
        return WideToUtf8(text.substr(0, text.find(L'\0')));
    }
    const char* bytes = reinterpret_cast<const char*>(data);
    return WideToUtf8(AnsiToWide(std::string_view(bytes, strnlen(bytes, length))));
}

WideText WidePath(const std::string& path)
{
    return AnsiToWide(path);
}
}  // namespace

int CRegistrySettings::ReadInt(const char* section, const char* key, int defaultValue)
{
    return static_cast<int>(m_app.GetProfileInt(section, key, defaultValue));
}

std::string CRegistrySettings::ReadString(const char* section, const char* key, const char* defaultValue)
{
    return m_app.GetProfileString(section, key, defaultValue).Str();
}

bool CRegistrySettings::WriteInt(const char* section, const char* key, int value)
{
    return m_app.WriteProfileInt(section, key, value) != FALSE;
}

bool CRegistrySettings::WriteString(const char* section, const char* key, const std::string& value)
{
    HKEY sectionKey = m_app.GetSectionKey(section);
    if (!sectionKey) return false;
    const WideText text = Utf8ToWide(value);
    const LONG status = RegSetValueExW(sectionKey, Utf8ToWide(key).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(sectionKey);
    return status == ERROR_SUCCESS;
}

bool CRegistrySettings::ReadServers(std::vector<StoredServer>* entries)
{
    entries->clear();
    const std::string path = m_app.GetSectionPath(kServersSection);
    HKEY key = nullptr;
    DWORD disposition = 0;
    char keyClass[] = "DWORD";
    if (path.empty() || RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, keyClass, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return false;
    DWORD values = 0, longestName = 0, longestData = 0;
    LONG status = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, &longestName,
                                   &longestData, nullptr, nullptr);
    std::vector<wchar_t> name(static_cast<size_t>(longestName) + 1);
    std::vector<BYTE> data(static_cast<size_t>(longestData) + sizeof(wchar_t));
    for (DWORD index = 0; status == ERROR_SUCCESS && index < values; ++index) {
        DWORD nameLength = 0, dataLength = 0, type = 0;
        for (;;) {
            nameLength = static_cast<DWORD>(name.size());
            dataLength = static_cast<DWORD>(data.size() - sizeof(wchar_t));
            status = RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataLength);
            // A name that fills its buffer may have been cut short (Wine cuts it without a word).
            const bool nameFull = status == ERROR_SUCCESS && nameLength + 1 >= name.size();
            if (status != ERROR_MORE_DATA && !nameFull) break;
            // The size the data needs is reported; the name's is not.
            if (status == ERROR_MORE_DATA && dataLength + sizeof(wchar_t) > data.size())
                data.resize(dataLength + sizeof(wchar_t));
            else if (name.size() < kLongestValueName)
                name.resize(std::min(2 * name.size(), kLongestValueName));
            else
                break;
        }
        // Fewer values than counted: another program removed some meanwhile.
        if (status == ERROR_NO_MORE_ITEMS) {
            status = ERROR_SUCCESS;
            break;
        }
        if (status != ERROR_SUCCESS) break;
        entries->push_back(StoredRegistryServer(WideToUtf8(WideText(name.data(), nameLength)), DataText(type, data.data(), dataLength)));
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool CRegistrySettings::DeleteServer(const std::string& name)
{
    HKEY sectionKey = m_app.GetSectionKey(kServersSection);
    if (!sectionKey) return false;
    const LONG status = RegDeleteValueW(sectionKey, Utf8ToWide(name).c_str());
    RegCloseKey(sectionKey);
    return status == ERROR_SUCCESS;
}

int CIniSettings::ReadInt(const char* section, const char* key, int defaultValue)
{
    return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, m_path.c_str()));
}

std::string CIniSettings::ReadString(const char* section, const char* key, const char* defaultValue)
{
    wchar_t value[kIniValueBuffer] = {};
    GetPrivateProfileStringW(Utf8ToWide(section).c_str(), Utf8ToWide(key).c_str(), Utf8ToWide(defaultValue).c_str(), value,
                             kIniValueBuffer, WidePath(m_path).c_str());
    return WideToUtf8(value);
}

bool CIniSettings::WriteInt(const char* section, const char* key, int value)
{
    return WriteString(section, key, std::to_string(value));
}

bool CIniSettings::WriteString(const char* section, const char* key, const std::string& value)
{
    return BeginUnicodeFile() && WritePrivateProfileStringW(Utf8ToWide(section).c_str(), Utf8ToWide(key).c_str(),
                                                            Utf8ToWide(value).c_str(), WidePath(m_path).c_str()) != FALSE;
}

bool CIniSettings::ReadServers(std::vector<StoredServer>* entries)
{
    std::vector<wchar_t> section(kIniSectionStep);
    DWORD length = 0;
    // A section that did not fit comes back as the buffer's size less two.
    while ((length = GetPrivateProfileSectionW(Utf8ToWide(kServersSection).c_str(), section.data(),
                                               static_cast<DWORD>(section.size()), WidePath(m_path).c_str())) ==
           section.size() - 2)
        section.resize(section.size() + kIniSectionStep);
    const std::string text = WideToUtf8(WideText(section.data(), length));
    *entries = StoredIniServers(text.data(), text.size());
    return true;
}

bool CIniSettings::DeleteServer(const std::string& name)
{
    return BeginUnicodeFile() && WritePrivateProfileStringW(Utf8ToWide(kServersSection).c_str(), Utf8ToWide(name).c_str(),
                                                            nullptr, WidePath(m_path).c_str()) != FALSE;
}

bool CIniSettings::BeginUnicodeFile()
{
    if (m_bUnicode) return true;
    std::string file;
    HANDLE handle = CreateFileA(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(handle, chunk, sizeof chunk, &got, nullptr) && got > 0) file.append(chunk, got);
        CloseHandle(handle);
    } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
        return false;
    }
    const std::optional<std::string> unicode = UnicodeIniBytes(file, AnsiToWide);
    // Written beside the file and then put in its place, so that a failed write loses nothing.
    if (unicode && !ReplaceFileWith(*unicode)) return false;
    m_bUnicode = true;
    return true;
}

bool CIniSettings::ReplaceFileWith(const std::string& bytes) const
{
    const std::string temporary = m_path + ".new";
    HANDLE handle = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool wrote = WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(handle);
    if (wrote && MoveFileExA(temporary.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    DeleteFileA(temporary.c_str());
    return false;
}
