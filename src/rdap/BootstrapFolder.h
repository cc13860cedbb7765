// CBootstrapFolder: the saved copies of IANA's bootstrap files, in the user's local application
// data ("...\AppData\Local\Tarquelin\Whois\RDAP" on today's Windows).
#pragma once

#include "rdap/BootstrapSource.h"

class CBootstrapFolder : public IBootstrapStore {
public:
    bool Load(const std::string& name, std::string* text, std::chrono::seconds* age) override;
    // Written beside the old copy first, so that a failed write never leaves half a file.
    void Save(const std::string& name, const std::string& text) override;
};

// The folder, with its final "\"; "" when the system names no local application data.
std::string BootstrapFolderPath();

// The running program's bootstrap files, kept in that folder.
BootstrapSource& ProgramBootstrap();
