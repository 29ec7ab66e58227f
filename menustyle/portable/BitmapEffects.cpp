#include "menustyle/portable/BitmapEffects.h"

#include <algorithm>
#include <optional>

namespace vehmira::menustyle {

TPixelBuffer::TPixelBuffer(int width, int height, TColor fill)
    : Width_(std::max(width, 0)), Height_(std::max(height, 0)),
      Pixels(static_cast<std::size_t>(Width_) * static_cast<std::size_t>(Height_), fill)
{
}

TColor TPixelBuffer::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= Width_ || y >= Height_)
        return clBlack;
    return Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width_) + static_cast<std::size_t>(x)];
}

void TPixelBuffer::SetPixel(int x, int y, TColor color)
{
    if (x < 0 || y < 0 || x >= Width_ || y >= Height_)
        return;
    Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width_) + static_cast<std::size_t>(x)] = color;
}

namespace {

// Applies `transform` to every pixel, remembering the last source pixel and its
// result so that runs of equal pixels are computed once.
template <typename Transform>
void TransformPixels(TPixelSurface& bitmap, Transform transform)
{
    std::optional<TColor> lastSource;
    TColor lastResult = 0;
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            const TColor source = bitmap.Pixel(x, y);
            if (!lastSource || *lastSource != source) {
                lastSource = source;
                lastResult = transform(source);
            }
            bitmap.SetPixel(x, y, lastResult);
        }
    }
}

} // namespace

void GrayBitmap(const TColorDevice& device, TPixelSurface& bitmap, int level)
{
    TransformPixels(bitmap, [&](TColor pixel) { return GrayColor(device, pixel, level); });
}

void DimBitmap(const TColorDevice& device, TPixelSurface& bitmap, int percent)
{
    percent = std::min(percent, 100);
    TransformPixels(bitmap, [&](TColor pixel) { return LightenColor(device, pixel, percent); });
}

void DrawBitmapShadow(const TPixelSurface& bitmap, TPixelTarget& canvas, int x, int y, TColor color)
{
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0)
        return;
    const TColor transparent = bitmap.Pixel(0, bitmap.Height() - 1);
    for (int row = 0; row < bitmap.Height(); ++row)
        for (int column = 0; column < bitmap.Width(); ++column)
            if (bitmap.Pixel(column, row) != transparent)
                canvas.SetPixel(x + column, y + row, color);
}

} // namespace vehmira::menustyle
