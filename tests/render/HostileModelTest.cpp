// Damaged and hostile models: what is sound is drawn, nothing crashes.

#include "../support/ClumpBuilder.h"
#include "../support/RwStreamBuilder.h"
#include "RenderTestSupport.h"
#include "fileio/Errors.h"
#include "render/VehicleParts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

using namespace vehmira;
using namespace RenderTest;
using render::TView;

namespace {

RwTest::TClump TwoBoxes()
{
    RwTest::TClump clump;
    clump.Frames = {{"car"}, {"chassis", 0}, {"door", 1, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 3, 0}}};
    clump.Geometries = {RwTest::Box({-1, -1, -1}, {1, 1, 1}), RwTest::Box({-0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, 0.5f})};
    clump.Atomics = {{1, 0}, {2, 1}};
    return clump;
}

// Reading either refuses the stream with the core's error or gives a model
// that draws.
void DrawsOrRefuses(const ByteBuffer& bytes)
{
    try {
        const render::TClumpModel model = render::ReadClumpModel(bytes);
        render::TTextureSet textures;
        render::TRenderOptions options;
        options.View.Size = 24;
        for (const TView view : {TView::Side, TView::Perspective})
            options.View.View = view, render::RenderVehicle(model, textures, options);
    } catch (const fileio::TVehmiraError&) {
    }
}

TEST(RenderHostile, EveryTruncationAndRandomDamageIsSurvived)
{
    const ByteBuffer model = RwTest::Clump(TwoBoxes());
    for (std::size_t length = 0; length < model.size(); ++length)
        DrawsOrRefuses(ByteBuffer(model.begin(), model.begin() + std::ptrdiff_t(length)));
    std::mt19937 random(19);
    for (int round = 0; round < 3000; ++round) {
        ByteBuffer damaged = model;
        for (int flips = 1 + int(random() % 4); flips > 0; --flips)
            damaged[random() % damaged.size()] = std::uint8_t(random());
        DrawsOrRefuses(damaged);
    }
}

TEST(RenderHostile, DamagedPartsAreLeftOutAndTheRestIsDrawn)
{
    const auto whole = Covered(Render(RwTest::Clump(TwoBoxes()), TView::Side, 64, true));
    struct TCase {
        const char* What;
        void (*Damage)(RwTest::TClump&);
    };
    const TCase cases[] = {
        {"atomic naming a missing geometry", [](RwTest::TClump& c) { c.Atomics.push_back({1, 7}); }},
        {"atomic naming a missing frame", [](RwTest::TClump& c) { c.Atomics.push_back({99, 0}); }},
        {"triangle naming a missing vertex",
         [](RwTest::TClump& c) { c.Geometries[0].Triangles.push_back({0, 1, 999, 0}); }},
        {"triangle naming a missing material",
         [](RwTest::TClump& c) { c.Geometries[0].Triangles[0][3] = 40; }},
        {"frame whose parent is out of range", [](RwTest::TClump& c) { c.Frames.push_back({"loose", 1000}); }},
        {"frames whose parents make a loop",
         [](RwTest::TClump& c) {
             c.Frames.push_back({"a", 4});
             c.Frames.push_back({"b", 3});
         }},
        {"not-a-number position hanging on its own",
         [](RwTest::TClump& c) {
             RwTest::TClumpGeometry bad = RwTest::Box({0, 0, 0}, {1, 1, 1});
             bad.Positions[0][0] = std::numeric_limits<float>::quiet_NaN();
             bad.Positions[1][1] = std::numeric_limits<float>::infinity();
             bad.Triangles = {{0, 1, 2, 0}};
             c.Geometries.push_back(bad);
             c.Atomics.push_back({1, 2});
         }},
    };
    for (const TCase& c : cases) {
        RwTest::TClump clump = TwoBoxes();
        c.Damage(clump);
        EXPECT_EQ(Differences(Covered(Render(RwTest::Clump(clump), TView::Side, 64, true)), whole), 0u) << c.What;
    }
}

TEST(RenderHostile, DamagedGeometryKeepsTheOthersInPlace)
{
    ByteBuffer bytes = RwTest::Clump(TwoBoxes());
    // The first geometry's vertex count made huge: that geometry is left out, the door box still drawn.
    // Its Struct begins: flags (positions, normals, modulate), 12 triangles, 24 vertices.
    const ByteBuffer firstStruct = {0x52, 0, 0, 0, 12, 0, 0, 0, 24, 0, 0, 0};
    const auto found = std::search(bytes.begin(), bytes.end(), firstStruct.begin(), firstStruct.end());
    ASSERT_NE(found, bytes.end());
    const std::size_t vertexCount = std::size_t(found - bytes.begin()) + 8;
    RwTest::SetU32(bytes, vertexCount, 0x40000000);
    const render::TClumpModel damaged = render::ReadClumpModel(bytes);
    ASSERT_EQ(damaged.Geometries.size(), 2u);
    EXPECT_TRUE(damaged.Geometries[0].Triangles.empty());
    EXPECT_EQ(damaged.Geometries[1].Triangles.size(), 12u);
    EXPECT_FALSE(damaged.Problems.empty());
}

// As the root-chunk rule reads a model: a size that overruns the file (here
// one that counts the header too), and a UV animation dictionary before the clump.
TEST(RenderHostile, RootIsFoundAsTheRootChunkRuleFindsIt)
{
    const ByteBuffer clump = RwTest::Clump(TwoBoxes());
    const auto expected = Covered(Render(clump, TView::Front, 48, true));
    ByteBuffer countsHeader = clump;
    RwTest::SetU32(countsHeader, 4, std::uint32_t(clump.size()));
    ByteBuffer withDictionary = RwTest::Chunk(0x2B, ByteBuffer(20, 7));
    withDictionary.insert(withDictionary.end(), clump.begin(), clump.end());
    for (const ByteBuffer& bytes : {countsHeader, withDictionary})
        EXPECT_EQ(Differences(Covered(Render(bytes, TView::Front, 48, true)), expected), 0u);
    const ByteBuffer dictionaryOnly = RwTest::Chunk(0x2B, ByteBuffer(20, 7));
    const ByteBuffer textureDictionary = RwTest::TextureDictionary({});
    for (const ByteBuffer& bytes : {dictionaryOnly, textureDictionary, ByteBuffer{0x10, 0, 0}})
        EXPECT_THROW(render::ReadClumpModel(bytes), fileio::TVehmiraError);
}

TEST(RenderHostile, PictureSizeIsBounded)
{
    render::TRenderOptions options;
    for (const std::uint32_t size : {0u, render::MaxRenderSide + 1}) {
        options.View.Size = size;
        EXPECT_THROW(render::RenderScene({}, options), fileio::TVehmiraError) << size;
    }
}

TEST(RenderHostile, FrameChainsAreComposedWithoutRecursion)
{
    std::vector<render::TFrame> frames(200000);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        frames[i].Parent = std::int32_t(i) - 1;
        frames[i].Local.Pos = {0, 0, 1};
    }
    const auto worlds = render::FrameWorldMatrices(frames);
    EXPECT_EQ(worlds.back().Pos.Z, float(frames.size()));
}

} // namespace
