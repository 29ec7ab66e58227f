#include "menustyle/portable/WorkColors.h"

namespace vehmira::menustyle {

namespace {

void ApplySystemColors(TWorkColors& work, const TColorProperties& properties, const TColorDevice& device)
{
    work.WorkSelectBorderColor = clHighlight;
    work.WorkSelectFontColor = properties.FontColor;
    work.WorkCheckedColor = clHighlight;
    work.WorkMenuBarColor = clBtnFace;
    if (work.IsHighColor) {
        work.WorkBackColor = LightenColor(device, clBtnFace, 86);
        work.WorkIconBackColor = LightenColor(device, clBtnFace, 16);
        work.WorkSelectColor = LightenColor(device, clHighlight, 68);
        work.WorkCheckFillColor = LightenColor(device, clHighlight, 80);
        work.WorkCheckFillSelectedColor = LightenColor(device, clHighlight, 50);
        work.WorkDisabledColor = LightenColor(device, clBtnShadow, 10);
        work.WorkSeparatorColor = LightenColor(device, clBtnShadow, 25);
    } else {
        work.WorkBackColor = clWhite;
        work.WorkIconBackColor = clBtnFace;
        work.WorkSelectColor = clWhite;
        work.WorkCheckFillColor = clWhite;
        work.WorkCheckFillSelectedColor = clWhite;
        work.WorkDisabledColor = clBtnShadow;
        work.WorkSeparatorColor = clBtnShadow;
    }
}

void ApplyOwnColors(TWorkColors& work, const TColorProperties& properties, const TColorDevice& device)
{
    work.WorkBackColor = properties.Color;
    work.WorkIconBackColor = properties.IconBackColor;
    work.WorkSelectBorderColor = properties.SelectBorderColor;
    work.WorkSelectFontColor = properties.SelectFontColor;
    work.WorkCheckedColor = properties.CheckedColor;
    work.WorkMenuBarColor = properties.MenuBarColor;
    work.WorkDisabledColor = properties.DisabledColor;
    work.WorkSeparatorColor = properties.SeparatorColor;
    const TColor select = properties.SelectColor;
    if (work.IsHighColor) {
        const bool dim = properties.UseDimColor;
        work.WorkSelectColor = dim ? LightenColor(device, select, 68) : select;
        work.WorkCheckFillColor = dim ? LightenColor(device, select, 80) : select;
        work.WorkCheckFillSelectedColor = dim ? LightenColor(device, select, 50) : select;
    } else {
        work.WorkSelectColor = select;
        work.WorkCheckFillColor = clWhite;
        work.WorkCheckFillSelectedColor = clSilver;
    }
}

} // namespace

TWorkColors ComputeWorkColors(const TColorProperties& properties, const TColorDevice& device)
{
    TWorkColors work;
    work.IsHighColor = device.BitsPerPixel() >= HighColorBits;
    if (work.IsHighColor) {
        work.WorkFlatBorderColor = DarkenColor(device, clBtnFace, 90);
        work.WorkFlatShadowColor = DarkenColor(device, clBtnFace, 76);
    } else {
        work.WorkFlatBorderColor = clBtnShadow;
        work.WorkFlatShadowColor = clBtnShadow;
    }
    if (properties.UseSystemColors)
        ApplySystemColors(work, properties, device);
    else
        ApplyOwnColors(work, properties, device);
    return work;
}

} // namespace vehmira::menustyle
