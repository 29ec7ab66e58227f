#pragma once
// Pixel data for the decoding tests, encoded here from RGBA by the formats'
// definitions, independently of the decoders.

#include "fileio/ByteOrder.h"
#include "renderware/TextureFormat.h"

#include <array>
#include <cstdint>
#include <vector>

namespace RwTest {

using TPixel = std::array<std::uint8_t, 4>;  // R, G, B, A

// Uncompressed formats and L8 (grey from the red channel); channels are cut
// to the format's bits by dropping the low ones.
vehmira::fileio::ByteBuffer EncodePixels(vehmira::renderware::TTextureFormat format, const std::vector<TPixel>& pixels);
// PAL8 or PAL4 indices; PAL4 rows start on a byte, the left pixel in the low nibble.
vehmira::fileio::ByteBuffer EncodeIndices(vehmira::renderware::TTextureFormat format,
                                          const std::vector<std::uint8_t>& indices, std::uint32_t width,
                                          std::uint32_t height);
vehmira::fileio::ByteBuffer EncodePalette(const std::vector<TPixel>& entries);

// One S3TC block; indices listed pixel by pixel, top-left first.
vehmira::fileio::ByteBuffer Dxt1Block(std::uint16_t colour0, std::uint16_t colour1,
                                      const std::array<std::uint8_t, 16>& indices);
vehmira::fileio::ByteBuffer Dxt3Block(const std::array<std::uint8_t, 16>& alpha4, std::uint16_t colour0,
                                      std::uint16_t colour1, const std::array<std::uint8_t, 16>& indices);
vehmira::fileio::ByteBuffer Dxt5Block(std::uint8_t alpha0, std::uint8_t alpha1,
                                      const std::array<std::uint8_t, 16>& alphaIndices, std::uint16_t colour0,
                                      std::uint16_t colour1, const std::array<std::uint8_t, 16>& indices);

} // namespace RwTest
