#include "menustyle/portable/WorkColors.h"
#include "menustyle/portable/FakeColorDevice.h"

#include <gtest/gtest.h>

using namespace vehmira::menustyle;

namespace {

TColorProperties OwnColors(bool useDimColor)
{
    TColorProperties properties;
    properties.UseSystemColors = false;
    properties.UseDimColor = useDimColor;
    properties.Color = RgbColor(1, 1, 1);
    properties.IconBackColor = RgbColor(2, 2, 2);
    properties.MenuBarColor = RgbColor(3, 3, 3);
    properties.SelectColor = RgbColor(100, 0, 0);
    properties.SelectBorderColor = RgbColor(5, 5, 5);
    properties.SelectFontColor = RgbColor(6, 6, 6);
    properties.DisabledColor = RgbColor(7, 7, 7);
    properties.SeparatorColor = RgbColor(8, 8, 8);
    properties.CheckedColor = RgbColor(9, 9, 9);
    properties.FontColor = RgbColor(10, 10, 10);
    return properties;
}

TEST(WorkColors, SystemColoursOnHighColourDevice)
{
    const TFakeColorDevice device(32);
    TColorProperties properties;
    properties.FontColor = RgbColor(10, 10, 10);
    const TWorkColors work = ComputeWorkColors(properties, device);
    EXPECT_TRUE(work.IsHighColor);
    EXPECT_EQ(work.WorkBackColor, LightenColor(device, clBtnFace, 86));
    EXPECT_EQ(work.WorkIconBackColor, LightenColor(device, clBtnFace, 16));
    EXPECT_EQ(work.WorkSelectColor, LightenColor(device, clHighlight, 68));
    EXPECT_EQ(work.WorkSelectBorderColor, clHighlight);
    EXPECT_EQ(work.WorkSelectFontColor, RgbColor(10, 10, 10));
    EXPECT_EQ(work.WorkCheckFillColor, LightenColor(device, clHighlight, 80));
    EXPECT_EQ(work.WorkCheckFillSelectedColor, LightenColor(device, clHighlight, 50));
    EXPECT_EQ(work.WorkCheckedColor, clHighlight);
    EXPECT_EQ(work.WorkMenuBarColor, clBtnFace);
    EXPECT_EQ(work.WorkDisabledColor, LightenColor(device, clBtnShadow, 10));
    EXPECT_EQ(work.WorkSeparatorColor, LightenColor(device, clBtnShadow, 25));
    EXPECT_EQ(work.WorkFlatBorderColor, DarkenColor(device, clBtnFace, 90));
    EXPECT_EQ(work.WorkFlatShadowColor, DarkenColor(device, clBtnFace, 76));
}

TEST(WorkColors, SystemColoursBelowSixteenBitsAreWhiteMenuWithHighlightFrame)
{
    const TFakeColorDevice device(15);
    const TWorkColors work = ComputeWorkColors(TColorProperties{}, device);
    EXPECT_FALSE(work.IsHighColor);
    EXPECT_EQ(work.WorkBackColor, clWhite);
    EXPECT_EQ(work.WorkIconBackColor, clBtnFace);
    EXPECT_EQ(work.WorkSelectColor, clWhite);
    EXPECT_EQ(work.WorkSelectBorderColor, clHighlight);
    EXPECT_EQ(work.WorkCheckFillColor, clWhite);
    EXPECT_EQ(work.WorkCheckFillSelectedColor, clWhite);
    EXPECT_EQ(work.WorkDisabledColor, clBtnShadow);
    EXPECT_EQ(work.WorkSeparatorColor, clBtnShadow);
    EXPECT_EQ(work.WorkFlatBorderColor, clBtnShadow);
    EXPECT_EQ(work.WorkFlatShadowColor, clBtnShadow);
}

TEST(WorkColors, OwnColoursTakeThePropertiesAndDimOnlyOnHighColour)
{
    struct TCase {
        int Bits;
        bool Dim;
        TColor Select, CheckFill, CheckFillSelected;
    };
    const TFakeColorDevice probe;
    const TColor select = RgbColor(100, 0, 0);
    const TCase cases[] = {
        {32, false, select, select, select},
        {32, true, LightenColor(probe, select, 68), LightenColor(probe, select, 80), LightenColor(probe, select, 50)},
        {8, false, select, clWhite, clSilver},
        {8, true, select, clWhite, clSilver},
    };
    for (const auto& c : cases) {
        const TFakeColorDevice device(c.Bits);
        const TWorkColors work = ComputeWorkColors(OwnColors(c.Dim), device);
        SCOPED_TRACE(testing::Message() << c.Bits << " bits, dim " << c.Dim);
        EXPECT_EQ(work.WorkSelectColor, c.Select);
        EXPECT_EQ(work.WorkCheckFillColor, c.CheckFill);
        EXPECT_EQ(work.WorkCheckFillSelectedColor, c.CheckFillSelected);
        EXPECT_EQ(work.WorkBackColor, RgbColor(1, 1, 1));
        EXPECT_EQ(work.WorkIconBackColor, RgbColor(2, 2, 2));
        EXPECT_EQ(work.WorkMenuBarColor, RgbColor(3, 3, 3));
        EXPECT_EQ(work.WorkSelectBorderColor, RgbColor(5, 5, 5));
        EXPECT_EQ(work.WorkSelectFontColor, RgbColor(6, 6, 6));
        EXPECT_EQ(work.WorkDisabledColor, RgbColor(7, 7, 7));
        EXPECT_EQ(work.WorkSeparatorColor, RgbColor(8, 8, 8));
        EXPECT_EQ(work.WorkCheckedColor, RgbColor(9, 9, 9));
    }
}

} // namespace
