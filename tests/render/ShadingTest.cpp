// What the picture shows: textures sampled from the right dictionary, nearer
// triangles over farther ones, blending, paint.

#include "../support/ClumpBuilder.h"
#include "../support/RwStreamBuilder.h"
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <set>

using namespace vehmira;
using namespace RenderTest;
using render::TView;

namespace {

using TPixel = std::array<std::uint8_t, 4>;

TPixel At(const TRgbaImage& image, std::uint32_t x, std::uint32_t y)
{
    const std::uint8_t* p = image.At(x, y);
    return {p[0], p[1], p[2], p[3]};
}

// Which of red, green and blue is strongest (3: none is clearly).
int Dominant(const TPixel& p)
{
    for (int k = 0; k < 3; ++k)
        if (p[k] > 2 * p[(k + 1) % 3] + 20 && p[k] > 2 * p[(k + 2) % 3] + 20)
            return k;
    return 3;
}

ByteBuffer RectangleModel(std::vector<RwTest::TClumpGeometry> geometries)
{
    RwTest::TClump clump;
    clump.Frames = {{"car"}, {"chassis", 0}};
    clump.Geometries = std::move(geometries);
    for (std::uint32_t i = 0; i < clump.Geometries.size(); ++i)
        clump.Atomics.push_back({1, i});
    return RwTest::Clump(clump);
}

renderware::TTextureDictionary Checkerboard(const std::string& name)
{
    const std::vector<TPixel> pixels = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 255}};
    return renderware::TTextureDictionary::FromBytes(
        RwTest::TextureDictionary({RwTest::RgbaTextureNative(name, 2, 2, pixels)}));
}

RwTest::TClumpGeometry TexturedRectangle(float uvScale, const std::string& texture)
{
    RwTest::TClumpGeometry rectangle = RwTest::RectangleFacingX(0, {-1, 1}, {-1, 1}, uvScale);
    rectangle.Materials[0].Texture = texture;
    return rectangle;
}

TEST(RenderShading, CheckerboardIsSampledUprightAndRepeats)
{
    const renderware::TTextureDictionary dictionary = Checkerboard("check");
    // Seen from +x: +y right, +z up; (0, 0) at the top left. 100 pixels, the square spans 5..95.
    const TRgbaImage once = Render(RectangleModel({TexturedRectangle(1, "check")}), TView::Side, 100, false, {&dictionary});
    EXPECT_EQ(Dominant(At(once, 25, 25)), 0);  // red, top left
    EXPECT_EQ(Dominant(At(once, 75, 25)), 1);  // green, top right
    EXPECT_EQ(Dominant(At(once, 25, 75)), 2);  // blue, bottom left
    const TPixel white = At(once, 75, 75);
    EXPECT_TRUE(white[0] > 150 && white[0] == white[1] && white[1] == white[2]);
    // Coordinates 0..2 repeat the board: four cells a side.
    const TRgbaImage twice = Render(RectangleModel({TexturedRectangle(2, "check")}), TView::Side, 100, false, {&dictionary});
    EXPECT_EQ(Dominant(At(twice, 15, 15)), 0);
    EXPECT_EQ(Dominant(At(twice, 38, 15)), 1);
    EXPECT_EQ(Dominant(At(twice, 60, 15)), 0);
    EXPECT_EQ(Dominant(At(twice, 15, 38)), 2);
}

TEST(RenderShading, SharedDictionaryIsLookedInFirstAndNamesIgnoreCase)
{
    const std::vector<TPixel> red(4, TPixel{255, 0, 0, 255});
    const std::vector<TPixel> green(4, TPixel{0, 255, 0, 255});
    const auto shared = renderware::TTextureDictionary::FromBytes(
        RwTest::TextureDictionary({RwTest::RgbaTextureNative("Body", 2, 2, red)}));
    const auto own = renderware::TTextureDictionary::FromBytes(RwTest::TextureDictionary(
        {RwTest::RgbaTextureNative("body", 2, 2, green), RwTest::RgbaTextureNative("trim", 2, 2, green)}));
    EXPECT_EQ(Dominant(At(Render(RectangleModel({TexturedRectangle(1, "BODY")}), TView::Side, 40, false, {&shared, &own}),
                          20, 20)),
              0);
    EXPECT_EQ(Dominant(At(Render(RectangleModel({TexturedRectangle(1, "trim")}), TView::Side, 40, false, {&shared, &own}),
                          20, 20)),
              1);
    // A name no dictionary has: the material's own colour (white).
    const TPixel plain = At(Render(RectangleModel({TexturedRectangle(1, "none")}), TView::Side, 40, false, {&own}), 20, 20);
    EXPECT_EQ(Dominant(plain), 3);
}

RwTest::TClumpGeometry Coloured(RwTest::TClumpGeometry geometry, TPixel colour)
{
    geometry.Materials[0].Colour = colour;
    return geometry;
}

TEST(RenderShading, NearerTrianglesHideFartherOnesInEitherOrder)
{
    // Seen from +x, the nearer one is at the larger x.
    const auto farRed = Coloured(RwTest::RectangleFacingX(0, {-1, 1}, {-1, 1}), {255, 0, 0, 255});
    const auto nearGreen = Coloured(RwTest::RectangleFacingX(1, {0, 1}, {-1, 1}), {0, 255, 0, 255});
    for (const auto& order : {std::vector{farRed, nearGreen}, std::vector{nearGreen, farRed}}) {
        const TRgbaImage image = Render(RectangleModel(order), TView::Side, 100, false);
        EXPECT_EQ(Dominant(At(image, 75, 50)), 1);
        EXPECT_EQ(Dominant(At(image, 25, 50)), 0);
    }
}

TEST(RenderShading, TranslucentMaterialBlendsOverWhatIsBehind)
{
    const auto farRed = Coloured(RwTest::RectangleFacingX(0, {-1, 1}, {-1, 1}), {255, 0, 0, 255});
    const auto glass = Coloured(RwTest::RectangleFacingX(1, {-1, 0}, {-1, 1}), {0, 0, 255, 128});
    for (const auto& order : {std::vector{farRed, glass}, std::vector{glass, farRed}}) {
        const TPixel mixed = At(Render(RectangleModel(order), TView::Side, 100, false), 25, 50);
        EXPECT_GT(mixed[0], 60);
        EXPECT_GT(mixed[2], 60);
        EXPECT_EQ(mixed[1], 0);
    }
}

TEST(RenderShading, PaintMaterialsTakeTheVehicleColours)
{
    const auto primary = Coloured(RwTest::RectangleFacingX(0, {-1, 0}, {-1, 1}), render::PrimaryPaintKey);
    auto secondary = Coloured(RwTest::RectangleFacingX(0, {0, 1}, {-1, 1}), {255, 0, 175, 200});
    const ByteBuffer model = RectangleModel({primary, secondary});
    render::TPaint paint;
    paint.Primary = {0, 0, 220, 255};
    paint.Secondary = {0, 220, 0, 255};
    const TRgbaImage painted = Render(model, TView::Side, 100, false, {}, paint);
    EXPECT_EQ(Dominant(At(painted, 25, 50)), 2);
    EXPECT_EQ(Dominant(At(painted, 75, 50)), 1);
    // Without known colours: a neutral grey, no key colour showing.
    const TPixel neutral = At(Render(model, TView::Side, 100, false), 25, 50);
    EXPECT_EQ(Dominant(neutral), 3);
    EXPECT_LT(std::abs(int(neutral[0]) - int(neutral[2])), 24);
}

TEST(RenderShading, LightMaterialsAreDrawnWhiteOnTheirTextureWithTheLightsOff)
{
    // The lights texture in the shared dictionary: a mid grey, so that any
    // tint of the material shows in the drawn pixel.
    const std::vector<TPixel> grey(4, TPixel{128, 128, 128, 255});
    const auto shared = renderware::TTextureDictionary::FromBytes(
        RwTest::TextureDictionary({RwTest::RgbaTextureNative("vehiclelights128", 2, 2, grey)}));
    const TPixel plain =
        At(Render(RectangleModel({TexturedRectangle(1, "vehiclelights128")}), TView::Side, 40, false, {&shared}), 20, 20);
    ASSERT_GT(plain[0], 20);
    ASSERT_EQ(plain[0], plain[1]);
    ASSERT_EQ(plain[1], plain[2]);
    const struct {
        const char* Name;
        TPixel Colour;
        std::string Texture;
    } lights[] = {
        {"left headlight", {255, 175, 0, 255}, "vehiclelights128"},
        {"right headlight", {0, 255, 200, 255}, "VehicleLights128"},
        {"left tail light", {185, 255, 0, 255}, "vehiclelights128"},
        {"right tail light", {255, 60, 0, 255}, "vehiclelights128"},
        {"a paint key on the lights texture is still a light", {255, 0, 175, 255}, "vehiclelights128"},
    };
    render::TPaint paint;
    paint.Secondary = {0, 220, 0, 255};
    for (const auto& light : lights) {
        SCOPED_TRACE(light.Name);
        auto rectangle = Coloured(TexturedRectangle(1, light.Texture), light.Colour);
        const TPixel drawn = At(Render(RectangleModel({rectangle}), TView::Side, 40, false, {&shared}, paint), 20, 20);
        EXPECT_EQ(drawn, plain);
    }
    // A marker colour on another texture is no light: it keeps its colour (or paint).
    const TPixel amber = At(Render(RectangleModel({Coloured(TexturedRectangle(1, "none"), {255, 175, 0, 255})}),
                                   TView::Side, 40, false, {&shared}),
                            20, 20);
    EXPECT_GT(amber[0], 2 * amber[2] + 20);
}

TEST(RenderShading, PerspectiveViewShowsTheModelShadedAndCentred)
{
    RwTest::TClump clump;
    clump.Frames = {{"car"}, {"chassis", 0}};
    clump.Geometries = {RwTest::Box({-1, -2, -0.5f}, {1, 2, 0.5f})};
    clump.Atomics = {{1, 0}};
    const ByteBuffer model = RwTest::Clump(clump);
    const TRgbaImage image = Render(model, TView::Perspective, 128, false);
    const auto covered = Covered(Render(model, TView::Perspective, 128, true));
    EXPECT_TRUE(covered[64 * 128 + 64]);
    EXPECT_FALSE(covered[0]);
    // Three faces are seen, lit differently.
    std::set<int> shades;
    for (std::uint32_t y = 0; y < 128; ++y)
        for (std::uint32_t x = 0; x < 128; ++x)
            if (covered[y * 128 + x])
                shades.insert(image.At(x, y)[0] / 8);
    EXPECT_GE(shades.size(), 3u);
}

} // namespace
