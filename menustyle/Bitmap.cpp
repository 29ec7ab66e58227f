#include "menustyle/Bitmap.h"

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
    Selection = std::make_unique<TSelectGuard>(DcHandle.get(), BitmapHandle.get());
    Canvas_ = std::make_unique<TCanvas>(DcHandle.get());
}

TColor TBitmap::Pixel(int x, int y) const
{
    if (Empty())
        return clBlack;
    const COLORREF color = GetPixel(DcHandle.get(), x, y);
    return color == CLR_INVALID ? clBlack : static_cast<TColor>(color);
}

void TBitmap::SetPixel(int x, int y, TColor color)
{
    if (!Empty())
        Canvas_->SetPixel(x, y, color);
}

void TBitmap::Fill(TColor color)
{
    if (Empty())
        return;
    Canvas_->SetBrushStyle(TBrushStyle::Solid);
    Canvas_->SetBrushColor(color);
    Canvas_->FillRect(RECT{0, 0, Width_, Height_});
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
