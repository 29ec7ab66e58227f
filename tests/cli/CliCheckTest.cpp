// `vehmira car check` and the check an import runs first, end to end on the
// demo game: models built here with one fault each, typed lines the game
// would misread, and the exit codes.

#include "cli/CliTestSupport.h"

#include "demo/DemoVehicles.h"
#include "fileio/ByteOrder.h"
#include "fileio/FileSystem.h"
#include "support/RwStreamBuilder.h"

#include <gtest/gtest.h>

using namespace vehmira;
using namespace vehmira::fileio;
using namespace RwTest;

namespace {
std::vector<std::string> WithGame(const TDemoGameDirectory& game, std::vector<std::string> args)
{
    args.insert(args.begin(), {"--game", game.Game()});
    return args;
}

// A car the game loads: its wheels, a wheel atomic, damaged and low-detail
// parts, light and seat dummies, its collision. Its material uses the demo
// landstalker's texture.
TTestModel SoundCar()
{
    TTestModel model;
    model.Frames = {{"landstal", -1},     {"chassis_dummy", 0}, {"chassis", 1},        {"chassis_vlo", 1},
                    {"wheel_rf_dummy", 0}, {"wheel", 4},         {"wheel_rb_dummy", 0}, {"wheel_lf_dummy", 0},
                    {"wheel_lb_dummy", 0}, {"headlights", 0},    {"taillights", 0},     {"ped_frontseat", 0},
                    {"door_lf_dummy", 0},  {"door_lf_ok", 12},   {"door_lf_dam", 12}};
    TTestGeometry body;
    body.TextureNames = {"landstal_body"};
    model.Geometries = {body};
    model.Atomics = {{2, 0}, {3, 0}, {5, 0}, {13, 0}, {14, 0}};
    model.Collision = Collision();
    return model;
}

template <typename TEdit> TTestModel Edited(TEdit edit)
{
    TTestModel model = SoundCar();
    edit(model);
    return model;
}

std::string SoundHandlingLine()
{
    std::string line = "X";
    for (int value = 0; value < 35; ++value)
        line += " 1.0";
    return line;
}

std::string JsonCodes(const std::string& json)
{
    std::string codes;
    for (std::size_t at = json.find("\"code\": \""); at != std::string::npos; at = json.find("\"code\": \"", at + 1)) {
        const std::size_t start = at + 9;
        codes += (codes.empty() ? "" : " ") + json.substr(start, json.find('"', start) - start);
    }
    return codes;
}
} // namespace

TEST(CliCheck, EveryDemoVehicleExportedWholePassesOverItself)
{
    const TDemoGameDirectory game;
    for (const demo::TDemoVehicle& vehicle : demo::DemoVehicles()) {
        const std::string id(vehicle.DefinitionLine.substr(0, vehicle.DefinitionLine.find(',')));
        const std::string package = game.Scratch(id + ".car");
        ASSERT_EQ(RunCli(WithGame(game, {"export", id, "-o", package, "--pieces",
                                         "dff,txd,gxt,handling,vehicles,carcols"}))
                      .ExitCode,
                  0);
        const TCliRun check = RunCli(WithGame(game, {"car", "check", package, "--over", id}));
        EXPECT_EQ(check.ExitCode, 0) << id << '\n' << check.Out << check.Err;
        EXPECT_NE(check.Out.find("0 errors, 0 warnings"), std::string::npos) << id << '\n' << check.Out;
    }
}

TEST(CliCheck, ModelsWithOneFaultFailWithTheirCode)
{
    const TDemoGameDirectory game;
    TTempDir files;
    const struct {
        const char* what;
        TTestModel model;
        std::string over;
        int exitCode;
        std::string codes;
    } cases[] = {
        {"sound car over a car", SoundCar(), "400", 0, ""},
        {"collision removed", Edited([](TTestModel& m) { m.Collision.reset(); }), "400", 3, "no_collision"},
        {"collision of an unknown version", Edited([](TTestModel& m) { m.Collision = Collision("COL4"); }), "400", 3,
         "bad_collision"},
        {"wheel dummy misspelt", Edited([](TTestModel& m) { m.Frames[8].Name = "wheel_lb_dumy"; }), "400", 3,
         "missing_frame"},
        {"frame name of 26 letters", Edited([](TTestModel& m) { m.Frames[9].Name = "headlightsheadlightsheadl"; }),
         "400", 3, "frame_name_too_long missing_dummy"},
        {"older RenderWare stamp", Edited([](TTestModel& m) { m.Stamp = Stamp3302; }), "400", 3,
         "unsupported_version"},
        {"car over a bike", SoundCar(), "522", 3, "missing_frame missing_frame model_kind"},
        {"car over a boat", SoundCar(), "472", 0, "model_kind"},
    };
    for (const auto& c : cases) {
        const std::filesystem::path model = files.Write("model.dff", Model(c.model));
        const TCliRun run =
            RunCli(WithGame(game, {"car", "check", "--dff", PathToUtf8(model), "--over", c.over, "--json"}));
        EXPECT_EQ(run.ExitCode, c.exitCode) << c.what << '\n' << run.Out << run.Err;
        EXPECT_EQ(JsonCodes(run.Out), c.codes) << c.what << '\n' << run.Out;
    }
    const std::filesystem::path misspelt =
        files.Write("misspelt.dff", Model(Edited([](TTestModel& m) { m.Frames[4].Name = "wheel_rf_dumy"; })));
    const TCliRun named = RunCli(WithGame(game, {"car", "check", "--dff", PathToUtf8(misspelt), "--over", "400", "--json"}));
    EXPECT_NE(named.Out.find("\"code\": \"missing_frame\", \"message\": "), std::string::npos) << named.Out;
    EXPECT_NE(named.Out.find("\"frame\": \"wheel_rf_dummy\"}"), std::string::npos) << named.Out;
    EXPECT_NE(named.Out.find("\"warnings\": []"), std::string::npos) << named.Out;
}

TEST(CliCheck, TypedLinesTheGameWouldMisreadFailWithTheirCode)
{
    const TDemoGameDirectory game;
    const std::string landstal =
        "400, landstal, landstal, car, LANDSTAL, LANDSTK, null, normal, 10, 0, 0, -1, 0.77, 0.77, -1";
    const struct {
        const char* what;
        std::vector<std::string> args;
        int exitCode;
        std::string codes;
    } cases[] = {
        {"line of 14 fields", {"--over", "400", "--vehicles", landstal.substr(0, landstal.rfind(','))}, 3, "ide_fields"},
        {"wheel size 0", {"--over", "400", "--vehicles", "400 a b c d e null normal 10 0 0 -1 0 0.77 -1"}, 0,
         "wheel_size_zero"},
        {"handling line of two words", {"--over", "402", "--handling", "hello world"}, 3, "handling_fields"},
        {"special line of too few values", {"--over", "522", "--handling-special", "! NRG500 1 2"}, 3,
         "handling_fields"},
        {"a handling line of 35 values", {"--over", "402", "--handling", SoundHandlingLine()}, 0, ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"car", "check", "--json"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const TCliRun run = RunCli(WithGame(game, args));
        EXPECT_EQ(run.ExitCode, c.exitCode) << c.what << '\n' << run.Out << run.Err;
        EXPECT_EQ(JsonCodes(run.Out), c.codes) << c.what << '\n' << run.Out;
    }

    // The game's own file decides what a line lacks: a type it does not know, a handling ID without a line.
    const std::string ide = game.Read("data/vehicles.ide");
    std::string edited = ReplaceLine(ide, landstal, "400, landstal, landstal, automobile, NOSUCH, LANDSTK, null, normal, 10, 0, 0, -1, 0.77, 0.77, -1");
    edited = ReplaceLine(edited, "401, bravura, bravura, car, BRAVURA, BRAVURA, null, poorfamily, 10, 0, 0, -1, 0.66, 0.66, -1",
                         "401, bravura, bravura, car, NOSUCH, BRAVURA, null, poorfamily, 10, 0, 0, -1, 0.66, 0.66, -1");
    ReplaceFileAtomically(game.Path() / "data" / "vehicles.ide", edited);
    EXPECT_EQ(JsonCodes(RunCli(WithGame(game, {"car", "check", "--json", "--over", "400", "--name", "x"})).Out), "ide_type");
    EXPECT_EQ(JsonCodes(RunCli(WithGame(game, {"car", "check", "--json", "--over", "401", "--name", "x"})).Out),
              "handling_missing");
}

TEST(CliCheck, AnImportWithErrorsIsRefusedUnchangedAndForceImportsIt)
{
    const TDemoGameDirectory game;
    TTempDir files;
    const ByteBuffer bare = Model(Edited([](TTestModel& m) { m.Collision.reset(); }));
    const std::filesystem::path model = files.Write("bare.dff", bare);
    const TDirectorySnapshot before = SnapshotGameDirectory(game.Path());

    const TCliRun refused = RunCli(WithGame(game, {"import", "--over", "400", "--dff", PathToUtf8(model)}));
    EXPECT_EQ(refused.ExitCode, 3) << refused.Err;
    EXPECT_NE(refused.Err.find("vehmira: error no_collision: "), std::string::npos) << refused.Err;
    EXPECT_NE(refused.Err.find("Give --force to import anyway."), std::string::npos) << refused.Err;
    EXPECT_EQ(refused.Out, "");
    EXPECT_EQ(SnapshotGameDirectory(game.Path()), before);

    const TCliRun typed = RunCli(WithGame(game, {"import", "--over", "402", "--handling", "hello world"}));
    EXPECT_EQ(typed.ExitCode, 3) << typed.Err;
    EXPECT_EQ(SnapshotGameDirectory(game.Path()), before);

    const TCliRun forced = RunCli(WithGame(game, {"import", "--over", "400", "--dff", PathToUtf8(model), "--force"}));
    ASSERT_EQ(forced.ExitCode, 0) << forced.Err;
    EXPECT_EQ(ArchiveEntry(game.Path(), "landstal.dff").substr(0, bare.size()), std::string(bare.begin(), bare.end()));
}

TEST(CliCheck, ExitCodesWhenTheCheckCannotRun)
{
    const TDemoGameDirectory game;
    const TCliRun missing = RunCli(WithGame(game, {"car", "check", "--dff", game.Scratch("none.dff"), "--over", "400"}));
    EXPECT_EQ(missing.ExitCode, 1) << missing.Err;
    EXPECT_NE(missing.Err.find("does not exist"), std::string::npos) << missing.Err;
    EXPECT_EQ(RunCli(WithGame(game, {"car", "check", "--over", "9999", "--name", "x"})).ExitCode, 1);
    EXPECT_EQ(RunCli(WithGame(game, {"car", "check", "--over", "400"})).ExitCode, 2);
    EXPECT_EQ(RunCli(WithGame(game, {"car", "check", "--name", "x"})).ExitCode, 2);
    EXPECT_EQ(RunCli(WithGame(game, {"car", "check", "--over", "abc", "--name", "x"})).ExitCode, 2);
}

// Some exporters count each chunk's header in its size: the clump and its last
// child then state 12 bytes more than the file holds. The game reads such a
// model from the archive through the zeros that fill its last sector, and so
// do the check and the preview, before the import as after it.
TEST(CliCheck, AModelWhoseSizesCountTheirHeadersReadsAsTheGameReadsIt)
{
    const TDemoGameDirectory game;
    TTempDir files;
    fileio::ByteBuffer bytes = Model(SoundCar());
    const auto addTwelve = [&bytes](std::size_t at) {
        const std::uint32_t size = fileio::LoadU32LE(std::span<const std::uint8_t, 4>(bytes.data() + at + 4, 4));
        fileio::StoreU32LE(std::span<std::uint8_t, 4>(bytes.data() + at + 4, 4), size + 12);
    };
    std::size_t last = 12;
    for (std::size_t at = 12; at < bytes.size();
         at += 12 + fileio::LoadU32LE(std::span<const std::uint8_t, 4>(bytes.data() + at + 4, 4)))
        last = at;
    addTwelve(0);
    addTwelve(last);
    const std::string model = PathToUtf8(files.Write("sizes.dff", bytes));
    const TCliRun check = RunCli(WithGame(game, {"car", "check", "--dff", model, "--over", "400", "--json"}));
    EXPECT_EQ(check.ExitCode, 0) << check.Out << check.Err;
    EXPECT_EQ(JsonCodes(check.Out), "") << check.Out;
    const TCliRun info = RunCli({"car", "info", "--dff", model});
    EXPECT_NE(info.Out.find("model: RenderWare"), std::string::npos) << info.Out << info.Err;
    EXPECT_EQ(info.Err.find("model:"), std::string::npos) << info.Err;
}

// The game reads a definition line with one scan: a field that does not read as its number ends
// the line. The stock game's own plane line of 11 fields (460's) only warns; brought by an import it is refused.
TEST(CliCheck, DefinitionFieldsAreReadAsTheGameReadsThem)
{
    const TDemoGameDirectory game;
    const std::string ide = game.Read("data/vehicles.ide");
    const std::string landstal = LineStartingWith(ide, "400,");
    const std::string plane = "400, landstal, landstal, plane, LANDSTAL, LANDSTK, null, ignore, 5, 0, 0";
    ReplaceFileAtomically(game.Path() / "data" / "vehicles.ide", ReplaceLine(ide, landstal, plane));
    std::string handling = game.Read("data/handling.cfg");
    handling.insert(handling.find(";the end") == std::string::npos ? handling.size() : handling.find(";the end"),
                    "$ LANDSTAL 1.0 1.0 1.0 1.0 1.0 1.0 1.0 1.0 1.0 1.0 1.0 1.0 1.0 1.0 1.0 1.0 1.0 1.0 1.0 1.0 1.0\r\n");
    ReplaceFileAtomically(game.Path() / "data" / "handling.cfg", handling);

    const TCliRun own = RunCli(WithGame(game, {"car", "check", "--over", "400", "--name", "x"}));
    EXPECT_EQ(own.ExitCode, 0) << own.Out << own.Err;
    EXPECT_NE(own.Out.find("warning ide_fields_game_line: "), std::string::npos) << own.Out;
    EXPECT_NE(own.Out.find("Skimmer"), std::string::npos) << own.Out;
    const TCliRun brought = RunCli(WithGame(game, {"car", "check", "--json", "--over", "400", "--vehicles", plane}));
    EXPECT_EQ(brought.ExitCode, 3) << brought.Out << brought.Err;
    EXPECT_EQ(JsonCodes(brought.Out), "ide_fields");
    // Imports over the vehicle go on.
    EXPECT_EQ(RunCli(WithGame(game, {"import", "--over", "400", "--name", "Skimmer"})).ExitCode, 0);

    const std::string bravura = LineStartingWith(ide, "401,");
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"poorfamily, 10,", "poorfamily, ten,"},
                                   {"0.66, 0.66", "O.66, 0.66"}}) {
        std::string line = bravura;
        line.replace(line.find(from), from.size(), to);
        const TCliRun run = RunCli(WithGame(game, {"car", "check", "--json", "--over", "401", "--vehicles", line}));
        EXPECT_EQ(run.ExitCode, 3) << to << '\n' << run.Out;
        EXPECT_EQ(JsonCodes(run.Out), "ide_fields") << to;
    }
}
