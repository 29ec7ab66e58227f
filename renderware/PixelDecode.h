#pragma once
// Decoding one mip level of a texture to RGBA.
//
// The uncompressed formats are Direct3D's, each pixel a little-endian integer
// with its fields from the high bits down as the name reads: A8R8G8B8 is the
// bytes B, G, R, A; R5G6B5 a u16 with red in bits 15-11. L8 is one grey byte.
// Palettised pixels are indices into a palette of RGBA byte quadruples stored
// before the level; PAL4 packs two pixels a byte, the left one in the low
// nibble, each row starting on a new byte.

#include "renderware/RgbaImage.h"
#include "renderware/TextureFormat.h"

#include <span>

namespace vehmira::renderware {

// `data` must hold exactly LevelDataSize(format, width, height) bytes and
// `palette` PaletteEntryCount(format) × 4 bytes; the side lengths must lie in
// 1 to MaxTextureSide. Anything else raises TVehmiraError.
TRgbaImage DecodeLevel(TTextureFormat format, std::uint32_t width, std::uint32_t height,
                       std::span<const std::uint8_t> data, std::span<const std::uint8_t> palette);

} // namespace vehmira::renderware
