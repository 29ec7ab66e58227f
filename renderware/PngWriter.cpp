#include "renderware/PngWriter.h"

#include "fileio/Errors.h"

#include <zlib.h>

#include <array>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

namespace vehmira::renderware {

namespace {

constexpr std::size_t BytesPerPixel = 4;

// The five row filters of PNG, by their number in the filter byte.
enum class TRowFilter : std::uint8_t { None = 0, Sub = 1, Up = 2, Average = 3, Paeth = 4 };
constexpr std::array<TRowFilter, 5> RowFilters{TRowFilter::None, TRowFilter::Sub, TRowFilter::Up,
                                               TRowFilter::Average, TRowFilter::Paeth};

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
    const std::span<const std::uint8_t> typed = std::span(out).subspan(typeAt);
    AppendU32BE(out, std::uint32_t(crc32(0, typed.data(), uInt(typed.size()))));
}

std::uint8_t Paeth(int left, int up, int upLeft)
{
    const int estimate = left + up - upLeft;
    const int toLeft = std::abs(estimate - left), toUp = std::abs(estimate - up), toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft)
        return std::uint8_t(left);
    return std::uint8_t(toUp <= toUpLeft ? up : upLeft);
}

// The byte the filter predicts at `at` of `row`, from the pixel to the left
// and the row above (zeros before the first pixel and above the first row).
std::uint8_t Predicted(TRowFilter filter, std::span<const std::uint8_t> row, std::span<const std::uint8_t> above,
                       std::size_t at)
{
    const int left = at >= BytesPerPixel ? row[at - BytesPerPixel] : 0;
    const int up = above.empty() ? 0 : above[at];
    const int upLeft = at >= BytesPerPixel && !above.empty() ? above[at - BytesPerPixel] : 0;
    switch (filter) {
    case TRowFilter::None: return 0;
    case TRowFilter::Sub: return std::uint8_t(left);
    case TRowFilter::Up: return std::uint8_t(up);
    case TRowFilter::Average: return std::uint8_t((left + up) / 2);
    case TRowFilter::Paeth: return Paeth(left, up, upLeft);
    }
    return 0;
}

// Each row after the filter byte of the filter whose output is closest to
// zero (the sum of the bytes taken as signed), which deflate packs best.
fileio::ByteBuffer FilteredRows(const TRgbaImage& image)
{
    const std::size_t rowBytes = std::size_t(image.Width) * BytesPerPixel;
    fileio::ByteBuffer rows;
    rows.reserve((rowBytes + 1) * image.Height);
    fileio::ByteBuffer best(rowBytes), trial(rowBytes);
    for (std::uint32_t y = 0; y < image.Height; ++y) {
        const auto row = std::span(image.Pixels).subspan(y * rowBytes, rowBytes);
        const auto above = y == 0 ? std::span<const std::uint8_t>() : std::span(image.Pixels).subspan((y - 1) * rowBytes, rowBytes);
        std::uint64_t bestCost = UINT64_MAX;
        TRowFilter bestFilter = TRowFilter::None;
        for (const TRowFilter filter : RowFilters) {
            std::uint64_t cost = 0;
            for (std::size_t at = 0; at < rowBytes; ++at) {
                trial[at] = std::uint8_t(row[at] - Predicted(filter, row, above, at));
                cost += std::uint64_t(std::abs(int(std::int8_t(trial[at]))));
            }
            if (cost < bestCost) {
                bestCost = cost;
                bestFilter = filter;
                best.swap(trial);
            }
        }
        rows.push_back(std::uint8_t(bestFilter));
        fileio::AppendBytes(rows, best);
    }
    return rows;
}

fileio::ByteBuffer ZlibStream(std::span<const std::uint8_t> raw)
{
    // zlib counts in uLong, 32 bits on Windows; half of that leaves room for its bound.
    if (raw.size() > std::numeric_limits<uLong>::max() / 2)
        throw fileio::TVehmiraError("PNG: " + std::to_string(raw.size()) + " bytes of rows are more than zlib takes");
    uLongf size = compressBound(uLong(raw.size()));
    fileio::ByteBuffer out(size);
    if (compress2(out.data(), &size, raw.data(), uLong(raw.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
        throw fileio::TVehmiraError("PNG: zlib could not compress " + std::to_string(raw.size()) + " bytes of rows");
    out.resize(size);
    return out;
}

} // namespace

fileio::ByteBuffer EncodePng(const TRgbaImage& image)
{
    if (image.Width == 0 || image.Height == 0 ||
        image.Pixels.size() != std::size_t(image.Width) * image.Height * BytesPerPixel)
        throw fileio::TVehmiraError("PNG: the image of " + std::to_string(image.Width) + " x " +
                                    std::to_string(image.Height) + " has " + std::to_string(image.Pixels.size()) +
                                    " bytes of pixels");
    fileio::ByteBuffer png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    fileio::ByteBuffer header;
    AppendU32BE(header, image.Width);
    AppendU32BE(header, image.Height);
    header.insert(header.end(), {8, 6, 0, 0, 0});
    AppendPngChunk(png, "IHDR", header);
    AppendPngChunk(png, "IDAT", ZlibStream(FilteredRows(image)));
    AppendPngChunk(png, "IEND", {});
    return png;
}

} // namespace vehmira::renderware
