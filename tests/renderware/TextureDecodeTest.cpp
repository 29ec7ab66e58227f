#include "renderware/PixelDecode.h"

#include "fileio/Errors.h"
#include "support/RwStreamBuilder.h"
#include "renderware/TextureEncoder.h"

#include <gtest/gtest.h>

#include <string>

using namespace vehmira;
using namespace vehmira::fileio;
using namespace vehmira::renderware;

using namespace RwTest;
using renderware::TTextureFormat;

namespace {

std::vector<TPixel> PixelsOf(const renderware::TRgbaImage& image)
{
    std::vector<TPixel> pixels;
    for (std::size_t i = 0; i < image.Pixels.size(); i += 4)
        pixels.push_back({image.Pixels[i], image.Pixels[i + 1], image.Pixels[i + 2], image.Pixels[i + 3]});
    return pixels;
}

std::string Describe(const std::vector<TPixel>& pixels)
{
    std::string text;
    for (const TPixel& p : pixels)
        text += "(" + std::to_string(p[0]) + "," + std::to_string(p[1]) + "," + std::to_string(p[2]) + "," +
                std::to_string(p[3]) + ") ";
    return text;
}

constexpr TPixel Red{255, 0, 0, 255}, Green{0, 255, 0, 255}, Blue{0, 0, 255, 255}, Clear{0, 0, 0, 0};

struct TLiteralCase {
    std::string What;
    TTextureFormat Format;
    std::uint32_t Width, Height;
    ByteBuffer Data;
    ByteBuffer Palette;
    std::vector<TPixel> Expected;
};

std::vector<TLiteralCase> LiteralCases()
{
    const std::array<std::uint8_t, 16> ramp{0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3};
    std::vector<TPixel> fourColour, threeColour;
    for (int i = 0; i < 16; ++i) {
        fourColour.push_back(std::array<TPixel, 4>{Red, Blue, TPixel{170, 0, 85, 255}, TPixel{85, 0, 170, 255}}[i % 4]);
        threeColour.push_back(std::array<TPixel, 4>{Blue, Red, TPixel{127, 0, 127, 255}, Clear}[i % 4]);
    }
    std::array<std::uint8_t, 16> alpha4{}, alphaIndices{};
    std::vector<TPixel> dxt3, dxt5Eight, dxt5Six;
    const std::array<std::uint8_t, 8> eightAlphas{255, 0, 218, 182, 145, 109, 72, 36};
    const std::array<std::uint8_t, 8> sixAlphas{0, 255, 51, 102, 153, 204, 0, 255};
    for (int i = 0; i < 16; ++i) {
        alpha4[i] = std::uint8_t(i);
        alphaIndices[i] = std::uint8_t(i % 8);
        // colour0 < colour1 must still give four opaque colours outside DXT1.
        dxt3.push_back({std::array<std::uint8_t, 4>{0, 255, 85, 170}[i % 4], 0, 0, std::uint8_t(i * 17)});
        dxt5Eight.push_back({255, 255, 255, eightAlphas[i % 8]});
        dxt5Six.push_back({255, 255, 255, sixAlphas[i % 8]});
    }
    return {
        {"A8R8G8B8 byte order", TTextureFormat::A8R8G8B8, 1, 1, {0x10, 0x20, 0x30, 0x40}, {}, {{0x30, 0x20, 0x10, 0x40}}},
        {"X8R8G8B8 ignores X", TTextureFormat::X8R8G8B8, 1, 1, {0x10, 0x20, 0x30, 0x00}, {}, {{0x30, 0x20, 0x10, 255}}},
        {"R5G6B5", TTextureFormat::R5G6B5, 3, 1, {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00}, {}, {Red, Green, Blue}},
        {"A1R5G5B5", TTextureFormat::A1R5G5B5, 2, 1, {0x00, 0x7C, 0x1F, 0x80}, {}, {{255, 0, 0, 0}, Blue}},
        {"X1R5G5B5", TTextureFormat::X1R5G5B5, 1, 1, {0xE0, 0x03}, {}, {Green}},
        {"A4R4G4B4", TTextureFormat::A4R4G4B4, 2, 1, {0x0F, 0xF0, 0x80, 0x7F}, {}, {Blue, {255, 136, 0, 119}}},
        {"L8", TTextureFormat::L8, 2, 1, {0x00, 0x9C}, {}, {{0, 0, 0, 255}, {0x9C, 0x9C, 0x9C, 255}}},
        {"PAL4 odd width", TTextureFormat::PAL4, 3, 2, {0x21, 0x03, 0x10, 0x02},
         EncodePalette({Clear, Red, Green, Blue, Red, Red, Red, Red, Red, Red, Red, Red, Red, Red, Red, Red}),
         {Red, Green, Blue, Clear, Red, Green}},
        {"DXT1 four colours", TTextureFormat::DXT1, 4, 4, Dxt1Block(0xF800, 0x001F, ramp), {}, fourColour},
        {"DXT1 three colours and transparent", TTextureFormat::DXT1, 4, 4, Dxt1Block(0x001F, 0xF800, ramp), {},
         threeColour},
        {"DXT3", TTextureFormat::DXT3, 4, 4, Dxt3Block(alpha4, 0x0000, 0xF800, ramp), {}, dxt3},
        {"DXT5 eight alphas", TTextureFormat::DXT5, 4, 4, Dxt5Block(255, 0, alphaIndices, 0xFFFF, 0xFFFF, {}), {},
         dxt5Eight},
        {"DXT5 six alphas", TTextureFormat::DXT5, 4, 4, Dxt5Block(0, 255, alphaIndices, 0xFFFF, 0xFFFF, {}), {},
         dxt5Six},
    };
}

TEST(TextureDecode, KnownBytesGiveKnownPixels)
{
    for (const TLiteralCase& test : LiteralCases()) {
        const renderware::TRgbaImage image =
            renderware::DecodeLevel(test.Format, test.Width, test.Height, test.Data, test.Palette);
        ASSERT_EQ(image.Width, test.Width) << test.What;
        ASSERT_EQ(image.Height, test.Height) << test.What;
        EXPECT_EQ(PixelsOf(image), test.Expected) << test.What << ": " << Describe(PixelsOf(image));
    }
}

// Pixels whose channels survive each format's bit depth, encoded and decoded back.
TEST(TextureDecode, EncodedPixelsComeBack)
{
    const std::vector<TPixel> exact8{{0x12, 0x34, 0x56, 0x78}, {0, 0, 0, 0}, {255, 255, 255, 255}, {1, 128, 254, 77},
                                     {9, 8, 7, 6}, {200, 100, 50, 25}};
    auto opaque = [](std::vector<TPixel> pixels) {
        for (TPixel& p : pixels)
            p[3] = 255;
        return pixels;
    };
    const std::vector<TPixel> exact5{{132, 66, 0, 255}, {255, 0, 132, 0}, {0, 255, 66, 255}, {8, 16, 33, 255},
                                     {66, 66, 66, 0}, {255, 255, 255, 255}};
    const std::vector<TPixel> exact565{{132, 65, 0, 255}, {255, 130, 132, 255}, {0, 255, 66, 255}, {8, 4, 33, 255},
                                       {66, 0, 66, 255}, {255, 255, 255, 255}};
    const std::vector<TPixel> exact4{{17, 34, 51, 68}, {0, 0, 0, 0}, {255, 255, 255, 255}, {136, 119, 102, 85},
                                     {255, 0, 255, 0}, {0, 255, 0, 255}};
    struct TCase {
        TTextureFormat Format;
        std::vector<TPixel> Pixels;
    };
    const std::vector<TCase> cases{{TTextureFormat::A8R8G8B8, exact8},   {TTextureFormat::X8R8G8B8, opaque(exact8)},
                                   {TTextureFormat::R5G6B5, exact565},   {TTextureFormat::A1R5G5B5, exact5},
                                   {TTextureFormat::X1R5G5B5, opaque(exact5)}, {TTextureFormat::A4R4G4B4, exact4}};
    for (const TCase& test : cases) {
        const renderware::TRgbaImage image =
            renderware::DecodeLevel(test.Format, 3, 2, EncodePixels(test.Format, test.Pixels), {});
        EXPECT_EQ(PixelsOf(image), test.Pixels)
            << renderware::TextureFormatName(test.Format) << ": " << Describe(PixelsOf(image));
    }
}

TEST(TextureDecode, PalettesMapEveryIndex)
{
    std::vector<TPixel> palette;
    for (int i = 0; i < 256; ++i)
        palette.push_back({std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i * 7), std::uint8_t(i ^ 0x5A)});
    for (const TTextureFormat format : {TTextureFormat::PAL8, TTextureFormat::PAL4}) {
        const std::uint32_t entries = renderware::PaletteEntryCount(format);
        const std::uint32_t width = 5, height = entries == 256 ? 52 : 4;
        std::vector<std::uint8_t> indices;
        std::vector<TPixel> expected;
        for (std::uint32_t i = 0; i < width * height; ++i) {
            indices.push_back(std::uint8_t((i * 37) % entries));
            expected.push_back(palette[indices.back()]);
        }
        const std::vector<TPixel> used(palette.begin(), palette.begin() + entries);
        const renderware::TRgbaImage image = renderware::DecodeLevel(
            format, width, height, EncodeIndices(format, indices, width, height), EncodePalette(used));
        EXPECT_EQ(PixelsOf(image), expected) << renderware::TextureFormatName(format);
    }
}

// A 6 × 5 DXT1 texture spans 2 × 2 blocks; the pixels past the edge are dropped.
TEST(TextureDecode, DxtBlocksAtTheEdgesAreCut)
{
    const std::array<std::uint8_t, 16> zeros{};
    ByteBuffer data;
    for (const std::uint16_t colour : {0xF800, 0x07E0, 0x001F, 0xFFFF}) {
        const ByteBuffer block = Dxt1Block(colour, 0, zeros);
        data.insert(data.end(), block.begin(), block.end());
    }
    const renderware::TRgbaImage image = renderware::DecodeLevel(TTextureFormat::DXT1, 6, 5, data, {});
    const std::vector<TPixel> pixels = PixelsOf(image);
    ASSERT_EQ(pixels.size(), 30u);
    EXPECT_EQ(pixels[0], Red);
    EXPECT_EQ(pixels[5], Green);
    EXPECT_EQ(pixels[4 * 6 + 3], Blue);
    EXPECT_EQ(pixels[4 * 6 + 5], (TPixel{255, 255, 255, 255}));
}

TEST(TextureDecode, SizesThatDoNotMatchAreRefused)
{
    struct TCase {
        std::string What;
        TTextureFormat Format;
        std::uint32_t Width, Height;
        std::size_t DataSize, PaletteSize;
    };
    const std::vector<TCase> cases{
        {"one byte short", TTextureFormat::A8R8G8B8, 2, 2, 15, 0},
        {"one byte over", TTextureFormat::DXT5, 4, 4, 17, 0},
        {"palette missing", TTextureFormat::PAL8, 2, 2, 4, 0},
        {"zero width", TTextureFormat::L8, 0, 2, 0, 0},
        {"wider than allowed", TTextureFormat::L8, 4097, 1, 4097, 0},
        {"unknown format", TTextureFormat::Unknown, 1, 1, 4, 0},
    };
    for (const TCase& test : cases)
        EXPECT_THROW(renderware::DecodeLevel(test.Format, test.Width, test.Height, ByteBuffer(test.DataSize),
                                             ByteBuffer(test.PaletteSize)),
                     TVehmiraError)
            << test.What;
}

} // namespace
