#pragma once
// Writing an RGBA image as a PNG file, without an image library.
//
// The file: the 8-byte signature, then chunks of u32 length (big-endian),
// 4-byte type, data, and the CRC-32 of type and data: IHDR (width, height,
// bit depth 8, colour type 6 = RGBA, compression, filter and interlace 0),
// one IDAT with a zlib stream, IEND. The zlib stream holds the rows (each
// after a filter byte 0) in stored deflate blocks of up to 65535 bytes,
// uncompressed, followed by the Adler-32 of the rows.

#include "fileio/ByteOrder.h"
#include "renderware/RgbaImage.h"

#include <cstdint>
#include <span>

namespace vehmira::renderware {

// The standard CRC-32 (reflected polynomial 0xEDB88320), as PNG and zlib use it.
std::uint32_t PngCrc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);
std::uint32_t Adler32(std::span<const std::uint8_t> bytes);

// Raises TVehmiraError for an empty image or one whose pixel count does not
// match its size.
fileio::ByteBuffer EncodePng(const TRgbaImage& image);

} // namespace vehmira::renderware
