#pragma once
// A colour device with a fixed system palette, a chosen colour depth and an
// optional quantisation standing in for the device's nearest colour.

#include "menustyle/portable/ColorMath.h"

#include <map>

class TFakeColorDevice : public TColorDevice {
public:
    explicit TFakeColorDevice(int bitsPerPixel = 32, int quantum = 1) : Bits(bitsPerPixel), Quantum(quantum)
    {
        System[15] = RgbColor(212, 208, 200); // button face
        System[13] = RgbColor(10, 36, 106);   // highlight
        System[7] = RgbColor(1, 2, 3);        // menu text
        System[16] = RgbColor(128, 128, 128); // button shadow
        System[3] = RgbColor(122, 150, 223);  // inactive caption
        System[5] = RgbColor(255, 255, 255);  // window
    }
    TColor SystemColorRgb(int index) const override
    {
        const auto found = System.find(index);
        return found == System.end() ? clBlack : found->second;
    }
    TColor NearestColor(TColor rgb) const override
    {
        const auto snap = [this](int channel) { return channel / Quantum * Quantum; };
        return RgbColor(snap(RedOf(rgb)), snap(GreenOf(rgb)), snap(BlueOf(rgb)));
    }
    int BitsPerPixel() const override { return Bits; }

    std::map<int, TColor> System;
    int Bits;
    int Quantum;
};
