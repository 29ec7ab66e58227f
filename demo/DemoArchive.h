#pragma once
// The model archive of the demo game directory: a model and a texture
// dictionary per vehicle, shaped as RenderWare streams, different bytes for
// each vehicle and the same bytes on every run.

#include "fileio/ByteOrder.h"

#include <cstdint>
#include <string_view>

namespace vehmira::demo {

// A clump (root chunk 0x10) with a frame list, one geometry with a textured
// material, and atomics that draw it. seed makes the geometry of each model its
// own. A vehicle's model (vehicleType as in its definition line) has the frames
// and the collision the game needs for the type; without a type, a prop's
// model has a root and a body frame, unnamed, and one atomic.
fileio::ByteBuffer DemoModel(std::string_view textureName, std::uint32_t seed, std::string_view vehicleType = {});
// A texture dictionary (root chunk 0x16) with one 32 × 32 texture.
fileio::ByteBuffer DemoTextureDictionary(std::string_view textureName, std::uint32_t seed);

// The whole archive file: tag, directory, then every entry's data in
// 2048-byte sectors.
fileio::ByteBuffer DemoArchiveImage();

} // namespace vehmira::demo
