#pragma once
// The working colours every paint of the styler uses, derived at the start of
// each paint from the styler's colour properties or from the system colours.

#include "menustyle/portable/ColorMath.h"

namespace vehmira::menustyle {

// The styler properties the working colours depend on.
struct TColorProperties {
    TColor Color = clBtnFace;
    TColor IconBackColor = clBtnFace;
    TColor MenuBarColor = clBtnFace;
    TColor SelectColor = clHighlight;
    TColor SelectBorderColor = clHighlight;
    TColor SelectFontColor = clMenuText;
    TColor DisabledColor = clInactiveCaption;
    TColor SeparatorColor = clBtnFace;
    TColor CheckedColor = clHighlight;
    TColor FontColor = clMenuText;
    bool UseSystemColors = true;
    bool UseDimColor = false;
};

struct TWorkColors {
    bool IsHighColor = false; // the device shows at least 16 bits per pixel
    TColor WorkBackColor = clWhite;
    TColor WorkIconBackColor = clBtnFace;
    TColor WorkSelectColor = clWhite;
    TColor WorkSelectBorderColor = clHighlight;
    TColor WorkSelectFontColor = clMenuText;
    TColor WorkCheckFillColor = clWhite;
    TColor WorkCheckFillSelectedColor = clWhite;
    TColor WorkCheckedColor = clHighlight;
    TColor WorkMenuBarColor = clBtnFace;
    TColor WorkDisabledColor = clBtnShadow;
    TColor WorkSeparatorColor = clBtnShadow;
    TColor WorkFlatBorderColor = clBtnShadow;
    TColor WorkFlatShadowColor = clBtnShadow;
};

constexpr int HighColorBits = 16;

TWorkColors ComputeWorkColors(const TColorProperties& properties, const TColorDevice& device);

} // namespace vehmira::menustyle
