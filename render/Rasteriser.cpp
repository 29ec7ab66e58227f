#include "render/Rasteriser.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vehmira::render {

namespace {

// The signed doubled area of (a, b, p): which side of the edge a→b p lies on.
double EdgeFunction(double ax, double ay, double bx, double by, double px, double py)
{
    return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
}

// The same edge gives the same value, negated, in both triangles that share
// it: its ends are always taken in one order, so rounding cannot leave a
// pixel centre on the shared edge outside both.
double OrientedEdge(const TProjected& from, const TProjected& to, double px, double py)
{
    if (from.X < to.X || (from.X == to.X && from.Y < to.Y))
        return EdgeFunction(from.X, from.Y, to.X, to.Y, px, py);
    return -EdgeFunction(to.X, to.Y, from.X, from.Y, px, py);
}

// The first and one past the last pixel whose centre may lie in [low, high].
std::pair<std::int64_t, std::int64_t> PixelRange(double low, double high, std::uint32_t size)
{
    const double first = std::max(0.0, std::ceil(low - 0.5));
    const double last = std::min(double(size) - 1, std::floor(high - 0.5));
    if (!(first <= last))
        return {0, 0};
    return {std::int64_t(first), std::int64_t(last) + 1};
}

// Wraps a coordinate into 0..1 and picks the texel; non-finite ones take the first.
std::uint32_t TexelIndex(float coordinate, std::uint32_t size)
{
    if (!std::isfinite(coordinate))
        return 0;
    const float wrapped = coordinate - std::floor(coordinate);
    return std::min(std::uint32_t(wrapped * float(size)), size - 1);
}

} // namespace

TFrameBuffer::TFrameBuffer(std::uint32_t size, const std::uint8_t background[4])
    : Size(size), Nearness(std::size_t(size) * size, -std::numeric_limits<float>::infinity()),
      Covered(std::size_t(size) * size, 0)
{
    Image.Width = Image.Height = size;
    Image.Pixels.resize(std::size_t(size) * size * 4);
    for (std::size_t i = 0; i < Image.Pixels.size(); i += 4)
        std::copy(background, background + 4, Image.Pixels.begin() + std::ptrdiff_t(i));
}

void TFrameBuffer::DrawTriangle(const TRasterVertex (&vertices)[3], const TTexture* texture, bool blended)
{
    const TProjected& a = vertices[0].Screen;
    const TProjected& b = vertices[1].Screen;
    const TProjected& c = vertices[2].Screen;
    if (!a.Visible || !b.Visible || !c.Visible)
        return;
    const double area = EdgeFunction(a.X, a.Y, b.X, b.Y, c.X, c.Y);
    if (!(area != 0) || !std::isfinite(area))
        return;
    // Weights of the corners: each the area opposite it, with the area's sign.
    const double sign = area > 0 ? 1 : -1;
    const auto [x0, x1] = PixelRange(std::min({a.X, b.X, c.X}), std::max({a.X, b.X, c.X}), Size);
    const auto [y0, y1] = PixelRange(std::min({a.Y, b.Y, c.Y}), std::max({a.Y, b.Y, c.Y}), Size);
    for (std::int64_t y = y0; y < y1; ++y) {
        const double py = double(y) + 0.5;
        for (std::int64_t x = x0; x < x1; ++x) {
            const double px = double(x) + 0.5;
            const double w0 = sign * OrientedEdge(b, c, px, py);
            const double w1 = sign * OrientedEdge(c, a, px, py);
            const double w2 = sign * OrientedEdge(a, b, px, py);
            if (w0 < 0 || w1 < 0 || w2 < 0)
                continue;
            const double total = w0 + w1 + w2;
            const float weights[3] = {float(w0 / total), float(w1 / total), float(w2 / total)};
            ShadePixel(std::size_t(y) * Size + std::size_t(x), weights, vertices, texture, blended);
        }
    }
}

void TFrameBuffer::ShadePixel(std::size_t index, const float (&weights)[3], const TRasterVertex (&vertices)[3],
                              const TTexture* texture, bool blended)
{
    Covered[index] = 1;
    float nearness = 0, inverseW = 0;
    for (int i = 0; i < 3; ++i) {
        nearness += weights[i] * vertices[i].Screen.Nearness;
        inverseW += weights[i] * vertices[i].Screen.InverseW;
    }
    if (!(nearness > Nearness[index]))
        return;
    // Perspective-correct: attributes divided by w interpolate linearly on screen.
    float perspective[3];
    for (int i = 0; i < 3; ++i)
        perspective[i] = weights[i] * vertices[i].Screen.InverseW / inverseW;
    float colour[4] = {0, 0, 0, 0};
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 4; ++k)
            colour[k] += perspective[i] * vertices[i].Colour[k];
    if (texture) {
        float u = 0, v = 0;
        for (int i = 0; i < 3; ++i) {
            u += perspective[i] * vertices[i].TexCoord.U;
            v += perspective[i] * vertices[i].TexCoord.V;
        }
        const renderware::TRgbaImage& image = texture->Image;
        const std::uint8_t* texel = image.At(TexelIndex(u, image.Width), TexelIndex(v, image.Height));
        for (int k = 0; k < 4; ++k)
            colour[k] *= texel[k] / 255.0f;
    }
    std::uint8_t* pixel = &Image.Pixels[index * 4];
    const float alpha = blended ? std::clamp(colour[3], 0.0f, 1.0f) : 1.0f;
    for (int k = 0; k < 3; ++k) {
        const float value = std::clamp(colour[k], 0.0f, 1.0f) * 255.0f;
        pixel[k] = std::uint8_t(std::lround(value * alpha + pixel[k] * (1 - alpha)));
    }
    if (!blended)
        Nearness[index] = nearness;
}

renderware::TRgbaImage TFrameBuffer::CoverageMask() const
{
    renderware::TRgbaImage mask;
    mask.Width = mask.Height = Size;
    mask.Pixels.resize(std::size_t(Size) * Size * 4);
    for (std::size_t i = 0; i < Covered.size(); ++i) {
        const std::uint8_t value = Covered[i] ? 255 : 0;
        mask.Pixels[i * 4] = mask.Pixels[i * 4 + 1] = mask.Pixels[i * 4 + 2] = value;
        mask.Pixels[i * 4 + 3] = 255;
    }
    return mask;
}

} // namespace vehmira::render
