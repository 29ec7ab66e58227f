#pragma once
// A model (.dff, a clump) read for drawing: its frames with their matrices,
// hierarchy and names, its geometries with everything a picture needs, and
// its atomics (the pairs of a frame and a geometry).
//
// The layout is described with the summary reader (renderware/ModelSummary.h);
// in addition this reader takes:
//   a frame's record         3 x 3 f32 rotation (right, up, at), 3 f32
//                            position, i32 parent (-1 none), u32 flags
//   a geometry's Struct      flags 0x02 positions, 0x04 textured, 0x08 prelit,
//                            0x10 normals, 0x80 two texture sets; the arrays
//                            in order: prelit RGBA (4 bytes a vertex), texture
//                            coordinates (2 f32 a vertex and set), triangles
//                            (u16 second vertex, u16 first vertex, u16
//                            material, u16 third vertex), then per morph
//                            target a bounding sphere, u32 has positions, u32
//                            has normals, 3 f32 a vertex for each present
//   a material's Struct      u32 flags, RGBA colour, i32 unused, u32 textured,
//                            (3.4 and later) 3 f32 surface properties; its
//                            Texture child names the texture in a String
//
// Reading is bounded and forgiving, like a viewer should be: a damaged part
// (a geometry, the atomics after a broken chunk) is left out and named among
// the Problems; only a stream with no clump at its root (after a UV animation
// dictionary, if one comes first) raises TVehmiraError. A clump whose size
// runs past the data ends with the data.

#include "render/Vector.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vehmira::render {

using TColour = std::array<std::uint8_t, 4>;  // red, green, blue, alpha

struct TFrame {
    TMatrix Local;            // in the parent's space
    std::int32_t Parent = -1; // -1, or an index that is not a frame: a root
    std::string Name;
};

struct TMaterial {
    TColour Colour{255, 255, 255, 255};
    std::string TextureName;  // empty: untextured
};

struct TTriangle {
    std::uint16_t Vertices[3] = {0, 0, 0};
    std::uint16_t Material = 0;
};

struct TTexCoord {
    float U = 0, V = 0;
};

struct TGeometry {
    std::vector<TVec3> Positions;
    std::vector<TVec3> Normals;        // empty, or one per position
    std::vector<TTexCoord> TexCoords;  // empty, or one per position (the first set)
    std::vector<TColour> Prelit;       // empty, or one per position
    std::vector<TTriangle> Triangles;  // their indices are not checked here
    std::vector<TMaterial> Materials;
};

struct TAtomic {
    std::uint32_t Frame = 0;
    std::uint32_t Geometry = 0;  // both may be out of range in a damaged model
};

struct TClumpModel {
    std::vector<TFrame> Frames;
    std::vector<TGeometry> Geometries;
    std::vector<TAtomic> Atomics;
    std::vector<std::string> Problems;  // what was left out, in English
};

TClumpModel ReadClumpModel(std::span<const std::uint8_t> bytes);

} // namespace vehmira::render
