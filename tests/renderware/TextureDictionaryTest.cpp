#include "renderware/TextureDictionary.h"

#include "fileio/Errors.h"
#include "support/RwStreamBuilder.h"
#include "renderware/TextureEncoder.h"

#include <gtest/gtest.h>

#include <future>
#include <string>

using namespace vehmira;
using namespace vehmira::fileio;
using namespace vehmira::renderware;

using namespace RwTest;
using renderware::TTextureFormat;

namespace {

constexpr std::uint32_t Pal8 = 0x2000, Pal4 = 0x4000;

std::uint32_t FourCC(const char* text)
{
    return std::uint32_t(std::uint8_t(text[0])) | std::uint32_t(std::uint8_t(text[1])) << 8 |
           std::uint32_t(std::uint8_t(text[2])) << 16 | std::uint32_t(std::uint8_t(text[3])) << 24;
}

// A 4 × 2 picture whose colours every format holds exactly.
const std::vector<TPixel> Picture{{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 255},
                                  {0, 0, 0, 255},   {255, 255, 0, 255}, {255, 0, 255, 255}, {0, 255, 255, 255}};

struct TFormatCase {
    std::string Name;
    TTextureFormat Format;
    TTestTexture Texture;
};

TTestTexture Plain(std::string name, std::uint32_t platform, std::uint32_t raster, std::uint32_t fourth,
                   std::uint8_t depth, std::uint8_t flags, TTextureFormat format)
{
    TTestTexture texture;
    texture.Name = std::move(name);
    texture.PlatformId = platform;
    texture.RasterFormat = raster;
    texture.D3DFormatOrAlpha = fourth;
    texture.Width = 4;
    texture.Height = 2;
    texture.Depth = depth;
    texture.Flags = flags;
    texture.Levels = {EncodePixels(format, Picture)};
    return texture;
}

TTestTexture Paletted(std::string name, std::uint32_t platform, TTextureFormat format)
{
    TTestTexture texture = Plain(std::move(name), platform, (format == TTextureFormat::PAL8 ? Pal8 : Pal4) | 0x0500,
                                 platform == 9 ? 41 : 0, format == TTextureFormat::PAL8 ? 8 : 4, 0, format);
    std::vector<TPixel> palette = Picture;
    palette.resize(renderware::PaletteEntryCount(format), TPixel{9, 9, 9, 9});
    texture.Palette = EncodePalette(palette);
    texture.Levels = {EncodeIndices(format, {0, 1, 2, 3, 4, 5, 6, 7}, 4, 2)};
    return texture;
}

// Two DXT blocks across: red then blue, each block's colour0 on every pixel.
TTestTexture Compressed(std::string name, std::uint32_t platform, TTextureFormat format)
{
    const std::uint8_t dxtNumber = format == TTextureFormat::DXT1 ? 1 : format == TTextureFormat::DXT3 ? 3 : 5;
    TTestTexture texture = Plain(std::move(name), platform, 0x0200, 0, 16, 0, TTextureFormat::R5G6B5);
    texture.Width = 8;
    texture.Height = 4;
    if (platform == 9) {
        texture.D3DFormatOrAlpha = FourCC(("DXT" + std::to_string(dxtNumber)).c_str());
        texture.Flags = 8 | 1;
    } else {
        texture.D3DFormatOrAlpha = 1;
        texture.Flags = dxtNumber;
    }
    ByteBuffer level;
    for (const std::uint16_t colour : {0xF800, 0x001F}) {
        const std::array<std::uint8_t, 16> zeros{}, alpha15{15, 15, 15, 15, 15, 15, 15, 15,
                                                            15, 15, 15, 15, 15, 15, 15, 15};
        const ByteBuffer block = format == TTextureFormat::DXT1   ? Dxt1Block(colour, 0, zeros)
                                 : format == TTextureFormat::DXT3 ? Dxt3Block(alpha15, colour, 0, zeros)
                                                                  : Dxt5Block(255, 0, zeros, colour, 0, zeros);
        level.insert(level.end(), block.begin(), block.end());
    }
    texture.Levels = {level, ByteBuffer(format == TTextureFormat::DXT1 ? 8 : 16)};
    return texture;
}

std::vector<TFormatCase> FormatCases()
{
    std::vector<TFormatCase> cases;
    for (const std::uint32_t platform : {9u, 8u}) {
        const std::string suffix = platform == 9 ? "_d3d9" : "_d3d8";
        auto plain = [&](std::string name, TTextureFormat format, std::uint32_t raster, std::uint32_t d3dFormat,
                         std::uint8_t depth) {
            cases.push_back({name + suffix, format,
                             Plain(name + suffix, platform, raster, platform == 9 ? d3dFormat : 1, depth,
                                   platform == 9 ? 1 : 0, format)});
        };
        plain("argb", TTextureFormat::A8R8G8B8, 0x0500, 21, 32);
        plain("xrgb", TTextureFormat::X8R8G8B8, 0x0600, 22, 32);
        plain("rgb565", TTextureFormat::R5G6B5, 0x0200, 23, 16);
        plain("argb1555", TTextureFormat::A1R5G5B5, 0x0100, 25, 16);
        plain("xrgb1555", TTextureFormat::X1R5G5B5, 0x0A00, 24, 16);
        plain("argb4444", TTextureFormat::A4R4G4B4, 0x0300, 26, 16);
        plain("grey", TTextureFormat::L8, 0x0400, 50, 8);
        for (const TTextureFormat format : {TTextureFormat::PAL8, TTextureFormat::PAL4})
            cases.push_back({std::string(renderware::TextureFormatName(format)) + suffix, format,
                             Paletted(std::string(renderware::TextureFormatName(format)) + suffix, platform, format)});
        for (const TTextureFormat format : {TTextureFormat::DXT1, TTextureFormat::DXT3, TTextureFormat::DXT5})
            cases.push_back(
                {std::string(renderware::TextureFormatName(format)) + suffix, format,
                 Compressed(std::string(renderware::TextureFormatName(format)) + suffix, platform, format)});
    }
    return cases;
}

std::vector<TPixel> PixelsOf(const renderware::TRgbaImage& image)
{
    std::vector<TPixel> pixels;
    for (std::size_t i = 0; i < image.Pixels.size(); i += 4)
        pixels.push_back({image.Pixels[i], image.Pixels[i + 1], image.Pixels[i + 2], image.Pixels[i + 3]});
    return pixels;
}

std::vector<TPixel> ExpectedPixels(const TFormatCase& test)
{
    if (test.Texture.Width == 8) {
        std::vector<TPixel> pixels;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 8; ++x)
                pixels.push_back(x < 4 ? TPixel{255, 0, 0, 255} : TPixel{0, 0, 255, 255});
        return pixels;
    }
    std::vector<TPixel> pixels = Picture;
    if (test.Format == TTextureFormat::L8)
        for (TPixel& p : pixels)
            p = {p[0], p[0], p[0], 255};
    return pixels;
}

ByteBuffer DictionaryOf(const std::vector<TFormatCase>& cases)
{
    std::vector<ByteBuffer> natives;
    for (const TFormatCase& test : cases)
        natives.push_back(TextureNative(test.Texture));
    return TextureDictionary(natives);
}

TEST(TextureDictionary, EveryFormatOfBothKindsListsAndDecodes)
{
    const std::vector<TFormatCase> cases = FormatCases();
    const renderware::TTextureDictionary dictionary = renderware::TTextureDictionary::FromBytes(DictionaryOf(cases));
    EXPECT_EQ(dictionary.Version().Text(), "3.6.0.3");
    EXPECT_EQ(dictionary.Platform(), renderware::TPlatform::PC);
    ASSERT_EQ(dictionary.Textures().size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const renderware::TTextureRecord& record = dictionary.Textures()[i];
        EXPECT_EQ(record.Name, cases[i].Name);
        EXPECT_EQ(record.Problem, "") << cases[i].Name;
        EXPECT_EQ(record.Format, cases[i].Format) << cases[i].Name << " read as " << record.FormatName;
        EXPECT_EQ(record.FormatName, renderware::TextureFormatName(cases[i].Format)) << cases[i].Name;
        EXPECT_EQ(record.Width, cases[i].Texture.Width) << cases[i].Name;
        EXPECT_EQ(record.MipLevels, cases[i].Texture.Levels.size()) << cases[i].Name;
        EXPECT_EQ(PixelsOf(dictionary.DecodeTexture(i)), ExpectedPixels(cases[i])) << cases[i].Name;
    }
}

TEST(TextureDictionary, NamesMaskAlphaAndLookUp)
{
    TTestTexture withMask = Plain("Wheel_Rim", 9, 0x0500, 21, 32, 1, TTextureFormat::A8R8G8B8);
    withMask.Mask = "wheel_rima";
    const TTestTexture opaqueD3D8 = Plain("body", 8, 0x0600, 0, 32, 0, TTextureFormat::X8R8G8B8);
    const TTestTexture opaqueD3D9 = Plain("glass", 9, 0x0600, 22, 32, 0, TTextureFormat::X8R8G8B8);
    const auto dictionary = renderware::TTextureDictionary::FromBytes(
        TextureDictionary({TextureNative(withMask), TextureNative(opaqueD3D8), TextureNative(opaqueD3D9)}));
    const auto& textures = dictionary.Textures();
    EXPECT_EQ(textures[0].MaskName, "wheel_rima");
    EXPECT_TRUE(textures[0].HasAlpha);
    EXPECT_FALSE(textures[1].HasAlpha);
    EXPECT_FALSE(textures[2].HasAlpha);
    EXPECT_EQ(textures[1].PlatformId, 8u);
    EXPECT_EQ(dictionary.Find("WHEEL_RIM"), &textures[0]);
    EXPECT_EQ(dictionary.Find("Glass"), &textures[2]);
    EXPECT_EQ(dictionary.Find("glas"), nullptr);
}

// The broken textures are listed with the reason; the good one still decodes.
TEST(TextureDictionary, DamagedTexturesAreReportedByName)
{
    struct TCase {
        std::string Name;
        TTestTexture Texture;
        std::string Problem;
    };
    auto argb = [](std::string name) { return Plain(std::move(name), 9, 0x0500, 21, 32, 1, TTextureFormat::A8R8G8B8); };
    std::vector<TCase> cases;
    cases.push_back({"short", argb("short"), "the first level holds 28 bytes, a A8R8G8B8 level of 4 x 2 takes 32"});
    cases.back().Texture.Levels[0].resize(28);
    cases.push_back({"dxt2", argb("dxt2"), "the format DXT2 is not supported"});
    cases.back().Texture.D3DFormatOrAlpha = FourCC("DXT2");
    cases.push_back({"a8l8", argb("a8l8"), "the format D3D format 51 is not supported"});
    cases.back().Texture.D3DFormatOrAlpha = 51;
    cases.push_back({"nokind", argb("nokind"), "the format raster format 0x800 is not supported"});
    cases.back().Texture.D3DFormatOrAlpha = 0;
    cases.back().Texture.RasterFormat = 0x0800;
    cases.push_back({"zero", argb("zero"), "the size 0 x 2 is outside 1 to 4096"});
    cases.back().Texture.Width = 0;
    cases.push_back({"huge", argb("huge"), "the size 65535 x 2 is outside 1 to 4096"});
    cases.back().Texture.Width = 65535;
    cases.push_back({"liar", argb("liar"), "the first level holds 4294967295 bytes"});
    cases.back().Texture.FirstLevelSizeField = 0xFFFFFFFF;
    cases.push_back({"xbox", argb("xbox"), "it is a texture for platform Xbox (ID 0x5), not for the PC game"});
    cases.back().Texture.PlatformId = 5;
    cases.push_back({"pixelsgone", argb("pixelsgone"), "the first level's pixels runs past the end"});
    cases.back().Texture.FirstLevelSizeField = 32;
    cases.back().Texture.Levels[0].resize(8);
    cases.push_back({"good", argb("good"), ""});

    std::vector<ByteBuffer> natives;
    for (const TCase& test : cases)
        natives.push_back(TextureNative(test.Texture));
    const auto dictionary = renderware::TTextureDictionary::FromBytes(TextureDictionary(natives));
    ASSERT_EQ(dictionary.Textures().size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const renderware::TTextureRecord& record = dictionary.Textures()[i];
        EXPECT_EQ(record.Name, cases[i].Name);
        EXPECT_NE(record.Problem.find(cases[i].Problem), std::string::npos)
            << cases[i].Name << ": " << record.Problem;
        if (cases[i].Problem.empty()) {
            EXPECT_EQ(PixelsOf(dictionary.DecodeTexture(i)), Picture);
        } else {
            try {
                dictionary.DecodeTexture(i);
                ADD_FAILURE() << cases[i].Name << " decoded";
            } catch (const TVehmiraError& error) {
                EXPECT_NE(std::string(error.what()).find("texture \"" + cases[i].Name + "\" cannot be decoded"),
                          std::string::npos)
                    << error.what();
            }
        }
    }
}

TEST(TextureDictionary, Pal4WithThirtyTwoPaletteEntries)
{
    TTestTexture texture = Paletted("wide", 9, TTextureFormat::PAL4);
    texture.Palette.resize(32 * 4, 0x77);
    const auto dictionary = renderware::TTextureDictionary::FromBytes(TextureDictionary({TextureNative(texture)}));
    ASSERT_EQ(dictionary.Textures()[0].Problem, "");
    EXPECT_EQ(PixelsOf(dictionary.DecodeTexture(0)), Picture);
}

TEST(TextureDictionary, CountsThatDisagreeWithTheTextures)
{
    const ByteBuffer one = TextureNative(Plain("one", 9, 0x0500, 21, 32, 1, TTextureFormat::A8R8G8B8));
    const ByteBuffer two = TextureNative(Plain("two", 9, 0x0500, 21, 32, 1, TTextureFormat::A8R8G8B8));
    EXPECT_THROW(renderware::TTextureDictionary::FromBytes(TextureDictionary({one, two}, 3)), TVehmiraError);
    const auto dictionary = renderware::TTextureDictionary::FromBytes(TextureDictionary({one, two}, 1));
    ASSERT_EQ(dictionary.Textures().size(), 2u);
    EXPECT_FALSE(dictionary.Textures()[0].IgnoredByGame);
    EXPECT_TRUE(dictionary.Textures()[1].IgnoredByGame);
}

TEST(TextureDictionary, TruncatedAtEveryLengthIsRefused)
{
    const ByteBuffer whole = DictionaryOf(FormatCases());
    ASSERT_NO_THROW(renderware::TTextureDictionary::FromBytes(whole));
    for (std::size_t length = 0; length < whole.size(); ++length)
        EXPECT_THROW(renderware::TTextureDictionary::FromBytes(std::span(whole).first(length)), TVehmiraError)
            << length;
}

// Every byte of the headers set to extreme values: loading either succeeds or
// raises TVehmiraError, and every texture that loads decodes.
TEST(TextureDictionary, CorruptedBytesNeverCrash)
{
    std::vector<TFormatCase> cases = FormatCases();
    cases.resize(4);
    const ByteBuffer whole = DictionaryOf(cases);
    for (std::size_t position = 0; position < whole.size(); ++position)
        for (const std::uint8_t value : {0x00, 0x7F, 0xFF}) {
            ByteBuffer damaged = whole;
            damaged[position] = value;
            try {
                const auto dictionary = renderware::TTextureDictionary::FromBytes(std::move(damaged));
                for (std::size_t i = 0; i < dictionary.Textures().size(); ++i)
                    if (dictionary.Textures()[i].Decodable()) {
                        EXPECT_LE(dictionary.DecodeTexture(i).Pixels.size(), 4096u * 4096u * 4u);
                    }
            } catch (const TVehmiraError&) {
            }
        }
}

TEST(TextureDictionary, TexturesDecodeOnSeveralThreadsAtOnce)
{
    const std::vector<TFormatCase> cases = FormatCases();
    const auto dictionary = renderware::TTextureDictionary::FromBytes(DictionaryOf(cases));
    std::vector<std::future<renderware::TRgbaImage>> decodes;
    for (std::size_t i = 0; i < cases.size(); ++i)
        decodes.push_back(std::async(std::launch::async, [&dictionary, i] { return dictionary.DecodeTexture(i); }));
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(PixelsOf(decodes[i].get()), ExpectedPixels(cases[i])) << cases[i].Name;
}

} // namespace
