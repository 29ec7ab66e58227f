#include "menustyle/Bitmap.h"

#include <span>

namespace vehmira::menustyle {

TBitmap::TBitmap(int width, int height)
{
    SetSize(width, height);
}

TBitmap::TBitmap(const TBitmap& other) : TPixelSurface()
{
    *this = other;
}

TBitmap& TBitmap::operator=(const TBitmap& other)
{
    if (this == &other)
        return *this;
    SetSize(other.Width_, other.Height_);
    if (!Empty())
        BitBlt(Dc(), 0, 0, Width_, Height_, other.Dc(), 0, 0, SRCCOPY);
    return *this;
}

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height)
{
    Canvas_.reset();
    Selection.reset();
    BitmapHandle.reset();
    Width_ = 0;
    Height_ = 0;
    Bits = nullptr;
    if (width <= 0 || height <= 0)
        return;
    if (!DcHandle)
        DcHandle.reset(CreateCompatibleDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    BitmapHandle.reset(CreateDIBSection(DcHandle.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!BitmapHandle || !DcHandle)
        return;
    Width_ = width;
    Height_ = height;
    Bits = static_cast<std::uint32_t*>(bits);
    Selection = std::make_unique<win32::TSelectGuard>(DcHandle.get(), BitmapHandle.get());
    Canvas_ = std::make_unique<TCanvas>(DcHandle.get());
}

std::uint32_t* TBitmap::PixelAddress(int x, int y) const
{
    if (!Bits || x < 0 || y < 0 || x >= Width_ || y >= Height_)
        return nullptr;
    // Drawing through the DC may still be queued; memory must be current.
    GdiFlush();
    return Bits + static_cast<std::size_t>(y) * static_cast<std::size_t>(Width_) + static_cast<std::size_t>(x);
}

TColor TBitmap::Pixel(int x, int y) const
{
    const std::uint32_t* pixel = PixelAddress(x, y);
    if (!pixel)
        return clBlack;
    return RgbColor(static_cast<int>((*pixel >> 16) & 0xFF), static_cast<int>((*pixel >> 8) & 0xFF),
                    static_cast<int>(*pixel & 0xFF));
}

void TBitmap::SetPixel(int x, int y, TColor color)
{
    std::uint32_t* pixel = PixelAddress(x, y);
    if (!pixel)
        return;
    const TColor rgb = Canvas_->Resolve(color);
    *pixel = (static_cast<std::uint32_t>(RedOf(rgb)) << 16) | (static_cast<std::uint32_t>(GreenOf(rgb)) << 8) |
             static_cast<std::uint32_t>(BlueOf(rgb));
}

void TBitmap::Fill(TColor color)
{
    if (Empty())
        return;
    Canvas_->SetBrushStyle(TBrushStyle::Solid);
    Canvas_->SetBrushColor(color);
    Canvas_->FillRect(RECT{0, 0, Width_, Height_});
}

std::vector<std::uint8_t> TBitmap::RgbaPixels() const
{
    std::vector<std::uint8_t> rgba;
    if (!Bits)
        return rgba;
    GdiFlush();
    const std::size_t count = static_cast<std::size_t>(Width_) * static_cast<std::size_t>(Height_);
    rgba.reserve(count * 4);
    for (const std::uint32_t pixel : std::span(Bits, count))
        rgba.insert(rgba.end(), {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
                                 static_cast<std::uint8_t>(pixel), 0xFF});
    return rgba;
}

int TImageList::Add(const TBitmap& image)
{
    TBitmap cell(Width_, Height_);
    if (!image.Empty() && !cell.Empty())
        BitBlt(cell.Dc(), 0, 0, Width_, Height_, image.Dc(), 0, 0, SRCCOPY);
    Images.push_back(std::move(cell));
    return Count() - 1;
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index) const
{
    if (Valid(index))
        canvas.DrawTransparent(x, y, Image(index));
}

} // namespace vehmira::menustyle
