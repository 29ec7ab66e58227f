// `vehmira scan` on the demo game: its exit codes, the table, the JSON every
// vehicle appears in, and the IDs it is limited to.

#include "cli/CliTestSupport.h"

#include "cli/JsonText.h"
#include "cli/OutputText.h"
#include "fileio/FileSystem.h"

#include <gtest/gtest.h>

using namespace vehmira::cli;
using namespace vehmira::fileio;

namespace {

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST(CliScan, TheDemoGameIsCleanAndEveryVehicleAppearsInTheJson)
{
    const TDemoGameDirectory game;
    const TCliRun text = RunCli({"--game", game.Game(), "scan"});
    EXPECT_EQ(text.ExitCode, 0) << text.Err;
    EXPECT_EQ(text.Out, "13 vehicles scanned, 0 with findings; 0 errors, 0 warnings\n");
    EXPECT_EQ(text.Err, "") << "no progress on a stream that is not a terminal";

    const TCliRun json = RunCli({"--game", game.Game(), "scan", "--json"});
    EXPECT_EQ(json.ExitCode, 0);
    EXPECT_EQ(json.Out.rfind("{\"vehicles\": [\n  {\"id\": 400, \"model\": \"landstal\", \"file\": ", 0), 0u)
        << json.Out;
    EXPECT_EQ(Count(json.Out, "\"errors\": [], \"warnings\": []}"), 13u) << json.Out;
    EXPECT_NE(json.Out.find("\"files\": [],\n\"archive\": {\"file\": "), std::string::npos) << json.Out;
}

TEST(CliScan, ErrorsExitWithThreeAndNameTheVehicleAndTheLine)
{
    const TDemoGameDirectory game;
    const std::string handling = game.Read("data/handling.cfg");
    const std::string bikeLine = LineStartingWith(handling, "! NRG500 ");
    ReplaceFileAtomically(game.Path() / "data" / "handling.cfg", ReplaceLine(handling, bikeLine, "; no bike line"));
    const std::string carcols = game.Read("data/carcols.dat");
    ReplaceFileAtomically(game.Path() / "data" / "carcols.dat",
                          ReplaceLine(carcols, "copcarla, 0,1", "copcarla, 0,1\r\nghostcar, 0,1"));

    const std::string vehicles = game.Read("data/vehicles.ide");
    const std::size_t vehicleLine =
        std::size_t(std::count(vehicles.begin(), vehicles.begin() + std::ptrdiff_t(vehicles.find("522, nrg500")), '\n')) + 1;
    const TCliRun text = RunCli({"--game", game.Game(), "scan"});
    EXPECT_EQ(text.ExitCode, 3) << text.Err;
    EXPECT_NE(text.Out.find("522\tnrg500\t" + HostPath("Data\\Vehicles.ide") + ":" + std::to_string(vehicleLine) +
                            "\t1 errors, 0 warnings\n    error handling_kind: "), std::string::npos)
        << text.Out;
    EXPECT_NE(text.Out.find("\terror carcols_unknown_model: the colour line names the model \"ghostcar\""),
              std::string::npos)
        << text.Out;
    EXPECT_NE(text.Out.find("13 vehicles scanned, 1 with findings; 2 errors, 0 warnings\n"), std::string::npos)
        << text.Out;

    const TCliRun json = RunCli({"--game", game.Game(), "scan", "--json", "--only", "522"});
    EXPECT_EQ(json.ExitCode, 3);
    EXPECT_NE(json.Out.find("{\"id\": 522, \"model\": \"nrg500\", \"file\": " + JsonString(HostPath("Data\\Vehicles.ide")) +
                            ", \"line\": " +
                            std::to_string(vehicleLine) + ", "),
              std::string::npos)
        << json.Out;
    EXPECT_NE(json.Out.find("\"errors\": [{\"code\": \"handling_kind\", \"message\": "), std::string::npos) << json.Out;
    EXPECT_NE(json.Out.find("\"severity\": \"error\", \"code\": \"carcols_unknown_model\""), std::string::npos)
        << json.Out;
    EXPECT_EQ(Count(json.Out, "\"id\": "), 1u) << json.Out;

    // Only the vehicles asked for: a clean one leaves the file finding.
    const TCliRun clean = RunCli({"--game", game.Game(), "scan", "--only", "415", "400"});
    EXPECT_EQ(clean.ExitCode, 3);
    EXPECT_NE(clean.Out.find("2 vehicles scanned, 0 with findings; 1 errors, 0 warnings\n"), std::string::npos)
        << clean.Out;
}

TEST(CliScan, AnIDThatIsNoVehicleOrNoNumberIsRefused)
{
    const TDemoGameDirectory game;
    const TCliRun unknown = RunCli({"--game", game.Game(), "scan", "--only", "999"});
    EXPECT_EQ(unknown.ExitCode, 1);
    EXPECT_EQ(unknown.Out, "");
    EXPECT_NE(unknown.Err.find("999"), std::string::npos) << unknown.Err;
    const TCliRun malformed = RunCli({"--game", game.Game(), "scan", "--only", "4l5"});
    EXPECT_EQ(malformed.ExitCode, 2);
}

} // namespace
