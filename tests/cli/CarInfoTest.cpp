// `vehmira car info` on a good package and on packages damaged in each way.

#include "cli/CliTestSupport.h"

#include "fileio/FileSystem.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vehmira::fileio;

namespace {
std::string GoodPackage(const TDemoGameDirectory& game)
{
    const std::string package = game.Scratch("good.car");
    const TCliRun run = RunCli({"--game", game.Game(), "export", "596", "-o", package, "--pieces",
                                "dff,txd,gxt,handling,vehicles,carcols"});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    return ReadWholeFileText(PathFromUtf8(package));
}
} // namespace

TEST(CarInfo, ShowsHeaderFlagsLengthsAndTextsOfAGoodPackage)
{
    const TDemoGameDirectory game;
    const std::string bytes = GoodPackage(game);
    const std::string file = PathToUtf8(game.Path().parent_path() / "good.car");
    const TCliRun run = RunCli({"car", "info", file});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Out.find("size: " + std::to_string(bytes.size()) + " bytes\n"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("magic: CAR\nversion: 2\nvehicle ID: 596\n"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("flags: dff=1 txd=1 gxt=1 handling=1 vehicles=1 carcols=1\n"), std::string::npos);
    EXPECT_NE(run.Out.find("gxt: Полиция\n"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("carcols: copcarla, 0,1\n"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find(" handling-special=0 "), std::string::npos) << run.Out;
    EXPECT_TRUE(run.Out.ends_with("well-formed: yes\n")) << run.Out;
    EXPECT_EQ(run.Err, "");

    const TCliRun json = RunCli({"car", "info", "--json", file});
    ASSERT_EQ(json.ExitCode, 0) << json.Err;
    EXPECT_NE(json.Out.find("\"vehicleId\": 596"), std::string::npos) << json.Out;
    EXPECT_NE(json.Out.find("\"gxt\": \"Полиция\""), std::string::npos) << json.Out;
    EXPECT_NE(json.Out.find("\"wellFormed\": true"), std::string::npos) << json.Out;
}

TEST(CarInfo, NamesWhatIsWrongWithADamagedPackage)
{
    const TDemoGameDirectory game;
    const std::string good = GoodPackage(game);
    const auto at = [](std::string bytes, std::size_t offset, char value) {
        bytes[offset] = value;
        return bytes;
    };
    constexpr std::size_t CarcolsFlag = 13;
    constexpr std::size_t ModelStart = 42;
    const struct {
        const char* What;
        std::string Bytes;
        std::string Problem; // part of the reported problem
    } cases[] = {
        {"shorter than the header", good.substr(0, 10), "too short for its header"},
        {"ends in the length table", good.substr(0, 30), "too short for its length table"},
        {"lower-case magic", at(good, 0, 'c'), "not a CAR package"},
        {"version 3", at(good, 3, 3), "version 3 is not supported"},
        {"version 1", at(good, 3, 1), "version 1 is not supported"},
        {"truncated piece", good.substr(0, good.size() - 1), "runs past the end"},
        {"negative length", at(good, 17, char(0x80)), "negative"},
        {"model that is no clump", at(good, ModelStart, 0x16), "not a RenderWare model"},
        {"absent piece with a length", at(good, CarcolsFlag, 0), "marked absent"},
        {"bytes after the last piece", good + "x", "1 bytes follow the last piece"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TTempDir dir;
        const std::string file = PathToUtf8(dir.Write("damaged.car", c.Bytes));
        const TCliRun run = RunCli({"car", "info", file});
        EXPECT_EQ(run.ExitCode, 1);
        EXPECT_NE(run.Out.find("well-formed: no: "), std::string::npos) << run.Out;
        EXPECT_NE(run.Out.find(c.Problem), std::string::npos) << run.Out;
        EXPECT_EQ(run.Err.rfind("vehmira: " + file + ": ", 0), 0u) << run.Err;
        const TCliRun json = RunCli({"car", "info", file, "--json"});
        EXPECT_NE(json.Out.find("\"wellFormed\": false"), std::string::npos) << json.Out;
    }
}

// What car info calls well-formed the import accepts: text pieces the import
// refuses are named, however long the piece.
TEST(CarInfo, TextPiecesTheImportRefusesAreNotWellFormed)
{
    const TDemoGameDirectory game;
    const std::string handling = LineStartingWith(game.Read("data/handling.cfg"), "LANDSTAL ");
    const struct {
        const char* What;
        std::size_t Piece; // 2 display name, 3 handling
        std::string Text;
        std::string Problem;
    } cases[] = {
        {"zero byte in the display name", 2, std::string("Land\0stalker", 12), "the gxt piece holds a zero byte"},
        {"handling line that is a comment", 3, ";" + handling, "the handling piece is a comment line"},
        {"handling line with a line break past 64 KiB", 3, handling + std::string(70000, ' ') + "\n1",
         "the handling piece holds a line break"},
        {"empty vehicles line", 5, "", "the vehicles piece has 0 field(s); the import needs at least 6"},
        {"vehicles line of three fields", 5, "400, landstal, landstal",
         "the vehicles piece has 3 field(s); the import needs at least 6"},
        {"vehicles line with a zero byte", 5,
         std::string("400, landstal, landstal, car, LANDSTAL, LANDSTK, null, normal, 1\0, 0, 0, -1, 0.7, 0.7, -1", 89),
         "the vehicles piece holds a zero byte (byte 65)"},
        {"special line of two fields", 4, "! LANDSTAL", "the handling-special piece has 2 field(s)"},
        {"special line without its marker", 4, "LANDSTAL 0.1 0.2",
         "the handling-special piece does not start with a special-line marker"},
        {"colour line whose last field is trimmed away", 6, "landstal, 4,1, \x01,",
         "the carcols piece would not read back as its fields"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TExpectedPackage expected;
        expected.VehicleID = 400;
        expected.Flags = {0, 0, std::uint8_t(c.Piece == 2), std::uint8_t(c.Piece == 3 || c.Piece == 4),
                          std::uint8_t(c.Piece == 5), std::uint8_t(c.Piece == 6)};
        expected.Pieces[c.Piece] = c.Text;
        const std::string package = game.Scratch("faulty.car");
        ReplaceFileAtomically(PathFromUtf8(package), expected.Bytes());
        const TCliRun info = RunCli({"car", "info", package});
        EXPECT_NE(info.Out.find("well-formed: no: " + c.Problem), std::string::npos) << info.Out;

        const TDirectorySnapshot before = SnapshotGameDirectory(game.Path());
        const TCliRun import = RunCli({"--game", game.Game(), "import", package, "--over", "400", "--force"});
        EXPECT_EQ(import.ExitCode, 1) << import.Out << import.Err;
        EXPECT_EQ(SnapshotGameDirectory(game.Path()), before);
    }
}
