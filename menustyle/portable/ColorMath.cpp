#include "menustyle/portable/ColorMath.h"

#include <algorithm>
#include <cmath>

namespace vehmira::menustyle {

TColor ResolveColor(const TColorDevice& device, TColor color)
{
    if (IsSystemColor(color))
        return device.SystemColorRgb(SystemColorIndex(color)) & 0x00FFFFFFu;
    return color & 0x00FFFFFFu;
}

int RoundHalfEven(double value)
{
    const double lower = std::floor(value);
    const double fraction = value - lower;
    const auto whole = static_cast<long long>(lower);
    if (fraction < 0.5)
        return static_cast<int>(whole);
    if (fraction > 0.5)
        return static_cast<int>(whole + 1);
    return static_cast<int>(whole % 2 == 0 ? whole : whole + 1);
}

TColor DarkenColor(const TColorDevice& device, TColor color, int amount)
{
    const TColor rgb = ResolveColor(device, color);
    const auto clampChannel = [](int value) { return std::clamp(value, 0, 255); };
    return RgbColor(clampChannel(RedOf(rgb) - amount), clampChannel(GreenOf(rgb) - amount + 2),
                    clampChannel(BlueOf(rgb) - amount));
}

TColor LightenColor(const TColorDevice& device, TColor color, int percent)
{
    percent = std::min(percent, 100);
    const TColor rgb = ResolveColor(device, color);
    const double factor = percent / 100.0;
    // A negative percent would push a channel below 0; it stops at 0 instead of
    // wrapping round to a bright value.
    const auto lightenChannel = [factor](int channel) {
        return std::max(0, channel + RoundHalfEven((255 - channel) * factor)) & 0xFF;
    };
    const TColor lightened =
        RgbColor(lightenChannel(RedOf(rgb)), lightenChannel(GreenOf(rgb)), lightenChannel(BlueOf(rgb)));
    return device.NearestColor(lightened) & 0x00FFFFFFu;
}

TColor GrayColor(const TColorDevice& device, TColor color, int level)
{
    constexpr int BrightestGray = 240;
    const TColor rgb = ResolveColor(device, color);
    const int value =
        std::clamp((RedOf(rgb) + GreenOf(rgb) + BlueOf(rgb)) / 3 + level, 0, BrightestGray);
    return RgbColor(value, value, value);
}

TColor ContrastTextColor(const TColorDevice& device, TColor background, TColor fontColor)
{
    const TColor rgb = ResolveColor(device, background);
    if ((RedOf(rgb) + BlueOf(rgb)) / 2 > 150 || GreenOf(rgb) > 200)
        return fontColor;
    return LightenColor(device, background, 90);
}

} // namespace vehmira::menustyle
