#pragma once
// Shared by the renderer's tests: drawing a model's bytes, and the masks the
// written view rule gives for axis-aligned rectangles, worked out here apart
// from the renderer.

#include "render/ModelRenderer.h"
#include "renderware/TextureDictionary.h"

#include <array>
#include <cstdint>
#include <vector>

namespace RenderTest {

using vehmira::fileio::ByteBuffer;
using vehmira::renderware::TRgbaImage;

inline TRgbaImage Render(const ByteBuffer& model, vehmira::render::TView view, std::uint32_t size, bool mask,
                         std::vector<const vehmira::renderware::TTextureDictionary*> dictionaries = {},
                         vehmira::render::TPaint paint = {})
{
    vehmira::render::TTextureSet textures(std::move(dictionaries));
    vehmira::render::TRenderOptions options;
    options.View.View = view;
    options.View.Size = size;
    options.Mask = mask;
    options.Paint = paint;
    return vehmira::render::RenderVehicle(vehmira::render::ReadClumpModel(model), textures, options).Image;
}

inline std::vector<bool> Covered(const TRgbaImage& mask)
{
    std::vector<bool> covered(std::size_t(mask.Width) * mask.Height);
    for (std::size_t i = 0; i < covered.size(); ++i)
        covered[i] = mask.Pixels[i * 4] == 255;
    return covered;
}

// A rectangle in the view's picture axes: right from Left to RightEdge, up from Bottom to Top.
struct TRect {
    double Left, RightEdge, Bottom, Top;
};

// The view rule: the rectangles' joint bounding box centred, its larger side
// 90 % of the picture; a pixel is covered when its centre lies in a rectangle.
inline std::vector<bool> ExpectedMask(std::uint32_t size, const std::vector<TRect>& rects)
{
    double left = 1e30, right = -1e30, bottom = 1e30, top = -1e30;
    for (const TRect& r : rects) {
        left = std::min(left, r.Left), right = std::max(right, r.RightEdge);
        bottom = std::min(bottom, r.Bottom), top = std::max(top, r.Top);
    }
    const double scale = 0.9 * size / std::max(right - left, top - bottom);
    std::vector<bool> covered(std::size_t(size) * size);
    for (std::uint32_t row = 0; row < size; ++row)
        for (std::uint32_t column = 0; column < size; ++column) {
            // The pixel centre back in the view's units.
            const double x = (column + 0.5 - size / 2.0) / scale + (left + right) / 2;
            const double y = (size / 2.0 - (row + 0.5)) / scale + (bottom + top) / 2;
            for (const TRect& r : rects)
                if (x >= r.Left && x <= r.RightEdge && y >= r.Bottom && y <= r.Top)
                    covered[std::size_t(row) * size + column] = true;
        }
    return covered;
}

inline std::size_t Differences(const std::vector<bool>& a, const std::vector<bool>& b)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        count += a[i] != b[i];
    return count + (a.size() > b.size() ? a.size() - b.size() : b.size() - a.size());
}

} // namespace RenderTest
