// Paintjobs as `list --json` and `img check` count them on the demo game.

#include "cli/CliTestSupport.h"

#include "archive/IMG.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "fileio/Stream.h"

#include <gtest/gtest.h>

using namespace vehmira;

namespace {

// Appends dictionaries of those names to the archive at path (their bytes do not matter here).
void AddEntries(const std::filesystem::path& path, const std::vector<std::string>& names)
{
    archive::TIMGFile archive;
    archive.Open(path);
    fileio::TMemoryStream bytes(fileio::ByteBuffer(100, 7));
    for (const std::string& name : names)
        archive.AddStream(bytes, 0, 100, name);
}

std::filesystem::path GameArchive(const TDemoGameDirectory& game)
{
    return fileio::ResolveGamePath(game.Path(), fileio::GameFiles::ModelArchive);
}

TEST(CliPaintjobs, ListGivesEachVehiclesPaintjobsInTheGamesOrder)
{
    const TDemoGameDirectory game;
    AddEntries(GameArchive(game), {"buffalo02.txd", "BUFFALO1.TXD", "nrg5001.txd", "buffalo.txd"});
    const TCliRun run = RunCli({"--game", game.Game(), "list", "--json"});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Out.find("\"paintjobs\": [\"buffalo02.txd\", \"BUFFALO1.TXD\"]}"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("{\"id\": \"522\", \"name\": \"Спортбайк\", \"model\": \"nrg500\", \"name_from_model\": false, "
                           "\"paintjobs\": []}"),
              std::string::npos)
        << run.Out;

    // The text list stays as scripts read it.
    const TCliRun text = RunCli({"--game", game.Game(), "list"});
    EXPECT_EQ(text.Out.find("buffalo"), std::string::npos) << text.Out;
}

TEST(CliPaintjobs, CheckReportsAVehicleOverFourPaintjobs)
{
    const TDemoGameDirectory game;
    AddEntries(GameArchive(game), {"buffalo1.txd", "buffalo2.txd", "buffalo3.txd", "buffalo4.txd"});
    const TCliRun four = RunCli({"--game", game.Game(), "img", "check", "--json"});
    EXPECT_EQ(four.ExitCode, 0) << four.Out << four.Err;
    EXPECT_NE(four.Out.find(", \"paintjob_excess\": []}\n"), std::string::npos) << four.Out;

    AddEntries(GameArchive(game), {"Buffalo05.txd"});
    const TCliRun five = RunCli({"--game", game.Game(), "img", "check", "--json"});
    EXPECT_EQ(five.ExitCode, 3) << five.Out << five.Err;
    EXPECT_NE(five.Out.find("\"paintjob_excess\": [{\"id\": 402, \"model\": \"buffalo\", \"paintjobs\": "
                            "[\"buffalo1.txd\", \"buffalo2.txd\", \"buffalo3.txd\", \"buffalo4.txd\", "
                            "\"Buffalo05.txd\"]}]}\n"),
              std::string::npos)
        << five.Out;
    const TCliRun text = RunCli({"--game", game.Game(), "img", "check"});
    EXPECT_EQ(text.ExitCode, 3);
    EXPECT_NE(text.Out.find("  over 4 paintjobs:    1 (402 buffalo: 5)\n"), std::string::npos) << text.Out;

    // A file given by name is no game's archive: its layout alone decides.
    const TCliRun file = RunCli({"img", "check", fileio::PathToUtf8(GameArchive(game)), "--json"});
    EXPECT_EQ(file.Out.find("paintjob"), std::string::npos) << file.Out;
}

} // namespace
