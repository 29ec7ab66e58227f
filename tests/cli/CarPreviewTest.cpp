// `vehmira car info` with textures, model and texture check, and the PNG
// contact sheets of `car preview` and `preview ID`, on streams built here and
// on the demo game.

#include "cli/CliTestSupport.h"
#include "support/RwStreamBuilder.h"

#include "fileio/FileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vehmira::fileio;

namespace {
using namespace RwTest;

constexpr std::uint32_t FourCCDxt1 = 0x31545844; // "DXT1"

ByteBuffer VehicleDictionary()
{
    TTestTexture body;
    body.Name = "body";
    body.RasterFormat = 0x0200;
    body.D3DFormatOrAlpha = FourCCDxt1;
    body.Width = 64;
    body.Height = 32;
    body.Depth = 16;
    body.Flags = 8 | 1;
    body.Levels = {ByteBuffer(64 * 32 / 2)}; // DXT1: 8 bytes a 4 x 4 block
    TTestTexture glass;
    glass.Name = "glass";
    glass.Width = 16;
    glass.Height = 16;
    return TextureDictionary({TextureNative(body), TextureNative(glass)});
}

// Three frames, the second part a damaged one; the model uses a texture of
// the shared dictionary besides its own two.
ByteBuffer VehicleModel()
{
    TTestModel model;
    model.Frames = {{"car", -1}, {"chassis", 0}, {"chassis_dam", 0}};
    model.Geometries = {TTestGeometry{.Vertices = 10, .Triangles = 6, .TextureNames = {"body", "glass"}},
                        TTestGeometry{.Vertices = 8, .Triangles = 5, .TextureNames = {"Body", "vehiclegrunge256"}}};
    model.Atomics = {{1, 0}, {2, 1}};
    return Model(model);
}

ByteBuffer SharedDictionary(const std::string& textureName)
{
    TTestTexture texture;
    texture.Name = textureName;
    return TextureDictionary({TextureNative(texture)});
}

std::string Text(const ByteBuffer& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string Package(const ByteBuffer& model, const ByteBuffer& dictionary)
{
    TExpectedPackage package;
    package.Flags = {1, 1, 0, 0, 0, 0};
    package.Pieces[0] = Text(model);
    package.Pieces[1] = Text(dictionary);
    return package.Bytes();
}

// Width and height from a PNG's IHDR chunk, which must come first.
std::pair<std::uint32_t, std::uint32_t> PngSize(const std::string& png)
{
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1A\n");
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    const auto be32 = [&](std::size_t at) {
        return std::uint32_t(std::uint8_t(png[at])) << 24 | std::uint32_t(std::uint8_t(png[at + 1])) << 16 |
               std::uint32_t(std::uint8_t(png[at + 2])) << 8 | std::uint32_t(std::uint8_t(png[at + 3]));
    };
    return {be32(16), be32(20)};
}

void ExpectLines(const std::string& out, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        EXPECT_NE(out.find(line + "\n"), std::string::npos) << "missing \"" << line << "\" in\n" << out;
}

class TCarPreviewTest : public testing::Test {
protected:
    std::string Write(std::string_view name, const std::string& bytes) const
    {
        return PathToUtf8(Dir.Write(name, bytes));
    }
    TTempDir Dir;
};

TEST_F(TCarPreviewTest, CarInfoListsTexturesModelAndCheckOfAPackage)
{
    const std::string file = Write("two.car", Package(VehicleModel(), VehicleDictionary()));
    const TCliRun run = RunCli({"car", "info", file});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    ExpectLines(run.Out, {"texture dictionary: RenderWare 3.6.0.3, PC", "textures: 2", "texture: body 64x32 DXT1",
                          "texture: glass 16x16 A8R8G8B8", "model: RenderWare 3.6.0.3, PC", "frames: 3",
                          "atomics: 2", "atomic: chassis (frame 1, geometry 0)",
                          "atomic: chassis_dam (frame 2, geometry 1, damaged)", "geometries: 2", "vertices: 18",
                          "triangles: 11", "texture names: body, glass, vehiclegrunge256",
                          "not in own dictionary: vehiclegrunge256",
                          "expected from the shared dictionary (not checked, give --game): vehiclegrunge256"});
    EXPECT_NE(run.Out.find("flags: dff=1 txd=1 gxt=0"), std::string::npos) << run.Out;
    EXPECT_TRUE(run.Out.ends_with("well-formed: yes\n")) << run.Out;
    EXPECT_EQ(run.Out.find("missing textures"), std::string::npos) << "no game, no verdict";

    const TCliRun json = RunCli({"car", "info", "--json", file});
    ASSERT_EQ(json.ExitCode, 0) << json.Err;
    for (const std::string key :
         {"\"wellFormed\": true", "{\"name\": \"body\", \"width\": 64, \"height\": 32, \"format\": \"DXT1\"",
          "{\"name\": \"glass\", \"width\": 16, \"height\": 16, \"format\": \"A8R8G8B8\"",
          "{\"frame\": 2, \"frame_name\": \"chassis_dam\", \"geometry\": 1, \"variant\": \"damaged\"}",
          "\"vertices\": 18, \"triangles\": 11", "\"texture_names\": [\"body\", \"glass\", \"vehiclegrunge256\"]",
          "\"not_in_own_dictionary\": [\"vehiclegrunge256\"]"})
        EXPECT_NE(json.Out.find(key), std::string::npos) << key << " in\n" << json.Out;
    EXPECT_EQ(json.Out.find("\"missing_textures\""), std::string::npos);
}

// --game supplies Models\Generic\Vehicle.txd, found whatever its letter case.
TEST_F(TCarPreviewTest, GameSharedDictionaryDecidesWhichTexturesAreMissing)
{
    const std::string file = Write("two.car", Package(VehicleModel(), VehicleDictionary()));
    const struct {
        const char* What;
        std::optional<std::string> Shared;
        std::string Missing;     // JSON array
        std::string SharedLine;  // text line
    } cases[] = {
        {"shared dictionary holds it", Text(SharedDictionary("VehicleGrunge256")), "[]",
         "shared dictionary: RenderWare 3.6.0.3, PC, 1 textures"},
        {"shared dictionary lacks it", Text(SharedDictionary("vehiclelights128")), "[\"vehiclegrunge256\"]",
         "shared dictionary: RenderWare 3.6.0.3, PC, 1 textures"},
        {"no shared dictionary in the game", std::nullopt, "[\"vehiclegrunge256\"]",
         "shared dictionary: none in the game"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TTempDir game;
        std::filesystem::create_directories(game / "models");
        if (c.Shared)
            game.Write("models/generic/vehicle.txd", *c.Shared);
        const std::string gameArg = PathToUtf8(game.Path());
        const TCliRun json = RunCli({"--game", gameArg, "car", "info", "--json", file});
        ASSERT_EQ(json.ExitCode, 0) << json.Err;
        EXPECT_NE(json.Out.find("\"missing_textures\": " + c.Missing), std::string::npos) << json.Out;
        EXPECT_NE(json.Out.find("\"not_in_own_dictionary\": [\"vehiclegrunge256\"]"), std::string::npos);
        const TCliRun text = RunCli({"car", "info", file, "--game", gameArg});
        ASSERT_EQ(text.ExitCode, 0) << text.Err;
        const std::string missing = c.Missing == "[]" ? "none" : "vehiclegrunge256";
        ExpectLines(text.Out, {c.SharedLine, "missing textures: " + missing});
    }
}

// A shared dictionary that cannot be read decides nothing: the names stay
// expected from it, and the damage is reported.
TEST_F(TCarPreviewTest, DamagedSharedDictionaryLeavesTheNamesUnchecked)
{
    const std::string file = Write("two.car", Package(VehicleModel(), VehicleDictionary()));
    TTempDir game;
    game.Write("Models/Generic/Vehicle.txd", Text(SharedDictionary("vehiclegrunge256")).substr(0, 30));
    const TCliRun json = RunCli({"--game", PathToUtf8(game.Path()), "car", "info", "--json", file});
    ASSERT_EQ(json.ExitCode, 0) << json.Err;
    EXPECT_EQ(json.Out.find("\"missing_textures\""), std::string::npos) << json.Out;
    EXPECT_NE(json.Out.find("\"expected_from_shared\": [\"vehiclegrunge256\"]"), std::string::npos) << json.Out;
    EXPECT_NE(json.Out.find("{\"piece\": \"shared dictionary\", \"kind\": \"unreadable\""), std::string::npos)
        << json.Out;
}

TEST_F(TCarPreviewTest, SeparateFilesAreLookedIntoAndUnreadableOnesFail)
{
    const std::string dff = Write("car.dff", Text(VehicleModel()));
    const std::string txd = Write("car.txd", Text(VehicleDictionary()));
    const std::string damagedModel = Write("damaged.dff", Text(VehicleModel()).substr(0, 40));
    const std::string notThere = PathToUtf8(Dir / "absent.txd");
    std::filesystem::resize_file(Dir.Write("huge.txd", ""), 64ull * 1024 * 1024 + 1);
    const std::string huge = PathToUtf8(Dir / "huge.txd");
    const struct {
        const char* What;
        std::vector<std::string> Args;
        int ExitCode;
        std::vector<std::string> Lines; // in stdout
        std::string Err;                // part of stderr ("" for none)
    } cases[] = {
        {"both files", {"--dff", dff, "--txd", txd}, 0,
         {"textures: 2", "texture: body 64x32 DXT1", "frames: 3", "not in own dictionary: vehiclegrunge256"}, ""},
        {"model only", {"--dff", dff}, 0,
         {"frames: 3", "texture dictionary file: none", "problem: texture dictionary: not given"}, ""},
        {"dictionary only", {"--txd", txd}, 0, {"textures: 2", "problem: model: not given"}, ""},
        // A failure is told once, on stderr.
        {"dictionary that does not exist", {"--dff", dff, "--txd", notThere}, 1, {"frames: 3"},
         "vehmira: texture dictionary: " + notThere + " does not exist\n"},
        {"dictionary over 64 MiB", {"--txd", huge}, 1, {}, "takes 67108865 bytes, more than the 64 MiB"},
        {"damaged model", {"--dff", damagedModel, "--txd", txd}, 1, {"textures: 2"}, "vehmira: model: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        std::vector<std::string> args = {"car", "info"};
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        const TCliRun run = RunCli(args);
        EXPECT_EQ(run.ExitCode, c.ExitCode) << run.Out << run.Err;
        ExpectLines(run.Out, c.Lines);
        if (c.Err.empty())
            EXPECT_EQ(run.Err, "");
        else
            EXPECT_NE(run.Err.find(c.Err), std::string::npos) << run.Err;
        EXPECT_EQ(run.Out.find("not_in_own"), std::string::npos);
        // Each message once, on one stream, with one prefix.
        for (const char* doubled : {"model: model:", "texture dictionary: texture dictionary:"})
            EXPECT_EQ((run.Out + run.Err).find(doubled), std::string::npos) << run.Out << run.Err;
        if (const std::size_t at = run.Err.find("vehmira: "); at != std::string::npos) {
            const std::string message = run.Err.substr(at + 9, run.Err.find('\n', at) - at - 9);
            EXPECT_EQ(run.Out.find(message), std::string::npos) << message;
        }
    }
    const TCliRun json = RunCli({"car", "info", "--json", "--dff", dff, "--txd", txd});
    ASSERT_EQ(json.ExitCode, 0) << json.Err;
    EXPECT_NE(json.Out.find("\"not_in_own_dictionary\": [\"vehiclegrunge256\"]"), std::string::npos) << json.Out;
    EXPECT_NE(json.Out.find("\"model_file\": "), std::string::npos) << json.Out;
}

TEST_F(TCarPreviewTest, PackageWithoutDictionaryOrWithADamagedModelIsStillShown)
{
    const std::string noDictionary = Write("nodict.car", [] {
        TExpectedPackage package;
        package.Flags = {1, 0, 0, 0, 0, 0};
        package.Pieces[0] = Text(VehicleModel());
        return package.Bytes();
    }());
    ByteBuffer cutModel = VehicleModel();
    cutModel.resize(40);
    const std::string damagedModel = Write("damaged.car", Package(cutModel, VehicleDictionary()));
    const TCliRun first = RunCli({"car", "info", noDictionary});
    EXPECT_EQ(first.ExitCode, 0) << first.Err;
    ExpectLines(first.Out, {"frames: 3", "problem: texture dictionary: the package holds none", "well-formed: yes"});
    const TCliRun second = RunCli({"car", "info", damagedModel});
    EXPECT_EQ(second.ExitCode, 0) << second.Err;
    ExpectLines(second.Out, {"textures: 2", "well-formed: yes"});
    EXPECT_NE(second.Out.find("problem: model: "), std::string::npos) << second.Out;

    const TCliRun sheet = RunCli({"car", "preview", noDictionary, "-o", PathToUtf8(Dir / "x.png")});
    EXPECT_EQ(sheet.ExitCode, 1);
    EXPECT_NE(sheet.Err.find("texture dictionary: the package holds none; there are no textures to show"),
              std::string::npos)
        << sheet.Err;
    EXPECT_FALSE(std::filesystem::exists(Dir / "x.png"));
}

// Two thumbnails side by side: 2 × (128 + 8) + 8 wide, 128 + 2 × 8 high; with
// a model, its 512-pixel view above them.
TEST_F(TCarPreviewTest, ContactSheetOfAPackageOrADictionaryFileIsAPngOfTheRightSize)
{
    const std::string package = Write("two.car", Package(VehicleModel(), VehicleDictionary()));
    const std::string txd = Write("car.txd", Text(VehicleDictionary()));
    struct TCase {
        std::vector<std::string> Input;
        std::string Written;
        std::pair<std::uint32_t, std::uint32_t> Size;
    };
    const std::vector<TCase> cases = {
        {{package}, "Wrote the model view and a contact sheet of 2 textures (512x656 pixels) to ", {512u, 656u}},
        {{"--txd", txd}, "Wrote a contact sheet of 2 textures (280x144 pixels) to ", {280u, 144u}}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Input.back());
        const std::string png = PathToUtf8(Dir / "sheet.png");
        std::vector<std::string> args = {"car", "preview"};
        args.insert(args.end(), c.Input.begin(), c.Input.end());
        args.insert(args.end(), {"-o", png});
        const TCliRun run = RunCli(args);
        ASSERT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(run.Out, c.Written + png + "\n");
        EXPECT_EQ(PngSize(ReadWholeFileText(PathFromUtf8(png))), c.Size);
    }
    const TCliRun both = RunCli({"car", "preview", package, "--txd", txd, "-o", PathToUtf8(Dir / "y.png")});
    EXPECT_EQ(both.ExitCode, 2) << both.Err;
    const TCliRun none = RunCli({"car", "info"});
    EXPECT_EQ(none.ExitCode, 2) << none.Err;
}

TEST(DemoPreview, GameVehicleAndItsExportShowTheDemoTexture)
{
    const TDemoGameDirectory game;
    const std::string png = game.Scratch("cop.png");
    const TCliRun sheet = RunCli({"--game", game.Game(), "preview", "596", "-o", png});
    ASSERT_EQ(sheet.ExitCode, 0) << sheet.Err;
    // The model's view (512 pixels) above the one thumbnail (144 pixels).
    EXPECT_EQ(PngSize(ReadWholeFileText(PathFromUtf8(png))), std::make_pair(512u, 656u));

    const std::string package = game.Scratch("cop.car");
    ASSERT_EQ(RunCli({"--game", game.Game(), "export", "596", "-o", package}).ExitCode, 0);
    const TCliRun info = RunCli({"--game", game.Game(), "car", "info", package});
    ASSERT_EQ(info.ExitCode, 0) << info.Err;
    ExpectLines(info.Out, {"textures: 1", "texture: copcarla_body 32x32 A8R8G8B8", "frames: 15", "atomics: 5",
                           "texture names: copcarla_body", "not in own dictionary: none",
                           "shared dictionary: none in the game", "missing textures: none"});
    const TCliRun json = RunCli({"car", "info", "--json", package, "--game", game.Game()});
    EXPECT_NE(json.Out.find("\"missing_textures\": []"), std::string::npos) << json.Out;

    const TCliRun unknown = RunCli({"--game", game.Game(), "preview", "9999", "-o", png});
    EXPECT_EQ(unknown.ExitCode, 1);
    EXPECT_NE(unknown.Err.find("vehicle 9999"), std::string::npos) << unknown.Err;
    const TCliRun notAnId = RunCli({"--game", game.Game(), "preview", "abc", "-o", png});
    EXPECT_EQ(notAnId.ExitCode, 2);
}

// A texture whose level size does not match its format is listed and crossed
// out on the sheet; the others still show.
TEST(CarPreviewDamage, UnreadableTextureIsListedWarnedAndCrossedOut)
{
    TTempDir dir;
    TTestTexture broken;
    broken.Name = "body";
    broken.Levels = {ByteBuffer(10)};
    TTestTexture glass;
    glass.Name = "glass";
    const ByteBuffer dictionary = TextureDictionary({TextureNative(broken), TextureNative(glass)});
    const std::string txd = PathToUtf8(dir.Write("broken.txd", dictionary));
    const std::string dff = PathToUtf8(dir.Write("car.dff", VehicleModel()));
    const TCliRun info = RunCli({"car", "info", "--dff", dff, "--txd", txd});
    EXPECT_EQ(info.ExitCode, 0) << info.Err;
    EXPECT_NE(info.Out.find("texture: body 4x4 A8R8G8B8 (cannot be read: "), std::string::npos) << info.Out;
    EXPECT_NE(info.Out.find("warning: texture \"body\" in the dictionary cannot be read"), std::string::npos)
        << info.Out;
    const std::string png = PathToUtf8(dir / "sheet.png");
    const TCliRun sheet = RunCli({"car", "preview", "--txd", txd, "-o", png});
    ASSERT_EQ(sheet.ExitCode, 0) << sheet.Err;
    EXPECT_EQ(sheet.Err, "vehmira: 1 of the textures cannot be read; their cells are crossed out\n");
    EXPECT_EQ(PngSize(ReadWholeFileText(PathFromUtf8(png))), std::make_pair(280u, 144u));
}
} // namespace
