// The flat painters of push buttons and image buttons, and of panels and
// group boxes.

#include "menustyle/ControlSubClass.h"
#include "menustyle/MenuStyler.h"

#include <algorithm>
#include <string>

namespace {

RECT ClientOf(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return client;
}

std::wstring TextOf(HWND window)
{
    std::wstring text(static_cast<std::size_t>(std::max(GetWindowTextLengthW(window), 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool RightAligned(HWND window)
{
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & (WS_EX_RTLREADING | WS_EX_RIGHT)) != 0;
}

void Frame3D(TCanvas& canvas, const RECT& r, TColor topLeft, TColor bottomRight)
{
    canvas.SetPenColor(topLeft);
    canvas.Polyline({{r.left, r.bottom - 1}, {r.left, r.top}, {r.right - 1, r.top}});
    canvas.SetPenColor(bottomRight);
    canvas.Polyline({{r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left - 1, r.bottom - 1}});
}

void FillIn(TCanvas& canvas, TColor color, const RECT& rect)
{
    canvas.SetBrushStyle(TBrushStyle::Solid);
    canvas.SetBrushColor(color);
    canvas.FillRect(rect);
}

// The image a push button shows (BM_SETIMAGE), copied so that it can be dimmed.
bool ButtonGlyph(HWND button, TBitmap& glyph)
{
    const auto image = reinterpret_cast<HBITMAP>(SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP info{};
    if (!image || !GetObjectW(image, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        return false;
    glyph.SetSize(info.bmWidth, info.bmHeight);
    const TMemoryDcHandle source(CreateCompatibleDC(glyph.Dc()));
    const TSelectGuard selected(source.get(), image);
    BitBlt(glyph.Dc(), 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
    return true;
}

} // namespace

void TControlSubClass::PaintButton(TCanvas& canvas)
{
    const TWorkColors& work = Styler.Work();
    const TColor parent = ParentBackgroundColor(Target_);
    const bool parentTint = WindowTag(Target_) == ParentColorTag;
    const bool hotFace = Hot || (Kind_ == TControlKind::BitButton && SpaceDown);
    TColor face = parentTint ? LightenColor(canvas, parent, ControlLightStep) : work.WorkIconBackColor;
    if (hotFace)
        face = LightenColor(canvas, parentTint ? parent : clBtnFace, ControlHotLightStep);
    const TColor edge = Hot || Focused ? LightenColor(canvas, work.WorkSelectBorderColor, 60) : clBtnShadow;
    const RECT client = ClientOf(Target_);
    const auto [l, t, r, b] = client;
    FillIn(canvas, parent, client);
    canvas.SetBrushColor(face);
    canvas.SetPenColor(LightenColor(canvas, edge, 30));
    canvas.RoundRect(l, t, r, b, 4, 4);
    if (IsWindowEnabled(Target_)) {
        canvas.SetPenColor(DarkenColor(canvas, edge, 50));
        if (SpaceDown || (ButtonDown && Hot))
            canvas.Polyline({{l, b - 2}, {l, t + 1}, {l + 1, t}, {r - 1, t}});
        else
            canvas.Polyline({{r - 1, t + 1}, {r - 1, b - 2}, {r - 2, b - 1}, {l, b - 1}});
    }
    if (Kind_ == TControlKind::BitButton)
        PaintBitButtonGlyph(canvas, client);
    else
        PaintButtonCaption(canvas, client, client);
}

void TControlSubClass::PaintButtonCaption(TCanvas& canvas, const RECT& client, const RECT& captionRect)
{
    const TFont font = ControlFont(Target_);
    const bool isDefault = (GetWindowLongPtrW(Target_, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    const bool rightToLeft = RightAligned(Target_);
    UINT alignment = DT_VCENTER | (captionRect.left == client.left ? DT_CENTER : DT_LEFT);
    if (rightToLeft)
        alignment |= DT_RTLREADING;
    Styler.DrawItemText(canvas, TextOf(Target_), alignment, font, rightToLeft, false, isDefault,
                        IsWindowEnabled(Target_) != FALSE, false, captionRect, L"");
}

void TControlSubClass::PaintBitButtonGlyph(TCanvas& canvas, const RECT& client)
{
    constexpr int GlyphSpacing = 4;
    TBitmap glyph;
    if (!ButtonGlyph(Target_, glyph)) {
        PaintButtonCaption(canvas, client, client);
        return;
    }
    const std::wstring caption = TextOf(Target_);
    const bool noCaption = caption.find_first_not_of(L' ') == std::wstring::npos;
    canvas.SetFont(ControlFont(Target_));
    const int textWidth = noCaption ? 0 : canvas.TextWidth(caption);
    const int spacing = noCaption ? 0 : GlyphSpacing;
    const int groupWidth = glyph.Width() + spacing + textWidth;
    const int left = client.left + (client.right - client.left - groupWidth) / 2;
    const int top = client.top + (client.bottom - client.top - glyph.Height()) / 2;
    // Not a menu item: the icon goes to the rectangle's corner, one pixel down.
    const RECT glyphRect{left, top - 1, left + glyph.Width(), top - 1 + glyph.Height()};
    Styler.DrawItemIcon(nullptr, canvas, false, false, false, IsWindowEnabled(Target_) != FALSE, Focused, Hot,
                        glyphRect, glyph);
    if (!noCaption)
        PaintButtonCaption(canvas, client, RECT{left + glyph.Width() + spacing, client.top, client.right, client.bottom});
}

void TControlSubClass::PaintPanel(TCanvas& canvas)
{
    const TColor color = ParentBackgroundColor(Target_);
    const TColor dark = DarkenColor(canvas, color, 60);
    const TColor light = LightenColor(canvas, color, 60);
    const LONG_PTR style = GetWindowLongPtrW(Target_, GWL_STYLE);
    // A sunken static is a lowered outer bevel; an etched frame adds a raised
    // inner bevel. Both are one pixel wide, with no border between them.
    const bool etched = (style & SS_TYPEMASK) == SS_ETCHEDFRAME;
    RECT r = ClientOf(Target_);
    Frame3D(canvas, r, dark, light);
    if (!etched)
        return;
    InflateRect(&r, -1, -1);
    Frame3D(canvas, r, light, dark);
}

void TControlSubClass::PaintGroupBox(TCanvas& canvas)
{
    const std::wstring caption = TextOf(Target_);
    TFont font = ControlFont(Target_);
    canvas.SetFont(font);
    const SIZE extent = canvas.TextExtent(caption.empty() ? L" " : caption);
    const int h = extent.cy;
    const int w = extent.cx;
    const int half = h / 2;
    const TColor color = ParentBackgroundColor(Target_);
    const TColor parent = color;
    const TColor dark = DarkenColor(canvas, color, 60);
    const TColor light = LightenColor(canvas, color, 60);
    const auto [l, t, r, b] = ClientOf(Target_);

    // The group box's own frame is wiped first.
    canvas.SetPenColor(color);
    canvas.SetBrushStyle(TBrushStyle::Clear);
    canvas.Rectangle(l + 1, t + h, r - 1, b - 1);
    canvas.Polyline({{l + 1, t + half - 1}, {l + 1, b}});
    Frame3D(canvas, RECT{l, t + half - 1, r, b}, light, dark);
    FillIn(canvas, parent, RECT{l, t, r, t + half + 1});

    const bool rightToLeft = RightAligned(Target_);
    const RECT box = rightToLeft ? RECT{r - 9 - w, t, r - 9, t + h} : RECT{l + 9, t, l + 9 + w, t + h};
    FillIn(canvas, color,
           RECT{std::max<LONG>(box.left, l + 1), t + half + 1, std::min<LONG>(box.right, r - 1), t + 2 * half + 2});
    canvas.SetPenColor(color);
    canvas.Polyline({{r - 2, t + half + 1}, {r - 2, box.bottom}});
    canvas.SetBrushStyle(TBrushStyle::Clear);
    canvas.SetTransparentText(true);
    canvas.DrawTextInRect(caption, box, rightToLeft ? DT_RIGHT | DT_RTLREADING : DT_LEFT);

    canvas.SetPenColor(light);
    canvas.Polyline({{l, t + half + 1}, {box.left, t + half + 1}});
    canvas.Polyline({{box.right, t + half + 1}, {r - 1, t + half + 1}});
}
