#pragma once
// Colour values and the colour arithmetic of the menu styling. Portable: the
// platform supplies system colours, the nearest displayable colour and the
// colour depth through TColorDevice.

#include <cstdint>

namespace vehmira::menustyle {

// A literal RGB value (red in the low byte, then green, then blue), or a system
// colour: top byte 0xFF and the platform's system colour index in the low byte.
using TColor = std::uint32_t;

constexpr TColor SystemColorFlag = 0xFF000000u;

constexpr TColor SystemColor(int index) { return SystemColorFlag | static_cast<TColor>(index & 0xFF); }
constexpr bool IsSystemColor(TColor color) { return (color & 0xFF000000u) == SystemColorFlag; }
constexpr int SystemColorIndex(TColor color) { return static_cast<int>(color & 0xFF); }

constexpr TColor RgbColor(int red, int green, int blue)
{
    return static_cast<TColor>(red & 0xFF) | (static_cast<TColor>(green & 0xFF) << 8) |
           (static_cast<TColor>(blue & 0xFF) << 16);
}
constexpr int RedOf(TColor color) { return static_cast<int>(color & 0xFF); }
constexpr int GreenOf(TColor color) { return static_cast<int>((color >> 8) & 0xFF); }
constexpr int BlueOf(TColor color) { return static_cast<int>((color >> 16) & 0xFF); }

// System colours by the platform's colour table indices.
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clBtnText = SystemColor(18);

constexpr TColor clWhite = RgbColor(255, 255, 255);
constexpr TColor clSilver = RgbColor(192, 192, 192);
constexpr TColor clGray = RgbColor(128, 128, 128);
constexpr TColor clBlack = RgbColor(0, 0, 0);

// What the colour arithmetic needs from the device it paints on.
class TColorDevice {
public:
    virtual ~TColorDevice() = default;
    virtual TColor SystemColorRgb(int index) const = 0;
    // The closest colour the device can show (an RGB value in, an RGB value out).
    virtual TColor NearestColor(TColor rgb) const = 0;
    virtual int BitsPerPixel() const = 0;
};

// A system colour becomes its current RGB value; a literal colour stays.
TColor ResolveColor(const TColorDevice& device, TColor color);

// Round to nearest, an exact half to the even neighbour.
int RoundHalfEven(double value);

// Red and blue lose `amount`, green two less; each clamped to 0..255. A
// negative amount lightens.
TColor DarkenColor(const TColorDevice& device, TColor color, int amount);

// Each channel moves `percent` of the way towards 255 (percent above 100 acts
// as 100), then the device's nearest colour is taken.
TColor LightenColor(const TColorDevice& device, TColor color, int percent);

// The grey of the channel average plus `level`, never above 240.
TColor GrayColor(const TColorDevice& device, TColor color, int level);

// Text colour readable on `background`: the font colour on light backgrounds,
// otherwise a strongly lightened background.
TColor ContrastTextColor(const TColorDevice& device, TColor background, TColor fontColor);

} // namespace vehmira::menustyle
