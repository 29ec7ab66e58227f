#include "renderware/PixelDecode.h"

#include "fileio/Errors.h"
#include "renderware/DxtDecode.h"

#include <string>

namespace vehmira::renderware {

namespace {

std::uint8_t Expand5(std::uint32_t value) { return std::uint8_t(value << 3 | value >> 2); }
std::uint8_t Expand6(std::uint32_t value) { return std::uint8_t(value << 2 | value >> 4); }
std::uint8_t Expand4(std::uint32_t value) { return std::uint8_t(value * 17); }

void Put(std::uint8_t* out, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a)
{
    out[0] = r;
    out[1] = g;
    out[2] = b;
    out[3] = a;
}

void DecodeSixteenBit(TTextureFormat format, const std::uint8_t* in, std::uint8_t* out)
{
    const std::uint32_t v = std::uint32_t(in[0]) | std::uint32_t(in[1]) << 8;
    switch (format) {
    case TTextureFormat::R5G6B5: Put(out, Expand5(v >> 11 & 0x1F), Expand6(v >> 5 & 0x3F), Expand5(v & 0x1F), 255); break;
    case TTextureFormat::A1R5G5B5:
        Put(out, Expand5(v >> 10 & 0x1F), Expand5(v >> 5 & 0x1F), Expand5(v & 0x1F), (v & 0x8000) ? 255 : 0);
        break;
    case TTextureFormat::X1R5G5B5: Put(out, Expand5(v >> 10 & 0x1F), Expand5(v >> 5 & 0x1F), Expand5(v & 0x1F), 255); break;
    default: Put(out, Expand4(v >> 8 & 0xF), Expand4(v >> 4 & 0xF), Expand4(v & 0xF), Expand4(v >> 12)); break;
    }
}

void DecodePixels(TTextureFormat format, std::span<const std::uint8_t> data, std::span<const std::uint8_t> palette,
                  TRgbaImage& image)
{
    const std::uint8_t* in = data.data();
    std::uint8_t* out = image.Pixels.data();
    const std::size_t count = std::size_t(image.Width) * image.Height;
    switch (format) {
    case TTextureFormat::A8R8G8B8:
    case TTextureFormat::X8R8G8B8: {
        const bool opaque = format == TTextureFormat::X8R8G8B8;
        for (std::size_t i = 0; i < count; ++i, in += 4, out += 4)
            Put(out, in[2], in[1], in[0], opaque ? 255 : in[3]);
        break;
    }
    case TTextureFormat::L8:
        for (std::size_t i = 0; i < count; ++i, ++in, out += 4)
            Put(out, *in, *in, *in, 255);
        break;
    case TTextureFormat::PAL8:
        for (std::size_t i = 0; i < count; ++i, ++in, out += 4)
            Put(out, palette[*in * 4u], palette[*in * 4u + 1], palette[*in * 4u + 2], palette[*in * 4u + 3]);
        break;
    case TTextureFormat::PAL4: {
        const std::size_t rowBytes = (image.Width + 1) / 2;
        for (std::uint32_t y = 0; y < image.Height; ++y)
            for (std::uint32_t x = 0; x < image.Width; ++x, out += 4) {
                const unsigned index = (in[y * rowBytes + x / 2] >> (x % 2 * 4)) & 0xF;
                Put(out, palette[index * 4], palette[index * 4 + 1], palette[index * 4 + 2], palette[index * 4 + 3]);
            }
        break;
    }
    default:
        for (std::size_t i = 0; i < count; ++i, in += 2, out += 4)
            DecodeSixteenBit(format, in, out);
        break;
    }
}

} // namespace

TRgbaImage DecodeLevel(TTextureFormat format, std::uint32_t width, std::uint32_t height,
                       std::span<const std::uint8_t> data, std::span<const std::uint8_t> palette)
{
    if (format == TTextureFormat::Unknown)
        throw fileio::TVehmiraError("texture: the pixel format is not one Vehmira decodes");
    if (width == 0 || height == 0 || width > MaxTextureSide || height > MaxTextureSide)
        throw fileio::TVehmiraError("texture: size " + std::to_string(width) + " x " + std::to_string(height) +
                                    " is outside 1 to " + std::to_string(MaxTextureSide));
    const std::uint64_t expected = LevelDataSize(format, width, height);
    if (data.size() != expected)
        throw fileio::TVehmiraError("texture: " + std::string(TextureFormatName(format)) + " level of " +
                                    std::to_string(width) + " x " + std::to_string(height) + " needs " +
                                    std::to_string(expected) + " bytes, has " + std::to_string(data.size()));
    if (palette.size() != std::size_t(PaletteEntryCount(format)) * 4)
        throw fileio::TVehmiraError("texture: the palette has " + std::to_string(palette.size()) + " bytes, needs " +
                                    std::to_string(PaletteEntryCount(format) * 4));
    TRgbaImage image;
    image.Width = width;
    image.Height = height;
    image.Pixels.resize(std::size_t(width) * height * 4);
    if (format == TTextureFormat::DXT1 || format == TTextureFormat::DXT3 || format == TTextureFormat::DXT5)
        DecodeDxtLevel(format, data, image);
    else
        DecodePixels(format, data, palette, image);
    return image;
}

} // namespace vehmira::renderware
