// Raw registry access and the test profile for the window tests.
#include "support/Registry.h"

RawValue ReadRawValue(const std::string& keyPath, const char* entry)
{
    RawValue value;
    HKEY key = nullptr;
    value.status = RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, &key);
    if (value.status != ERROR_SUCCESS) return value;
    DWORD size = 0;
    value.status = RegQueryValueExA(key, entry, nullptr, &value.type, nullptr, &size);
    if (value.status == ERROR_SUCCESS) {
        value.data.assign(size, '\0');
        value.status = RegQueryValueExA(key, entry, nullptr, &value.type, reinterpret_cast<BYTE*>(&value.data[0]), &size);
        value.data.resize(size);
    }
    RegCloseKey(key);
    return value;
}

void WriteRawValue(const std::string& keyPath, const char* entry, DWORD type, const std::string& data)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, entry, 0, type, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

void DeleteKeyTree(HKEY parent, const std::string& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS) return;
    for (;;) {
        char child[256];
        DWORD size = sizeof child;
        if (RegEnumKeyExA(key, 0, child, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        DeleteKeyTree(key, child);
    }
    RegCloseKey(key);
    RegDeleteKeyA(parent, name.c_str());
}

std::string DwordBytes(DWORD value)
{
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

TestProfile::TestProfile(const char* company, const char* profile)
    : m_app(AfxGetApp()), m_root(std::string("Software\\") + company), m_profile(profile)
{
    m_savedAppName = m_app->m_strAppName;
    m_savedRegistryKey = m_app->m_strRegistryKey;
    m_savedProfileName = m_app->m_strProfileName;
    DeleteKeyTree(HKEY_CURRENT_USER, m_root);
    m_app->m_strAppName = profile;
    m_app->SetRegistryKey(company);
}

TestProfile::~TestProfile()
{
    DeleteKeyTree(HKEY_CURRENT_USER, m_root);
    m_app->m_strAppName = m_savedAppName;
    m_app->m_strRegistryKey = m_savedRegistryKey;
    m_app->m_strProfileName = m_savedProfileName;
}
