#pragma once
// A colour device with a fixed system palette, a chosen colour depth and an
// optional quantisation standing in for the device's nearest colour.

#include "menustyle/portable/ColorMath.h"

#include <map>

class TFakeColorDevice : public vehmira::menustyle::TColorDevice {
public:
    explicit TFakeColorDevice(int bitsPerPixel = 32, int quantum = 1) : Bits(bitsPerPixel), Quantum(quantum)
    {
        System[15] = vehmira::menustyle::RgbColor(212, 208, 200); // button face
        System[13] = vehmira::menustyle::RgbColor(10, 36, 106);   // highlight
        System[7] = vehmira::menustyle::RgbColor(1, 2, 3);        // menu text
        System[16] = vehmira::menustyle::RgbColor(128, 128, 128); // button shadow
        System[3] = vehmira::menustyle::RgbColor(122, 150, 223);  // inactive caption
        System[5] = vehmira::menustyle::RgbColor(255, 255, 255);  // window
    }
    vehmira::menustyle::TColor SystemColorRgb(int index) const override
    {
        const auto found = System.find(index);
        return found == System.end() ? vehmira::menustyle::clBlack : found->second;
    }
    vehmira::menustyle::TColor NearestColor(vehmira::menustyle::TColor rgb) const override
    {
        const auto snap = [this](int channel) { return channel / Quantum * Quantum; };
        return vehmira::menustyle::RgbColor(snap(vehmira::menustyle::RedOf(rgb)),
                                            snap(vehmira::menustyle::GreenOf(rgb)),
                                            snap(vehmira::menustyle::BlueOf(rgb)));
    }
    int BitsPerPixel() const override { return Bits; }

    std::map<int, vehmira::menustyle::TColor> System;
    int Bits;
    int Quantum;
};
