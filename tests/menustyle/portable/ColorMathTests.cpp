#include "menustyle/portable/ColorMath.h"
#include "menustyle/portable/FakeColorDevice.h"

#include <gtest/gtest.h>

using namespace vehmira::menustyle;

namespace {

struct TColorCase {
    const char* Name;
    TColor Input;
    int Amount;
    TColor Expected;
};

TEST(ColorMath, RoundHalfEvenRoundsExactHalvesToEven)
{
    const std::pair<double, int> cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2},
                                            {-2.5, -2}, {2.4999, 2}, {2.5001, 3}, {9.75, 10}};
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(RoundHalfEven(value), expected) << value;
}

TEST(ColorMath, DarkenColorTakesLessFromGreenAndClamps)
{
    const TFakeColorDevice device;
    const TColorCase cases[] = {
        {"plain", RgbColor(100, 100, 100), 30, RgbColor(70, 72, 70)},
        {"clamped at zero", RgbColor(20, 1, 200), 50, RgbColor(0, 0, 150)},
        {"negative lightens black", clBlack, -40, RgbColor(40, 42, 40)},
        {"clamped at 255", RgbColor(250, 254, 250), -10, RgbColor(255, 255, 255)},
        {"system colour resolved", clBtnFace, 90, RgbColor(122, 120, 110)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DarkenColor(device, c.Input, c.Amount), c.Expected) << c.Name;
}

TEST(ColorMath, LightenColorMovesTowardsWhiteWithHalfEvenRounding)
{
    const TFakeColorDevice device;
    const TColorCase cases[] = {
        // 255 - 0 = 255, x 0.5 = 127.5 -> 128 (even); 255 - 1 = 254 -> 127
        {"half rounds to even", RgbColor(0, 1, 3), 50, RgbColor(128, 128, 129)},
        {"zero percent unchanged", RgbColor(10, 20, 30), 0, RgbColor(10, 20, 30)},
        {"above 100 acts as 100", RgbColor(10, 20, 30), 250, clWhite},
        {"68 percent of highlight", clHighlight, 68, RgbColor(177, 185, 207)},
        {"negative percent stops at zero", RgbColor(0, 100, 200), -50, RgbColor(0, 22, 172)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LightenColor(device, c.Input, c.Amount), c.Expected) << c.Name;
}

TEST(ColorMath, LightenColorEndsWithTheDevicesNearestColour)
{
    const TFakeColorDevice coarse(8, 64);
    // 100 + Round(155 x 0.3 = 46.5) = 146 -> snapped to 128 by the device.
    EXPECT_EQ(LightenColor(coarse, RgbColor(100, 100, 100), 30), RgbColor(128, 128, 128));
}

TEST(ColorMath, GrayColorAveragesAddsLevelAndCapsAt240)
{
    const TFakeColorDevice device;
    const TColorCase cases[] = {
        {"average plus level", RgbColor(10, 20, 31), 10, RgbColor(30, 30, 30)},
        {"capped", RgbColor(250, 250, 250), 10, RgbColor(240, 240, 240)},
        {"white with no level still capped", clWhite, 0, RgbColor(240, 240, 240)},
        {"system colour resolved", clBtnShadow, 0, RgbColor(128, 128, 128)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GrayColor(device, c.Input, c.Amount), c.Expected) << c.Name;
}

TEST(ColorMath, ContrastTextColorKeepsFontColourOnLightBackgrounds)
{
    const TFakeColorDevice device;
    const TColor font = RgbColor(5, 6, 7);
    EXPECT_EQ(ContrastTextColor(device, RgbColor(160, 0, 160), font), font);  // red/blue average 160
    EXPECT_EQ(ContrastTextColor(device, RgbColor(0, 201, 0), font), font);    // bright green
    EXPECT_EQ(ContrastTextColor(device, RgbColor(150, 200, 151), font),       // neither quite
              LightenColor(device, RgbColor(150, 200, 151), 90));
    EXPECT_EQ(ContrastTextColor(device, clHighlight, font), LightenColor(device, clHighlight, 90));
}

} // namespace
