// The shaded parts of the menu look: the selected menu-bar item, the gradient
// background and the flat frame with shadow over popup menu windows.

#include "menustyle/MenuStyler.h"

#include <algorithm>

namespace vehmira::menustyle {

namespace {

void FillIn(TCanvas& canvas, TColor color, const RECT& rect)
{
    canvas.SetPenColor(color);
    canvas.SetBrushColor(color);
    canvas.FillRect(rect);
}

} // namespace

void TMenuStyler::DrawBarSelection(TCanvas& canvas, RECT rect, bool rightToLeft, TColor base)
{
    const auto [l, t, r, b] = rect;
    canvas.SetBrushStyle(TBrushStyle::Solid);
    canvas.SetBrushColor(Work_.WorkSelectColor);
    canvas.FillRect(rect);
    canvas.SetPenColor(Work_.WorkSelectBorderColor);
    if (rightToLeft || !Work_.IsHighColor) {
        canvas.Polyline({{l, b - 1}, {l, t}, {r - 3, t}, {r - 3, b}});
        FillIn(canvas, DarkenColor(canvas, base, 70), RECT{r - 2, t + 2, r, b});
        FillIn(canvas, base, RECT{r - 2, t, r, t + 2});
        return;
    }
    // Outline open at the bottom, and a seven-pixel shadow strip on the right.
    canvas.Polyline({{l, b - 1}, {l, t}, {r - 8, t}, {r - 8, b}});
    const TColor bar = Work_.WorkMenuBarColor;
    FillIn(canvas, DarkenColor(canvas, bar, 10), RECT{r - 7, t, r, b});
    FillIn(canvas, DarkenColor(canvas, bar, 30), RECT{r - 7, t + 3, r - 2, b});
    FillIn(canvas, DarkenColor(canvas, bar, 60), RECT{r - 7, t + 5, r - 3, b});
    FillIn(canvas, DarkenColor(canvas, bar, 100), RECT{r - 7, t + 6, r - 5, b});
    canvas.SetPenColor(bar);
    canvas.Polyline({{r - 5, t + 1}, {r - 1, t + 1}, {r - 1, t + 6}});
    canvas.Polyline({{r - 3, t + 2}, {r - 2, t + 2}, {r - 2, t + 3}, {r - 3, t + 3}});
    canvas.SetPenColor(DarkenColor(canvas, bar, 10));
    canvas.Polyline({{r - 6, t + 3}, {r - 3, t + 3}, {r - 3, t + 6}, {r - 4, t + 6}, {r - 4, t + 3}});
    canvas.SetPenColor(DarkenColor(canvas, bar, 30));
    canvas.Polyline({{r - 5, t + 5}, {r - 4, t + 5}, {r - 4, t + 9}});
    canvas.SetPenColor(DarkenColor(canvas, bar, 40));
    canvas.Polyline({{r - 6, t + 5}, {r - 6, t + 7}});
}

void TMenuStyler::DrawGradient(TCanvas& canvas, RECT rect, bool rightToLeft)
{
    constexpr int ZoneStep = 3;
    constexpr int OutsideStep = 1;
    constexpr int BrightestStep = 96;
    canvas.SetBrushStyle(TBrushStyle::Solid);
    const int columns = rect.right - rect.left + 1;
    const int iconWidth = Settings.IconWidth;
    int shade = 0;
    for (int column = 0; column < columns; ++column) {
        const int x = rightToLeft ? rect.right - 1 - column : rect.left + column;
        const bool inZone = rightToLeft ? (rect.right - iconWidth + 5 < x && x < rect.right)
                                        : (rect.left < x && x < rect.left + iconWidth + 5);
        shade = std::min(shade + (inZone ? ZoneStep : OutsideStep), BrightestStep);
        FillIn(canvas, LightenColor(canvas, Work_.WorkIconBackColor, shade), RECT{x, rect.top, x + 1, rect.bottom});
    }
}

void TMenuStyler::DrawFlatBorder(HWND window, bool rightToLeft)
{
    if (!window)
        return;
    // Painted through the popup window's own device context, in coordinates
    // relative to its top-left corner: the same pixels as over the whole
    // screen, without touching anything outside the menu.
    const win32::TWindowDc dc(window, true);
    if (!dc.Handle())
        return;
    TCanvas canvas(dc.Handle());
    canvas.SetBrushStyle(TBrushStyle::Clear);
    RECT bounds{};
    GetWindowRect(window, &bounds);
    RECT w{0, 0, bounds.right - bounds.left - 2, bounds.bottom - bounds.top - 2};
    const int iconWidth = Settings.IconWidth;

    canvas.SetPenColor(Work_.WorkFlatBorderColor);
    canvas.Rectangle(w);
    if (rightToLeft) {
        canvas.SetPenColor(Work_.WorkBackColor);
        canvas.Rectangle(w.left + 1, w.top + 1, w.right - 2, w.top + 3);
        canvas.Polyline({{w.left + 2, w.top + 2}, {w.left + 2, w.bottom - 2}});
        canvas.SetPenColor(Work_.WorkIconBackColor);
        canvas.Polyline({{w.right - 2, w.top + 2}, {w.right - 2, w.bottom - 2}});
        canvas.Polyline({{w.right - 2, w.top + 2}, {w.right - 1 - iconWidth, w.top + 2}});
    } else {
        if (Settings.Gradient) {
            DrawGradient(canvas, RECT{w.left + 1, w.top + 1, w.right - 3, w.top + 3}, false);
            canvas.SetBrushStyle(TBrushStyle::Clear);
        } else {
            canvas.SetPenColor(Work_.WorkBackColor);
            canvas.Rectangle(w.left + 1, w.top + 1, w.right - 1, w.top + 3);
            canvas.SetPenColor(Work_.WorkIconBackColor);
            canvas.Polyline({{w.left + 1, w.top + 2}, {w.left + 3 + iconWidth, w.top + 2}});
        }
        canvas.SetPenColor(Work_.WorkIconBackColor);
        canvas.Rectangle(w.left + 1, w.top + 2, w.left + 3, w.bottom - 1);
    }
    w.right += 2;
    w.bottom += 2;
    canvas.SetPenColor(Work_.WorkFlatShadowColor);
    canvas.Rectangle(w.left + 2, w.bottom - 2, w.right, w.bottom);
    canvas.Rectangle(w.right - 2, w.top + 2, w.right, w.bottom);
    canvas.SetPenColor(clBtnFace);
    canvas.Rectangle(w.left, w.bottom - 2, w.left + 2, w.bottom);
    canvas.Rectangle(w.right - 2, w.top, w.right, w.top + 2);
}

} // namespace vehmira::menustyle
