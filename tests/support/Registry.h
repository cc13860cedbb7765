// The registry of the test prefix: raw values as a store leaves them, and a test-only company key
// for the application's profile, removed before and after.
#pragma once

#include <string>

#include "framework/WinApp.h"

struct RawValue {
    LONG status = ERROR_FILE_NOT_FOUND;
    DWORD type = REG_NONE;
    std::string data;
};

// A value under HKEY_CURRENT_USER\<keyPath>, as stored.
RawValue ReadRawValue(const std::string& keyPath, const char* entry);
void WriteRawValue(const std::string& keyPath, const char* entry, DWORD type, const std::string& data);
void DeleteKeyTree(HKEY parent, const std::string& name);
std::string DwordBytes(DWORD value);

// Points the application's profile at HKEY_CURRENT_USER\Software\<company>\<profile> for a test,
// empty at the start, and puts the application's own names back at the end.
class TestProfile {
public:
    TestProfile(const char* company, const char* profile);
    ~TestProfile();
    TestProfile(const TestProfile&) = delete;
    TestProfile& operator=(const TestProfile&) = delete;

    std::string SectionPath(const char* section) const { return m_root + "\\" + m_profile + "\\" + section; }

private:
    CWinApp* m_app;
    std::string m_root;
    std::string m_profile;
    CString m_savedAppName, m_savedRegistryKey, m_savedProfileName;
};
