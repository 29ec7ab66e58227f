#pragma once
// Whether the game can load a model and its texture dictionary as a vehicle of
// a given vehicles.ide type, and what it would show wrongly.
//
// What the game needs of a vehicle's model:
// - a clump of RenderWare 3.4 to 3.6.0.3 with PC geometry;
// - the frames its type's class reaches without a check, looked up by name,
//   ignoring ASCII case, among the descendants of the clump's frame (the
//   frame list's first; a frame under a second root is never found): the four
//   wheel_*_dummy frames of the four-wheeled classes (car, mtruck, quad, heli,
//   plane, trailer and their flying variants), wheel_front and wheel_rear of
//   bike and bmx, and the middle wheels of model 432;
// - frame names of at most 23 characters (the name is copied into 24 bytes);
// - an atomic directly on every extra1 to extra6 frame;
// - its collision in the clump's extension, plugin chunk 0x253F2FA: a 32-byte
//   header ("COLL", "COL2" or "COL3", u32 size = what follows the first 8
//   bytes, 22-byte name, u16 model ID), then for COL2 and COL3 the bounds
//   (40 bytes) and u16 sphere, box and face counts; at most 16 KiB, since the
//   game reads it into a buffer of that size, and not a header alone.
// The texture dictionary must be of the same versions; a texture the model
// names in neither it nor the game's shared vehicle dictionary shows blank.

#include "fileio/CheckFinding.h"
#include "renderware/TextureDictionary.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace vehmira::renderware {

inline constexpr std::size_t LongestFrameName = 23;
inline constexpr std::size_t LargestCollision = 16 * 1024;

struct TVehicleModelInput {
    std::span<const std::uint8_t> Model;      // empty: no model to check
    std::span<const std::uint8_t> Textures;   // empty: no dictionary to check
    const TTextureDictionary* Shared = nullptr; // the game's Models\Generic\Vehicle.txd, when found
    std::string_view VehicleType;             // field 4 of the target's definition line; empty: none known
    std::int32_t ModelID = 0;
};

fileio::TCheckFindings CheckVehicleModel(const TVehicleModelInput& input);

} // namespace vehmira::renderware
