// The settings' names, stored texts and defaults, the same for both back ends.
#include "settings/Settings.h"

#include <limits>

#include "settings/HexRecord.h"
#include "settings/ServerData.h"

const char kOptionsSection[] = "Options";
const char kServersSection[] = "Servers";

namespace {
// "Courier New" of height -10, every other field zero.
const char kDefaultFont[] =
    "f6ffffff000000000000000000000000000000000000000000000000436f7572696572204e6577000000000000000000000000000000000000000000";
// Left 80, top 80, right 640, bottom 521.
const char kDefaultPlace[] = "50000000500000008002000009020000";
const int kDefaultLinkColour = 16711680;

// The place as stored: four 32-bit little-endian numbers, left, top, right, bottom.
using PlaceBytes = std::array<std::uint8_t, 16>;

PlaceBytes BytesOf(const WindowPlace& place)
{
    PlaceBytes bytes{};
    const std::int32_t numbers[] = {place.left, place.top, place.right, place.bottom};
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(numbers[i / 4]) >> (8 * (i % 4)));
    return bytes;
}

WindowPlace PlaceOf(const PlaceBytes& bytes)
{
    std::int32_t numbers[4];
    for (size_t n = 0; n < 4; ++n) {
        std::uint32_t value = 0;
        for (size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(bytes[n * 4 + i]) << (8 * i);
        numbers[n] = static_cast<std::int32_t>(value);
    }
    return WindowPlace{numbers[0], numbers[1], numbers[2], numbers[3]};
}

WindowPlace DecodePlace(const std::string& text)
{
    PlaceBytes bytes{};
    DecodeHexRecord(kDefaultPlace, bytes.data(), bytes.size());
    DecodeHexRecord(text, bytes.data(), bytes.size());
    return PlaceOf(bytes);
}

bool ReadServerList(ISettingsStore& store, std::vector<ServerEntry>* servers)
{
    std::vector<StoredServer> stored;
    const bool whole = store.ReadServers(&stored);
    servers->clear();
    for (const StoredServer& entry : stored)
        if (entry.server) servers->push_back(*entry.server);
    return whole;
}

bool WriteServerList(ISettingsStore& store, const std::vector<ServerEntry>& servers, bool storedListWasRead)
{
    bool wrote = true;
    // Only a list that was read whole replaces what is stored; entries of another shape always stay.
    std::vector<StoredServer> stored;
    if (storedListWasRead) store.ReadServers(&stored);
    for (const StoredServer& entry : stored)
        if (entry.server) wrote &= store.DeleteServer(entry.name);
    for (const ServerEntry& server : servers) wrote &= store.WriteString(kServersSection, server.label.c_str(), ServerData(server));
    return wrote;
}
}  // namespace

WindowPlace DefaultWindowPlace()
{
    return DecodePlace("");
}

bool HasUsableSize(const WindowPlace& place)
{
    const long long width = static_cast<long long>(place.right) - place.left;
    const long long height = static_cast<long long>(place.bottom) - place.top;
    const long long most = std::numeric_limits<std::int32_t>::max();
    return width > 0 && height > 0 && width <= most && height <= most;
}

WindowPlace FittedPlace(const WindowPlace& place, const WindowPlace& area)
{
    WindowPlace fitted = place;
    auto size = [](std::int32_t from, std::int32_t to) { return static_cast<long long>(to) - from; };
    if (size(place.left, place.right) > size(area.left, area.right)) {
        fitted.left = area.left;
        fitted.right = area.right;
    }
    if (size(place.top, place.bottom) > size(area.top, area.bottom)) {
        fitted.top = area.top;
        fitted.bottom = area.bottom;
    }
    return fitted;
}

void ReadSettings(ISettingsStore& store, std::uint32_t systemText, std::uint32_t systemBackground, Settings* settings)
{
    auto colour = [&](const char* key, std::uint32_t defaultValue) {
        return static_cast<std::uint32_t>(store.ReadInt(kOptionsSection, key, static_cast<int>(defaultValue)));
    };
    settings->textColour = colour("Font color", systemText);
    settings->backgroundColour = colour("Background color", systemBackground);
    settings->linkColour = colour("Link color", kDefaultLinkColour);
    settings->noLinkParsing = store.ReadInt(kOptionsSection, "No link parsing", 0);
    DecodeHexRecord(store.ReadString(kOptionsSection, "Font", kDefaultFont), settings->font.data(), kFontRecordSize);
    // A stored face name of 32 characters has no room for its end: the last byte ends it.
    settings->font[kFontRecordSize - 1] = 0;
    settings->place = DecodePlace(store.ReadString(kOptionsSection, "Window position", kDefaultPlace));
    settings->serversWhole = ReadServerList(store, &settings->servers);
}

bool WriteSettings(ISettingsStore& store, const Settings& settings)
{
    bool wrote = store.WriteInt(kOptionsSection, "Font color", static_cast<int>(settings.textColour));
    wrote &= store.WriteInt(kOptionsSection, "Background color", static_cast<int>(settings.backgroundColour));
    wrote &= store.WriteInt(kOptionsSection, "Link color", static_cast<int>(settings.linkColour));
    wrote &= store.WriteInt(kOptionsSection, "No link parsing", settings.noLinkParsing);
    wrote &= store.WriteString(kOptionsSection, "Font", EncodeHexRecord(settings.font.data(), kFontRecordSize));
    const PlaceBytes place = BytesOf(settings.place);
    wrote &= store.WriteString(kOptionsSection, "Window position", EncodeHexRecord(place.data(), place.size()));
    wrote &= WriteServerList(store, settings.servers, settings.serversWhole);
    return wrote;
}
