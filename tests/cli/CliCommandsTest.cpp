// `vehmira` usage errors, list and export, run in-process on the demo game.

#include "cli/CliTestSupport.h"

#include "fileio/FileSystem.h"

#include <gtest/gtest.h>

using namespace vehmira::fileio;

namespace {
std::vector<std::string> WithGame(const TDemoGameDirectory& game, std::vector<std::string> args)
{
    args.insert(args.begin(), {"--game", game.Game()});
    return args;
}
} // namespace

TEST(CliUsage, MalformedCommandLinesExitWithTwoAndChangeNothing)
{
    const TDemoGameDirectory game;
    const TDirectorySnapshot before = SnapshotGameDirectory(game.Path());
    const std::string package = game.Scratch("out.car");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"list", "--bogus"},
        {"export", "415"},
        {"export", "-o", package},
        {"export", "415", "-o", package, "--pieces", "dff,wheels"},
        {"export", "415", "-o", package, "--pieces", ""},
        {"export", "4l5", "-o", package},
        {"import", package},
        {"import", "--over", "402"},
        {"import", package, "--over", "x402"},
        {"import", package, "--over", "402", "--name", "x"},
        {"car"},
        {"car", "info"},
        {"demo-game"},
    };
    for (const auto& args : cases) {
        const TCliRun run = RunCli(WithGame(game, args));
        SCOPED_TRACE(testing::PrintToString(args));
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_EQ(run.Err.rfind("vehmira: ", 0), 0u) << run.Err;
        EXPECT_EQ(run.Out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(PathFromUtf8(package)));
    EXPECT_EQ(SnapshotGameDirectory(game.Path()), before);

    const TCliRun help = RunCli({"--help"});
    EXPECT_EQ(help.ExitCode, 0);
    EXPECT_NE(help.Out.find("demo-game"), std::string::npos);
}

TEST(CliList, PrintsEveryVehicleWithItsNameInUtf8)
{
    const TDemoGameDirectory game;
    const TCliRun run = RunCli(WithGame(game, {"list"}));
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out.rfind("400\tВнедорожник\n401\tМалолитражка\n", 0), 0u) << run.Out;
    EXPECT_NE(run.Out.find("\n596\tПолиция\n"), std::string::npos);
    EXPECT_NE(run.Out.find("\n487\tВертолёт\n"), std::string::npos);
    EXPECT_EQ(std::count(run.Out.begin(), run.Out.end(), '\n'), 13);

    // Global options may also follow the command; another GXT file gives other names.
    const TCliRun german = RunCli({"list", "--json", "--gxt", "German.gxt", "--game", game.Game()});
    ASSERT_EQ(german.ExitCode, 0) << german.Err;
    EXPECT_EQ(german.Out.rfind("[\n  {\"id\": \"400\", \"name\": \"Gelaendewagen\", \"model\": \"landstal\", "
                               "\"name_from_model\": false, \"paintjobs\": []},\n",
                               0),
              0u)
        << german.Out;
    EXPECT_NE(german.Out.find("{\"id\": \"596\", \"name\": \"Polizei\", \"model\": \"copcarla\""), std::string::npos);
    EXPECT_EQ(german.Out.substr(german.Out.size() - 4), "}\n]\n");

    const TCliRun json = RunCli(WithGame(game, {"list", "--json"}));
    EXPECT_NE(json.Out.find("{\"id\": \"472\", \"name\": \"Катер береговой охраны\""), std::string::npos);
}

TEST(CliList, ReportsAMissingOrDamagedGxtFile)
{
    const TDemoGameDirectory game;
    const TCliRun missing = RunCli(WithGame(game, {"--gxt", "Klingon.gxt", "list"}));
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_EQ(missing.Err.rfind("vehmira: ", 0), 0u);

    ReplaceFileAtomically(game.Path() / "text" / "spanish.gxt", std::string_view("not a text file at all"));
    const TCliRun damaged = RunCli(WithGame(game, {"--gxt", "Spanish.gxt", "list"}));
    EXPECT_EQ(damaged.ExitCode, 1);
    EXPECT_EQ(damaged.Err, "vehmira: GXT-File Error!!!\n");
    EXPECT_EQ(damaged.Out, "");
}

TEST(CliExport, EachPieceGivesExactlyThePackageBytesAndLeavesTheGameAlone)
{
    const TDemoGameDirectory game;
    const TDirectorySnapshot before = SnapshotGameDirectory(game.Path());
    const std::string handling = game.Read("data/handling.cfg");
    const std::string cheetahModel = ArchiveEntry(game.Path(), "cheetah.dff");
    const std::string cheetahTextures = ArchiveEntry(game.Path(), "cheetah.txd");
    const struct {
        std::string Id;
        std::vector<std::string> Options;
        TExpectedPackage Expected;
    } cases[] = {
        {"415", {"--pieces", "dff"}, {415, {1, 0, 0, 0, 0, 0}, {cheetahModel}}},
        // The dictionary is found by the TXD name, which differs from the model name here.
        {"416", {"--pieces", "txd"}, {416, {0, 1, 0, 0, 0, 0}, {"", ArchiveEntry(game.Path(), "ambulan_tx.txd")}}},
        {"596", {"--pieces", "gxt"}, {596, {0, 0, 1, 0, 0, 0}, {"", "", Cp1251("Полиция")}}},
        {"522",
         {"--pieces", "handling"},
         {522, {0, 0, 0, 1, 0, 0}, {"", "", "", LineStartingWith(handling, "NRG500 "), LineStartingWith(handling, "! NRG500 ")}}},
        // The definition line ends before its comment, blanks kept.
        {"420",
         {"--pieces", "vehicles"},
         {420, {0, 0, 0, 0, 1, 0}, {"", "", "", "", "", "420, taxi, taxi, car, TAXI, TAXI, null, taxi, 10, 0, 0, -1, 0.68, 0.68, -1   "}}},
        // The police car's colours are keyed by its model name, not its handling ID.
        {"596", {"--pieces", "carcols"}, {596, {0, 0, 0, 0, 0, 1}, {"", "", "", "", "", "", "copcarla, 0,1"}}},
        {"415", {"--pieces", "none"}, {415, {}, {}}},
        {"415", {}, {415, {1, 1, 1, 0, 0, 0}, {cheetahModel, cheetahTextures, Cp1251("Гепард")}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Id + " " + testing::PrintToString(c.Options));
        const std::string package = game.Scratch("export.car");
        std::vector<std::string> args = WithGame(game, {"export", c.Id, "-o", package});
        args.insert(args.end(), c.Options.begin(), c.Options.end());
        const TCliRun run = RunCli(args);
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(ReadWholeFileText(PathFromUtf8(package)), c.Expected.Bytes());
    }
    EXPECT_EQ(SnapshotGameDirectory(game.Path()), before);
}

TEST(CliExport, TakesTheLastDefinitionOfAnIdAndRefusesAnUnknownOne)
{
    const TDemoGameDirectory game;
    const std::string second = "400, bravura, bravura, car, BRAVURA, BRAVURA, null, normal, 10, 0, 0, -1, 0.7, 0.7, -1";
    ReplaceFileAtomically(game.Path() / "data" / "vehicles.ide",
                          game.Read("data/vehicles.ide") + "cars\r\n" + second + "\r\nend\r\n");
    const std::string package = game.Scratch("last.car");
    const TCliRun last = RunCli(WithGame(game, {"export", "400", "-o", package, "--pieces", "vehicles"}));
    ASSERT_EQ(last.ExitCode, 0) << last.Err;
    EXPECT_EQ(ReadWholeFileText(PathFromUtf8(package)), (TExpectedPackage{400, {0, 0, 0, 0, 1, 0}, {"", "", "", "", "", second}}.Bytes()));

    // 1000 is a line of the "objs" section: listed by nothing, defined as no vehicle.
    for (const std::string id : {"999", "1000"}) {
        const std::string missing = game.Scratch("missing-" + id + ".car");
        const TCliRun run = RunCli(WithGame(game, {"export", id, "-o", missing}));
        EXPECT_EQ(run.ExitCode, 1);
        EXPECT_EQ(run.Err.rfind("vehmira: vehicle " + id + ": ", 0), 0u) << run.Err;
        EXPECT_FALSE(std::filesystem::exists(PathFromUtf8(missing)));
    }
}
