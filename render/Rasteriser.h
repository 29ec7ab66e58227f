#pragma once
// Drawing triangles into a square picture with a depth buffer.
//
// A pixel is covered when its centre lies inside the triangle or on one of
// its edges; triangles of zero area cover nothing. Texture coordinates and
// colours are interpolated perspective-correct; textures are sampled at the
// nearest texel and repeat outside 0..1 (v = 0 is the texture's top row).

#include "render/Camera.h"
#include "render/TextureSet.h"
#include "renderware/RgbaImage.h"

#include <cstdint>
#include <vector>

namespace vehmira::render {

struct TRasterVertex {
    TProjected Screen;
    TTexCoord TexCoord;
    float Colour[4] = {1, 1, 1, 1};  // lit, 0 to 1
};

class TFrameBuffer {
public:
    TFrameBuffer(std::uint32_t size, const std::uint8_t background[4]);

    // Opaque triangles write their depth; blended ones are drawn over what is
    // nearer than them not at all, and leave the depth as it was.
    void DrawTriangle(const TRasterVertex (&vertices)[3], const TTexture* texture, bool blended);

    const renderware::TRgbaImage& Colour() const { return Image; }
    // White where a triangle covered the pixel, black elsewhere.
    renderware::TRgbaImage CoverageMask() const;

private:
    void ShadePixel(std::size_t index, const float (&weights)[3], const TRasterVertex (&vertices)[3],
                    const TTexture* texture, bool blended);

    std::uint32_t Size;
    renderware::TRgbaImage Image;
    std::vector<float> Nearness;
    std::vector<std::uint8_t> Covered;
};

} // namespace vehmira::render
