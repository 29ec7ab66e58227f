#pragma once
// A drawing surface over a GDI device context: pen, brush and font as values,
// realised into GDI objects the canvas owns and deselects again when it ends.

#include "win32/Gdi.h"
#include "menustyle/portable/BitmapEffects.h"
#include "menustyle/portable/ColorMath.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace vehmira::menustyle {

// A font description; its colour is the text colour.
struct TFont {
    std::wstring Name = L"Tahoma";
    int Height = -11; // negative: character height in pixels
    int Weight = FW_NORMAL;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    BYTE Charset = DEFAULT_CHARSET;
    TColor Color = clWindowText;

    static TFont FromLogFont(const LOGFONTW& logFont, TColor color);
    LOGFONTW ToLogFont() const;
    bool operator==(const TFont&) const = default;
};

enum class TBrushStyle { Solid, Clear };

class TBitmap;

class TCanvas : public TPixelTarget, public TColorDevice {
public:
    explicit TCanvas(HDC dc);
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    HDC Handle() const { return Dc; }

    void SetPenColor(TColor color);
    TColor PenColor() const { return PenColor_; }
    void SetBrushColor(TColor color);
    TColor BrushColor() const { return BrushColor_; }
    void SetBrushStyle(TBrushStyle style);
    TBrushStyle BrushStyle() const { return BrushStyle_; }
    void SetFont(const TFont& font);
    const TFont& Font() const { return Font_; }
    void SetTransparentText(bool transparent);

    // Shapes exclude their right and bottom edges; corners in either order.
    void FillRect(const RECT& rect);
    void FrameRect(const RECT& rect);
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const RECT& rect) { Rectangle(rect.left, rect.top, rect.right, rect.bottom); }
    void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    void Ellipse(int left, int top, int right, int bottom);
    void Ellipse(const RECT& rect) { Ellipse(rect.left, rect.top, rect.right, rect.bottom); }
    // The end point of a line is not painted.
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(std::initializer_list<POINT> points);

    TColor Pixel(int x, int y) const override;
    void SetPixel(int x, int y, TColor color) override;

    SIZE TextExtent(std::wstring_view text);
    int TextWidth(std::wstring_view text) { return TextExtent(text).cx; }
    int TextHeight(std::wstring_view text) { return TextExtent(text).cy; }
    // Single-line text in the rectangle with DT_ alignment flags; "&" marks the
    // accelerator character and "&&" stands for one "&".
    void DrawTextInRect(std::wstring_view text, RECT rect, UINT alignment);

    // The bitmap drawn with its bottom-left pixel's colour left out.
    void DrawTransparent(int x, int y, const TBitmap& bitmap);

    TColor SystemColorRgb(int index) const override;
    TColor NearestColor(TColor rgb) const override;
    // A memory device context shows the depth of the bitmap selected into it.
    int BitsPerPixel() const override;
    COLORREF Resolve(TColor color) const { return ResolveColor(*this, color); }

private:
    void RealizePen();
    void RealizeBrush();
    void RealizeFont();

    HDC Dc;
    TColor PenColor_ = clBlack;
    TColor BrushColor_ = clWhite;
    TBrushStyle BrushStyle_ = TBrushStyle::Solid;
    TFont Font_;
    win32::TPenHandle Pen;
    win32::TBrushHandle Brush;
    win32::TFontHandle FontObject;
    bool PenDirty = true;
    bool BrushDirty = true;
    bool FontDirty = true;
    // Declared last so that the DC gets its own objects back before the
    // canvas's objects above are deleted.
    win32::TSavedDcState SavedState;
};

RECT NormalizedRect(int left, int top, int right, int bottom);

} // namespace vehmira::menustyle
