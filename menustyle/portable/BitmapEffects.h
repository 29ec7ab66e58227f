#pragma once
// Per-pixel effects on small icons: greying, dimming and the drop shadow.

#include "menustyle/portable/ColorMath.h"

#include <vector>

namespace vehmira::menustyle {

// Something whose single pixels can be read and written.
class TPixelTarget {
public:
    virtual ~TPixelTarget() = default;
    virtual TColor Pixel(int x, int y) const = 0;
    virtual void SetPixel(int x, int y, TColor color) = 0;
};

// A pixel target with a known size (a bitmap).
class TPixelSurface : public TPixelTarget {
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};

// An in-memory grid of RGB values.
class TPixelBuffer : public TPixelSurface {
public:
    TPixelBuffer(int width, int height, TColor fill);
    int Width() const override { return Width_; }
    int Height() const override { return Height_; }
    TColor Pixel(int x, int y) const override;
    void SetPixel(int x, int y, TColor color) override;

private:
    int Width_;
    int Height_;
    std::vector<TColor> Pixels;
};

// Every pixel becomes GrayColor(pixel, level).
void GrayBitmap(const TColorDevice& device, TPixelSurface& bitmap, int level);
// Every pixel becomes LightenColor(pixel, percent); percent above 100 acts as 100.
void DimBitmap(const TColorDevice& device, TPixelSurface& bitmap, int percent);
// Paints the silhouette of `bitmap` (every pixel that is not its transparent
// colour, the bottom-left pixel) onto `canvas` at (x, y) in `color`.
void DrawBitmapShadow(const TPixelSurface& bitmap, TPixelTarget& canvas, int x, int y, TColor color);

} // namespace vehmira::menustyle
