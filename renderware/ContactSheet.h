#pragma once
// A contact sheet: the textures of a dictionary as thumbnails in a grid, each
// on a checkerboard so that transparent parts show.

#include "renderware/RgbaImage.h"

#include <cstdint>
#include <span>

namespace vehmira::renderware {

struct TContactSheetOptions {
    std::uint32_t ThumbnailSide = 128;  // each texture is fitted into a square this big (1 to 1024)
    std::uint32_t Spacing = 8;          // between the cells and around the grid (at most 256)
    std::uint32_t Columns = 0;          // 0: as many as make the grid about square
    std::uint32_t CheckerSquare = 8;    // side of the checkerboard's squares (at least 1)
};

// The largest sheet composed, on either side (at most 256 MiB of pixels).
inline constexpr std::uint32_t MaxContactSheetSide = 8192;

// One cell per image, in order, left to right then top to bottom. An empty
// image (a texture that could not be decoded) gets a crossed-out cell.
// Raises TVehmiraError when there are no images, the options are out of
// range, or the sheet would exceed MaxContactSheetSide.
TRgbaImage ComposeContactSheet(std::span<const TRgbaImage> images, const TContactSheetOptions& options = {});

} // namespace vehmira::renderware
