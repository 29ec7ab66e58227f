#pragma once
// Writing an RGBA image as a PNG file; the one PNG writer of the program (the
// contact sheets, the model view, the screenshots and the styling demo).
//
// The file: the 8-byte signature, then chunks of u32 length (big-endian),
// 4-byte type, data, and the CRC-32 of type and data: IHDR (width, height,
// bit depth 8, colour type 6 = RGBA, compression, filter and interlace 0),
// one IDAT with the zlib stream of the rows, IEND. Each row starts with its
// filter byte; the stream is zlib's deflate at its default level (the best
// level costs a 1024 x 1024 render several times the drawing, for little).

#include "fileio/ByteOrder.h"
#include "renderware/RgbaImage.h"

namespace vehmira::renderware {

// Raises TVehmiraError for an empty image or one whose pixel count does not
// match its size.
fileio::ByteBuffer EncodePng(const TRgbaImage& image);

} // namespace vehmira::renderware
