#include "renderware/TextureEncoder.h"

#include "support/RwStreamBuilder.h"

using namespace vehmira;
using namespace vehmira::fileio;
using namespace vehmira::renderware;

namespace RwTest {

using renderware::TTextureFormat;

namespace {

std::uint16_t Pack16(TTextureFormat format, const TPixel& p)
{
    switch (format) {
    case TTextureFormat::R5G6B5: return std::uint16_t((p[0] >> 3) << 11 | (p[1] >> 2) << 5 | p[2] >> 3);
    case TTextureFormat::A1R5G5B5:
        return std::uint16_t((p[3] >= 128 ? 0x8000 : 0) | (p[0] >> 3) << 10 | (p[1] >> 3) << 5 | p[2] >> 3);
    case TTextureFormat::X1R5G5B5: return std::uint16_t((p[0] >> 3) << 10 | (p[1] >> 3) << 5 | p[2] >> 3);
    default: return std::uint16_t((p[3] >> 4) << 12 | (p[0] >> 4) << 8 | (p[1] >> 4) << 4 | p[2] >> 4);
    }
}

} // namespace

ByteBuffer EncodePixels(TTextureFormat format, const std::vector<TPixel>& pixels)
{
    ByteBuffer out;
    for (const TPixel& p : pixels) {
        if (format == TTextureFormat::A8R8G8B8 || format == TTextureFormat::X8R8G8B8)
            PutU32(out, std::uint32_t(format == TTextureFormat::A8R8G8B8 ? p[3] : 0x5A) << 24 |
                            std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2]);
        else if (format == TTextureFormat::L8)
            out.push_back(p[0]);
        else
            PutU16(out, Pack16(format, p));
    }
    return out;
}

ByteBuffer EncodeIndices(TTextureFormat format, const std::vector<std::uint8_t>& indices, std::uint32_t width,
                         std::uint32_t height)
{
    if (format == TTextureFormat::PAL8)
        return ByteBuffer(indices.begin(), indices.end());
    ByteBuffer out;
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; x += 2) {
            const std::uint8_t left = indices[y * width + x];
            const std::uint8_t right = x + 1 < width ? indices[y * width + x + 1] : 0;
            out.push_back(std::uint8_t(left | right << 4));
        }
    return out;
}

ByteBuffer EncodePalette(const std::vector<TPixel>& entries)
{
    ByteBuffer out;
    for (const TPixel& entry : entries)
        out.insert(out.end(), entry.begin(), entry.end());
    return out;
}

ByteBuffer Dxt1Block(std::uint16_t colour0, std::uint16_t colour1, const std::array<std::uint8_t, 16>& indices)
{
    ByteBuffer out;
    PutU16(out, colour0);
    PutU16(out, colour1);
    std::uint32_t bits = 0;
    for (int i = 0; i < 16; ++i)
        bits |= std::uint32_t(indices[i] & 3) << (2 * i);
    PutU32(out, bits);
    return out;
}

ByteBuffer Dxt3Block(const std::array<std::uint8_t, 16>& alpha4, std::uint16_t colour0, std::uint16_t colour1,
                     const std::array<std::uint8_t, 16>& indices)
{
    ByteBuffer out;
    for (int i = 0; i < 16; i += 2)
        out.push_back(std::uint8_t((alpha4[i] & 0xF) | (alpha4[i + 1] & 0xF) << 4));
    const ByteBuffer colours = Dxt1Block(colour0, colour1, indices);
    out.insert(out.end(), colours.begin(), colours.end());
    return out;
}

ByteBuffer Dxt5Block(std::uint8_t alpha0, std::uint8_t alpha1, const std::array<std::uint8_t, 16>& alphaIndices,
                     std::uint16_t colour0, std::uint16_t colour1, const std::array<std::uint8_t, 16>& indices)
{
    ByteBuffer out{alpha0, alpha1};
    std::uint64_t bits = 0;
    for (int i = 0; i < 16; ++i)
        bits |= std::uint64_t(alphaIndices[i] & 7) << (3 * i);
    for (int i = 0; i < 6; ++i)
        out.push_back(std::uint8_t(bits >> (8 * i)));
    const ByteBuffer colours = Dxt1Block(colour0, colour1, indices);
    out.insert(out.end(), colours.begin(), colours.end());
    return out;
}

} // namespace RwTest
