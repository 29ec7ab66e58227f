#pragma once
// RenderWare streams for the tests, assembled field by field here, apart from
// the readers under test: chunks, texture dictionaries and models. The
// renderware and cli tests share it.

#include "fileio/ByteOrder.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace RwTest {

// 3.6.0.3 build 0xFFFF, as the PC game writes.
inline constexpr std::uint32_t Stamp3603 = 0x1803FFFF;
// 3.3.0.2, as the PC version of the series' first 3D game wrote.
inline constexpr std::uint32_t Stamp3302 = 0x0C02FFFF;

void PutU16(vehmira::fileio::ByteBuffer& out, std::uint16_t value);
void PutU32(vehmira::fileio::ByteBuffer& out, std::uint32_t value);
void PutF32(vehmira::fileio::ByteBuffer& out, float value);
void PutFixedText(vehmira::fileio::ByteBuffer& out, std::string_view text, std::size_t size);
void SetU32(vehmira::fileio::ByteBuffer& bytes, std::size_t position, std::uint32_t value);

vehmira::fileio::ByteBuffer Chunk(std::uint32_t type, const vehmira::fileio::ByteBuffer& payload,
                                  std::uint32_t stamp = Stamp3603);
vehmira::fileio::ByteBuffer Container(std::uint32_t type, std::initializer_list<vehmira::fileio::ByteBuffer> children,
                                      std::uint32_t stamp = Stamp3603);
vehmira::fileio::ByteBuffer Container(std::uint32_t type, const std::vector<vehmira::fileio::ByteBuffer>& children,
                                      std::uint32_t stamp = Stamp3603);
vehmira::fileio::ByteBuffer StringChunk(std::string_view text);

// One Texture Native chunk; the fields default to a 4 × 4 Direct3D 9 A8R8G8B8.
struct TTestTexture {
    std::string Name = "body";
    std::string Mask;
    std::uint32_t PlatformId = 9;
    std::uint32_t RasterFormat = 0x0500;
    std::uint32_t D3DFormatOrAlpha = 21;
    std::uint16_t Width = 4;
    std::uint16_t Height = 4;
    std::uint8_t Depth = 32;
    std::uint8_t Flags = 1;                  // Direct3D 9 flags or the Direct3D 8 DXT number
    vehmira::fileio::ByteBuffer Palette;
    std::vector<vehmira::fileio::ByteBuffer> Levels;  // default: one level of zeros of the right size
    std::optional<std::uint32_t> FirstLevelSizeField; // when the stored size should lie
};

vehmira::fileio::ByteBuffer TextureNative(const TTestTexture& texture);
// declaredCount defaults to the number of textures.
vehmira::fileio::ByteBuffer TextureDictionary(const std::vector<vehmira::fileio::ByteBuffer>& textures,
                                              std::optional<std::uint16_t> declaredCount = {},
                                              std::uint32_t stamp = Stamp3603);

struct TTestGeometry {
    std::uint32_t Vertices = 4;
    std::uint32_t Triangles = 2;
    std::vector<std::string> TextureNames = {"body"};  // "" for an untextured material
    bool Native = false;
    bool Prelit = false;
    std::uint32_t MorphTargets = 1;
};

struct TTestFrame {
    std::string Name;  // no name extension when empty
    std::int32_t Parent = -1;
};

struct TTestModel {
    std::vector<TTestFrame> Frames = {{"car", -1}, {"chassis", 0}};
    std::vector<TTestGeometry> Geometries = {TTestGeometry{}};
    std::vector<std::pair<std::uint32_t, std::uint32_t>> Atomics = {{1, 0}};  // frame, geometry
    std::uint32_t Stamp = Stamp3603;
    // The collision plugin's payload in the clump's extension; none when absent.
    std::optional<vehmira::fileio::ByteBuffer> Collision;
};

vehmira::fileio::ByteBuffer Model(const TTestModel& model);

// A vehicle collision model as the game's plugin holds it: the 32-byte header
// (tag, size of what follows its first 8 bytes, name, model ID), the bounds,
// the counts and the offsets, then zeroed records.
vehmira::fileio::ByteBuffer Collision(std::string_view tag = "COL3", std::uint16_t spheres = 2,
                                      std::uint16_t boxes = 1, std::uint16_t faces = 12);

} // namespace RwTest
