// The orthographic views' masks: exact silhouettes of synthetic models.

#include "../support/ClumpBuilder.h"
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

using namespace vehmira;
using namespace RenderTest;
using render::TView;

namespace {

// The box x in [-1, 1], y in [-2, 2], z in [-0.5, 0.5] (sizes chosen so that
// no edge falls on a pixel centre).
ByteBuffer BoxModel()
{
    RwTest::TClump clump;
    clump.Frames = {{"car"}, {"chassis", 0}};
    clump.Geometries = {RwTest::Box({-1, -2, -0.5f}, {1, 2, 0.5f})};
    clump.Atomics = {{1, 0}};
    return RwTest::Clump(clump);
}

struct TViewCase {
    TView View;
    std::uint32_t Size;
    TRect Silhouette;  // in the view's right and up axes
};

TEST(RenderMask, BoxSilhouetteIsExactInEveryView)
{
    const TViewCase cases[] = {
        {TView::Side, 100, {-2, 2, -0.5, 0.5}},  // +y right, +z up
        {TView::Top, 100, {-2, 2, -1, 1}},       // +y right, +x up
        {TView::Front, 100, {-1, 1, -0.5, 0.5}}, // +x right, +z up
        {TView::Side, 37, {-2, 2, -0.5, 0.5}},
        {TView::Front, 64, {-1, 1, -0.5, 0.5}},
    };
    for (const TViewCase& c : cases) {
        const auto mask = Covered(Render(BoxModel(), c.View, c.Size, true));
        EXPECT_EQ(Differences(mask, ExpectedMask(c.Size, {c.Silhouette})), 0u) << int(c.View) << " size " << c.Size;
    }
}

TEST(RenderMask, SideViewOfBoxCoversTheWrittenPixels)
{
    // 4 by 1 units at 100 pixels: 22.5 pixels a unit, columns 5..94, rows 39..60.
    const auto mask = Covered(Render(BoxModel(), TView::Side, 100, true));
    std::size_t count = 0;
    for (std::size_t i = 0; i < mask.size(); ++i)
        if (mask[i]) {
            ++count;
            EXPECT_TRUE(i % 100 >= 5 && i % 100 <= 94 && i / 100 >= 39 && i / 100 <= 60) << i;
        }
    EXPECT_EQ(count, 90u * 22u);
}

// A box two frames down a rotated hierarchy, beside a box on the root.
TEST(RenderMask, RotatedFrameHierarchyPlacesTheGeometry)
{
    RwTest::TClump clump;
    clump.Frames = {{"car"}, {"turned", 0, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {10, 0, 0}}, {"chassis", 1}};
    clump.Frames[2].Position = {0, 3, 0};
    clump.Geometries = {RwTest::Box({-1, -2, -0.5f}, {1, 2, 0.5f}), RwTest::Box({-0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, 0.5f})};
    clump.Atomics = {{2, 0}, {0, 1}};
    // The first box lands at x 5..9, y -1..1: turned a quarter about z, moved by (-3, 0, 0) then (10, 0, 0).
    const ByteBuffer model = RwTest::Clump(clump);
    EXPECT_EQ(Differences(Covered(Render(model, TView::Top, 120, true)),
                          ExpectedMask(120, {{-1, 1, 5, 9}, {-0.5, 0.5, -0.5, 0.5}})),
              0u);
    EXPECT_EQ(Differences(Covered(Render(model, TView::Front, 120, true)),
                          ExpectedMask(120, {{5, 9, -0.5, 0.5}, {-0.5, 0.5, -0.5, 0.5}})),
              0u);
}

// A car with its wheel at six dummies, and parts the game hides up close.
ByteBuffer WheeledCar()
{
    RwTest::TClump clump;
    clump.Frames = {{"car"},
                    {"chassis", 0},
                    {"wheel_rf_dummy", 0, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1.5f, 0}},
                    {"wheel", 2, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0.2f, 0, 0}},
                    {"Wheel_LF_Dummy", 0, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-1, 1.5f, 0}},
                    {"wheel_rm_dummy", 0, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 0}},
                    {"wheel_lm_dummy", 0, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-1, 0, 0}},
                    {"wheel_rb_dummy", 0, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, -1.5f, 0}},
                    {"WHEEL_LB_DUMMY", 0, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-1, -1.5f, 0}},
                    {"bonnet_dam", 0},
                    {"chassis_vlo", 0},
                    {"Extra1", 0},
                    {"extra6", 0},
                    {"extra7", 0}};
    clump.Geometries = {RwTest::Box({-0.5f, -1, -0.1f}, {0.5f, 1, 0.1f}),
                        // The wheel lies on its +x side only, so that mirroring shows.
                        RwTest::Box({0, -0.25f, -0.25f}, {0.3f, 0.25f, 0.25f}),
                        RwTest::Box({-5, -5, -5}, {5, 5, 5}),
                        RwTest::Box({0.4f, 1.8f, 0}, {0.45f, 1.9f, 0.05f})};
    clump.Atomics = {{1, 0}, {3, 1}, {9, 2}, {10, 2}, {11, 2}, {12, 2}, {13, 3}};
    return RwTest::Clump(clump);
}

TEST(RenderMask, WheelIsCopiedToEveryDummyAndMirroredOnTheLeft)
{
    // Top view: +y right, +x up. Right wheels at x 1.2..1.5, left ones at -1.1..-0.8.
    std::vector<TRect> expected = {{-1, 1, -0.5, 0.5}, {1.8, 1.9, 0.4, 0.45}};
    for (const float y : {1.5f, 0.0f, -1.5f}) {
        expected.push_back({y - 0.25, y + 0.25, 1.2, 1.5});
        expected.push_back({y - 0.25, y + 0.25, -1.1, -0.8});
    }
    EXPECT_EQ(Differences(Covered(Render(WheeledCar(), TView::Top, 160, true)), ExpectedMask(160, expected)), 0u);
}

TEST(RenderMask, EmptyModelCoversNothing)
{
    RwTest::TClump clump;
    clump.Frames = {{"car"}};
    const auto mask = Covered(Render(RwTest::Clump(clump), TView::Side, 16, true));
    EXPECT_EQ(std::count(mask.begin(), mask.end(), true), 0);
}

} // namespace
