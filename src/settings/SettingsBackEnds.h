// The two back ends of the settings store: the application's profile in the registry
// (HKEY_CURRENT_USER\Software\Tarquelin\Whois) and an INI file of the user's choice.
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
    std::string m_path;
};
