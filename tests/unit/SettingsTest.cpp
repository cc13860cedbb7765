// The settings' names, texts and defaults against a store in memory: a fresh store, a save and a
// load, places of any size, and stored server lists that keep what the program could not read.
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

// Names match without regard to case, as in the registry and INI files. Numbers are kept as "#N",
// so a test sees which kind each setting was written as; servers as "name=data", in stored order.
class MemoryStore : public ISettingsStore {
public:
    std::map<std::string, std::string, NoCase> values;
    std::vector<std::string> servers;
    size_t readable = SIZE_MAX;  // server entries a read gets through before it fails

    int ReadInt(const char*, const char* key, int or_) override { return values.count(key) ? std::stoi(values[key].substr(1)) : or_; }
    std::string ReadString(const char*, const char* key, const char* or_) override { return values.count(key) ? values[key] : or_; }
    bool WriteInt(const char*, const char* key, int value) override { return values[key] = "#" + std::to_string(value), true; }
    bool WriteString(const char* section, const char* key, const std::string& value) override
    {
        if (section != std::string(kServersSection)) return values[key] = value, true;
        DeleteServer(key);
        return servers.push_back(std::string(key) + "=" + value), true;
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
        for (auto it = servers.begin(); it != servers.end(); ++it)
            if (strcasecmp(it->substr(0, it->find('=')).c_str(), name.c_str()) == 0) return servers.erase(it), true;
        return false;
    }
};

std::vector<std::string> Joined(const std::vector<ServerEntry>& servers)
{
    std::vector<std::string> texts;
    for (const ServerEntry& s : servers) texts.push_back(s.label + "|" + s.host + "|" + s.port);
    return texts;
}

std::string Text(const WindowPlace& p)
{
    using std::to_string;
    return to_string(p.left) + "," + to_string(p.top) + "," + to_string(p.right) + "," + to_string(p.bottom);
}

std::string FontText(const Settings& s)
{
    return EncodeHexRecord(s.font.data(), s.font.size());
}
}  // namespace

TEST(Settings, AFreshStoreGivesTheDefaultsAndASaveWritesWhatALoadGivesBack)
{
    MemoryStore store;
    Settings fresh;
    fresh.font.fill(0xEE);
    fresh.servers = {{"Old", "old.example", "43"}};
    ReadSettings(store, 0x111111, 0x222222, &fresh);
    EXPECT_EQ((std::vector<int>{0x111111, 0x222222, 16711680, 0}),
              (std::vector<int>{int(fresh.textColour), int(fresh.backgroundColour), int(fresh.linkColour), fresh.noLinkParsing}));
    EXPECT_EQ("f6ffffff" + std::string(48, '0') + "436f7572696572204e6577" + std::string(42, '0'), FontText(fresh))
        << "Courier New of height -10, every other byte zero";
    EXPECT_EQ("80,80,640,521", Text(fresh.place));
    EXPECT_TRUE(fresh.servers.empty() && fresh.serversWhole);

    Settings saved{0x030201, 0xE6F0FA, 0x008000, 1, {}, {-100, 120, 700, 600},
                   {{"Local", "localhost", "43"}, {"B", "https://rdap.b.example/", "443"}}};
    for (size_t i = 0; i + 1 < saved.font.size(); ++i) saved.font[i] = static_cast<uint8_t>(i * 7);
    ASSERT_TRUE(WriteSettings(store, saved));
    const std::map<std::string, std::string, NoCase> values = {
        {"Font color", "#197121"}, {"Background color", "#15134970"}, {"Link color", "#32768"}, {"No link parsing", "#1"},
        {"Window position", "9cffffff78000000bc02000058020000"}, {"Font", FontText(saved)}};
    EXPECT_EQ(values, store.values);
    EXPECT_EQ((std::vector<std::string>{"Local=localhost 43", "B=https://rdap.b.example/ 443"}), store.servers);
    Settings loaded;
    ReadSettings(store, 0, 0, &loaded);
    EXPECT_EQ(FontText(saved), FontText(loaded));
    EXPECT_EQ(Text(saved.place), Text(loaded.place));
    EXPECT_EQ(Joined(saved.servers), Joined(loaded.servers));
}

TEST(Settings, APlaceNeedsASizeAPlatformNumberHoldsAndOneLargerThanTheScreenIsFittedToIt)
{
    const struct {
        WindowPlace place;
        const char* fitted;  // to a screen of 1280 by 1000; empty: not usable
    } cases[] = {
        {{80, 80, 640, 521}, "80,80,640,521"},
        {{-300, 900, 200, 1400}, "-300,900,200,1400"},  // partly off the screen, as the user left it
        {{10, 10, 2570, 1450}, "0,0,1280,1000"},         // stored on a larger screen
        {{700, 20, 2000, 500}, "0,20,1280,500"},
        {{0, 0, INT_MAX, INT_MAX}, "0,0,1280,1000"},
        {{100, 100, 100, 200}, ""},         // no width
        {{100, 100, 200, 50}, ""},          // bottom above top
        {{INT_MIN, 0, INT_MAX, 100}, ""},   // a width beyond a 32-bit number
        {{INT_MAX, 0, INT_MIN, 1}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.fitted, HasUsableSize(c.place) ? Text(FittedPlace(c.place, {0, 0, 1280, 1000})) : "") << Text(c.place);
}

TEST(Settings, StoredServersGiveWayToTheListOnlyWhereItWasReadAndHadAServersShape)
{
    const struct {
        std::vector<std::string> stored;
        size_t readable;
        std::vector<std::string> loaded;  // the list a load gives
        std::vector<ServerEntry> list;    // the list then saved
        std::vector<std::string> after;   // what is stored after the save
    } cases[] = {
        {{"A=a.example 43", "HostOnly=lonely.example", "Empty=", "C=c.example 44"}, SIZE_MAX,
         {"A|a.example|43", "C|c.example|44"}, {{"c", "c2.example", "45"}, {"D", "d.example", "46"}},
         {"HostOnly=lonely.example", "Empty=", "c=c2.example 45", "D=d.example 46"}},
        // A list read in part removes nothing.
        {{"A=a.example 43", "B=b.example 43", "C=c.example 43"}, 1, {"A|a.example|43"},
         {{"A", "a2.example", "43"}, {"X", "x.example", "1"}},
         {"B=b.example 43", "C=c.example 43", "A=a2.example 43", "X=x.example 1"}},
        {{"A=a.example 43", "Bad=x"}, SIZE_MAX, {"A|a.example|43"}, {}, {"Bad=x"}},
    };
    for (const auto& c : cases) {
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
