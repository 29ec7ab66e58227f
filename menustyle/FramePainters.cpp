// The flat painters of panels and group boxes: frames in shades of the
// parent's colour, drawn only after the control's own WM_PAINT.

#include "menustyle/ControlSubClass.h"
#include "menustyle/MenuStyler.h"
#include "win32/WindowQueries.h"

#include <algorithm>
#include <string>

namespace vehmira::menustyle {

namespace {

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

} // namespace

void TControlSubClass::PaintPanel(TCanvas& canvas)
{
    const TColor color = ParentBackgroundColor(Target_);
    const TColor dark = DarkenColor(canvas, color, 60);
    const TColor light = LightenColor(canvas, color, 60);
    const LONG_PTR style = GetWindowLongPtrW(Target_, GWL_STYLE);
    // A sunken static is a lowered outer bevel; an etched frame adds a raised
    // inner bevel. Both are one pixel wide, with no border between them.
    const bool etched = (style & SS_TYPEMASK) == SS_ETCHEDFRAME;
    RECT r = win32::ClientRectOf(Target_);
    Frame3D(canvas, r, dark, light);
    if (!etched)
        return;
    InflateRect(&r, -1, -1);
    Frame3D(canvas, r, light, dark);
}

void TControlSubClass::PaintGroupBox(TCanvas& canvas)
{
    const std::wstring caption = win32::WindowTextOf(Target_);
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
    const auto [l, t, r, b] = win32::ClientRectOf(Target_);

    // The group box's own frame is wiped first.
    canvas.SetPenColor(color);
    canvas.SetBrushStyle(TBrushStyle::Clear);
    canvas.Rectangle(l + 1, t + h, r - 1, b - 1);
    canvas.Polyline({{l + 1, t + half - 1}, {l + 1, b}});
    Frame3D(canvas, RECT{l, t + half - 1, r, b}, light, dark);
    FillIn(canvas, parent, RECT{l, t, r, t + half + 1});

    const bool rightToLeft = (GetWindowLongPtrW(Target_, GWL_EXSTYLE) & (WS_EX_RTLREADING | WS_EX_RIGHT)) != 0;
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

} // namespace vehmira::menustyle
