#include "renderware/ModelSummary.h"

#include "fileio/Errors.h"
#include "support/RwStreamBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace vehmira;
using namespace vehmira::fileio;
using namespace vehmira::renderware;

using namespace RwTest;

namespace {

TTestModel CarModel()
{
    TTestModel model;
    model.Frames = {{"car", -1}, {"chassis_dummy", 0}, {"chassis", 1}, {"door_lf_ok", 1}, {"door_lf_dam", 1},
                    {"chassis_vlo", 1}, {"", 1}};
    TTestGeometry body{400, 300, {"body", "Glass", ""}};
    TTestGeometry door{40, 20, {"BODY", "handle"}};
    door.Prelit = true;
    TTestGeometry low{12, 6, {"body"}};
    TTestGeometry doorDamaged{44, 22, {"body", "glass"}};
    doorDamaged.MorphTargets = 2;
    model.Geometries = {body, door, low, doorDamaged};
    model.Atomics = {{2, 0}, {3, 1}, {5, 2}, {4, 3}};
    return model;
}

TEST(ModelSummary, FramesAtomicsGeometriesAndTextures)
{
    const renderware::TModelSummary summary = renderware::ReadModelSummary(Model(CarModel()));
    EXPECT_EQ(summary.Version.Text(), "3.6.0.3");
    EXPECT_EQ(summary.Platform, renderware::TPlatform::PC);
    ASSERT_EQ(summary.Frames.size(), 7u);
    EXPECT_EQ(summary.Frames[3].Name, "door_lf_ok");
    EXPECT_EQ(summary.Frames[3].Parent, 1);
    EXPECT_EQ(summary.Frames[6].Name, "");
    struct TExpectedAtomic {
        std::string FrameName;
        std::uint32_t Geometry;
        renderware::TPartVariant Variant;
    };
    const std::vector<TExpectedAtomic> expected{{"chassis", 0, renderware::TPartVariant::Normal},
                                                {"door_lf_ok", 1, renderware::TPartVariant::Normal},
                                                {"chassis_vlo", 2, renderware::TPartVariant::LowDetail},
                                                {"door_lf_dam", 3, renderware::TPartVariant::Damaged}};
    ASSERT_EQ(summary.Atomics.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(summary.Atomics[i].FrameName, expected[i].FrameName);
        EXPECT_EQ(summary.Atomics[i].GeometryIndex, expected[i].Geometry);
        EXPECT_EQ(summary.Atomics[i].Variant, expected[i].Variant) << expected[i].FrameName;
    }
    ASSERT_EQ(summary.Geometries.size(), 4u);
    EXPECT_EQ(summary.Geometries[0].Vertices, 400u);
    EXPECT_EQ(summary.Geometries[0].Triangles, 300u);
    EXPECT_EQ(summary.Geometries[0].Materials, 3u);
    EXPECT_EQ(summary.Geometries[0].TextureNames, (std::vector<std::string>{"body", "Glass"}));
    EXPECT_EQ(summary.Geometries[3].MorphTargets, 2u);
    EXPECT_EQ(summary.TotalVertices, 496u);
    EXPECT_EQ(summary.TotalTriangles, 348u);
    EXPECT_EQ(summary.TextureNames, (std::vector<std::string>{"body", "Glass", "handle"}));
}

TEST(ModelSummary, TheGameFindsOnlyFramesBelowTheClumpsFrame)
{
    // Parents as the stream gives them: a second root at 3, a loop between 5
    // and 6, and a parent index past the list at 7.
    TModelSummary model;
    const std::vector<std::int32_t> parents = {-1, 0, 1, -1, 3, 6, 5, 99};
    for (const std::int32_t parent : parents)
        model.Frames.push_back({"f", parent});
    const struct {
        std::size_t frame;
        bool found;
    } cases[] = {
        {0, false}, // the clump's frame itself is never matched
        {1, true},  {2, true}, {3, false}, {4, false}, {5, false}, {6, false}, {7, false}, {8, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsFoundFromClumpFrame(model, c.frame), c.found) << "frame " << c.frame;
    EXPECT_TRUE(IsFrameWithin(model, 4, 3));
    EXPECT_TRUE(IsFrameWithin(model, 2, 2));
    EXPECT_FALSE(IsFrameWithin(model, 5, 0));
    EXPECT_FALSE(IsFrameWithin(model, 7, 0));
}

TEST(ModelSummary, PartVariantsIgnoreCase)
{
    EXPECT_EQ(renderware::PartVariantOf("bonnet_DAM"), renderware::TPartVariant::Damaged);
    EXPECT_EQ(renderware::PartVariantOf("chassis_Vlo"), renderware::TPartVariant::LowDetail);
    EXPECT_EQ(renderware::PartVariantOf("_dam_ok"), renderware::TPartVariant::Normal);
    EXPECT_EQ(renderware::PartVariantOf("dam"), renderware::TPartVariant::Normal);
}

TEST(ModelSummary, OlderStreamsAndConsoleGeometry)
{
    TTestModel old = CarModel();
    old.Stamp = Stamp3302;  // geometry structs carry surface properties before 3.4
    const renderware::TModelSummary oldSummary = renderware::ReadModelSummary(Model(old));
    EXPECT_EQ(oldSummary.Version.Text(), "3.3.0.2");
    EXPECT_EQ(oldSummary.TotalTriangles, 348u);

    TTestModel console = CarModel();
    console.Geometries[1].Native = true;
    EXPECT_EQ(renderware::ReadModelSummary(Model(console)).Platform, renderware::TPlatform::Console);
}

TEST(ModelSummary, TruncatedAtEveryLengthIsRefused)
{
    const ByteBuffer whole = Model(CarModel());
    // Cut 12 bytes short, the clump states 12 bytes more than follow: the
    // exporters' count that includes the header, read as the game reads it.
    const std::size_t headerCounted = whole.size() - 12;
    for (std::size_t length = 0; length < whole.size(); ++length) {
        if (length != headerCounted) {
            EXPECT_THROW(renderware::ReadModelSummary(std::span(whole).first(length)), TVehmiraError) << length;
        }
    }
}

TEST(ModelSummary, AClumpWhoseSizeCountsItsHeaderIsRead)
{
    // The car model ends with the clump's empty extension (12 bytes); a model
    // whose exporter counted the header states 12 bytes more than follow.
    ByteBuffer model = Model(CarModel());
    const renderware::TModelSummary whole = renderware::ReadModelSummary(model);
    const std::uint32_t stated = LoadU32LE(std::span(model).subspan<4, 4>());
    model.resize(model.size() - 12);
    StoreU32LE(std::span(model).subspan<4, 4>(), stated);
    const renderware::TModelSummary counted = renderware::ReadModelSummary(model);
    EXPECT_EQ(counted.Frames.size(), whole.Frames.size());
    EXPECT_EQ(counted.TotalTriangles, whole.TotalTriangles);
    // Any other overrun is still refused.
    StoreU32LE(std::span(model).subspan<4, 4>(), stated + 4);
    EXPECT_THROW(renderware::ReadModelSummary(model), TVehmiraError);
}

// The counts that would make a reader run off or allocate without bound.
TEST(ModelSummary, OversizedCountsAreRefusedWithTheReason)
{
    struct TCase {
        std::string What;
        std::function<void(TTestModel&)> Change;
        std::function<void(ByteBuffer&)> Patch;
        std::string Expected;
    };
    const TTestModel base = CarModel();
    const ByteBuffer baseBytes = Model(base);
    // Offsets inside the stream built from CarModel().
    const std::size_t frameCountAt = 12 + 12 + 12 + 12 + 12;   // root, clump Struct (12+12), frame list, its Struct
    auto find = [&](std::uint32_t type, std::size_t from) {
        for (std::size_t i = from; i + 4 <= baseBytes.size(); ++i)
            if (baseBytes[i] == (type & 0xFF) && baseBytes[i + 1] == (type >> 8 & 0xFF) && baseBytes[i + 2] == 0 &&
                baseBytes[i + 3] == 0 && baseBytes[i + 8] == 0xFF && baseBytes[i + 9] == 0xFF)
                return i;
        return std::size_t(0);
    };
    const std::size_t firstGeometry = find(0x0F, 0);
    const std::size_t geometryStruct = firstGeometry + 12 + 12;
    const std::size_t materialList = find(0x08, firstGeometry);
    const std::vector<TCase> cases{
        {"frame count", nullptr, [&](ByteBuffer& b) { SetU32(b, frameCountAt, 0x7FFFFFFF); },
         "the frame list declares 2147483647 frames, its Struct holds 7"},
        {"triangle count", nullptr, [&](ByteBuffer& b) { SetU32(b, geometryStruct + 4, 0xFFFFFFFF); },
         "the 4294967295 triangles runs past the end"},
        {"vertex count", nullptr, [&](ByteBuffer& b) { SetU32(b, geometryStruct + 8, 0x40000000); },
         "texture coordinates of 1073741824 vertices runs past the end"},
        {"morph targets", nullptr, [&](ByteBuffer& b) { SetU32(b, geometryStruct + 12, 0xFFFFFFFF); },
         "the bounding sphere runs past the end"},
        {"material count", nullptr, [&](ByteBuffer& b) { SetU32(b, materialList + 24, 0x3FFFFFFF); },
         "the material indices runs past the end"},
        {"atomic frame", [](TTestModel& m) { m.Atomics[1].first = 99; }, nullptr,
         "atomic 2 names frame 99, the model has 7 frames"},
        {"atomic geometry", [](TTestModel& m) { m.Atomics[0].second = 4; }, nullptr,
         "atomic 1 names geometry 4, the model has 4 geometries"},
    };
    for (const TCase& test : cases) {
        TTestModel model = base;
        if (test.Change)
            test.Change(model);
        ByteBuffer bytes = Model(model);
        if (test.Patch)
            test.Patch(bytes);
        try {
            renderware::ReadModelSummary(bytes);
            ADD_FAILURE() << test.What << ": read";
        } catch (const TVehmiraError& error) {
            EXPECT_NE(std::string(error.what()).find(test.Expected), std::string::npos) << test.What << ": "
                                                                                       << error.what();
        }
    }
}

TEST(ModelSummary, CorruptedBytesNeverCrash)
{
    TTestModel model = CarModel();
    model.Geometries = {TTestGeometry{3, 1, {"body", ""}}, TTestGeometry{4, 2, {"glass"}}};
    model.Geometries[1].Prelit = true;
    model.Atomics = {{2, 0}, {3, 1}};
    const ByteBuffer whole = Model(model);
    for (std::size_t position = 0; position < whole.size(); ++position)
        for (const std::uint8_t value : {0x00, 0x80, 0xFF}) {
            ByteBuffer damaged = whole;
            damaged[position] = value;
            try {
                const renderware::TModelSummary summary = renderware::ReadModelSummary(damaged);
                EXPECT_LE(summary.Frames.size(), whole.size() / 56);
            } catch (const TVehmiraError&) {
            }
        }
}

} // namespace
