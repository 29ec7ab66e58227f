#pragma once
// Whole vehicle models for the renderer's tests, the command line's, the
// benchmark and the fuzz seeds: frames with matrices, geometries with
// positions, normals, texture coordinates and materials, written field by
// field apart from the reader under test.

#include "fileio/ByteOrder.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace RwTest {

using TVec = std::array<float, 3>;

struct TClumpMaterial {
    std::array<std::uint8_t, 4> Colour{255, 255, 255, 255};
    std::string Texture;  // empty: untextured
};

struct TClumpGeometry {
    std::vector<TVec> Positions;
    std::vector<TVec> Normals;                          // empty: none
    std::vector<std::array<float, 2>> TexCoords;        // empty: none
    std::vector<std::array<std::uint16_t, 4>> Triangles; // first, second, third vertex, material
    std::vector<TClumpMaterial> Materials{TClumpMaterial{}};
};

struct TClumpFrame {
    std::string Name;
    std::int32_t Parent = -1;
    TVec Right{1, 0, 0}, Up{0, 1, 0}, At{0, 0, 1}, Position{0, 0, 0};
};

struct TClump {
    std::vector<TClumpFrame> Frames;
    std::vector<TClumpGeometry> Geometries;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> Atomics;  // frame, geometry
};

vehmira::fileio::ByteBuffer Clump(const TClump& clump);

// An axis-aligned box, 12 triangles of the given material, with outward normals.
TClumpGeometry Box(TVec low, TVec high, std::uint16_t material = 0);
// Adds the box's vertices and triangles to a geometry.
void AddBox(TClumpGeometry& geometry, TVec low, TVec high, std::uint16_t material = 0);
// A rectangle in the plane x = `x`, y from low to high, z from low to high;
// texture coordinates (0, 0) at its top left (low y, high z) to (uvScale, uvScale).
TClumpGeometry RectangleFacingX(float x, std::array<float, 2> y, std::array<float, 2> z, float uvScale = 1,
                                std::uint16_t material = 0);

// A rounded box (a superellipsoid) of the given half sizes about `centre`:
// `roundness` 1 gives an ellipsoid, smaller values flatter sides. With
// `alongX` its poles lie on the x axis and it is round about it (a wheel), else on z.
void AddRoundedBox(TClumpGeometry& geometry, TVec centre, TVec halfSizes, float roundness, int stacks, int slices,
                   std::uint16_t material, bool alongX = false);

// A car-like vehicle the size of a real one: a painted body, a translucent
// cabin, one wheel copied to four dummies; about 2 x stacks x slices
// triangles in the body, and a dictionary of three textures of that side.
struct TVehicleStreams {
    vehmira::fileio::ByteBuffer Model, Dictionary;
};
TVehicleStreams CarLikeVehicle(int stacks = 60, int slices = 100, std::uint16_t textureSide = 512);

// A 32-bit A8R8G8B8 texture (stored blue, green, red, alpha) of the given RGBA pixels.
vehmira::fileio::ByteBuffer RgbaTextureNative(const std::string& name, std::uint16_t width, std::uint16_t height,
                                              const std::vector<std::array<std::uint8_t, 4>>& pixels);

} // namespace RwTest
