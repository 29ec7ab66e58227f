// The draw step of a menu item and the check, icon and text painting it uses.

#include "menustyle/MenuStyler.h"

#include <algorithm>

namespace vehmira::menustyle {

namespace {

struct TItemLayout {
    RECT IconRect;
    RECT CheckRect;
    RECT TextRect;
};

TItemLayout LayoutItem(const RECT& r, int iconWidth, int glyphWidth, bool hasGlyph, bool rightToLeft, bool barItem)
{
    TItemLayout layout{};
    layout.IconRect = rightToLeft ? RECT{r.right - iconWidth, r.top, r.right, r.bottom}
                                  : RECT{r.left, r.top, r.left + iconWidth, r.bottom};
    const RECT& icon = layout.IconRect;
    RECT& check = layout.CheckRect;
    if (hasGlyph) {
        check = RECT{icon.left + 1, icon.top + 2, icon.right - 3, icon.bottom - 2};
    } else {
        const int left = icon.left + (icon.right - icon.left - 10) / 2;
        const int top = icon.top + (icon.bottom - icon.top - 10) / 2;
        check = RECT{left, top, left + 10, top + 10};
    }
    if (glyphWidth > iconWidth) {
        if (rightToLeft)
            check.left = check.right - glyphWidth;
        else
            check.right = check.left + glyphWidth;
    }
    if (barItem)
        check.top -= 1;

    RECT& text = layout.TextRect;
    text.top = r.top;
    text.bottom = r.bottom;
    if (rightToLeft) {
        text.left = r.left;
        text.right = r.right - (barItem ? 4 : iconWidth);
        if (r.right - glyphWidth < text.right)
            text.right = r.right - glyphWidth - 8;
    } else {
        text.left = r.left + (barItem ? 4 : iconWidth);
        text.left = std::max<LONG>(text.left, r.left + glyphWidth + 4);
        text.right = r.right;
    }
    if (barItem) {
        if (!hasGlyph)
            text = r;
        else if (rightToLeft)
            text.right += 5;
        else
            text.left -= 5;
    }
    return layout;
}

} // namespace

void TMenuStyler::DrawMenuItem(TMenuItem& item, TCanvas& canvas, RECT r, bool selected)
{
    if (!Active_)
        return;
    PrepareColors(canvas);
    TMenu* menu = item.Menu();
    const bool barItem = menu && menu->IsMainMenu() && item.Parent() == &menu->Items();
    const bool rightToLeft = menu && menu->IsRightToLeft();
    canvas.SetFont(Font_);
    r.bottom += 1;

    TBitmap glyph;
    const bool hasGlyph = PrepareGlyph(item, canvas, glyph);
    const TItemLayout layout = LayoutItem(r, Settings.IconWidth, glyph.Width(), hasGlyph, rightToLeft, barItem);
    PaintItemBackground(item, canvas, r, layout.IconRect, rightToLeft, barItem);
    if (selected && Settings.DrawSelect)
        PaintItemSelection(item, canvas, r, rightToLeft, barItem);
    DrawItemCheck(item, selected, layout.CheckRect, canvas, hasGlyph, item.Enabled());
    DrawItemIcon(&item, canvas, rightToLeft, barItem, item.Checked(), item.Enabled(), false, selected,
                 layout.IconRect, glyph);
    PaintItemCaption(item, canvas, layout.TextRect, rightToLeft, barItem, selected);

    if (Settings.FlatMenu && !barItem) {
        const HWND window = WindowFromDC(canvas.Handle());
        if (window && (!Owner || window != Owner->Window))
            DrawFlatBorder(window, rightToLeft);
    }
    RehookSubmenu(item);
}

bool TMenuStyler::PrepareGlyph(const TMenuItem& item, TCanvas& canvas, TBitmap& glyph)
{
    const TMenu* menu = item.Menu();
    const TImageList* images = menu ? menu->Images : nullptr;
    const bool hasImage = images && item.ImageIndex != -1 && images->Valid(item.ImageIndex);
    const bool hasBitmap = item.Bitmap.Width() > 0;
    if (hasBitmap)
        glyph = item.Bitmap;
    if (hasImage) {
        // The image list's image replaces the item's own bitmap.
        glyph.SetSize(images->Width(), images->Height());
        glyph.Fill(canvas.Pixel(2, 2));
        images->Draw(glyph.Canvas(), 0, 0, item.ImageIndex);
    }
    return hasImage || hasBitmap;
}

void TMenuStyler::PaintItemBackground(const TMenuItem& item, TCanvas& canvas, const RECT& r, const RECT& iconRect,
                                      bool rightToLeft, bool barItem)
{
    canvas.SetBrushStyle(TBrushStyle::Solid);
    if (!barItem) {
        if (Work_.IsHighColor && Settings.Gradient) {
            DrawGradient(canvas, RECT{r.left, r.top, r.right + 2, r.bottom}, rightToLeft);
        } else {
            canvas.SetBrushColor(Work_.WorkBackColor);
            canvas.FillRect(r);
            canvas.SetBrushColor(Work_.WorkIconBackColor);
            canvas.FillRect(iconRect);
        }
        return;
    }
    canvas.SetBrushColor(Work_.WorkMenuBarColor);
    canvas.SetPenColor(Work_.WorkMenuBarColor);
    canvas.FillRect(r);
    if (!Settings.DrawMenuBar)
        return;
    // The bar beyond the items is painted from the last item (right to left:
    // from every item, to cover the gaps the system leaves).
    const TMenuItem& items = item.Menu()->Items();
    const bool lastItem = items.Count() > 0 && &items[items.Count() - 1] == &item;
    if (lastItem && rightToLeft) {
        canvas.Rectangle(3, r.top, r.right, r.bottom);
    } else if (lastItem) {
        RECT client{};
        if (Owner && Owner->Window)
            GetClientRect(Owner->Window, &client);
        canvas.Rectangle(r.left, r.top, client.right + 5, r.bottom);
    } else if (rightToLeft) {
        canvas.Rectangle(r.left, r.top, r.right + 7, r.bottom);
    }
}

void TMenuStyler::PaintItemSelection(const TMenuItem& item, TCanvas& canvas, const RECT& r, bool rightToLeft,
                                     bool barItem)
{
    canvas.SetBrushStyle(TBrushStyle::Solid);
    if (barItem) {
        DrawBarSelection(canvas, r, rightToLeft, MenuBarColor_);
        return;
    }
    if (!item.Enabled())
        return; // a disabled item gets no selection bar
    const RECT bar{r.left, r.top + 1, Settings.FlatMenu ? r.right - 1 : r.right, r.bottom - 1};
    canvas.SetBrushColor(Work_.WorkSelectColor);
    canvas.FillRect(bar);
    canvas.SetPenColor(Work_.WorkSelectBorderColor);
    canvas.SetBrushStyle(TBrushStyle::Clear);
    canvas.RoundRect(bar.left, bar.top, bar.right, bar.bottom, 0, 0);
}

void TMenuStyler::PaintItemCaption(const TMenuItem& item, TCanvas& canvas, RECT textRect, bool rightToLeft,
                                   bool barItem, bool selected)
{
    if (item.IsSeparator()) {
        canvas.SetPenColor(Work_.WorkSeparatorColor);
        const int y = textRect.top + RoundHalfEven((textRect.bottom - textRect.top) / 2.0);
        canvas.MoveTo(rightToLeft ? textRect.left : textRect.left + 7, y);
        canvas.LineTo(rightToLeft ? textRect.right - 7 : textRect.right, y);
        return;
    }
    UINT alignment = DT_LEFT;
    if (rightToLeft) {
        alignment = DT_RIGHT | DT_RTLREADING;
        textRect.right -= 3;
    } else {
        textRect.left += 3;
    }
    textRect.top += (textRect.bottom - textRect.top - canvas.TextHeight(L"W")) / 2;
    DrawItemText(canvas, L" " + item.Caption(), alignment, Font_, rightToLeft, barItem, item.Default(),
                 item.Enabled(), selected, textRect, item.ShortCutText());
}

void TMenuStyler::DrawItemCheck(const TMenuItem& item, bool selected, RECT checkRect, TCanvas& canvas, bool hasGlyph,
                                bool enabled)
{
    const TColor fill = selected ? Work_.WorkCheckFillSelectedColor : Work_.WorkCheckFillColor;
    canvas.SetBrushStyle(TBrushStyle::Solid);
    // A disabled item keeps the brush of its background; only the pen changes.
    const auto usePen = [&](TColor pen) {
        canvas.SetPenColor(enabled ? pen : Work_.WorkDisabledColor);
        if (enabled)
            canvas.SetBrushColor(fill);
    };
    if (!item.Checked())
        return;
    const auto [l, t, r, b] = checkRect;
    if (item.RadioItem()) {
        usePen(Work_.WorkSelectBorderColor);
        if (hasGlyph)
            canvas.RoundRect(l, t, r, b, 6, 6);
        else
            canvas.Ellipse(checkRect);
    } else if (hasGlyph) {
        usePen(Work_.WorkSelectBorderColor);
        canvas.Rectangle(checkRect);
    } else {
        usePen(Work_.WorkCheckedColor);
        canvas.Rectangle(checkRect);
        canvas.SetPenColor(enabled ? clBlack : Work_.WorkDisabledColor);
        canvas.Polyline({{l + 1, t + 5}, {l + 4, b - 2}});
        canvas.Polyline({{l + 2, t + 5}, {l + 4, b - 3}});
        canvas.Polyline({{l + 2, t + 4}, {l + 5, b - 3}});
        canvas.Polyline({{l + 4, b - 3}, {r + 2, t - 1}});
        canvas.Polyline({{l + 4, b - 2}, {r - 2, t + 3}});
    }
}

void TMenuStyler::DrawItemIcon(const TMenuItem* menuItem, TCanvas& canvas, bool rightToLeft, bool barItem,
                               bool checked, bool enabled, bool hot, bool selected, RECT rect, TBitmap& glyph)
{
    if (glyph.Width() <= 0)
        return;
    const int iconWidth = Settings.IconWidth;
    int x = rect.left;
    int y = rect.top + 1;
    if (menuItem) {
        y = rect.top + 3;
        if (glyph.Width() < iconWidth)
            x = rect.left + (iconWidth - glyph.Width()) / 2 - 1;
        else
            x = rightToLeft ? rect.right - glyph.Width() - 2 : rect.left + 2;
    }
    if (barItem)
        x = rightToLeft ? rect.right - glyph.Width() - 5 : rect.left + 1;
    if (selected && !barItem && enabled && !checked && !hot) {
        --x; // the hovered icon is raised
        --y;
    }
    if (!selected && enabled && !checked && Work_.IsHighColor)
        DimBitmap(canvas, glyph, Settings.DimLevel);
    if (!enabled) {
        GrayBitmap(canvas, glyph, Settings.GrayLevel);
        DimBitmap(canvas, glyph, 40);
    }
    if (selected && enabled && !checked)
        DrawBitmapShadow(glyph, canvas, x + 2, y + 2, DarkenColor(canvas, Work_.WorkSelectColor, 50));
    canvas.DrawTransparent(x, y, glyph);
}

void TMenuStyler::DrawItemText(TCanvas& canvas, std::wstring_view text, UINT alignment, const TFont& font,
                               bool rightToLeft, bool barItem, bool isDefault, bool enabled, bool selected,
                               RECT textRect, std::wstring_view shortCut)
{
    TColor color = font.Color;
    TFont passFont = font;
    canvas.SetFont(passFont);
    if (selected)
        color = Work_.WorkSelectFontColor;
    if (!enabled)
        color = Work_.WorkDisabledColor;
    if (barItem && selected && UseSystemColors_)
        color = ContrastTextColor(canvas, Work_.WorkIconBackColor, Font_.Color);
    canvas.SetTransparentText(true);

    const auto drawIn = [&](TColor passColor, RECT passRect, UINT passAlignment, std::wstring_view passText) {
        passFont.Color = passColor;
        canvas.SetFont(passFont);
        canvas.DrawTextInRect(passText, passRect, passAlignment);
    };
    if (isDefault && enabled) {
        // Four darker passes, each from the pixel under its rectangle's corner,
        // give the default item's caption its embossed look.
        const auto [l, t, r, b] = textRect;
        const struct {
            RECT Rect;
            int Amount;
        } passes[] = {{{l + 1, t, r, b}, 30}, {{l + 1, t + 2, r + 1, b}, 30}, {{l, t + 1, r, b}, 40},
                      {{l + 1, t + 1, r + 1, b}, 60}};
        for (const auto& pass : passes)
            drawIn(DarkenColor(canvas, canvas.Pixel(pass.Rect.left, pass.Rect.top), pass.Amount), pass.Rect,
                   alignment, text);
    }
    drawIn(color, textRect, alignment, text);

    const TColor shortCutColor = Work_.IsHighColor ? DarkenColor(canvas, color, -40) : color;
    RECT shortCutRect = textRect;
    UINT shortCutAlignment = DT_RIGHT;
    if (rightToLeft) {
        shortCutRect.left += 10;
        shortCutAlignment = DT_LEFT;
    } else {
        shortCutRect.right -= 10;
    }
    drawIn(shortCutColor, shortCutRect, shortCutAlignment, std::wstring(shortCut) + L" ");
}

} // namespace vehmira::menustyle
