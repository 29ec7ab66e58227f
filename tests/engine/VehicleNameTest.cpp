// A vehicle's display name as the game's search finds it, and a rename: in a
// main table out of hash order the table is put in order first, every other
// text kept; in order, only the name's text changes.

#include "engine/VehicleName.h"

#include "gamedata/CRC32.h"
#include "gamedata/GXTKeySearch.h"
#include "support/GXTSearchOracle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace vehmira;
using namespace vehmira::engine;
using namespace vehmira::gamedata;

namespace {

// Keys whose hashes lie far apart, so the order of the names below fixes the order of the hashes.
const std::vector<std::string> Names = {"ALPHA", "BRAVO", "CHARLIE", "DELTA", "ECHO", "FOXTROT", "GOLF"};

TVehicleRecord VehicleNamed(std::string gameName)
{
    TVehicleRecord vehicle;
    vehicle.GameName = std::move(gameName);
    return vehicle;
}

// A file whose main table holds Names in the order given, each text "<name> text" in the character size.
TGXTFile FileWithKeys(const std::vector<std::string>& keys, std::uint32_t characterSize = 1)
{
    TGXTFile file;
    file.CharacterSize = characterSize;
    TGXTTable main;
    main.KeyMagic = {'T', 'K', 'E', 'Y'};
    for (const std::string& key : keys) {
        main.Keys.push_back({0, GXTKeyHash(key)});
        main.Texts.push_back(Cp1251ToGXTText(key + " text", characterSize));
    }
    TGXTTable mission = main;
    mission.Name = {'M', 'I', 'S', 'S'};
    file.Tables = {main, mission};
    return file;
}

std::vector<std::string> KeysInHashOrder()
{
    std::vector<std::string> keys = Names;
    std::sort(keys.begin(), keys.end(),
              [](const std::string& a, const std::string& b) { return GXTKeyHash(a) < GXTKeyHash(b); });
    return keys;
}

// Keys in hash order except the first, moved to the end: the game's search misses it.
std::vector<std::string> KeysWithTheSmallestLast()
{
    std::vector<std::string> keys = KeysInHashOrder();
    std::rotate(keys.begin(), keys.begin() + 1, keys.end());
    return keys;
}

std::vector<std::uint32_t> MainHashes(const TGXTFile& file)
{
    std::vector<std::uint32_t> hashes;
    for (const TGXTKey& key : file.Tables[0].Keys)
        hashes.push_back(key.Hash);
    return hashes;
}

std::map<std::uint32_t, std::string> TextsByHash(const TGXTTable& table)
{
    std::map<std::uint32_t, std::string> texts;
    for (std::size_t k = 0; k < table.Keys.size(); ++k)
        texts[table.Keys[k].Hash] = table.Texts[k];
    return texts;
}

} // namespace

TEST(VehicleName, TheNameIsWhatTheGamesSearchFinds)
{
    for (const std::uint32_t characterSize : {1u, 2u}) {
        const TGXTFile sorted = FileWithKeys(KeysInHashOrder(), characterSize);
        const TGXTFile unsorted = FileWithKeys(KeysWithTheSmallestLast(), characterSize);
        for (const std::string& name : Names) {
            EXPECT_EQ(FindVehicleName(sorted, VehicleNamed(name)), name + " text") << name;
            const bool gameFinds = GameKeySearchOracle(MainHashes(unsorted), GXTKeyHash(name)).has_value();
            EXPECT_EQ(FindVehicleName(unsorted, VehicleNamed(name)),
                      gameFinds ? std::optional<std::string>(name + " text") : std::nullopt)
                << name << ", " << characterSize << "-byte characters";
        }
        const std::string missed = KeysInHashOrder().front();
        EXPECT_EQ(FindVehicleName(unsorted, VehicleNamed(missed)), std::nullopt) << "the key moved out of order";
        EXPECT_EQ(FindVehicleName(unsorted, VehicleNamed("NOSUCH")), std::nullopt);
    }
}

TEST(VehicleName, ARenameInAnUnsortedTableSortsItAndKeepsEveryOtherText)
{
    for (const std::uint32_t characterSize : {1u, 2u}) {
        TGXTFile file = FileWithKeys(KeysWithTheSmallestLast(), characterSize);
        const TGXTFile before = file;
        const std::string renamed = KeysInHashOrder().front(); // the key the game missed
        ASSERT_EQ(SetVehicleName(file, VehicleNamed(renamed), "\xCD\xEE\xE2\xFB\xE9"), 1u);

        EXPECT_TRUE(KeysSortedByHash(file.Tables[0])) << characterSize;
        std::map<std::uint32_t, std::string> expected = TextsByHash(before.Tables[0]);
        expected[GXTKeyHash(renamed)] = Cp1251ToGXTText("\xCD\xEE\xE2\xFB\xE9", characterSize);
        EXPECT_EQ(TextsByHash(file.Tables[0]), expected) << characterSize;
        EXPECT_EQ(file.Tables[0].Keys.size(), before.Tables[0].Keys.size());
        // The mission table is searched on its own and stays as it was.
        EXPECT_EQ(file.Tables[1].Texts, before.Tables[1].Texts);
        EXPECT_EQ(FindVehicleName(file, VehicleNamed(renamed)), "\xCD\xEE\xE2\xFB\xE9") << characterSize;
        for (const std::string& name : Names)
            EXPECT_TRUE(FindVehicleName(file, VehicleNamed(name)).has_value()) << name << ": the game finds every key now";
    }
}

TEST(VehicleName, ARenameInASortedTableChangesOnlyThatText)
{
    TGXTFile file = FileWithKeys(KeysInHashOrder(), 2);
    const fileio::ByteBuffer before = file.SaveToBytes();
    ASSERT_EQ(SetVehicleName(file, VehicleNamed("DELTA"), "DELTA text"), 1u);
    EXPECT_EQ(file.SaveToBytes(), before) << "the same text again writes the same bytes";
    ASSERT_EQ(SetVehicleName(file, VehicleNamed("DELTA"), "Delta"), 1u);
    const std::vector<std::string> keys = KeysInHashOrder();
    TGXTFile expected = FileWithKeys(keys, 2);
    const auto delta = std::find(keys.begin(), keys.end(), "DELTA") - keys.begin();
    expected.Tables[0].Texts[std::size_t(delta)] = Cp1251ToGXTText("Delta", 2);
    EXPECT_EQ(file.SaveToBytes(), expected.SaveToBytes());
}

TEST(VehicleName, AnUnsortedTableWithoutTheKeyIsLeftAlone)
{
    TGXTFile file = FileWithKeys(KeysWithTheSmallestLast());
    const fileio::ByteBuffer before = file.SaveToBytes();
    EXPECT_EQ(SetVehicleName(file, VehicleNamed("NOSUCH"), "Name"), 0u);
    EXPECT_EQ(file.SaveToBytes(), before);
}
