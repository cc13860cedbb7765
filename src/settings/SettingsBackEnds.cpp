// The registry and INI back ends of the settings store.
#include "settings/SettingsBackEnds.h"

#include <cstring>

namespace {
// INI values are read through a buffer of this size.
const DWORD kIniValueBuffer = 1000;
// The INI section is read in steps of this size until it fits.
const DWORD kIniSectionStep = 16384;
// Room for the longest value name there can be: 16,383 characters of up to three bytes each.
const size_t kLongestValueName = 3 * 16383 + 1;
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
    return m_app.WriteProfileString(section, key, value.c_str()) != FALSE;
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
    LONG status = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, &longestName,
                                   &longestData, nullptr, nullptr);
    // The longest name is counted in characters, and a character of the ANSI code page may take two
    // bytes; a buffer that is still short grows below.
    std::vector<char> name(2 * static_cast<size_t>(longestName) + 1);
    std::vector<char> data(static_cast<size_t>(longestData) + 1);
    for (DWORD index = 0; status == ERROR_SUCCESS && index < values; ++index) {
        DWORD nameLength = 0, dataLength = 0;
        for (;;) {
            nameLength = static_cast<DWORD>(name.size());
            dataLength = static_cast<DWORD>(data.size());
            status = RegEnumValueA(key, index, name.data(), &nameLength, nullptr, nullptr,
                                   reinterpret_cast<BYTE*>(data.data()), &dataLength);
            // A name that fills its buffer may have been cut short (Wine cuts it without a word).
            const bool nameFull = status == ERROR_SUCCESS && nameLength + 1 >= name.size();
            if (status != ERROR_MORE_DATA && !nameFull) break;
            // The size the data needs is reported; the name's is not.
            if (status == ERROR_MORE_DATA && dataLength > data.size())
                data.resize(dataLength);
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
        // The data is read as text up to its first zero, whatever type the value has.
        entries->push_back(StoredRegistryServer(std::string(name.data(), nameLength),
                                                std::string(data.data(), strnlen(data.data(), dataLength))));
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool CRegistrySettings::DeleteServer(const std::string& name)
{
    return m_app.WriteProfileString(kServersSection, name.c_str(), nullptr) != FALSE;
}

int CIniSettings::ReadInt(const char* section, const char* key, int defaultValue)
{
    return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, m_path.c_str()));
}

std::string CIniSettings::ReadString(const char* section, const char* key, const char* defaultValue)
{
    char value[kIniValueBuffer] = {};
    GetPrivateProfileStringA(section, key, defaultValue, value, kIniValueBuffer, m_path.c_str());
    return value;
}

bool CIniSettings::WriteInt(const char* section, const char* key, int value)
{
    return WritePrivateProfileStringA(section, key, std::to_string(value).c_str(), m_path.c_str()) != FALSE;
}

bool CIniSettings::WriteString(const char* section, const char* key, const std::string& value)
{
    return WritePrivateProfileStringA(section, key, value.c_str(), m_path.c_str()) != FALSE;
}

bool CIniSettings::ReadServers(std::vector<StoredServer>* entries)
{
    std::vector<char> section(kIniSectionStep);
    DWORD length = 0;
    // A section that did not fit comes back as the buffer's size less two.
    while ((length = GetPrivateProfileSectionA(kServersSection, section.data(), static_cast<DWORD>(section.size()),
                                               m_path.c_str())) == section.size() - 2)
        section.resize(section.size() + kIniSectionStep);
    *entries = StoredIniServers(section.data(), length);
    return true;
}

bool CIniSettings::DeleteServer(const std::string& name)
{
    return WritePrivateProfileStringA(kServersSection, name.c_str(), nullptr, m_path.c_str()) != FALSE;
}
