// The settings as one value (the answer view's look, the main window's place, the custom servers)
// and their mapping onto the names, texts and defaults of a store. A store is one of two back ends
// behind one small interface: the registry or an INI file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/ServerData.h"

extern const char kOptionsSection[];
extern const char kServersSection[];

class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    // A value of a section, or the default when it is absent or cannot be read.
    virtual int ReadInt(const char* section, const char* key, int defaultValue) = 0;
    virtual std::string ReadString(const char* section, const char* key, const char* defaultValue) = 0;
    // False when the write failed.
    virtual bool WriteInt(const char* section, const char* key, int value) = 0;
    virtual bool WriteString(const char* section, const char* key, const std::string& value) = 0;
    // Every entry of the servers section, in stored order. False when the section could not be read
    // whole: `entries` then holds the part that could.
    virtual bool ReadServers(std::vector<StoredServer>* entries) = 0;
    virtual bool DeleteServer(const std::string& name) = 0;
};

// The platform's logical font record with an 8-bit face name, byte for byte as stored.
constexpr size_t kFontRecordSize = 60;
constexpr size_t kFaceNameOffset = 28;

// The main window's outer rectangle in screen pixels.
struct WindowPlace {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct Settings {
    std::uint32_t textColour = 0;
    std::uint32_t backgroundColour = 0;
    std::uint32_t linkColour = 0;
    std::int32_t noLinkParsing = 0;
    std::array<std::uint8_t, kFontRecordSize> font{};
    WindowPlace place;
    std::vector<ServerEntry> servers;
    // False when the stored server list could not be read whole: a save then removes no stored entry.
    bool serversWhole = true;
};

// Reads every setting into `settings`. A value that is absent or unreadable takes its default; the
// text and background colours default to the system's, which the caller gives. The font keeps the
// bytes its stored text does not reach; the place starts from the default place.
void ReadSettings(ISettingsStore& store, std::uint32_t systemText, std::uint32_t systemBackground, Settings* settings);

// Writes every setting. The stored entries of a server's shape give way to the list; entries the
// program could not read stay as they are. False when a write failed.
bool WriteSettings(ISettingsStore& store, const Settings& settings);

// Left 80, top 80, 560 by 441 pixels.
WindowPlace DefaultWindowPlace();
// Whether the window can take a place: a width and a height above zero that a platform number holds.
bool HasUsableSize(const WindowPlace& place);
// A place wider or higher than `area` (a place stored on a larger screen) takes the area's width
// or height, so that the whole window is seen; a place that fits is kept as it is.
WindowPlace FittedPlace(const WindowPlace& place, const WindowPlace& area);
