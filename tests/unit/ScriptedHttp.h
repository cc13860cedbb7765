// Scripted HTTP answers by address, and saved bootstrap files in memory, for the RDAP runs' tests.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "rdap/BootstrapSource.h"

class ScriptedHttp : public IHttpClient {
public:
    std::map<std::string, HttpAnswer> answers;
    std::vector<std::string> asked;
    HttpAnswer Get(const std::string& url, IHttpProgress& progress) override
    {
        asked.push_back(url);
        progress.Connecting(HostOfUrl(url));
        auto found = answers.find(url);
        return found == answers.end() ? HttpAnswer{HttpEnd::ConnectFailed, 0, ""} : found->second;
    }
};

class MemoryStore : public IBootstrapStore {
public:
    std::map<std::string, std::pair<std::string, std::chrono::seconds>> files;
    bool Load(const std::string& name, std::string* text, std::chrono::seconds* age) override
    {
        auto found = files.find(name);
        if (found == files.end()) return false;
        *text = found->second.first;
        *age = found->second.second;
        return true;
    }
    void Save(const std::string& name, const std::string& text) override { files[name] = {text, std::chrono::seconds(0)}; }
};

inline HttpAnswer Ok(const std::string& body) { return {HttpEnd::Complete, 200, body}; }
