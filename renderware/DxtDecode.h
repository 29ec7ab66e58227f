#pragma once
// S3TC block decoding (DXT1, DXT3, DXT5) as Direct3D defines it.
//
// Each 4 × 4 pixel block, left to right then top to bottom:
//   DXT1 (8 bytes):  colour0 u16, colour1 u16 (R5G6B5), then 32 bits of 2-bit
//                    indices, pixel 0 (top left) in the lowest bits. When
//                    colour0 > colour1: four colours, c2 = (2c0 + c1) / 3 and
//                    c3 = (c0 + 2c1) / 3; otherwise c2 = (c0 + c1) / 2 and
//                    c3 is transparent black (the 1-bit alpha).
//   DXT3 (16 bytes): 64 bits of explicit 4-bit alpha, pixel 0 in the lowest
//                    bits; then a colour block read always with four colours.
//   DXT5 (16 bytes): alpha0 u8, alpha1 u8, 48 bits of 3-bit indices; when
//                    alpha0 > alpha1 six alphas lie evenly between them,
//                    otherwise four do and indices 6 and 7 mean 0 and 255;
//                    then a four-colour block as in DXT3.

#include "renderware/RgbaImage.h"
#include "renderware/TextureFormat.h"

#include <span>

namespace vehmira::renderware {

// Fills the image (its size already set) from exactly LevelDataSize bytes.
void DecodeDxtLevel(TTextureFormat format, std::span<const std::uint8_t> data, TRgbaImage& image);

} // namespace vehmira::renderware
