#include "renderware/PngWriter.h"

#include "fileio/Errors.h"
#include "renderware/ContactSheet.h"

#include <gtest/gtest.h>

#include <string>

using namespace vehmira;
using namespace vehmira::fileio;
using namespace vehmira::renderware;

namespace {

std::uint32_t BigEndian(const ByteBuffer& bytes, std::size_t at)
{
    return std::uint32_t(bytes.at(at)) << 24 | std::uint32_t(bytes.at(at + 1)) << 16 |
           std::uint32_t(bytes.at(at + 2)) << 8 | bytes.at(at + 3);
}

// The CRC-32 bit by bit, as the PNG standard's sample code defines it.
std::uint32_t BitwiseCrc(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

struct TPngChunk {
    std::string Type;
    ByteBuffer Data;
};

// Splits the file into chunks, checking the signature and every CRC.
std::vector<TPngChunk> ReadPngChunks(const ByteBuffer& png)
{
    const ByteBuffer signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_EQ(ByteBuffer(png.begin(), png.begin() + 8), signature);
    std::vector<TPngChunk> chunks;
    for (std::size_t at = 8; at < png.size();) {
        const std::uint32_t length = BigEndian(png, at);
        EXPECT_LE(at + 12 + length, png.size());
        TPngChunk chunk{std::string(png.begin() + at + 4, png.begin() + at + 8),
                        ByteBuffer(png.begin() + at + 8, png.begin() + at + 8 + length)};
        EXPECT_EQ(BigEndian(png, at + 8 + length), BitwiseCrc(png.data() + at + 4, length + 4)) << chunk.Type;
        chunks.push_back(std::move(chunk));
        at += 12 + length;
    }
    return chunks;
}

// Undoes a zlib stream of stored blocks, checking each block's length and
// the Adler-32 at the end.
ByteBuffer InflateStored(const ByteBuffer& zlib)
{
    EXPECT_EQ((zlib.at(0) * 256 + zlib.at(1)) % 31, 0) << "zlib header check";
    EXPECT_EQ(zlib.at(0) & 0x0F, 8) << "deflate";
    ByteBuffer out;
    std::size_t at = 2;
    for (bool last = false; !last;) {
        last = zlib.at(at) & 1;
        EXPECT_EQ(zlib.at(at) >> 1 & 3, 0) << "stored block";
        const unsigned length = zlib.at(at + 1) | zlib.at(at + 2) << 8;
        const unsigned complement = zlib.at(at + 3) | zlib.at(at + 4) << 8;
        EXPECT_EQ(length ^ 0xFFFF, complement);
        out.insert(out.end(), zlib.begin() + at + 5, zlib.begin() + at + 5 + length);
        at += 5 + length;
    }
    std::uint32_t a = 1, b = 0;
    for (const std::uint8_t byte : out) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    EXPECT_EQ(BigEndian(zlib, at), b << 16 | a);
    EXPECT_EQ(at + 4, zlib.size());
    return out;
}

renderware::TRgbaImage Gradient(std::uint32_t width, std::uint32_t height)
{
    renderware::TRgbaImage image{width, height, {}};
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x)
            for (const std::uint8_t value : {std::uint8_t(x), std::uint8_t(y), std::uint8_t(x ^ y), std::uint8_t(x + y)})
                image.Pixels.push_back(value);
    return image;
}

TEST(Png, ChecksumsOfKnownInputs)
{
    const std::string digits = "123456789";
    const std::string word = "Wikipedia";
    EXPECT_EQ(renderware::PngCrc32({reinterpret_cast<const std::uint8_t*>(digits.data()), digits.size()}), 0xCBF43926u);
    EXPECT_EQ(renderware::Adler32({reinterpret_cast<const std::uint8_t*>(word.data()), word.size()}), 0x11E60398u);
    const ByteBuffer zeros(100000, 0xFF);
    std::uint32_t a = 1, b = 0;
    for (const std::uint8_t byte : zeros) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    EXPECT_EQ(renderware::Adler32(zeros), b << 16 | a);
}

TEST(Png, FilesDecodeToTheirPixels)
{
    // 1 × 1, one stored block, and several blocks (more than 65535 bytes of rows).
    for (const auto& [width, height] : {std::pair{1u, 1u}, std::pair{7u, 3u}, std::pair{300u, 70u}}) {
        const renderware::TRgbaImage image = Gradient(width, height);
        const std::vector<TPngChunk> chunks = ReadPngChunks(renderware::EncodePng(image));
        ASSERT_EQ(chunks.size(), 3u);
        EXPECT_EQ(chunks[0].Type, "IHDR");
        ASSERT_EQ(chunks[0].Data.size(), 13u);
        EXPECT_EQ(BigEndian(chunks[0].Data, 0), width);
        EXPECT_EQ(BigEndian(chunks[0].Data, 4), height);
        EXPECT_EQ(ByteBuffer(chunks[0].Data.begin() + 8, chunks[0].Data.end()), (ByteBuffer{8, 6, 0, 0, 0}));
        EXPECT_EQ(chunks[1].Type, "IDAT");
        EXPECT_EQ(chunks[2].Type, "IEND");
        EXPECT_TRUE(chunks[2].Data.empty());
        const ByteBuffer rows = InflateStored(chunks[1].Data);
        ASSERT_EQ(rows.size(), std::size_t(width * 4 + 1) * height);
        ByteBuffer pixels;
        for (std::uint32_t y = 0; y < height; ++y) {
            EXPECT_EQ(rows[y * (width * 4 + 1)], 0) << "filter of row " << y;
            pixels.insert(pixels.end(), rows.begin() + y * (width * 4 + 1) + 1, rows.begin() + (y + 1) * (width * 4 + 1));
        }
        EXPECT_EQ(pixels, image.Pixels) << width << " x " << height;
    }
    EXPECT_THROW(renderware::EncodePng(renderware::TRgbaImage{}), TVehmiraError);
    EXPECT_THROW(renderware::EncodePng(renderware::TRgbaImage{2, 2, ByteBuffer(12)}), TVehmiraError);
}

renderware::TRgbaImage Filled(std::uint32_t width, std::uint32_t height, std::array<std::uint8_t, 4> pixel)
{
    renderware::TRgbaImage image{width, height, {}};
    for (std::uint32_t i = 0; i < width * height; ++i)
        image.Pixels.insert(image.Pixels.end(), pixel.begin(), pixel.end());
    return image;
}

std::array<std::uint8_t, 4> PixelAt(const renderware::TRgbaImage& image, std::uint32_t x, std::uint32_t y)
{
    const std::uint8_t* p = image.At(x, y);
    return {p[0], p[1], p[2], p[3]};
}

TEST(ContactSheet, GridCheckerboardAndPlaceholders)
{
    const std::vector<renderware::TRgbaImage> images{Filled(64, 64, {255, 0, 0, 255}), Filled(32, 64, {0, 0, 255, 0}),
                                                     renderware::TRgbaImage{}, Filled(2, 2, {0, 255, 0, 128})};
    renderware::TContactSheetOptions options;
    options.ThumbnailSide = 32;
    options.Spacing = 4;
    options.Columns = 3;
    options.CheckerSquare = 4;
    const renderware::TRgbaImage sheet = renderware::ComposeContactSheet(images, options);
    EXPECT_EQ(sheet.Width, 3u * 36 + 4);
    EXPECT_EQ(sheet.Height, 2u * 36 + 4);
    EXPECT_EQ(PixelAt(sheet, 0, 0), (std::array<std::uint8_t, 4>{0x30, 0x30, 0x30, 255}));
    // Opaque red fills its cell, shrunk from 64 to 32.
    EXPECT_EQ(PixelAt(sheet, 4, 4), (std::array<std::uint8_t, 4>{255, 0, 0, 255}));
    EXPECT_EQ(PixelAt(sheet, 35, 35), (std::array<std::uint8_t, 4>{255, 0, 0, 255}));
    // The transparent texture, 16 wide and centred, shows the checkerboard.
    const std::uint32_t left = 40 + 8;
    EXPECT_EQ(PixelAt(sheet, left, 4), (std::array<std::uint8_t, 4>{255, 255, 255, 255}));
    EXPECT_EQ(PixelAt(sheet, left + 4, 4), (std::array<std::uint8_t, 4>{0xCC, 0xCC, 0xCC, 255}));
    EXPECT_EQ(PixelAt(sheet, left - 1, 4), (std::array<std::uint8_t, 4>{0x30, 0x30, 0x30, 255}));
    // The undecodable one is crossed out.
    EXPECT_EQ(PixelAt(sheet, 76, 4), (std::array<std::uint8_t, 4>{0xE0, 0x20, 0x20, 255}));
    EXPECT_EQ(PixelAt(sheet, 77, 4), (std::array<std::uint8_t, 4>{0x60, 0x60, 0x60, 255}));
    // Half-transparent green enlarged onto the checkerboard's light square.
    EXPECT_EQ(PixelAt(sheet, 4, 40), (std::array<std::uint8_t, 4>{127, 255, 127, 255}));
}

TEST(ContactSheet, RefusesWhatItCannotDraw)
{
    const std::vector<renderware::TRgbaImage> one{Filled(1, 1, {1, 2, 3, 4})};
    EXPECT_THROW(renderware::ComposeContactSheet({}), TVehmiraError);
    renderware::TContactSheetOptions zeroSide;
    zeroSide.ThumbnailSide = 0;
    EXPECT_THROW(renderware::ComposeContactSheet(one, zeroSide), TVehmiraError);
    const std::vector<renderware::TRgbaImage> many(64, renderware::TRgbaImage{});
    renderware::TContactSheetOptions wide;
    wide.ThumbnailSide = 1024;
    EXPECT_THROW(renderware::ComposeContactSheet(many, wide), TVehmiraError);
    // A malformed image is drawn as a placeholder, not read past its pixels.
    const std::vector<renderware::TRgbaImage> malformed{renderware::TRgbaImage{50, 50, ByteBuffer(4)}};
    EXPECT_NO_THROW(renderware::ComposeContactSheet(malformed));
}

} // namespace
