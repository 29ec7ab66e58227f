// Display names end to end as the game finds them: keys looked up upper-cased,
// and GXT files of 16-bit characters kept whole.

#include "cli/CliTestSupport.h"

#include "fileio/FileSystem.h"
#include "gamedata/CRC32.h"
#include "gamedata/GXT.h"
#include "support/GXTSearchOracle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace vehmira::fileio;
using namespace vehmira::gamedata;

namespace {
std::vector<std::string> WithGame(const TDemoGameDirectory& game, std::vector<std::string> args)
{
    args.insert(args.begin(), {"--game", game.Game()});
    return args;
}

std::map<std::uint32_t, std::string> TextsByHash(const TGXTTable& table)
{
    std::map<std::uint32_t, std::string> texts;
    for (std::size_t k = 0; k < table.Keys.size(); ++k)
        texts[table.Keys[k].Hash] = table.Texts[k];
    return texts;
}

const std::string InfernusLine =
    "411, infernus, infernus, car, INFERNUS, INFERNU, null, executive, 10, 0, 0, -1, 0.70, 0.70, 1";
} // namespace

TEST(CliGxtKeys, ALowerCaseGameNameIsListedAndRenamedAsTheGameShowsIt)
{
    const TDemoGameDirectory game;
    const std::string ide = game.Read("data/vehicles.ide");
    std::string lowered = InfernusLine;
    lowered.replace(lowered.find("INFERNU,"), 7, "infernu");
    ReplaceFileAtomically(game.Path() / "data" / "vehicles.ide", ReplaceLine(ide, InfernusLine, lowered));

    const TCliRun listed = RunCli(WithGame(game, {"list"}));
    ASSERT_EQ(listed.ExitCode, 0) << listed.Err;
    EXPECT_NE(listed.Out.find("\n411\tСуперкар\n"), std::string::npos) << listed.Out;

    const TCliRun renamed = RunCli(WithGame(game, {"import", "--over", "411", "--name", "Brand New"}));
    ASSERT_EQ(renamed.ExitCode, 0) << renamed.Err;
    EXPECT_EQ(renamed.Out.find("skipped"), std::string::npos) << renamed.Out;
    EXPECT_NE(RunCli(WithGame(game, {"list"})).Out.find("\n411\tBrand New\n"), std::string::npos);

    // The game binary-searches the main table: the key's place and hash stay, the table stays sorted.
    TGXTFile gxt;
    gxt.LoadFromFile(game.Path() / "text" / "american.gxt");
    const std::vector<TGXTKey>& keys = gxt.Tables.at(0).Keys;
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end(),
                               [](const TGXTKey& a, const TGXTKey& b) { return a.Hash < b.Hash; }));
    const auto infernu = std::find_if(keys.begin(), keys.end(),
                                      [](const TGXTKey& key) { return key.Hash == GXTKeyHash("INFERNU"); });
    ASSERT_NE(infernu, keys.end());
    EXPECT_EQ(gxt.Tables[0].Texts.at(std::size_t(infernu - keys.begin())), "Brand New");
}

TEST(CliGxtKeys, ASixteenBitGxtKeepsEveryTextThroughARename)
{
    const TDemoGameDirectory game;
    const std::filesystem::path path = game.Path() / "text" / "american.gxt";
    TGXTFile wide;
    wide.LoadFromFile(path);
    for (TGXTTable& table : wide.Tables)
        for (std::string& text : table.Texts)
            text = Cp1251ToGXTText(text, 2);
    wide.CharacterSize = 2;
    wide.SaveToFile(path);

    const TCliRun listed = RunCli(WithGame(game, {"list"}));
    ASSERT_EQ(listed.ExitCode, 0) << listed.Err;
    EXPECT_NE(listed.Out.find("\n415\tГепард\n"), std::string::npos) << listed.Out;

    const TCliRun renamed = RunCli(WithGame(game, {"import", "--over", "411", "--name", "Новый"}));
    ASSERT_EQ(renamed.ExitCode, 0) << renamed.Err;
    EXPECT_NE(RunCli(WithGame(game, {"list"})).Out.find("\n411\tНовый\n"), std::string::npos);

    TGXTFile after;
    after.LoadFromFile(path);
    EXPECT_EQ(after.CharacterSize, 2u);
    ASSERT_EQ(after.Tables.size(), wide.Tables.size());
    std::size_t renamedKeys = 0;
    for (std::size_t t = 0; t < wide.Tables.size(); ++t) {
        ASSERT_EQ(after.Tables[t].Texts.size(), wide.Tables[t].Texts.size());
        for (std::size_t k = 0; k < wide.Tables[t].Texts.size(); ++k) {
            if (t == 0 && after.Tables[t].Keys[k].Hash == GXTKeyHash("INFERNU")) {
                EXPECT_EQ(after.Tables[t].Texts[k], Cp1251ToGXTText(Cp1251("Новый"), 2));
                ++renamedKeys;
            } else {
                EXPECT_EQ(after.Tables[t].Texts[k], wide.Tables[t].Texts[k]) << "table " << t << ", key " << k;
            }
        }
    }
    EXPECT_EQ(renamedKeys, 1u);
}

TEST(CliGxtKeys, AMainTableOutOfHashOrderIsWarnedOfAndARenamePutsItInOrder)
{
    const TDemoGameDirectory game;
    const std::filesystem::path path = game.Path() / "text" / "american.gxt";
    TGXTFile gxt;
    gxt.LoadFromFile(path);
    // The infernus's key moved to the front, its text with it, as a careless tool leaves a file.
    TGXTTable& main = gxt.Tables.at(0);
    const std::size_t infernu = std::size_t(
        std::find_if(main.Keys.begin(), main.Keys.end(), [](const TGXTKey& key) { return key.Hash == GXTKeyHash("INFERNU"); }) -
        main.Keys.begin());
    ASSERT_LT(infernu, main.Keys.size());
    std::rotate(main.Keys.begin(), main.Keys.begin() + std::ptrdiff_t(infernu), main.Keys.begin() + std::ptrdiff_t(infernu) + 1);
    std::rotate(main.Texts.begin(), main.Texts.begin() + std::ptrdiff_t(infernu), main.Texts.begin() + std::ptrdiff_t(infernu) + 1);
    gxt.SaveToFile(path);
    const std::string unsortedBytes = game.Read("text/american.gxt");
    std::vector<std::uint32_t> hashes;
    for (const TGXTKey& key : main.Keys)
        hashes.push_back(key.Hash);
    ASSERT_FALSE(GameKeySearchOracle(hashes, GXTKeyHash("INFERNU"))) << "the game misses the moved key";
    std::size_t missed = 0;
    for (const std::uint32_t hash : hashes)
        missed += !GameKeySearchOracle(hashes, hash);

    const TCliRun listed = RunCli(WithGame(game, {"list"}));
    ASSERT_EQ(listed.ExitCode, 0) << listed.Err;
    EXPECT_NE(listed.Out.find("\n411\tinfernus (no GXT name)\n"), std::string::npos)
        << "a name the game never finds is not the game's: the vehicle is listed by its model";
    EXPECT_NE(listed.Err.find("warning gxt_keys_unsorted: Text\\"), std::string::npos) << listed.Err;
    EXPECT_NE(listed.Err.find("not in hash order; the game's search finds no text for " + std::to_string(missed) + " of them"),
              std::string::npos)
        << listed.Err;

    const TCliRun checked = RunCli(WithGame(game, {"car", "check", "--over", "411", "--name", "Brand New"}));
    EXPECT_EQ(checked.ExitCode, 0) << checked.Out << checked.Err;
    EXPECT_NE(checked.Out.find("warning gxt_keys_unsorted: "), std::string::npos) << checked.Out;
    EXPECT_NE(checked.Out.find("0 errors, 1 warnings"), std::string::npos) << checked.Out;

    const TCliRun renamed = RunCli(WithGame(game, {"import", "--over", "411", "--name", "Brand New"}));
    ASSERT_EQ(renamed.ExitCode, 0) << renamed.Err;
    TGXTFile after;
    after.LoadFromFile(path);
    const std::vector<TGXTKey>& keys = after.Tables.at(0).Keys;
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end(), [](const TGXTKey& a, const TGXTKey& b) { return a.Hash < b.Hash; }));
    std::map<std::uint32_t, std::string> expected = TextsByHash(main);
    expected[GXTKeyHash("INFERNU")] = "Brand New";
    EXPECT_EQ(TextsByHash(after.Tables[0]), expected);
    ASSERT_EQ(after.Tables.size(), gxt.Tables.size());
    for (std::size_t t = 1; t < gxt.Tables.size(); ++t)
        EXPECT_EQ(after.Tables[t].Texts, gxt.Tables[t].Texts) << "table " << t;
    const TCliRun relisted = RunCli(WithGame(game, {"list"}));
    EXPECT_NE(relisted.Out.find("\n411\tBrand New\n"), std::string::npos) << relisted.Out;
    EXPECT_EQ(relisted.Err, "");

    ASSERT_EQ(RunCli(WithGame(game, {"undo"})).ExitCode, 0);
    EXPECT_EQ(game.Read("text/american.gxt"), unsortedBytes) << "undo gives back the file as it was, out of order";
}
