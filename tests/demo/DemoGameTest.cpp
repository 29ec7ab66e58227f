// The demo game directory: deterministic, shaped like a real install, and
// never written over something that is not a demo.

#include "cli/CliTestSupport.h"

#include "demo/DemoGame.h"
#include "fileio/ByteOrder.h"
#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "gamedata/AsciiCase.h"
#include "gamedata/CRC32.h"
#include "gamedata/GXT.h"
#include "gamedata/TextLines.h"
#include "gamedata/VehiclesIde.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace vehmira::demo;
using namespace vehmira::fileio;
using namespace vehmira::gamedata;

namespace {
std::uint32_t U32At(const std::string& bytes, std::size_t offset)
{
    std::uint8_t raw[4];
    std::copy_n(bytes.begin() + std::ptrdiff_t(offset), 4, raw);
    return LoadU32LE(raw);
}

std::vector<TLineList> FieldsOfDataLines(const std::string& text)
{
    std::vector<TLineList> lines;
    for (const std::string& line : StripCommentLines(SplitLines(text)))
        lines.push_back(SplitFields(line));
    return lines;
}

int CountLinesWithKey(const std::vector<TLineList>& lines, std::size_t field, const std::string& key)
{
    int count = 0;
    for (const TLineList& fields : lines)
        count += fields.size() > field && fields[field] == key;
    return count;
}

TVehicleFile DemoDefinitions(const TDemoGameDirectory& game)
{
    TVehicleFile definitions;
    definitions.LoadFromText(game.Read("data/vehicles.ide"));
    return definitions;
}
} // namespace

TEST(DemoGame, WritesTheSameFilesInLowerCaseOnEveryRun)
{
    const TDemoGameDirectory first;
    const TDemoGameDirectory second;
    const TDirectorySnapshot files = SnapshotGameDirectory(first.Path());
    EXPECT_EQ(files, SnapshotGameDirectory(second.Path()));

    std::set<std::string> names;
    for (const auto& [name, bytes] : files)
        names.insert(name);
    const std::set<std::string> expected = {
        "data/carcols.dat", "data/handling.cfg",  "data/vehicles.ide", "models/gta3.img",    "text/american.gxt",
        "text/french.gxt",  "text/german.gxt",    "text/italian.gxt",  "text/spanish.gxt",   DemoGameMarkerName.data()};
    EXPECT_EQ(names, expected);
}

TEST(DemoGame, DefinitionsHoldCarsBoatPoliceAndOtherSectionsWithCrLf)
{
    const TDemoGameDirectory game;
    const std::string text = game.Read("data/vehicles.ide");
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
        ASSERT_TRUE(at > 0 && text[at - 1] == '\r') << "a line without CR LF at byte " << at;

    const TVehicleFile definitions = DemoDefinitions(game);
    EXPECT_GE(definitions.Vehicles.size(), 12u);
    const TVehicleRecord* sentinel = definitions.FindLastByID(405); // written without comma after the model name
    ASSERT_NE(sentinel, nullptr);
    EXPECT_EQ(sentinel->TxdName, "sentinel");
    const TVehicleRecord* police = definitions.FindLastByID(596);
    ASSERT_NE(police, nullptr);
    EXPECT_NE(UpperAscii(police->HandlingID), UpperAscii(police->ModelName));
    const TVehicleRecord* boat = definitions.FindLastByID(472);
    ASSERT_NE(boat, nullptr);
    EXPECT_EQ(SplitFields(boat->Line).size(), 11u);
    // Lines of other sections are not vehicles.
    EXPECT_EQ(definitions.FindLastByID(1000), nullptr);
    EXPECT_EQ(definitions.FindLastByID(7), nullptr);
    EXPECT_NE(text.find("\r\nobjs\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\npeds\r\n"), std::string::npos);
}

TEST(DemoGame, EveryVehicleHasItsLinesAndItsOwnRenderWareEntries)
{
    const TDemoGameDirectory game;
    const auto handling = FieldsOfDataLines(game.Read("data/handling.cfg"));
    const auto colours = FieldsOfDataLines(game.Read("data/carcols.dat"));
    std::set<std::string> entryBytes;
    for (const TVehicleRecord& vehicle : DemoDefinitions(game).Vehicles) {
        SCOPED_TRACE(vehicle.ModelName);
        EXPECT_EQ(CountLinesWithKey(handling, 0, vehicle.HandlingID), 1);
        EXPECT_EQ(CountLinesWithKey(colours, 0, vehicle.ModelName), 1);
        for (const auto& [name, rootType] : {std::pair{vehicle.ModelName + ".dff", 0x10u},
                                             std::pair{vehicle.TxdName + ".txd", 0x16u}}) {
            const std::string entry = ArchiveEntry(game.Path(), name);
            ASSERT_GE(entry.size(), 2048u);
            EXPECT_EQ(U32At(entry, 0), rootType) << name;
            const std::uint64_t chunkEnd = 12 + std::uint64_t(U32At(entry, 4));
            EXPECT_LE(chunkEnd, entry.size()) << name;
            EXPECT_GT(chunkEnd + 2048, entry.size()) << name << ": more than the sector fill after the chunk";
            EXPECT_EQ(U32At(entry, 8), 0x1803FFFFu) << name;
            EXPECT_TRUE(entryBytes.insert(entry).second) << name << " has the bytes of another entry";
        }
    }
    // Special lines carry their key in field 1: a handling ID, or a vehicle ID for "^".
    EXPECT_EQ(CountLinesWithKey(handling, 1, "NRG500"), 1);
    EXPECT_EQ(CountLinesWithKey(handling, 1, "MAVERICK"), 1);
    EXPECT_EQ(CountLinesWithKey(handling, 1, "COASTGRD"), 1);
    EXPECT_NE(game.Read("data/handling.cfg").find("\r\n^\t400\t"), std::string::npos);
}

TEST(DemoGame, GxtFilesNameEveryVehicleInTheirLanguageWithKeysSortedByHash)
{
    const TDemoGameDirectory game;
    const TVehicleFile definitions = DemoDefinitions(game);
    const struct {
        const char* File;
        std::int32_t ID;
        std::string Name;
    } cases[] = {{"text/american.gxt", 596, Cp1251("Полиция")},  {"text/american.gxt", 487, Cp1251("Вертолёт")},
                 {"text/german.gxt", 596, "Polizei"},             {"text/french.gxt", 416, "Ambulance"},
                 {"text/italian.gxt", 415, "Ghepardo"},           {"text/spanish.gxt", 472, "Guardacostas"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.File);
        TGXTFile gxt;
        gxt.LoadFromFile(game.Path() / PathFromUtf8(c.File));
        ASSERT_EQ(gxt.Tables.size(), 2u);
        const TGXTTable& main = gxt.Tables[0];
        EXPECT_GT(main.Keys.size(), definitions.Vehicles.size());
        EXPECT_TRUE(std::is_sorted(main.Keys.begin(), main.Keys.end(),
                                   [](const TGXTKey& a, const TGXTKey& b) { return a.Hash < b.Hash; }));
        const std::uint32_t hash = GXTKeyHash(definitions.FindLastByID(c.ID)->GameName);
        const auto key = std::find_if(main.Keys.begin(), main.Keys.end(), [&](const TGXTKey& k) { return k.Hash == hash; });
        ASSERT_NE(key, main.Keys.end());
        EXPECT_EQ(main.Texts[std::size_t(key - main.Keys.begin())], c.Name);
        EXPECT_FALSE(gxt.Tables[1].Keys.empty());
    }
}

TEST(DemoGame, RefusesADirectoryThatHoldsSomethingElseAndRewritesItsOwn)
{
    TTempDir root;
    const std::filesystem::path install = root.Write("install/readme.txt", "a real install").parent_path();
    EXPECT_THROW(WriteDemoGame(install), TVehmiraError);
    EXPECT_EQ(root.List("install"), std::vector<std::string>{"readme.txt"});
    EXPECT_THROW(WriteDemoGame(root.Write("plain-file", "x")), TVehmiraError);

    const TCliRun refused = RunCli({"demo-game", PathToUtf8(install)});
    EXPECT_EQ(refused.ExitCode, 1);
    EXPECT_EQ(refused.Err.rfind("vehmira: ", 0), 0u) << refused.Err;

    const TDemoGameDirectory game;
    const TDirectorySnapshot fresh = SnapshotGameDirectory(game.Path());
    std::filesystem::remove(game.Path() / "text" / "german.gxt");
    const TCliRun again = RunCli({"demo-game", game.Game()});
    EXPECT_EQ(again.ExitCode, 0) << again.Err;
    EXPECT_EQ(SnapshotGameDirectory(game.Path()), fresh);
}
