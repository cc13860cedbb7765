// The two back ends of the settings store: the application's profile in the registry
// (HKEY_CURRENT_USER\Software\Tarquelin\Whois) and an INI file of the user's choice. Texts come and
// go in UTF-8 and are stored through the wide API: a label or host may be of any script.
#pragma once

#include "framework/WinApp.h"
#include "settings/Settings.h"

class CRegistrySettings : public ISettingsStore {
public:
    explicit CRegistrySettings(const CWinApp& app) : m_app(app) {}
    int ReadInt(const char* section, const char* key, int defaultValue) override;
    std::string ReadString(const char* section, const char* key, const char* defaultValue) override;
    bool WriteInt(const char* section, const char* key, int value) override;
    bool WriteString(const char* section, const char* key, const std::string& value) override;
    bool ReadServers(std::vector<StoredServer>* entries) override;
    bool DeleteServer(const std::string& name) override;

private:
    const CWinApp& m_app;
};

class CIniSettings : public ISettingsStore {
public:
    explicit CIniSettings(std::string path) : m_path(std::move(path)) {}
    int ReadInt(const char* section, const char* key, int defaultValue) override;
    std::string ReadString(const char* section, const char* key, const char* defaultValue) override;
    bool WriteInt(const char* section, const char* key, int value) override;
    bool WriteString(const char* section, const char* key, const std::string& value) override;
    bool ReadServers(std::vector<StoredServer>* entries) override;
    bool DeleteServer(const std::string& name) override;

private:
    // Gives the file, before its first write, the byte-order mark that keeps it in UTF-16, turning
    // an older file's text into UTF-16 (its other sections stay). False when that failed.
    bool BeginUnicodeFile();
    bool ReplaceFileWith(const std::string& bytes) const;

    std::string m_path;
    bool m_bUnicode = false;
};
