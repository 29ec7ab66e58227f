#include "gui/preview/PreviewBitmap.h"

#include <windows.h>

namespace vehmira::gui {

// GDI wants blue, green, red.
win32::TBitmapHandle MakeOpaqueBitmap(const renderware::TRgbaImage& image)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = LONG(image.Width);
    info.bmiHeader.biHeight = -LONG(image.Height);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    win32::TBitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
        return {};
    auto* out = static_cast<std::uint8_t*>(bits);
    const std::size_t pixels = std::size_t(image.Width) * image.Height;
    for (std::size_t i = 0; i < pixels; ++i) {
        out[i * 4 + 0] = image.Pixels[i * 4 + 2];
        out[i * 4 + 1] = image.Pixels[i * 4 + 1];
        out[i * 4 + 2] = image.Pixels[i * 4 + 0];
        out[i * 4 + 3] = 255;
    }
    return bitmap;
}

} // namespace vehmira::gui
