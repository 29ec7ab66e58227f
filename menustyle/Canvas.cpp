#include "menustyle/Canvas.h"

#include "menustyle/Bitmap.h"

#include <algorithm>
#include <vector>

namespace vehmira::menustyle {

TFont TFont::FromLogFont(const LOGFONTW& logFont, TColor color)
{
    TFont font;
    font.Name = logFont.lfFaceName;
    font.Height = logFont.lfHeight;
    font.Weight = logFont.lfWeight;
    font.Italic = logFont.lfItalic != 0;
    font.Underline = logFont.lfUnderline != 0;
    font.StrikeOut = logFont.lfStrikeOut != 0;
    font.Charset = logFont.lfCharSet;
    font.Color = color;
    return font;
}

LOGFONTW TFont::ToLogFont() const
{
    LOGFONTW logFont{};
    logFont.lfHeight = Height;
    logFont.lfWeight = Weight;
    logFont.lfItalic = Italic;
    logFont.lfUnderline = Underline;
    logFont.lfStrikeOut = StrikeOut;
    logFont.lfCharSet = Charset;
    logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = DEFAULT_QUALITY;
    logFont.lfPitchAndFamily = DEFAULT_PITCH;
    const std::size_t length = std::min(Name.size(), std::size(logFont.lfFaceName) - 1);
    std::copy_n(Name.begin(), length, logFont.lfFaceName);
    return logFont;
}

RECT NormalizedRect(int left, int top, int right, int bottom)
{
    return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

TCanvas::TCanvas(HDC dc) : Dc(dc), SavedState(dc) {}

TCanvas::~TCanvas() = default;

void TCanvas::SetPenColor(TColor color)
{
    PenDirty = PenDirty || color != PenColor_;
    PenColor_ = color;
}

void TCanvas::SetBrushColor(TColor color)
{
    BrushDirty = BrushDirty || color != BrushColor_;
    BrushColor_ = color;
}

void TCanvas::SetBrushStyle(TBrushStyle style)
{
    BrushDirty = BrushDirty || style != BrushStyle_;
    BrushStyle_ = style;
}

void TCanvas::SetFont(const TFont& font)
{
    FontDirty = FontDirty || !(font == Font_);
    Font_ = font;
}

void TCanvas::SetTransparentText(bool transparent)
{
    SetBkMode(Dc, transparent ? TRANSPARENT : OPAQUE);
}

void TCanvas::RealizePen()
{
    if (!PenDirty)
        return;
    win32::TPenHandle pen(CreatePen(PS_SOLID, 1, Resolve(PenColor_)));
    SelectObject(Dc, pen.get());
    Pen = std::move(pen);
    PenDirty = false;
}

void TCanvas::RealizeBrush()
{
    if (!BrushDirty)
        return;
    if (BrushStyle_ == TBrushStyle::Clear) {
        SelectObject(Dc, GetStockObject(NULL_BRUSH));
        Brush.reset();
    } else {
        win32::TBrushHandle brush(CreateSolidBrush(Resolve(BrushColor_)));
        SelectObject(Dc, brush.get());
        Brush = std::move(brush);
    }
    SetBkColor(Dc, Resolve(BrushColor_));
    BrushDirty = false;
}

void TCanvas::RealizeFont()
{
    SetTextColor(Dc, Resolve(Font_.Color));
    if (!FontDirty)
        return;
    const LOGFONTW logFont = Font_.ToLogFont();
    win32::TFontHandle font(CreateFontIndirectW(&logFont));
    SelectObject(Dc, font.get());
    FontObject = std::move(font);
    FontDirty = false;
}

void TCanvas::FillRect(const RECT& rect)
{
    if (BrushStyle_ == TBrushStyle::Clear)
        return;
    const win32::TBrushHandle brush(CreateSolidBrush(Resolve(BrushColor_)));
    ::FillRect(Dc, &rect, brush.get());
}

void TCanvas::FrameRect(const RECT& rect)
{
    const win32::TBrushHandle brush(CreateSolidBrush(Resolve(BrushColor_)));
    ::FrameRect(Dc, &rect, brush.get());
}

void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    RealizePen();
    RealizeBrush();
    const RECT r = NormalizedRect(left, top, right, bottom);
    ::Rectangle(Dc, r.left, r.top, r.right, r.bottom);
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight)
{
    RealizePen();
    RealizeBrush();
    const RECT r = NormalizedRect(left, top, right, bottom);
    ::RoundRect(Dc, r.left, r.top, r.right, r.bottom, cornerWidth, cornerHeight);
}

void TCanvas::Ellipse(int left, int top, int right, int bottom)
{
    RealizePen();
    RealizeBrush();
    const RECT r = NormalizedRect(left, top, right, bottom);
    ::Ellipse(Dc, r.left, r.top, r.right, r.bottom);
}

void TCanvas::MoveTo(int x, int y)
{
    MoveToEx(Dc, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y)
{
    RealizePen();
    ::LineTo(Dc, x, y);
}

void TCanvas::Polyline(std::initializer_list<POINT> points)
{
    if (points.size() == 0)
        return;
    MoveTo(points.begin()->x, points.begin()->y);
    for (auto point = points.begin() + 1; point != points.end(); ++point)
        LineTo(point->x, point->y);
}

TColor TCanvas::Pixel(int x, int y) const
{
    const COLORREF color = GetPixel(Dc, x, y);
    return color == CLR_INVALID ? clBlack : static_cast<TColor>(color);
}

void TCanvas::SetPixel(int x, int y, TColor color)
{
    SetPixelV(Dc, x, y, Resolve(color));
}

SIZE TCanvas::TextExtent(std::wstring_view text)
{
    RealizeFont();
    SIZE size{};
    GetTextExtentPoint32W(Dc, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

void TCanvas::DrawTextInRect(std::wstring_view text, RECT rect, UINT alignment)
{
    RealizeFont();
    RealizeBrush();
    DrawTextW(Dc, text.data(), static_cast<int>(text.size()), &rect, alignment | DT_SINGLELINE);
}

void TCanvas::DrawTransparent(int x, int y, const TBitmap& bitmap)
{
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0)
        return;
    // Pixel by pixel: raster-operation masking would combine palette indices
    // on a palette device. Icons are small.
    const TColor transparent = bitmap.Pixel(0, bitmap.Height() - 1);
    for (int row = 0; row < bitmap.Height(); ++row)
        for (int column = 0; column < bitmap.Width(); ++column)
            if (const TColor pixel = bitmap.Pixel(column, row); pixel != transparent)
                SetPixelV(Dc, x + column, y + row, pixel);
}

TColor TCanvas::SystemColorRgb(int index) const
{
    return GetSysColor(index);
}

TColor TCanvas::NearestColor(TColor rgb) const
{
    const COLORREF nearest = GetNearestColor(Dc, rgb & 0x00FFFFFFu);
    return nearest == CLR_INVALID ? rgb : static_cast<TColor>(nearest);
}

int TCanvas::BitsPerPixel() const
{
    if (GetObjectType(Dc) == OBJ_MEMDC) {
        BITMAP selected{};
        if (GetObjectW(GetCurrentObject(Dc, OBJ_BITMAP), sizeof(selected), &selected) && selected.bmBitsPixel > 1)
            return selected.bmBitsPixel;
    }
    return GetDeviceCaps(Dc, BITSPIXEL) * GetDeviceCaps(Dc, PLANES);
}

} // namespace vehmira::menustyle
