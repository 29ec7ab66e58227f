#include "menustyle/portable/BitmapEffects.h"
#include "menustyle/portable/FakeColorDevice.h"

#include <gtest/gtest.h>

using namespace vehmira::menustyle;

namespace {

// A 3 x 2 icon: top row red, green, red; bottom row transparent, blue, blue.
TPixelBuffer SmallIcon()
{
    TPixelBuffer icon(3, 2, clWhite);
    icon.SetPixel(0, 0, RgbColor(200, 0, 0));
    icon.SetPixel(1, 0, RgbColor(0, 200, 0));
    icon.SetPixel(2, 0, RgbColor(200, 0, 0));
    icon.SetPixel(0, 1, RgbColor(255, 0, 255));
    icon.SetPixel(1, 1, RgbColor(0, 0, 90));
    icon.SetPixel(2, 1, RgbColor(0, 0, 90));
    return icon;
}

TEST(BitmapEffects, GrayAndDimTransformEveryPixelDespiteTheRunCache)
{
    const TFakeColorDevice device;
    TPixelBuffer grayed = SmallIcon();
    GrayBitmap(device, grayed, 10);
    TPixelBuffer dimmed = SmallIcon();
    DimBitmap(device, dimmed, 300); // acts as 100: everything white
    const TPixelBuffer original = SmallIcon();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(grayed.Pixel(x, y), GrayColor(device, original.Pixel(x, y), 10)) << x << "," << y;
            EXPECT_EQ(dimmed.Pixel(x, y), clWhite) << x << "," << y;
        }
    TPixelBuffer dimmedHalf = SmallIcon();
    DimBitmap(device, dimmedHalf, 50);
    EXPECT_EQ(dimmedHalf.Pixel(1, 0), RgbColor(128, 228, 128));
    EXPECT_EQ(dimmedHalf.Pixel(2, 0), RgbColor(228, 128, 128));
}

TEST(BitmapEffects, ShadowIsTheSilhouetteWithoutTheTransparentColour)
{
    const TPixelBuffer icon = SmallIcon();
    TPixelBuffer canvas(8, 8, clBlack);
    const TColor shade = RgbColor(9, 9, 9);
    DrawBitmapShadow(icon, canvas, 4, 5, shade);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool inIcon = x >= 4 && x < 7 && y >= 5 && y < 7;
            const bool transparent = x == 4 && y == 6;
            EXPECT_EQ(canvas.Pixel(x, y), inIcon && !transparent ? shade : clBlack) << x << "," << y;
        }
}

} // namespace
