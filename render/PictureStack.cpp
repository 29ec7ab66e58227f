#include "render/PictureStack.h"

#include "fileio/Errors.h"

#include <algorithm>

namespace vehmira::render {

namespace {

constexpr std::uint32_t MaxStackHeight = 16384;

bool Whole(const renderware::TRgbaImage& image)
{
    return !image.Empty() && image.Pixels.size() == std::size_t(image.Width) * image.Height * 4;
}

void Place(renderware::TRgbaImage& target, const renderware::TRgbaImage& picture, std::uint32_t top)
{
    const std::uint32_t left = (target.Width - picture.Width) / 2;
    for (std::uint32_t y = 0; y < picture.Height; ++y)
        std::copy_n(picture.At(0, y), std::size_t(picture.Width) * 4, target.At(left, top + y));
}

} // namespace

renderware::TRgbaImage StackPictures(const renderware::TRgbaImage& top, const renderware::TRgbaImage& bottom)
{
    if (!Whole(top) || !Whole(bottom) || std::uint64_t(top.Height) + bottom.Height > MaxStackHeight)
        throw fileio::TVehmiraError("stacked pictures: a picture is empty, or the two are taller than " +
                                    std::to_string(MaxStackHeight) + " pixels");
    renderware::TRgbaImage stack;
    stack.Width = std::max(top.Width, bottom.Width);
    stack.Height = top.Height + bottom.Height;
    stack.Pixels.resize(std::size_t(stack.Width) * stack.Height * 4);
    for (std::size_t i = 0; i < stack.Pixels.size(); i += 4)
        std::copy_n(bottom.Pixels.begin(), 4, stack.Pixels.begin() + std::ptrdiff_t(i));
    Place(stack, top, 0);
    Place(stack, bottom, top.Height);
    return stack;
}

} // namespace vehmira::render
