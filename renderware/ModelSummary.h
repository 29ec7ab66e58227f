#pragma once
// What a model (.dff, a clump) holds, for listing: its frames, atomics,
// geometries and the textures its materials name.
//
// The root chunk is a Clump (0x10); among its children:
//   Struct (1)          u32 atomic count (then light and camera counts)
//   Frame List (0x0E)   Struct: u32 frame count, then per frame 56 bytes
//                       (3 × 3 rotation and position as f32, i32 parent index,
//                       u32 flags); then one Extension per frame, whose
//                       plugin 0x253F2FE holds the frame's name as plain text
//   Geometry List (0x1A) Struct: u32 geometry count; then the Geometry chunks
//   Atomic (0x14)       Struct: u32 frame index, u32 geometry index, u32 flags,
//                       u32 unused
// A Geometry (0x0F) holds a Struct:
//   u32 flags (bits 0-15 flags: 0x04 textured, 0x08 prelit, 0x80 two texture
//       sets; bits 16-23 texture set count; bit 24 pre-instanced native data)
//   u32 triangle count, u32 vertex count, u32 morph target count
//   before 3.4: 3 × f32 surface properties
//   unless native: prelit colours (4 bytes a vertex), texture coordinates
//       (8 bytes a vertex and set), triangles (8 bytes each)
//   per morph target: bounding sphere (16 bytes), u32 has positions,
//       u32 has normals, then 12 bytes a vertex for each present
// then a Material List (0x08): Struct of u32 count and one i32 per material
// (-1 for a material of its own, else the index of the one it repeats), and
// a Material (0x07) per own material, whose Texture (0x06) child holds a
// Struct (filter flags) and two Strings: the texture name and the mask name.

#include "renderware/LibraryVersion.h"
#include "renderware/Platform.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vehmira::renderware {

struct TFrameSummary {
    std::string Name;       // empty when the frame has no name extension
    std::int32_t Parent = -1;
};

// A part's damaged and low-detail versions hang on frames named "<part>_dam"
// and "<part>_vlo".
enum class TPartVariant { Normal, Damaged, LowDetail };

struct TAtomicSummary {
    std::uint32_t FrameIndex = 0;
    std::string FrameName;
    std::uint32_t GeometryIndex = 0;
    TPartVariant Variant = TPartVariant::Normal;
};

struct TGeometrySummary {
    std::uint32_t Vertices = 0;
    std::uint32_t Triangles = 0;
    std::uint32_t MorphTargets = 0;
    std::uint32_t Materials = 0;
    bool Native = false;                   // pre-instanced for a console
    std::vector<std::string> TextureNames; // as its own materials name them, in order
};

struct TModelSummary {
    TLibraryVersion Version;
    TPlatform Platform = TPlatform::PC;
    std::vector<TFrameSummary> Frames;
    std::vector<TAtomicSummary> Atomics;
    std::vector<TGeometrySummary> Geometries;
    std::uint64_t TotalVertices = 0;
    std::uint64_t TotalTriangles = 0;
    // Every texture name the materials use, once each (names that differ only
    // in ASCII case count as one), in the order they first appear.
    std::vector<std::string> TextureNames;
};

TPartVariant PartVariantOf(std::string_view frameName);

// The clump's own frame: the game attaches a clump it reads to the first frame
// of its frame list, and finds every named frame (wheels, dummies, extras) by
// walking that frame's children, so a frame under another root is never found.
inline constexpr std::size_t ClumpFrame = 0;

// Whether frame is ancestor or lies below it, following the parent indices
// (bounded: a loop of parents or an index outside the list ends the walk).
bool IsFrameWithin(const TModelSummary& model, std::size_t frame, std::size_t ancestor);

// Whether the game's search from the clump's frame reaches the frame: a frame
// below the clump's frame, never that frame itself.
bool IsFoundFromClumpFrame(const TModelSummary& model, std::size_t frame);

// Raises TVehmiraError naming the place when the stream is damaged.
TModelSummary ReadModelSummary(std::span<const std::uint8_t> bytes);

} // namespace vehmira::renderware
