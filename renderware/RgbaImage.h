#pragma once
// A decoded picture: rows top to bottom, 4 bytes per pixel in the order red,
// green, blue, alpha (straight, not premultiplied).

#include <cstdint>
#include <vector>

namespace vehmira::renderware {

struct TRgbaImage {
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::vector<std::uint8_t> Pixels;

    bool Empty() const { return Pixels.empty(); }
    std::uint8_t* At(std::uint32_t x, std::uint32_t y) { return &Pixels[(std::size_t(y) * Width + x) * 4]; }
    const std::uint8_t* At(std::uint32_t x, std::uint32_t y) const { return &Pixels[(std::size_t(y) * Width + x) * 4]; }
};

} // namespace vehmira::renderware
