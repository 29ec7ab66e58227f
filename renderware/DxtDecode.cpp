#include "renderware/DxtDecode.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vehmira::renderware {

namespace {

// A block's 16 pixels, RGBA, row by row.
using TBlockPixels = std::array<std::uint8_t, 64>;

std::uint32_t U16At(const std::uint8_t* bytes) { return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8; }

std::array<std::uint8_t, 4> Expand565(std::uint32_t colour)
{
    const std::uint32_t r = colour >> 11 & 0x1F, g = colour >> 5 & 0x3F, b = colour & 0x1F;
    return {std::uint8_t(r << 3 | r >> 2), std::uint8_t(g << 2 | g >> 4), std::uint8_t(b << 3 | b >> 2), 255};
}

std::array<std::uint8_t, 4> Mix(const std::array<std::uint8_t, 4>& a, const std::array<std::uint8_t, 4>& b,
                                unsigned weightA, unsigned weightB)
{
    const unsigned sum = weightA + weightB;
    return {std::uint8_t((a[0] * weightA + b[0] * weightB) / sum), std::uint8_t((a[1] * weightA + b[1] * weightB) / sum),
            std::uint8_t((a[2] * weightA + b[2] * weightB) / sum), 255};
}

void DecodeColourBlock(const std::uint8_t* block, bool allowTransparent, TBlockPixels& pixels)
{
    const std::uint32_t colour0 = U16At(block), colour1 = U16At(block + 2);
    std::array<std::array<std::uint8_t, 4>, 4> palette;
    palette[0] = Expand565(colour0);
    palette[1] = Expand565(colour1);
    if (colour0 > colour1 || !allowTransparent) {
        palette[2] = Mix(palette[0], palette[1], 2, 1);
        palette[3] = Mix(palette[0], palette[1], 1, 2);
    } else {
        palette[2] = Mix(palette[0], palette[1], 1, 1);
        palette[3] = {0, 0, 0, 0};
    }
    std::uint32_t indices = std::uint32_t(block[4]) | std::uint32_t(block[5]) << 8 | std::uint32_t(block[6]) << 16 |
                            std::uint32_t(block[7]) << 24;
    for (std::size_t i = 0; i < 16; ++i, indices >>= 2)
        std::memcpy(&pixels[i * 4], palette[indices & 3].data(), 4);
}

void DecodeExplicitAlpha(const std::uint8_t* block, TBlockPixels& pixels)
{
    for (int i = 0; i < 16; ++i)
        pixels[i * 4 + 3] = std::uint8_t(((block[i / 2] >> (i % 2 * 4)) & 0xF) * 17);
}

void DecodeInterpolatedAlpha(const std::uint8_t* block, TBlockPixels& pixels)
{
    const unsigned alpha0 = block[0], alpha1 = block[1];
    std::array<std::uint8_t, 8> alphas{std::uint8_t(alpha0), std::uint8_t(alpha1)};
    if (alpha0 > alpha1) {
        for (unsigned i = 1; i <= 6; ++i)
            alphas[i + 1] = std::uint8_t(((7 - i) * alpha0 + i * alpha1) / 7);
    } else {
        for (unsigned i = 1; i <= 4; ++i)
            alphas[i + 1] = std::uint8_t(((5 - i) * alpha0 + i * alpha1) / 5);
        alphas[6] = 0;
        alphas[7] = 255;
    }
    std::uint64_t indices = 0;
    for (int i = 0; i < 6; ++i)
        indices |= std::uint64_t(block[2 + i]) << (8 * i);
    for (std::size_t i = 0; i < 16; ++i, indices >>= 3)
        pixels[i * 4 + 3] = alphas[indices & 7];
}

// Blocks at the right and bottom edges may reach past the image: those
// pixels are dropped.
void StoreBlock(const TBlockPixels& pixels, std::uint32_t blockX, std::uint32_t blockY, TRgbaImage& image)
{
    const std::uint32_t columns = std::min<std::uint32_t>(4, image.Width - blockX * 4);
    const std::uint32_t rows = std::min<std::uint32_t>(4, image.Height - blockY * 4);
    for (std::uint32_t row = 0; row < rows; ++row) {
        std::uint8_t* out = image.At(blockX * 4, blockY * 4 + row);
        if (columns == 4)
            std::memcpy(out, &pixels[row * 16], 16);  // the common case, as one fixed-size copy
        else
            std::memcpy(out, &pixels[row * 16], columns * 4);
    }
}

} // namespace

void DecodeDxtLevel(TTextureFormat format, std::span<const std::uint8_t> data, TRgbaImage& image)
{
    const std::size_t blockSize = format == TTextureFormat::DXT1 ? 8 : 16;
    const std::uint32_t blocksAcross = (image.Width + 3) / 4, blocksDown = (image.Height + 3) / 4;
    const std::uint8_t* block = data.data();
    TBlockPixels pixels;
    for (std::uint32_t blockY = 0; blockY < blocksDown; ++blockY)
        for (std::uint32_t blockX = 0; blockX < blocksAcross; ++blockX, block += blockSize) {
            if (format == TTextureFormat::DXT1) {
                DecodeColourBlock(block, true, pixels);
            } else {
                DecodeColourBlock(block + 8, false, pixels);
                if (format == TTextureFormat::DXT3)
                    DecodeExplicitAlpha(block, pixels);
                else
                    DecodeInterpolatedAlpha(block, pixels);
            }
            StoreBlock(pixels, blockX, blockY, image);
        }
}

} // namespace vehmira::renderware
