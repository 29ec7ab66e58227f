// The masks of many-triangle models against a rasteriser of the written rule
// built here on its own: every triangle projected by the view's axes, the
// bounding box fitted, and each pixel centre tested against each triangle
// with its own barycentric arithmetic.

#include "../support/ClumpBuilder.h"
#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace vehmira;
using namespace RenderTest;
using render::TView;

namespace {

using TPoint = std::array<long double, 2>;

std::vector<bool> OracleMask(const std::vector<std::array<RwTest::TVec, 3>>& triangles, TView view, std::uint32_t size)
{
    // The view's right and up axes as world axis indices.
    const int right = view == TView::Front ? 0 : 1;
    const int up = view == TView::Top ? 0 : 2;
    std::vector<std::array<TPoint, 3>> flat;
    long double minX = 1e30L, maxX = -1e30L, minY = 1e30L, maxY = -1e30L;
    for (const auto& t : triangles) {
        std::array<TPoint, 3> f;
        for (int i = 0; i < 3; ++i) {
            f[i] = {t[i][right], t[i][up]};
            minX = std::min(minX, f[i][0]), maxX = std::max(maxX, f[i][0]);
            minY = std::min(minY, f[i][1]), maxY = std::max(maxY, f[i][1]);
        }
        flat.push_back(f);
    }
    const long double scale = 0.9L * size / std::max(maxX - minX, maxY - minY);
    std::vector<bool> covered(std::size_t(size) * size);
    for (const auto& f : flat) {
        std::array<TPoint, 3> s;
        for (int i = 0; i < 3; ++i)
            s[i] = {size / 2.0L + (f[i][0] - (minX + maxX) / 2) * scale, size / 2.0L - (f[i][1] - (minY + maxY) / 2) * scale};
        const long double det = (s[1][1] - s[2][1]) * (s[0][0] - s[2][0]) + (s[2][0] - s[1][0]) * (s[0][1] - s[2][1]);
        if (det == 0)
            continue;
        for (std::uint32_t row = 0; row < size; ++row)
            for (std::uint32_t column = 0; column < size; ++column) {
                const long double px = column + 0.5L, py = row + 0.5L;
                const long double l0 = ((s[1][1] - s[2][1]) * (px - s[2][0]) + (s[2][0] - s[1][0]) * (py - s[2][1])) / det;
                const long double l1 = ((s[2][1] - s[0][1]) * (px - s[2][0]) + (s[0][0] - s[2][0]) * (py - s[2][1])) / det;
                if (l0 >= 0 && l1 >= 0 && 1 - l0 - l1 >= 0)
                    covered[std::size_t(row) * size + column] = true;
            }
    }
    return covered;
}

double IntersectionOverUnion(const std::vector<bool>& a, const std::vector<bool>& b)
{
    std::size_t both = 0, either = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        both += a[i] && b[i];
        either += a[i] || b[i];
    }
    return either == 0 ? 1.0 : double(both) / double(either);
}

TEST(RenderOracle, RandomTrianglesMatchAnIndependentRasteriser)
{
    std::mt19937 random(1919);
    std::uniform_real_distribution<float> coordinate(-3, 3);
    for (int round = 0; round < 6; ++round) {
        RwTest::TClumpGeometry geometry;
        std::vector<std::array<RwTest::TVec, 3>> triangles;
        for (int t = 0; t < 40; ++t) {
            std::array<RwTest::TVec, 3> corners;
            for (auto& corner : corners)
                corner = {coordinate(random), coordinate(random), coordinate(random)};
            const auto base = std::uint16_t(geometry.Positions.size());
            geometry.Positions.insert(geometry.Positions.end(), corners.begin(), corners.end());
            geometry.Triangles.push_back({base, std::uint16_t(base + 1), std::uint16_t(base + 2), 0});
            triangles.push_back(corners);
        }
        RwTest::TClump clump;
        clump.Frames = {{"car"}};
        clump.Geometries = {geometry};
        clump.Atomics = {{0, 0}};
        const ByteBuffer model = RwTest::Clump(clump);
        for (const TView view : {TView::Side, TView::Top, TView::Front}) {
            const auto ours = Covered(Render(model, view, 96, true));
            const auto oracle = OracleMask(triangles, view, 96);
            EXPECT_GE(IntersectionOverUnion(ours, oracle), 0.999) << round << " view " << int(view);
            EXPECT_LE(Differences(ours, oracle), 2u) << round << " view " << int(view);
        }
    }
}

} // namespace
