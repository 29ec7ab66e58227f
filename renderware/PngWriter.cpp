#include "renderware/PngWriter.h"

#include "fileio/Errors.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace vehmira::renderware {

namespace {

constexpr std::size_t MaxStoredBlock = 65535;

void AppendU32BE(fileio::ByteBuffer& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(std::uint8_t(value >> shift));
}

void AppendPngChunk(fileio::ByteBuffer& out, std::string_view type, std::span<const std::uint8_t> data)
{
    AppendU32BE(out, std::uint32_t(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    fileio::AppendBytes(out, data);
    AppendU32BE(out, PngCrc32(std::span(out).subspan(typeAt)));
}

fileio::ByteBuffer FilteredRows(const TRgbaImage& image)
{
    const std::size_t rowBytes = std::size_t(image.Width) * 4;
    fileio::ByteBuffer rows;
    rows.reserve((rowBytes + 1) * image.Height);
    for (std::uint32_t y = 0; y < image.Height; ++y) {
        rows.push_back(0);
        const auto row = std::span(image.Pixels).subspan(y * rowBytes, rowBytes);
        rows.insert(rows.end(), row.begin(), row.end());
    }
    return rows;
}

fileio::ByteBuffer StoredZlib(std::span<const std::uint8_t> raw)
{
    fileio::ByteBuffer out{0x78, 0x01};
    out.reserve(raw.size() + raw.size() / MaxStoredBlock * 5 + 16);
    std::size_t offset = 0;
    do {
        const std::size_t length = std::min(MaxStoredBlock, raw.size() - offset);
        out.push_back(offset + length == raw.size() ? 1 : 0);
        out.push_back(std::uint8_t(length));
        out.push_back(std::uint8_t(length >> 8));
        out.push_back(std::uint8_t(~length));
        out.push_back(std::uint8_t(~length >> 8));
        fileio::AppendBytes(out, raw.subspan(offset, length));
        offset += length;
    } while (offset < raw.size());
    AppendU32BE(out, Adler32(raw));
    return out;
}

} // namespace

std::uint32_t PngCrc32(std::span<const std::uint8_t> bytes, std::uint32_t crc)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    crc = ~crc;
    for (const std::uint8_t byte : bytes)
        crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

std::uint32_t Adler32(std::span<const std::uint8_t> bytes)
{
    constexpr std::uint32_t Modulus = 65521;
    // 5552 bytes is the longest run whose sums cannot overflow 32 bits.
    constexpr std::size_t Run = 5552;
    std::uint32_t a = 1, b = 0;
    for (std::size_t start = 0; start < bytes.size(); start += Run) {
        for (const std::uint8_t byte : bytes.subspan(start, std::min(Run, bytes.size() - start))) {
            a += byte;
            b += a;
        }
        a %= Modulus;
        b %= Modulus;
    }
    return b << 16 | a;
}

fileio::ByteBuffer EncodePng(const TRgbaImage& image)
{
    if (image.Width == 0 || image.Height == 0 || image.Pixels.size() != std::size_t(image.Width) * image.Height * 4)
        throw fileio::TVehmiraError("PNG: the image of " + std::to_string(image.Width) + " x " +
                                    std::to_string(image.Height) + " has " + std::to_string(image.Pixels.size()) +
                                    " bytes of pixels");
    fileio::ByteBuffer png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    fileio::ByteBuffer header;
    AppendU32BE(header, image.Width);
    AppendU32BE(header, image.Height);
    header.insert(header.end(), {8, 6, 0, 0, 0});
    AppendPngChunk(png, "IHDR", header);
    AppendPngChunk(png, "IDAT", StoredZlib(FilteredRows(image)));
    AppendPngChunk(png, "IEND", {});
    return png;
}

} // namespace vehmira::renderware
