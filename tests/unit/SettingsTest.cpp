// The settings' names, texts and defaults against a store in memory: what a fresh store gives, what
// a save writes and a load gives back, and a stored server list that is kept whatever its shape.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>
#include <strings.h>
#include <vector>

#include "settings/HexRecord.h"
#include "settings/Settings.h"

namespace {
struct NoCase {
    bool operator()(const std::string& a, const std::string& b) const { return strcasecmp(a.c_str(), b.c_str()) < 0; }
};

// Names are matched without regard to case, as the registry and INI files match them. Numbers are
// kept apart from texts, so a test sees which kind each setting was written as.
class MemoryStore : public ISettingsStore {
public:
    std::map<std::string, int, NoCase> numbers;
    std::map<std::string, std::string, NoCase> texts;
    // The stored servers as "name=data", in stored order; data without two words is no server.
    std::vector<std::string> servers;
    // How many server entries can be read before the read fails.
    size_t readable = SIZE_MAX;

    int ReadInt(const char*, const char* key, int defaultValue) override
    {
        return numbers.count(key) ? numbers[key] : defaultValue;
    }
    std::string ReadString(const char*, const char* key, const char* defaultValue) override
    {
        return texts.count(key) ? texts[key] : defaultValue;
    }
    bool WriteInt(const char*, const char* key, int value) override { return numbers[key] = value, true; }
    bool WriteString(const char* section, const char* key, const std::string& value) override
    {
        if (section != std::string(kServersSection)) return texts[key] = value, true;
        const auto found = Find(key);
        if (found == servers.end())
            servers.push_back(std::string(key) + "=" + value);
        else
            *found = std::string(key) + "=" + value;
        return true;
    }
    bool ReadServers(std::vector<StoredServer>* entries) override
    {
        entries->clear();
        for (size_t i = 0; i < servers.size() && i < readable; ++i) {
            const size_t cut = servers[i].find('=');
            entries->push_back(StoredRegistryServer(servers[i].substr(0, cut), servers[i].substr(cut + 1)));
        }
        return servers.size() <= readable;
    }
    bool DeleteServer(const std::string& name) override
    {
        const auto found = Find(name);
        if (found == servers.end()) return false;
        servers.erase(found);
        return true;
    }

private:
    std::vector<std::string>::iterator Find(const std::string& name)
    {
        for (auto it = servers.begin(); it != servers.end(); ++it)
            if (strcasecmp(it->substr(0, it->find('=')).c_str(), name.c_str()) == 0) return it;
        return servers.end();
    }
};

std::vector<std::string> Joined(const std::vector<ServerEntry>& servers)
{
    std::vector<std::string> texts;
    for (const ServerEntry& s : servers) texts.push_back(s.label + "|" + s.host + "|" + s.port);
    return texts;
}

std::string PlaceText(const WindowPlace& p)
{
    return std::to_string(p.left) + "," + std::to_string(p.top) + "," + std::to_string(p.right) + "," +
           std::to_string(p.bottom);
}

std::string FontText(const Settings& settings)
{
    return EncodeHexRecord(settings.font.data(), settings.font.size());
}

const char kDefaultFont[] =
    "f6ffffff000000000000000000000000000000000000000000000000436f7572696572204e6577000000000000000000000000000000000000000000";
}  // namespace

TEST(Settings, AFreshStoreGivesTheDefaults)
{
    MemoryStore store;
    Settings settings;
    settings.font.fill(0xEE);
    settings.servers = {{"Old", "old.example", "43"}};
    ReadSettings(store, 0x111111, 0x222222, &settings);
    EXPECT_EQ(0x111111u, settings.textColour);
    EXPECT_EQ(0x222222u, settings.backgroundColour);
    EXPECT_EQ(16711680u, settings.linkColour);
    EXPECT_EQ(0, settings.noLinkParsing);
    EXPECT_EQ(kDefaultFont, FontText(settings)) << "Courier New of height -10, every other byte zero";
    EXPECT_EQ("80,80,640,521", PlaceText(settings.place));
    EXPECT_TRUE(settings.servers.empty());
    EXPECT_TRUE(settings.serversWhole);
}

TEST(Settings, ASaveWritesEachSettingUnderItsNameAndALoadGivesItBack)
{
    Settings saved;
    saved.textColour = 0x030201;
    saved.backgroundColour = 0xE6F0FA;
    saved.linkColour = 0x008000;
    saved.noLinkParsing = 1;
    for (size_t i = 0; i < saved.font.size(); ++i) saved.font[i] = static_cast<uint8_t>(i * 7);
    saved.font.back() = 0;
    saved.place = {-100, 120, 700, 600};
    saved.servers = {{"Local", "localhost", "43"}, {"Mine", "192.0.2.9", "4343"}};
    MemoryStore store;
    ASSERT_TRUE(WriteSettings(store, saved));

    const std::map<std::string, int, NoCase> numbers = {
        {"Font color", 0x030201}, {"Background color", 0xE6F0FA}, {"Link color", 0x008000}, {"No link parsing", 1}};
    EXPECT_EQ(numbers, store.numbers);
    EXPECT_EQ(2u, store.texts.size());
    EXPECT_EQ("9cffffff78000000bc02000058020000", store.texts["Window position"]);
    EXPECT_EQ(120u, store.texts["Font"].size());
    EXPECT_EQ(std::string::npos, store.texts["Font"].find_first_not_of("0123456789abcdef"));
    EXPECT_EQ((std::vector<std::string>{"Local=localhost 43", "Mine=192.0.2.9 4343"}), store.servers);

    Settings loaded;
    ReadSettings(store, 0, 0, &loaded);
    EXPECT_EQ(saved.textColour, loaded.textColour);
    EXPECT_EQ(saved.backgroundColour, loaded.backgroundColour);
    EXPECT_EQ(saved.linkColour, loaded.linkColour);
    EXPECT_EQ(saved.noLinkParsing, loaded.noLinkParsing);
    EXPECT_EQ(saved.font, loaded.font);
    EXPECT_EQ(PlaceText(saved.place), PlaceText(loaded.place));
    EXPECT_EQ(Joined(saved.servers), Joined(loaded.servers));
}

TEST(Settings, StoredTextsOfTheFontAndThePlaceCoverWhatTheyReach)
{
    struct Case {
        const char* key;
        std::string text;
        std::string font;   // the font's text after loading over a font of 0xEE bytes
        const char* place;  // the place after loading
    };
    const std::string face = std::string(kDefaultFont, 56);
    const Case cases[] = {
        // The height alone, in upper case: the rest stays, but the last byte always ends the face.
        {"Font", "F6FFFFFF", "f6ffffff" + std::string(110, 'e') + "00", "80,80,640,521"},
        {"Font", face + std::string(64, '4'), face + std::string(62, '4') + "00", "80,80,640,521"},  // 32 "D"
        {"Window position", "64 00 00 00 78 00 00 00 BC 02 00 00 58 02 00 00", kDefaultFont, "100,120,700,600"},
        {"Window position", "64000000", kDefaultFont, "100,80,640,521"},  // the left edge alone
        {"Window position", "ffffff7f000000000000008001000000", kDefaultFont, "2147483647,0,-2147483648,1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        MemoryStore store;
        store.texts[c.key] = c.text;
        Settings settings;
        settings.font.fill(0xEE);
        ReadSettings(store, 0, 0, &settings);
        EXPECT_EQ(c.font, FontText(settings));
        EXPECT_EQ(c.place, PlaceText(settings.place));
    }
}

TEST(Settings, APlaceIsUsableWhenItsSizeIsAboveZeroAndFitsAPlatformNumber)
{
    struct Case {
        WindowPlace place;
        bool usable;
    };
    const Case cases[] = {
        {{80, 80, 640, 521}, true},
        {{-5000, -5000, 5000, 5000}, true},
        {{0, 0, INT_MAX, INT_MAX}, true},
        {{100, 100, 100, 200}, false},                 // no width
        {{100, 100, 200, 50}, false},                  // bottom above top
        {{INT_MIN, 0, INT_MAX, 100}, false},           // a width beyond a 32-bit number
        {{0, -2, 100, INT_MAX}, false},
        {{INT_MAX, 0, INT_MIN, 1}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.usable, HasUsableSize(c.place)) << PlaceText(c.place);
    EXPECT_TRUE(HasUsableSize(DefaultWindowPlace()));
}

TEST(Settings, StoredServersAreReplacedOnlyWhereTheListWasReadAndHadAServersShape)
{
    struct Case {
        const char* name;
        std::vector<std::string> stored;
        size_t readable;
        std::vector<std::string> loaded;  // the list a load gives
        std::vector<ServerEntry> list;    // the list then saved
        std::vector<std::string> after;   // what is stored after the save
    };
    const Case cases[] = {
        {"entries of another shape stay where they are",
         {"A=a.example 43", "HostOnly=lonely.example", "Empty=", "C=c.example 44"}, SIZE_MAX,
         {"A|a.example|43", "C|c.example|44"},
         {{"c", "c2.example", "45"}, {"D", "d.example", "46"}},
         {"HostOnly=lonely.example", "Empty=", "c=c2.example 45", "D=d.example 46"}},
        {"a list read in part removes nothing",
         {"A=a.example 43", "B=b.example 43", "C=c.example 43"}, 1,
         {"A|a.example|43"},
         {{"A", "a2.example", "43"}, {"X", "x.example", "1"}},
         {"A=a2.example 43", "B=b.example 43", "C=c.example 43", "X=x.example 1"}},
        {"an emptied list removes every server",
         {"A=a.example 43", "Bad=x"}, SIZE_MAX, {"A|a.example|43"}, {}, {"Bad=x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryStore store;
        store.servers = c.stored;
        store.readable = c.readable;
        Settings settings;
        ReadSettings(store, 0, 0, &settings);
        EXPECT_EQ(c.loaded, Joined(settings.servers));
        EXPECT_EQ(c.readable == SIZE_MAX, settings.serversWhole);
        settings.servers = c.list;
        store.readable = SIZE_MAX;
        EXPECT_TRUE(WriteSettings(store, settings));
        EXPECT_EQ(c.after, store.servers);
    }
}

TEST(Settings, APlaceLargerThanTheScreenIsFittedToIt)
{
    const WindowPlace area{0, 0, 1280, 1000};
    struct Case {
        WindowPlace place;
        const char* fitted;
    };
    const Case cases[] = {
        {{80, 80, 640, 521}, "80,80,640,521"},
        {{-300, 900, 200, 1400}, "-300,900,200,1400"},  // partly off the screen, as the user left it
        {{10, 10, 2570, 1450}, "0,0,1280,1000"},         // stored on a larger screen
        {{700, 20, 2000, 500}, "0,20,1280,500"},         // wider only
        {{INT_MIN, 0, INT_MAX, 100}, "0,0,1280,100"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.fitted, PlaceText(FittedPlace(c.place, area))) << PlaceText(c.place);
}
