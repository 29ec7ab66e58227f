// `vehmira --version` and the help of each command: what the man page and
// the Windows download's README are written from.

#include "cli/CliTestSupport.h"

#include "VehmiraVersion.h"

#include <gtest/gtest.h>

namespace {
#ifdef _WIN32
const std::string ProgramName = "vehmira-cli";
#else
const std::string ProgramName = "vehmira";
#endif
} // namespace

TEST(CliVersion, PrintsTheProjectVersionOnStdoutAndSucceeds)
{
    // Also after a command: the flag ends the line's parsing wherever it stands.
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--version"}, {"--game", "nowhere", "--version"}}) {
        const TCliRun run = RunCli(args);
        SCOPED_TRACE(testing::PrintToString(args));
        EXPECT_EQ(run.ExitCode, 0);
        EXPECT_EQ(run.Out, std::string("vehmira ") + VEHMIRA_VERSION + "\n");
        EXPECT_EQ(run.Err, "");
    }
    EXPECT_NE(std::string(VEHMIRA_VERSION).find('.'), std::string::npos) << "major.minor.patch";
}

TEST(CliHelp, EachCommandShowsItsOwnUsageAndOptions)
{
    struct TCase {
        std::vector<std::string> Args;
        std::string Usage; // after "Usage: "
        std::vector<std::string> Shown;
    };
    const TCase cases[] = {
        {{"--help"}, ProgramName + " [OPTIONS] SUBCOMMAND", {"--game", "--gxt", "--version", "demo-game", "Exit status: "}},
        {{"list", "--help"}, ProgramName + " list [OPTIONS]", {"--json"}},
        {{"export", "--help"}, ProgramName + " export [OPTIONS] ID", {"--output", "--pieces"}},
        {{"import", "--help"}, ProgramName + " import [OPTIONS] [FILE]", {"--over", "--handling-special", "--carcols"}},
        {{"car", "info", "--help"}, ProgramName + " car info [OPTIONS] [FILE]", {"--json", "--dff", "--txd"}},
        {{"car", "preview", "--help"}, ProgramName + " car preview [OPTIONS] [FILE]", {"--output", "--dff"}},
        {{"preview", "--help"}, ProgramName + " preview [OPTIONS] ID", {"--output"}},
        {{"demo-game", "--help"}, ProgramName + " demo-game [OPTIONS] DIR", {"DIR"}},
    };
    for (const TCase& c : cases) {
        const TCliRun run = RunCli(c.Args);
        SCOPED_TRACE(testing::PrintToString(c.Args));
        EXPECT_EQ(run.ExitCode, 0);
        EXPECT_EQ(run.Err, "");
        EXPECT_NE(run.Out.find("\nUsage: " + c.Usage + "\n"), std::string::npos) << run.Out;
        for (const std::string& text : c.Shown)
            EXPECT_NE(run.Out.find(text), std::string::npos) << text << " in\n" << run.Out;
    }
    // A command's help is its own, not the top level's.
    EXPECT_EQ(RunCli({"import", "--help"}).Out.find("--gxt"), std::string::npos);
}

TEST(CliUsage, MalformedLinePointsToTheHelpOfThisExecutable)
{
    const TCliRun run = RunCli({"frobnicate"});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_NE(run.Err.find("Run \"" + ProgramName + " --help\""), std::string::npos) << run.Err;
}

TEST(CliUsage, AnUnknownCommandIsNamedWithTheNearestOne)
{
    const struct {
        std::vector<std::string> Args;
        std::string Said;
    } cases[] = {
        {{"lst"}, "vehmira: unknown command \"lst\"; did you mean \"list\"?\n"},
        {{"--game", "lst", "exprot", "415"}, "vehmira: unknown command \"exprot\"; did you mean \"export\"?\n"},
        {{"--gxt=list", "undoo"}, "vehmira: unknown command \"undoo\"; did you mean \"undo\"?\n"},
        {{"car", "inf", "x.car"}, "vehmira: unknown command \"inf\"; did you mean \"info\"?\n"},
        {{"img", "chek"}, "vehmira: unknown command \"chek\"; did you mean \"check\"?\n"},
        {{"frobnicate"}, "vehmira: unknown command \"frobnicate\"; the commands are list, export, import, undo, "
                         "history, car, preview, render, img, scan, demo-game\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Args));
        const TCliRun run = RunCli(c.Args);
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(run.Err.rfind(c.Said, 0), 0u) << run.Err;
    }
    // A known command with a wrong option is not called unknown.
    EXPECT_EQ(RunCli({"list", "--jsn"}).Err.find("unknown command"), std::string::npos);
}

TEST(CliHelp, ExitCodesAndGamePathsAsTheHostWritesThem)
{
    const std::string top = RunCli({"--help"}).Out;
    for (const char* code : {"0 on success", "1 when", "2 for", "3 when"})
        EXPECT_NE(top.find(code), std::string::npos) << code << " in\n" << top;
    const std::string import = RunCli({"import", "--help"}).Out;
    const std::string archive = RunCli({"img", "check", "--help"}).Out;
#ifdef _WIN32
    const std::string data = "Data\\Vehicles.ide", text = "Text\\ ", models = "Models\\GTA3.img";
#else
    const std::string data = "Data/Vehicles.ide", text = "Text/ ", models = "Models/GTA3.img";
#endif
    EXPECT_NE(import.find(data), std::string::npos) << import;
    EXPECT_NE(top.find(text), std::string::npos) << top;
    EXPECT_NE(archive.find(models), std::string::npos) << archive;
}
