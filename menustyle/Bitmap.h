#pragma once
// A 32-bit device-independent bitmap with its own memory device context and
// canvas, and a list of equally sized images.

#include "menustyle/Canvas.h"
#include "win32/Gdi.h"
#include "menustyle/portable/BitmapEffects.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vehmira::menustyle {

class TBitmap : public TPixelSurface {
public:
    TBitmap() = default;
    TBitmap(int width, int height);
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    ~TBitmap() override;

    // A new size clears the content to black.
    void SetSize(int width, int height);
    int Width() const override { return Width_; }
    int Height() const override { return Height_; }
    bool Empty() const { return Width_ <= 0 || Height_ <= 0; }
    // Only valid while the bitmap is not empty.
    TCanvas& Canvas() { return *Canvas_; }
    HDC Dc() const { return DcHandle.get(); }

    // Direct reads and writes of the pixel memory (outside: black, ignored).
    TColor Pixel(int x, int y) const override;
    void SetPixel(int x, int y, TColor color) override;
    void Fill(TColor color);
    // The pixels as rows top to bottom of red, green, blue and alpha (opaque),
    // for writing the bitmap to an image file.
    std::vector<std::uint8_t> RgbaPixels() const;

private:
    std::uint32_t* PixelAddress(int x, int y) const;

    int Width_ = 0;
    int Height_ = 0;
    std::uint32_t* Bits = nullptr; // top-down rows of 0x00RRGGBB
    win32::TMemoryDcHandle DcHandle;
    win32::TBitmapHandle BitmapHandle;
    std::unique_ptr<win32::TSelectGuard> Selection;
    std::unique_ptr<TCanvas> Canvas_;
};

// Images of one size; each is drawn with its bottom-left pixel's colour left out.
class TImageList {
public:
    TImageList(int width, int height) : Width_(width), Height_(height) {}
    int Width() const { return Width_; }
    int Height() const { return Height_; }
    int Count() const { return static_cast<int>(Images.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    // The image is cut or padded to the list's size; returns its index.
    int Add(const TBitmap& image);
    const TBitmap& Image(int index) const { return Images.at(static_cast<std::size_t>(index)); }
    void Draw(TCanvas& canvas, int x, int y, int index) const;

private:
    int Width_;
    int Height_;
    std::vector<TBitmap> Images;
};

} // namespace vehmira::menustyle
