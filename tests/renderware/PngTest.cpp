#include "renderware/PngWriter.h"

#include "fileio/Errors.h"
#include "renderware/ContactSheet.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
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

// The zlib stream through zlib's own inflate, which checks its Adler-32.
ByteBuffer Inflate(const ByteBuffer& zlib, std::size_t expectedSize)
{
    ByteBuffer out(expectedSize + 1);
    uLongf size = uLongf(out.size());
    EXPECT_EQ(uncompress(out.data(), &size, zlib.data(), uLong(zlib.size())), Z_OK);
    out.resize(size);
    return out;
}

int PaethPredictor(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// Undoes the row filters as a PNG decoder does, bytes 4 apart in a pixel.
ByteBuffer Unfilter(const ByteBuffer& rows, std::uint32_t width, std::uint32_t height)
{
    const std::size_t stride = std::size_t(width) * 4;
    ByteBuffer pixels;
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t filter = rows.at(y * (stride + 1));
        EXPECT_LE(filter, 4) << "filter of row " << y;
        for (std::size_t x = 0; x < stride; ++x) {
            const int a = x >= 4 ? pixels[y * stride + x - 4] : 0;
            const int b = y > 0 ? pixels[(y - 1) * stride + x] : 0;
            const int c = x >= 4 && y > 0 ? pixels[(y - 1) * stride + x - 4] : 0;
            const int predictor[] = {0, a, b, (a + b) / 2, PaethPredictor(a, b, c)};
            pixels.push_back(std::uint8_t(rows.at(y * (stride + 1) + 1 + x) + predictor[filter % 5]));
        }
    }
    return pixels;
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

TEST(Png, FilesDecodeToTheirPixels)
{
    // 1 × 1, a few pixels, and rows of more than 65535 bytes in all.
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
        const ByteBuffer rows = Inflate(chunks[1].Data, std::size_t(width * 4 + 1) * height);
        ASSERT_EQ(rows.size(), std::size_t(width * 4 + 1) * height);
        EXPECT_EQ(Unfilter(rows, width, height), image.Pixels) << width << " x " << height;
    }
    EXPECT_THROW(renderware::EncodePng(renderware::TRgbaImage{}), TVehmiraError);
    EXPECT_THROW(renderware::EncodePng(renderware::TRgbaImage{2, 2, ByteBuffer(12)}), TVehmiraError);
}

// A texture as a painter makes one: smooth shading with a few hard edges.
renderware::TRgbaImage PaintedTexture(std::uint32_t width, std::uint32_t height)
{
    renderware::TRgbaImage image{width, height, {}};
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x) {
            const bool stripe = (x / 64 + y / 32) % 2 == 0;
            image.Pixels.insert(image.Pixels.end(), {std::uint8_t(x / 2), std::uint8_t(stripe ? 40 : 200 - y / 2),
                                                     std::uint8_t((x + y) / 4), std::uint8_t(y < 16 ? 128 : 255)});
        }
    return image;
}

TEST(Png, ContactSheetIsDeflated)
{
    // Stored blocks made the file larger than the sheet's raw pixels; deflate
    // must bring it well under them.
    const std::vector<renderware::TRgbaImage> texture{PaintedTexture(512, 256)};
    renderware::TContactSheetOptions fullSize;
    fullSize.ThumbnailSide = 512;
    for (const renderware::TContactSheetOptions& options : {renderware::TContactSheetOptions{}, fullSize}) {
        const renderware::TRgbaImage sheet = renderware::ComposeContactSheet(texture, options);
        const std::size_t rawBytes = std::size_t(sheet.Width) * sheet.Height * 4;
        const ByteBuffer png = renderware::EncodePng(sheet);
        EXPECT_LT(png.size(), rawBytes * 3 / 4) << sheet.Width << " x " << sheet.Height;
        const std::vector<TPngChunk> chunks = ReadPngChunks(png);
        ASSERT_EQ(chunks.size(), 3u);
        EXPECT_EQ(Unfilter(Inflate(chunks[1].Data, rawBytes + sheet.Height), sheet.Width, sheet.Height), sheet.Pixels);
    }
}

renderware::TRgbaImage Filled(std::uint32_t width, std::uint32_t height, std::array<std::uint8_t, 4> pixel)
{
    renderware::TRgbaImage image{width, height, {}};
    image.Pixels.resize(std::size_t(width) * height * pixel.size());
    for (std::size_t at = 0; at < image.Pixels.size(); at += pixel.size())
        std::copy(pixel.begin(), pixel.end(), image.Pixels.begin() + std::ptrdiff_t(at));
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
