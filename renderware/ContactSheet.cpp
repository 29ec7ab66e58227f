#include "renderware/ContactSheet.h"

#include "fileio/Errors.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace vehmira::renderware {

namespace {

constexpr std::uint8_t SheetGrey = 0x30;
constexpr std::uint8_t CheckerLight = 0xFF;
constexpr std::uint8_t CheckerDark = 0xCC;

struct TCell {
    std::uint32_t X = 0, Y = 0, Width = 0, Height = 0;
};

void Fill(TRgbaImage& sheet, const TCell& cell, std::uint8_t grey)
{
    for (std::uint32_t y = cell.Y; y < cell.Y + cell.Height; ++y)
        for (std::uint32_t x = cell.X; x < cell.X + cell.Width; ++x) {
            std::uint8_t* out = sheet.At(x, y);
            out[0] = out[1] = out[2] = grey;
            out[3] = 255;
        }
}

void DrawCross(TRgbaImage& sheet, const TCell& cell)
{
    Fill(sheet, cell, 0x60);
    for (std::uint32_t step = 0; step < std::min(cell.Width, cell.Height); ++step)
        for (const std::uint32_t x : {cell.X + step, cell.X + cell.Width - 1 - step}) {
            std::uint8_t* out = sheet.At(x, cell.Y + step);
            out[0] = 0xE0;
            out[1] = out[2] = 0x20;
        }
}

// The mean of the source pixels under one thumbnail pixel, laid over the
// checkerboard (colours weighted by their alpha).
void DrawThumbnailPixel(const TRgbaImage& image, std::uint32_t x0, std::uint32_t x1, std::uint32_t y0,
                        std::uint32_t y1, std::uint8_t checker, std::uint8_t* out)
{
    std::uint64_t r = 0, g = 0, b = 0, a = 0;
    for (std::uint32_t y = y0; y < y1; ++y) {
        const std::uint8_t* in = image.At(x0, y);
        for (std::uint32_t x = x0; x < x1; ++x, in += 4) {
            r += std::uint64_t(in[0]) * in[3];
            g += std::uint64_t(in[1]) * in[3];
            b += std::uint64_t(in[2]) * in[3];
            a += in[3];
        }
    }
    const std::uint64_t count = std::uint64_t(x1 - x0) * (y1 - y0);
    const std::uint64_t background = std::uint64_t(checker) * (255 * count - a);
    out[0] = std::uint8_t((r + background) / (255 * count));
    out[1] = std::uint8_t((g + background) / (255 * count));
    out[2] = std::uint8_t((b + background) / (255 * count));
    out[3] = 255;
}

void DrawThumbnail(TRgbaImage& sheet, const TCell& cell, const TRgbaImage& image, std::uint32_t checkerSquare)
{
    for (std::uint32_t ty = 0; ty < cell.Height; ++ty) {
        const std::uint32_t y0 = std::uint32_t(std::uint64_t(ty) * image.Height / cell.Height);
        const std::uint32_t y1 = std::max(y0 + 1, std::uint32_t(std::uint64_t(ty + 1) * image.Height / cell.Height));
        for (std::uint32_t tx = 0; tx < cell.Width; ++tx) {
            const std::uint32_t x0 = std::uint32_t(std::uint64_t(tx) * image.Width / cell.Width);
            const std::uint32_t x1 = std::max(x0 + 1, std::uint32_t(std::uint64_t(tx + 1) * image.Width / cell.Width));
            const bool light = (tx / checkerSquare + ty / checkerSquare) % 2 == 0;
            DrawThumbnailPixel(image, x0, x1, y0, y1, light ? CheckerLight : CheckerDark,
                               sheet.At(cell.X + tx, cell.Y + ty));
        }
    }
}

bool Drawable(const TRgbaImage& image)
{
    return image.Width != 0 && image.Height != 0 && image.Pixels.size() == std::size_t(image.Width) * image.Height * 4;
}

// The thumbnail's place: the image fitted into the square, centred.
TCell FitIntoSquare(const TRgbaImage& image, std::uint32_t left, std::uint32_t top, std::uint32_t side)
{
    if (!Drawable(image))
        return {left, top, side, side};
    const std::uint64_t longer = std::max(image.Width, image.Height);
    const auto width = std::max<std::uint32_t>(1, std::uint32_t(image.Width * std::uint64_t(side) / longer));
    const auto height = std::max<std::uint32_t>(1, std::uint32_t(image.Height * std::uint64_t(side) / longer));
    return {left + (side - width) / 2, top + (side - height) / 2, width, height};
}

void CheckOptions(std::size_t imageCount, const TContactSheetOptions& options)
{
    if (imageCount == 0)
        throw fileio::TVehmiraError("contact sheet: there are no textures to show");
    if (options.ThumbnailSide == 0 || options.ThumbnailSide > 1024 || options.Spacing > 256 ||
        options.CheckerSquare == 0)
        throw fileio::TVehmiraError("contact sheet: thumbnail side " + std::to_string(options.ThumbnailSide) +
                                    ", spacing " + std::to_string(options.Spacing) + " or checker square " +
                                    std::to_string(options.CheckerSquare) + " is out of range");
}

} // namespace

TRgbaImage ComposeContactSheet(std::span<const TRgbaImage> images, const TContactSheetOptions& options)
{
    CheckOptions(images.size(), options);
    const std::uint64_t columns = options.Columns != 0 ? std::min<std::uint64_t>(options.Columns, images.size())
                                                       : std::uint64_t(std::ceil(std::sqrt(double(images.size()))));
    const std::uint64_t rows = (images.size() + columns - 1) / columns;
    const std::uint64_t pitch = std::uint64_t(options.ThumbnailSide) + options.Spacing;
    const std::uint64_t width = columns * pitch + options.Spacing, height = rows * pitch + options.Spacing;
    if (width > MaxContactSheetSide || height > MaxContactSheetSide)
        throw fileio::TVehmiraError("contact sheet: " + std::to_string(images.size()) + " textures make a sheet of " +
                                    std::to_string(width) + " x " + std::to_string(height) + ", more than " +
                                    std::to_string(MaxContactSheetSide) + " on a side");
    TRgbaImage sheet;
    sheet.Width = std::uint32_t(width);
    sheet.Height = std::uint32_t(height);
    sheet.Pixels.resize(std::size_t(width * height * 4));
    Fill(sheet, {0, 0, sheet.Width, sheet.Height}, SheetGrey);
    for (std::size_t index = 0; index < images.size(); ++index) {
        const auto left = std::uint32_t(options.Spacing + index % columns * pitch);
        const auto top = std::uint32_t(options.Spacing + index / columns * pitch);
        const TRgbaImage& image = images[index];
        const TCell cell = FitIntoSquare(image, left, top, options.ThumbnailSide);
        if (!Drawable(image))
            DrawCross(sheet, cell);
        else
            DrawThumbnail(sheet, cell, image, options.CheckerSquare);
    }
    return sheet;
}

} // namespace vehmira::renderware
