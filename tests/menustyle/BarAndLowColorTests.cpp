#include "menustyle/StylerFixture.h"

#include <gtest/gtest.h>

using namespace vehmira::menustyle;

namespace {

constexpr COLORREF Red = RGB(200, 0, 0);

struct TBarFixture : testing::Test, TStylerFixture {
    TBarFixture()
    {
        Styler->SetActive(true);
        File = &MainMenu.Items().Add(L"Datei1", L"File  ");
        Help = &MainMenu.Items().Add(L"Hilfe1", L"Help  ");
    }
    TMenuItem* File;
    TMenuItem* Help;
};

// A bar item at (0, 0, 60, 19): painted down to row 19, so B = 20, Rt = 60.
TEST_F(TBarFixture, SelectedBarItemHasOpenOutlineAndShadedStripOnHighColour)
{
    TBitmap surface(80, 30);
    surface.Fill(Sentinel);
    Styler->DrawMenuItem(*File, surface.Canvas(), RECT{0, 0, 60, 19}, true);
    TCanvas& canvas = surface.Canvas();
    const TWorkColors& work = Styler->Work();
    const TColor bar = work.WorkMenuBarColor;
    const auto shade = [&](int amount) { return canvas.Resolve(DarkenColor(canvas, bar, amount)); };
    const COLORREF border = canvas.Resolve(work.WorkSelectBorderColor);
    const COLORREF fill = canvas.Resolve(work.WorkSelectColor);
    const struct {
        int X, Y;
        COLORREF Expected;
        const char* What;
    } pixels[] = {
        {0, 5, border, "left edge"},       {30, 0, border, "top edge"},
        {52, 10, border, "right edge"},    {30, 19, fill, "bottom left open"},
        {2, 2, fill, "inside"},            {59, 15, shade(10), "strip 10"},
        {57, 15, shade(30), "strip 30"},   {56, 15, shade(60), "strip 60"},
        {54, 15, shade(100), "strip 100"}, {57, 1, canvas.Resolve(bar), "touch-up top"},
        {59, 3, canvas.Resolve(bar), "touch-up right"}, {55, 3, shade(10), "touch-up 10"},
        {56, 7, shade(30), "touch-up 30"}, {54, 6, shade(40), "touch-up 40"},
        {60, 5, Sentinel, "nothing beyond the item"},
    };
    for (const auto& p : pixels)
        EXPECT_EQ(surface.Pixel(p.X, p.Y), p.Expected) << p.What;
}

TEST_F(TBarFixture, RightToLeftBarSelectionUsesTheSimpleEdge)
{
    MainMenu.SetRightToLeft(true);
    Styler->SetMenuBarColor(RgbColor(120, 140, 160));
    TBitmap surface(80, 30);
    Styler->DrawMenuItem(*File, surface.Canvas(), RECT{0, 0, 60, 19}, true);
    TCanvas& canvas = surface.Canvas();
    const TColor base = RgbColor(120, 140, 160); // the property, not the working colour
    EXPECT_EQ(surface.Pixel(57, 10), canvas.Resolve(Styler->Work().WorkSelectBorderColor));
    EXPECT_EQ(surface.Pixel(59, 10), canvas.Resolve(DarkenColor(canvas, base, 70)));
    EXPECT_EQ(surface.Pixel(59, 0), canvas.Resolve(base));
}

TEST_F(TBarFixture, DrawMenuBarExtendsTheLastItemToTheWindowsEdge)
{
    Styler->Settings.DrawMenuBar = true;
    TBitmap surface(400, 30);
    surface.Fill(Sentinel);
    Styler->DrawMenuItem(*File, surface.Canvas(), RECT{0, 0, 60, 19}, false);
    EXPECT_EQ(surface.Pixel(100, 5), Sentinel);
    Styler->DrawMenuItem(*Help, surface.Canvas(), RECT{60, 0, 120, 19}, false);
    RECT client{};
    GetClientRect(Window.Handle(), &client);
    const COLORREF bar = surface.Canvas().Resolve(Styler->Work().WorkMenuBarColor);
    EXPECT_EQ(surface.Pixel(client.right + 4, 5), bar);
    EXPECT_EQ(surface.Pixel(client.right + 5, 5), Sentinel);
}

TEST_F(TBarFixture, LowColourBarSelectionUsesTheSimpleEdge)
{
    TLowColorSurface surface(80, 30, {});
    Styler->DrawMenuItem(*File, surface.Canvas(), RECT{0, 0, 60, 19}, true);
    EXPECT_FALSE(Styler->Work().IsHighColor);
    const COLORREF border = surface.Canvas().Resolve(clHighlight);
    EXPECT_EQ(surface.Pixel(57, 10), border);
    EXPECT_EQ(surface.Pixel(52, 10), surface.Canvas().Resolve(clWhite)); // no high-colour edge
}

TEST(LowColourMenu, WhiteMenuWithButtonFaceColumnAndUndimmedIcons)
{
    TStylerFixture fixture;
    fixture.Styler->SetActive(true);
    TMenuItem& item = fixture.Popup.Items().Add(L"Item1", L"Item");
    item.Bitmap = SolidGlyph(8, Red);
    TLowColorSurface surface(200, 40, {Red, GlyphTransparent});
    TCanvas& canvas = surface.Canvas();
    fixture.Styler->DrawMenuItem(item, canvas, RECT{0, 0, 150, 22}, false);
    EXPECT_FALSE(fixture.Styler->Work().IsHighColor);
    EXPECT_EQ(surface.Pixel(80, 2), RGB(255, 255, 255));
    EXPECT_EQ(surface.Pixel(2, 2), canvas.Resolve(clBtnFace));
    EXPECT_EQ(surface.Pixel(7, 3), Red);

    fixture.Styler->DrawMenuItem(item, canvas, RECT{0, 0, 150, 22}, true);
    EXPECT_EQ(surface.Pixel(80, 5), RGB(255, 255, 255));
    EXPECT_EQ(surface.Pixel(80, 1), canvas.Resolve(clHighlight));
    EXPECT_EQ(surface.Pixel(0, 10), canvas.Resolve(clHighlight));
    EXPECT_EQ(surface.Pixel(6, 2), Red);
}

TEST(LowColourMenu, GradientIsNotUsedBelowSixteenBits)
{
    TStylerFixture fixture;
    fixture.Styler->SetActive(true);
    fixture.Styler->Settings.Gradient = true;
    TMenuItem& item = fixture.Popup.Items().Add(L"Item1", L"Item");
    TLowColorSurface surface(200, 40, {});
    fixture.Styler->DrawMenuItem(item, surface.Canvas(), RECT{0, 0, 150, 22}, false);
    EXPECT_EQ(surface.Pixel(80, 2), RGB(255, 255, 255));
    EXPECT_EQ(surface.Pixel(1, 2), surface.Canvas().Resolve(clBtnFace));
}

} // namespace
