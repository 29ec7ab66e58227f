// The flat painters of push buttons, image buttons and push-like (speed)
// buttons.

#include "menustyle/ControlSubClass.h"
#include "menustyle/MenuStyler.h"
#include "win32/WindowQueries.h"

#include <algorithm>
#include <string>

namespace vehmira::menustyle {

namespace {

bool RightAligned(HWND window)
{
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & (WS_EX_RTLREADING | WS_EX_RIGHT)) != 0;
}

void FillIn(TCanvas& canvas, TColor color, const RECT& rect)
{
    canvas.SetBrushStyle(TBrushStyle::Solid);
    canvas.SetBrushColor(color);
    canvas.FillRect(rect);
}

// One cell of the image a button shows (BM_SETIMAGE). An image whose width is
// a whole multiple of its height is a strip of square cells (normal, disabled,
// pressed, down); a cell beyond the strip falls back to the first.
bool ButtonGlyph(HWND button, int cell, TBitmap& glyph)
{
    const auto image = reinterpret_cast<HBITMAP>(SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP info{};
    if (!image || !GetObjectW(image, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        return false;
    const int cells = info.bmWidth % info.bmHeight == 0 ? info.bmWidth / info.bmHeight : 1;
    const int cellWidth = info.bmWidth / cells;
    if (cell >= cells)
        cell = 0;
    glyph.SetSize(cellWidth, info.bmHeight);
    const win32::TMemoryDcHandle source(CreateCompatibleDC(glyph.Dc()));
    const win32::TSelectGuard selected(source.get(), image);
    BitBlt(glyph.Dc(), 0, 0, cellWidth, info.bmHeight, source.get(), cell * cellWidth, 0, SRCCOPY);
    return true;
}

void TopLeftLine(TCanvas& canvas, const RECT& r)
{
    canvas.Polyline({{r.left, r.bottom - 1}, {r.left, r.top}, {r.right, r.top}});
}

void BottomRightLine(TCanvas& canvas, const RECT& r)
{
    canvas.Polyline({{r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}});
}

} // namespace

void TControlSubClass::PaintButton(TCanvas& canvas)
{
    const TWorkColors& work = Styler.Work();
    const TColor parent = ParentBackgroundColor(Target_);
    const bool parentTint = WindowTag(Target_) == ParentColorTag;
    const bool hotFace = Hot || (Kind_ == TStyledControlKind::BitButton && SpaceDown);
    TColor face = parentTint ? LightenColor(canvas, parent, ControlLightStep) : work.WorkIconBackColor;
    if (hotFace)
        face = LightenColor(canvas, parentTint ? parent : clBtnFace, ControlHotLightStep);
    const TColor edge = Hot || Focused ? LightenColor(canvas, work.WorkSelectBorderColor, 60) : clBtnShadow;
    const RECT client = win32::ClientRectOf(Target_);
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
    if (Kind_ == TStyledControlKind::BitButton)
        PaintGlyphAndCaption(canvas, client, 0, false, Hot);
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
    Styler.DrawItemText(canvas, win32::WindowTextOf(Target_), alignment, font, rightToLeft, false, isDefault,
                        IsWindowEnabled(Target_) != FALSE, false, captionRect, L"");
}

void TControlSubClass::PaintGlyphAndCaption(TCanvas& canvas, const RECT& client, int cell, bool checked,
                                            bool selected)
{
    constexpr int GlyphSpacing = 4;
    TBitmap glyph;
    if (!ButtonGlyph(Target_, cell, glyph)) {
        PaintButtonCaption(canvas, client, client);
        return;
    }
    // The glyph stands left of the caption; the two are centred together.
    const std::wstring caption = win32::WindowTextOf(Target_);
    const bool noCaption = caption.find_first_not_of(L' ') == std::wstring::npos;
    canvas.SetFont(ControlFont(Target_));
    const int textWidth = noCaption ? 0 : canvas.TextWidth(caption);
    const int spacing = noCaption ? 0 : GlyphSpacing;
    const int left = client.left + (client.right - client.left - (glyph.Width() + spacing + textWidth)) / 2;
    const int top = client.top + (client.bottom - client.top - glyph.Height()) / 2;
    // Not a menu item: the icon goes to the rectangle's corner, one pixel down.
    const RECT glyphRect{left, top - 1, left + glyph.Width(), top - 1 + glyph.Height()};
    Styler.DrawItemIcon(nullptr, canvas, false, false, checked, IsWindowEnabled(Target_) != FALSE, Focused,
                        selected, glyphRect, glyph);
    if (!noCaption)
        PaintButtonCaption(canvas, client,
                           RECT{left + glyph.Width() + spacing, client.top, client.right, client.bottom});
}

// A push-like check or radio button painted flat when it has BS_FLAT. Two
// variants steer the face: WS_EX_TRANSPARENT tints the area under a down or
// hot button instead of filling it, and the parent-colour Tag (1000) shows
// the parent's colour at rest and the selection colour when hot.
void TControlSubClass::PaintSpeedButton(TCanvas& canvas)
{
    const TWorkColors& work = Styler.Work();
    const bool tinted = (GetWindowLongPtrW(Target_, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
    const bool parentTint = WindowTag(Target_) == ParentColorTag;
    const bool enabled = IsWindowEnabled(Target_) != FALSE;
    const bool down = (SendMessageW(Target_, BM_GETCHECK, 0, 0) & BST_CHECKED) != 0;
    const bool pressed = SpaceDown || (ButtonDown && Hot);
    const TColor parent = ParentBackgroundColor(Target_);
    TColor face = parentTint ? LightenColor(canvas, parent, ControlLightStep) : work.WorkIconBackColor;
    if (Hot)
        face = LightenColor(canvas, parentTint ? parent : clBtnFace, ControlHotLightStep);
    if (parentTint)
        face = Hot ? work.WorkSelectColor : parent;
    TColor edge = Hot ? LightenColor(canvas, work.WorkSelectBorderColor, 60) : clBtnShadow;
    if (down) {
        face = Hot ? work.WorkCheckFillSelectedColor : work.WorkCheckFillColor;
        edge = work.WorkSelectBorderColor;
    }
    if (!enabled)
        edge = clBtnShadow;
    const RECT client = win32::ClientRectOf(Target_);
    const bool active = down || Hot;
    if (tinted && active) {
        TColor tint = face;
        if (canvas.BitsPerPixel() > 16)
            tint = parentTint ? LightenColor(canvas, work.WorkSelectColor, 20) : LightenColor(canvas, face, 5);
        TBitmap tintArea(client.right - client.left, client.bottom - client.top);
        tintArea.Fill(tint);
        BitBlt(canvas.Handle(), client.left, client.top, tintArea.Width(), tintArea.Height(), tintArea.Dc(), 0, 0,
               SRCAND);
    }
    if (!tinted)
        FillIn(canvas, face, client);
    if (!(tinted && parentTint && !active)) {
        canvas.SetPenColor(parentTint && !tinted && !active ? face : LightenColor(canvas, edge, 30));
        canvas.SetBrushStyle(tinted ? TBrushStyle::Clear : TBrushStyle::Solid);
        canvas.SetBrushColor(face);
        canvas.Rectangle(client);
    }
    if (enabled)
        PaintSpeedButtonEdge(canvas, client, edge, down || pressed, parentTint);
    const int cell = !enabled ? 1 : pressed ? 2 : down ? 3 : 0;
    PaintGlyphAndCaption(canvas, client, cell, down || pressed, Hot);
}

void TControlSubClass::PaintSpeedButtonEdge(TCanvas& canvas, const RECT& client, TColor edge, bool sunk,
                                            bool parentTint)
{
    canvas.SetBrushStyle(TBrushStyle::Clear);
    if (!parentTint) {
        canvas.SetPenColor(DarkenColor(canvas, edge, 50));
        if (sunk)
            TopLeftLine(canvas, client);
        else
            BottomRightLine(canvas, client);
        return;
    }
    if (sunk) {
        canvas.SetPenColor(edge);
        canvas.Rectangle(client);
        canvas.SetPenColor(DarkenColor(canvas, edge, 50));
        TopLeftLine(canvas, client);
    } else if (Hot) {
        canvas.SetPenColor(Styler.Work().WorkSelectBorderColor);
        canvas.Rectangle(client);
    }
}

} // namespace vehmira::menustyle
