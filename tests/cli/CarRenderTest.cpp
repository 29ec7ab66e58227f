// `vehmira car render` and `vehmira render ID`: the picture written, its
// exact mask, and the command line's refusals.

#include "cli/CliTestSupport.h"
#include "support/ClumpBuilder.h"
#include "support/RwStreamBuilder.h"

#include "fileio/FileSystem.h"
#include "renderware/PngWriter.h"

#include <gtest/gtest.h>

using namespace vehmira;
using namespace vehmira::fileio;

namespace {

// The box x in [-1, 1], y in [-2, 2], z in [-0.5, 0.5].
std::string BoxModel()
{
    RwTest::TClump clump;
    clump.Frames = {{"car"}, {"chassis", 0}};
    clump.Geometries = {RwTest::Box({-1, -2, -0.5f}, {1, 2, 0.5f})};
    clump.Atomics = {{1, 0}};
    const ByteBuffer bytes = RwTest::Clump(clump);
    return std::string(bytes.begin(), bytes.end());
}

// The side mask of that box at 100 pixels, by the written rule: 22.5 pixels a
// unit, columns 5 to 94 and rows 39 to 60 white.
std::string ExpectedSideMaskPng()
{
    renderware::TRgbaImage mask;
    mask.Width = mask.Height = 100;
    mask.Pixels.assign(100 * 100 * 4, 0);
    for (std::uint32_t y = 0; y < 100; ++y)
        for (std::uint32_t x = 0; x < 100; ++x) {
            const std::uint8_t value = x >= 5 && x <= 94 && y >= 39 && y <= 60 ? 255 : 0;
            std::uint8_t* pixel = mask.At(x, y);
            pixel[0] = pixel[1] = pixel[2] = value;
            pixel[3] = 255;
        }
    const ByteBuffer png = renderware::EncodePng(mask);
    return std::string(png.begin(), png.end());
}

TEST(CarRender, SideMaskOfAModelFileIsTheExactSilhouette)
{
    TTempDir dir;
    const std::string dff = PathToUtf8(dir.Write("box.dff", BoxModel()));
    const std::string png = PathToUtf8(dir / "mask.png");
    const TCliRun run = RunCli({"car", "render", "--dff", dff, "--view", "side", "--size", "100", "--mask", "-o", png});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out, "Wrote the side mask of 12 triangles (100x100 pixels) to " + png + "\n");
    EXPECT_EQ(ReadWholeFileText(PathFromUtf8(png)), ExpectedSideMaskPng());
}

TEST(CarRender, PerspectiveViewOfAGameVehicleAndOfItsPackage)
{
    const TDemoGameDirectory game;
    const std::string png = game.Scratch("cop.png");
    const TCliRun run = RunCli({"--game", game.Game(), "render", "596", "--size", "200", "--yaw", "120", "-o", png});
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out.rfind("Wrote the 3d view of ", 0), 0u) << run.Out;
    EXPECT_EQ(run.Out.find("neutral"), std::string::npos) << "the demo game's colours are known: " << run.Out;
    const std::string picture = ReadWholeFileText(PathFromUtf8(png));
    EXPECT_EQ(picture.substr(1, 3), "PNG");

    const std::string package = game.Scratch("cop.car");
    ASSERT_EQ(RunCli({"--game", game.Game(), "export", "596", "-o", package}).ExitCode, 0);
    const std::string fromPackage = game.Scratch("package.png");
    const TCliRun packaged = RunCli({"car", "render", package, "--size", "200", "--yaw", "120", "-o", fromPackage});
    ASSERT_EQ(packaged.ExitCode, 0) << packaged.Err;
    EXPECT_NE(packaged.Out.find("neutral grey"), std::string::npos) << packaged.Out;
}

TEST(CarRender, RefusalsNameWhatIsWrong)
{
    TTempDir dir;
    const TDemoGameDirectory game; // the game commands look for the game before their arguments
    const std::string dff = PathToUtf8(dir.Write("box.dff", BoxModel()));
    const std::string txd = PathToUtf8(dir.Write("car.txd", RwTest::TextureDictionary({})));
    const std::string notModel = PathToUtf8(dir.Write("text.dff", std::string("not a model at all")));
    const std::string png = PathToUtf8(dir / "x.png");
    struct TCase {
        std::vector<std::string> Args;
        int ExitCode;
        std::string ErrPart;
    };
    const std::vector<TCase> cases = {
        {{"car", "render", "--txd", txd, "-o", png}, 1, "no model to draw"},
        {{"car", "render", "--dff", notModel, "-o", png}, 1, "no model to draw"},
        {{"car", "render", "--dff", dff, "--view", "diagonal", "-o", png}, 2, "--view"},
        {{"car", "render", "--dff", dff, "--size", "0", "-o", png}, 2, "--size"},
        {{"car", "render", "--dff", dff, "--size", "5000", "-o", png}, 2, "--size"},
        {{"car", "render", "--dff", dff}, 2, "--output"},
        {{"car", "render", "-o", png}, 2, "needs a package FILE"},
        {{"--game", game.Game(), "render", "abc", "-o", png}, 2, "not a vehicle ID"},
    };
    for (const TCase& c : cases) {
        const TCliRun run = RunCli(c.Args);
        EXPECT_EQ(run.ExitCode, c.ExitCode) << testing::PrintToString(c.Args) << ": " << run.Err;
        EXPECT_NE(run.Err.find(c.ErrPart), std::string::npos) << run.Err;
    }
    EXPECT_FALSE(std::filesystem::exists(PathFromUtf8(png)));
}

} // namespace
