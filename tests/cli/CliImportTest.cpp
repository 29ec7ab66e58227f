// `vehmira import`, `undo` and `history` end to end on the demo game: the
// game files byte for byte after an import and after its undo.

#include "cli/CliTestSupport.h"

#include "fileio/FaultInjection.h"
#include "fileio/FileStream.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

using namespace vehmira::fileio;

namespace {
std::vector<std::string> WithGame(const TDemoGameDirectory& game, std::vector<std::string> args)
{
    args.insert(args.begin(), {"--game", game.Game()});
    return args;
}

std::string ExportAll(const TDemoGameDirectory& game, const std::string& id)
{
    const std::string package = game.Scratch(id + ".car");
    const TCliRun run =
        RunCli(WithGame(game, {"export", id, "-o", package, "--pieces", "dff,txd,gxt,handling,vehicles,carcols"}));
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    return package;
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

const std::string FailureLine = "vehmira: Import failed; the game's files are unchanged.\n";
} // namespace

TEST(CliImport, PackageOverAnotherVehicleThenUndoRestoresEveryByte)
{
    const TDemoGameDirectory game;
    const TDirectorySnapshot before = SnapshotGameDirectory(game.Path());
    const std::string package = ExportAll(game, "415");
    const std::string cheetahModel = ArchiveEntry(game.Path(), "cheetah.dff");
    const std::string cheetahTextures = ArchiveEntry(game.Path(), "cheetah.txd");
    const std::string landstalModel = ArchiveEntry(game.Path(), "landstal.dff");

    const TCliRun import = RunCli(WithGame(game, {"import", package, "--over", "402"}));
    ASSERT_EQ(import.ExitCode, 0) << import.Err;
    EXPECT_TRUE(EndsWith(import.Out, "Import completed successfully.\n")) << import.Out;
    EXPECT_NE(import.Out.find("skipped: "), std::string::npos) << "the cheetah has no special handling line";

    EXPECT_EQ(ArchiveEntry(game.Path(), "buffalo.dff"), cheetahModel);
    EXPECT_EQ(ArchiveEntry(game.Path(), "buffalo.txd"), cheetahTextures);
    EXPECT_EQ(ArchiveEntry(game.Path(), "landstal.dff"), landstalModel);
    // Only the target's lines change: they keep the target's keys and take the source's other fields.
    const std::string handling = before.at("data/handling.cfg");
    EXPECT_EQ(game.Read("data/handling.cfg"),
              ReplaceLine(handling, LineStartingWith(handling, "BUFFALO "),
                          "BUFFALO" + LineStartingWith(handling, "CHEETAH ").substr(7)));
    EXPECT_EQ(game.Read("data/vehicles.ide"),
              ReplaceLine(before.at("data/vehicles.ide"),
                          "402, buffalo, buffalo, car, BUFFALO, BUFFALO, null, executive, 10, 0, 0, -1, 0.70, 0.70, 0",
                          "402, buffalo, buffalo, car, BUFFALO, BUFFALO, null, executive, 10, 0, 0, -1, 0.70, 0.70, 1"));
    EXPECT_EQ(game.Read("data/carcols.dat"),
              ReplaceLine(before.at("data/carcols.dat"), "buffalo, 10,10, 13,13, 22,22, 30,30, 39,39",
                          "buffalo, 20, 1, 25, 1, 36, 1, 40, 1, 62, 1, 75, 1"));
    const TCliRun list = RunCli(WithGame(game, {"list"}));
    EXPECT_NE(list.Out.find("\n402\tГепард\n"), std::string::npos) << list.Out;
    const TDirectorySnapshot after = SnapshotGameDirectory(game.Path());
    for (const char* untouched : {"text/german.gxt", "text/french.gxt", "text/italian.gxt", "text/spanish.gxt"})
        EXPECT_EQ(after.at(untouched), before.at(untouched)) << untouched;

    const TCliRun history = RunCli(WithGame(game, {"history"}));
    EXPECT_NE(history.Out.find("402 (buffalo)"), std::string::npos) << history.Out;
    EXPECT_NE(history.Out.find("\tnext undo\t"), std::string::npos) << history.Out;

    const TCliRun undo = RunCli(WithGame(game, {"undo"}));
    ASSERT_EQ(undo.ExitCode, 0) << undo.Err;
    EXPECT_EQ(undo.Out.rfind("Undone: ", 0), 0u) << undo.Out;
    EXPECT_EQ(SnapshotGameDirectory(game.Path()), before);
    EXPECT_NE(RunCli(WithGame(game, {"history"})).Out.find("\tundone\t"), std::string::npos);
    const TCliRun nothingLeft = RunCli(WithGame(game, {"undo"}));
    EXPECT_EQ(nothingLeft.ExitCode, 1);
    EXPECT_EQ(SnapshotGameDirectory(game.Path()), before);
}

TEST(CliImport, SeparateInputsTakeUtf8TextsAsTheGameCodePage)
{
    const TDemoGameDirectory game;
    TTempDir files;
    const std::string cheetahModel = ArchiveEntry(game.Path(), "cheetah.dff");
    const std::filesystem::path model = files.Write("новая модель.dff", cheetahModel);

    const TCliRun run = RunCli(WithGame(game, {"import", "--over", "405", "--dff", PathToUtf8(model), "--name",
                                               "Новый седан №1"}));
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(ArchiveEntry(game.Path(), "sentinel.dff"), cheetahModel);
    const TCliRun list = RunCli(WithGame(game, {"list"}));
    EXPECT_NE(list.Out.find("\n405\tНовый седан №1\n"), std::string::npos) << list.Out;
}

TEST(CliImport, AModelLargerThanItsSlotGoesToFreeSpaceAndUndoRestoresTheArchive)
{
    const TDemoGameDirectory game;
    const TDirectorySnapshot before = SnapshotGameDirectory(game.Path());
    TTempDir files;
    // A model (its root chunk is what counts) three times the demo archive's whole data.
    std::string largeModel = ArchiveEntry(game.Path(), "cheetah.dff");
    largeModel.resize(3 * before.at("models/gta3.img").size(), '\x55');
    const std::filesystem::path model = files.Write("large.dff", largeModel);

    const TCliRun run = RunCli(WithGame(game, {"import", "--over", "405", "--dff", PathToUtf8(model)}));
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_TRUE(EndsWith(run.Out, "Import completed successfully.\n")) << run.Out;
    // Not a terminal: no percentage among the messages.
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(ArchiveEntry(game.Path(), "sentinel.dff").substr(0, largeModel.size()), largeModel);
    const TCliRun check = RunCli(WithGame(game, {"img", "check", "--json"}));
    EXPECT_EQ(check.ExitCode, 0) << check.Out;
    EXPECT_NE(check.Out.find("\"misread_pairs\": 0"), std::string::npos) << check.Out;
    EXPECT_EQ(check.Out.find("\"free_records\": 0"), std::string::npos) << check.Out;
    // The archive grew by the model, not by a copy of itself.
    EXPECT_LT(SnapshotGameDirectory(game.Path()).at("models/gta3.img").size(),
              before.at("models/gta3.img").size() + largeModel.size() + 4 * 2048);

    const TCliRun undo = RunCli(WithGame(game, {"undo"}));
    ASSERT_EQ(undo.ExitCode, 0) << undo.Err;
    EXPECT_EQ(SnapshotGameDirectory(game.Path()), before);

    // A rebuild reclaims the space under the free records and says what it costs.
    ASSERT_EQ(RunCli(WithGame(game, {"import", "--over", "405", "--dff", PathToUtf8(model)})).ExitCode, 0);
    const TCliRun rebuild = RunCli(WithGame(game, {"img", "rebuild"}));
    ASSERT_EQ(rebuild.ExitCode, 0) << rebuild.Err;
    EXPECT_NE(rebuild.Out.find("can no longer be undone"), std::string::npos) << rebuild.Out;
    const TCliRun rebuilt = RunCli(WithGame(game, {"img", "check", "--json"}));
    EXPECT_NE(rebuilt.Out.find("\"free_records\": 0, \"free_bytes\": 0"), std::string::npos) << rebuilt.Out;
    EXPECT_EQ(ArchiveEntry(game.Path(), "sentinel.dff").substr(0, largeModel.size()), largeModel);
}

TEST(CliImport, RefusedInputsReportWhyAndChangeNothing)
{
    const TDemoGameDirectory game;
    const std::string good = ExportAll(game, "415");
    const std::string goodBytes = ReadWholeFileText(PathFromUtf8(good));
    TTempDir files;
    const auto package = [&](const std::string& name, std::string bytes) {
        return PathToUtf8(files.Write(name, bytes));
    };
    const std::string textures = PathToUtf8(files.Write("textures.txd", ArchiveEntry(game.Path(), "cheetah.txd")));
    const TDirectorySnapshot before = SnapshotGameDirectory(game.Path());

    const struct {
        std::vector<std::string> Args;
        std::string Message; // a line of stderr
    } cases[] = {
        {{"--name", "Машина ✓"}, "--name"},
        {{"--carcols", "buffalo, 1,1 😀"}, "--carcols"},
        {{"--handling", "BUFFALO 1 2\nBUFFALO 3 4"}, "--handling"},
        {{"--dff", PathToUtf8(files.Path() / "no such model.dff")}, FailureLine},
        {{"--dff", textures}, FailureLine},
        {{package("magic.car", "car" + goodBytes.substr(3))}, "vehmira: The file is not a CAR package"},
        {{package("version.car", goodBytes.substr(0, 3) + '\3' + goodBytes.substr(4))},
         "vehmira: CAR package version 3 is not supported\n"},
        {{package("short.car", goodBytes.substr(0, goodBytes.size() - 1))}, FailureLine},
        {{package("tiny.car", "CAR")}, FailureLine},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Args));
        std::vector<std::string> args = WithGame(game, {"import", "--over", "402"});
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.ExitCode, 1);
        EXPECT_NE(run.Err.find(c.Message), std::string::npos) << run.Err;
        EXPECT_EQ(run.Err.rfind("vehmira: ", 0), 0u) << run.Err;
        EXPECT_EQ(run.Out, "");
        EXPECT_EQ(SnapshotGameDirectory(game.Path()), before);
    }
    // A format message comes before the general failure text.
    const TCliRun magic = RunCli(WithGame(game, {"import", package("magic2.car", "CAX"), "--over", "402"}));
    EXPECT_TRUE(EndsWith(magic.Err, FailureLine)) << magic.Err;
    EXPECT_EQ(RunCli(WithGame(game, {"history"})).Out, "No imports are recorded in this game directory.\n");

    const TCliRun unknown = RunCli(WithGame(game, {"import", good, "--over", "999"}));
    EXPECT_EQ(unknown.ExitCode, 1);
    EXPECT_EQ(unknown.Err.rfind("vehmira: vehicle 999: ", 0), 0u) << unknown.Err;
    EXPECT_EQ(SnapshotGameDirectory(game.Path()), before);
}

TEST(CliImport, AnArchiveAnotherProgramHoldsIsNamedAndNothingChanges)
{
    const TDemoGameDirectory game;
    const std::string package = ExportAll(game, "415");
    const TDirectorySnapshot before = SnapshotGameDirectory(game.Path());
    const std::filesystem::path archive = ResolveGamePath(game.Path(), GameFiles::ModelArchive);
    TCliRun run;
    {
        const TFileStream held(archive, TFileAccess::ReadWriteExclusive); // as the running game would
        run = RunCli(WithGame(game, {"import", package, "--over", "402"}));
    }
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_NE(run.Err.find("gta3.img\" is in use by another program (is the game running?); close it and try again\n"),
              std::string::npos)
        << run.Err;
    EXPECT_EQ(SnapshotGameDirectory(game.Path()), before);
}

TEST(CliImport, AnInterruptedImportIsRolledBackAndReportedByTheNextCommand)
{
    // How many file operations a whole import takes.
    std::string packageBytes;
    int operations = 0;
    {
        const TDemoGameDirectory game;
        const std::string package = ExportAll(game, "415");
        packageBytes = ReadWholeFileText(PathFromUtf8(package));
        FaultInjection::FailAtOperation(0);
        ASSERT_EQ(RunCli(WithGame(game, {"import", package, "--over", "402"})).ExitCode, 0);
        operations = FaultInjection::OperationsSeen();
    }
    ASSERT_GT(operations, 4);

    bool restored = false;
    for (int failAt = operations / 2; failAt < operations && !restored; ++failAt) {
        SCOPED_TRACE(failAt);
        const TDemoGameDirectory game;
        const std::string copy = game.Scratch("415.car");
        ReplaceFileAtomically(PathFromUtf8(copy), std::string_view(packageBytes));
        const TDirectorySnapshot before = SnapshotGameDirectory(game.Path());
        // As after a power loss: nothing reaches the disk any more, not even the rollback.
        FaultInjection::FailAtOperation(failAt, true);
        const TCliRun crashed = RunCli(WithGame(game, {"import", copy, "--over", "402"}));
        FaultInjection::FailAtOperation(0);
        if (crashed.ExitCode == 0)
            continue;
        // Even listing the vehicles first rolls the interrupted import back.
        const TCliRun next = RunCli(WithGame(game, {"list"}));
        EXPECT_EQ(next.ExitCode, 0) << next.Err;
        EXPECT_EQ(SnapshotGameDirectory(game.Path()), before);
        restored = next.Err.rfind("vehmira: ", 0) == 0;
    }
    EXPECT_TRUE(restored) << "no interrupted import was reported as restored";
}

TEST(CliImport, AJournalNamingAFileOutsideTheGameDirectoryIsRefusedAndTouchesNothing)
{
    // Journals as a crafted game folder could bring them: an interrupted import
    // whose second file lies beside the game directory, is a Windows device, or
    // whose archive was longer than it is.
    const struct {
        const char* Name;
        std::string Lines;
        const char* Message;
    } cases[] = {
        {"backslashes out of the folder", "file.1=\\\\..\\\\victim.txt\nfile.1.existed=0\n", "not inside the game directory"},
        {"a device", "file.1=Data/NUL\nfile.1.existed=0\n", "not inside the game directory"},
        {"a device with an extension", "file.1=Text/com1.gxt\nfile.1.existed=0\n", "not inside the game directory"},
        {"the console", "file.1=CONIN$\nfile.1.existed=0\n", "not inside the game directory"},
        {"malformed UTF-8", "file.1=Data/\xC3\x28.cfg\nfile.1.existed=0\n", "not inside the game directory"},
        {"an archive of a terabyte", "archive.length=1099511627776\n", "more than it has now"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        const TDemoGameDirectory game;
        const std::string package = ExportAll(game, "415");
        ASSERT_EQ(RunCli(WithGame(game, {"import", package, "--over", "402"})).ExitCode, 0);
        const std::string victim = game.Scratch("victim.txt");
        ReplaceFileAtomically(PathFromUtf8(victim), std::string_view("the user's own file"));
        const std::filesystem::path journals = game.Path() / "vehmira-backups";
        ASSERT_EQ(std::distance(std::filesystem::directory_iterator(journals), {}), 1);
        const std::filesystem::path manifest = std::filesystem::directory_iterator(journals)->path() / "manifest.txt";
        ReplaceFileAtomically(manifest, ReadWholeFileText(manifest) + "state=pending\n" + test.Lines);
        const TDirectorySnapshot before = SnapshotGameDirectory(game.Path());

        for (const char* command : {"list", "undo", "history"}) {
            const TCliRun run = RunCli(WithGame(game, {command}));
            EXPECT_EQ(run.ExitCode, 1) << command;
            EXPECT_NE(run.Err.find(test.Message), std::string::npos) << command << ": " << run.Err;
        }
        EXPECT_EQ(ReadWholeFileText(PathFromUtf8(victim)), "the user's own file");
        EXPECT_EQ(SnapshotGameDirectory(game.Path()), before);
    }
}

TEST(CliGameFolder, AFolderWithoutTheGameIsToldBeforeAnythingIsRead)
{
    const TDemoGameDirectory game;
    std::filesystem::remove(game.Path() / "models" / "gta3.img");
    const TDemoGameDirectory other;
    const std::string missingFolder = game.Scratch("no-such-folder");
#ifdef _WIN32
    const std::string archive = "Models\\GTA3.img", gxt = "Text\\Klingon.gxt";
#else
    const std::string archive = "Models/GTA3.img", gxt = "Text/Klingon.gxt";
#endif
    const struct {
        std::vector<std::string> Args;
        std::string Said;
    } cases[] = {
        // The test runs in the build folder, which holds no game: --game is what is missing.
        {{"list"}, "the current directory holds no game (it has no " + archive +
                       "); give the game directory with --game DIR"},
        {{"history"}, "give the game directory with --game DIR"},
        {{"export", "415", "-o", game.Scratch("x.car")}, "give the game directory with --game DIR"},
        {{"render", "415", "-o", game.Scratch("x.png")}, "give the game directory with --game DIR"},
        {{"--game", game.Game(), "render", "415", "-o", game.Scratch("x.png")}, "is not a game directory"},
        {{"--game", game.Game(), "list"}, "\"" + game.Game() + "\" is not a game directory: it has no " + archive},
        {{"--game", game.Game(), "undo"}, "is not a game directory"},
        {{"--game", other.Game(), "--gxt", "Klingon.gxt", "list"},
         "has no " + gxt + "; choose one of the game's GXT files with --gxt NAME"},
        {{"--game", missingFolder, "history"}, "The game directory \"" + missingFolder + "\" does not exist"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Args));
        const TCliRun run = RunCli(c.Args);
        EXPECT_EQ(run.ExitCode, 1);
        EXPECT_EQ(run.Out, "");
        EXPECT_NE(run.Err.find(c.Said), std::string::npos) << run.Err;
        EXPECT_EQ(run.Err.find("vehmira: vehmira:"), std::string::npos) << run.Err;
    }
    EXPECT_FALSE(std::filesystem::exists(game.Scratch("x.car")));
    EXPECT_FALSE(std::filesystem::exists(game.Scratch("x.png")));
}

TEST(CliImport, AnImportThatChangesNothingSaysSoAndIsNotRecorded)
{
    const TDemoGameDirectory game;
    const std::string empty = game.Scratch("empty.car");
    ASSERT_EQ(RunCli(WithGame(game, {"export", "415", "-o", empty, "--pieces", "none"})).ExitCode, 0);
    const TDirectorySnapshot before = SnapshotGameDirectory(game.Path());
    for (const std::vector<std::string>& source :
         {std::vector<std::string>{empty}, {"--name", "   "}, {"--handling-special", " "}}) {
        SCOPED_TRACE(testing::PrintToString(source));
        std::vector<std::string> args = WithGame(game, {"import", "--over", "402"});
        args.insert(args.end(), source.begin(), source.end());
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.ExitCode, 1);
        EXPECT_EQ(run.Out.find("successfully"), std::string::npos) << run.Out;
        EXPECT_NE(run.Err.find("vehmira: nothing to import"), std::string::npos) << run.Err;
        EXPECT_EQ(SnapshotGameDirectory(game.Path()), before);
    }
    EXPECT_EQ(RunCli(WithGame(game, {"history"})).Out, "No imports are recorded in this game directory.\n");
}

// History lines in order, each cut to its target and state (time, source and id left out).
std::vector<std::string> HistoryStates(const TDemoGameDirectory& game)
{
    const TCliRun history = RunCli(WithGame(game, {"history"}));
    EXPECT_EQ(history.ExitCode, 0) << history.Err;
    std::vector<std::string> states;
    std::istringstream lines(history.Out);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream columns(line);
        for (std::string field; std::getline(columns, field, '\t');)
            fields.push_back(field);
        states.push_back(fields.size() == 5 ? fields[1] + ": " + fields[3] : "malformed: " + line);
    }
    return states;
}

TEST(CliImport, ARebuildRetiresEveryImportBeforeItAndUndoSaysSoOnce)
{
    const std::string noUndo = "vehmira: There is no import to undo: the 2 import(s) made before the archive was "
                               "rebuilt can no longer be undone.\n";
    const struct {
        const char* Name;
        std::vector<std::string> Steps; // "402", "405": an import over that vehicle; "rebuild"
        std::string RebuildSays;
        std::vector<std::string> History;
        int Undoable; // how many undos succeed
    } cases[] = {
        {"import, import, rebuild",
         {"402", "405", "rebuild"},
         "The 2 import(s) made before the rebuild can no longer be undone",
         {"405 (sentinel): not undoable (archive rebuilt)", "402 (buffalo): not undoable (archive rebuilt)"},
         0},
        // The import after the rebuild clears the retired journal away.
        {"import, rebuild, import",
         {"402", "rebuild", "405"},
         "The 1 import(s) made before the rebuild can no longer be undone",
         {"405 (sentinel): next undo"},
         1},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        const TDemoGameDirectory game;
        const std::string package = ExportAll(game, "415");
        TDirectorySnapshot afterRebuild;
        for (const std::string& step : test.Steps) {
            if (step != "rebuild") {
                ASSERT_EQ(RunCli(WithGame(game, {"import", package, "--over", step})).ExitCode, 0);
                continue;
            }
            const TCliRun rebuild = RunCli(WithGame(game, {"img", "rebuild"}));
            ASSERT_EQ(rebuild.ExitCode, 0) << rebuild.Err;
            EXPECT_NE(rebuild.Out.find(test.RebuildSays), std::string::npos) << rebuild.Out;
            afterRebuild = SnapshotGameDirectory(game.Path());
        }
        EXPECT_EQ(HistoryStates(game), test.History);
        for (int n = 0; n < test.Undoable; ++n) {
            const TCliRun undo = RunCli(WithGame(game, {"undo"}));
            ASSERT_EQ(undo.ExitCode, 0) << undo.Err;
            EXPECT_NE(undo.Out.find("over 405 (sentinel)"), std::string::npos) << "the newest only: " << undo.Out;
        }
        EXPECT_EQ(SnapshotGameDirectory(game.Path()), afterRebuild);
        const TCliRun refused = RunCli(WithGame(game, {"undo"}));
        EXPECT_EQ(refused.ExitCode, 1);
        EXPECT_EQ(refused.Out, "");
        EXPECT_EQ(refused.Err, test.Undoable == 0 ? noUndo : "vehmira: There is no import to undo.\n");
        EXPECT_EQ(SnapshotGameDirectory(game.Path()), afterRebuild);
    }
}

TEST(CliImport, AnUndoRefusedForAChangedFileSaysWhyOnceAndChangesNothing)
{
    const TDemoGameDirectory game;
    ASSERT_EQ(RunCli(WithGame(game, {"import", ExportAll(game, "415"), "--over", "402"})).ExitCode, 0);
    const std::filesystem::path handling = ResolveGamePath(game.Path(), GameFiles::Handling);
    ReplaceFileAtomically(handling, game.Read("data/handling.cfg") + "; edited by hand\r\n");
    const TDirectorySnapshot edited = SnapshotGameDirectory(game.Path());

    const TCliRun undo = RunCli(WithGame(game, {"undo"}));
    EXPECT_EQ(undo.ExitCode, 1);
    EXPECT_EQ(undo.Out, "");
    EXPECT_EQ(undo.Err.rfind("vehmira: Cannot undo the import of 402 (buffalo) from ", 0), 0u) << undo.Err;
    // The demo game's files are spelt in lower case.
    EXPECT_TRUE(EndsWith(undo.Err, ": data\\handling.cfg has changed since that import. Nothing was changed.\n"))
        << undo.Err;
    EXPECT_EQ(std::count(undo.Err.begin(), undo.Err.end(), '\n'), 1) << undo.Err;
    EXPECT_EQ(SnapshotGameDirectory(game.Path()), edited);
    EXPECT_EQ(HistoryStates(game), std::vector<std::string>{"402 (buffalo): next undo"});
}
