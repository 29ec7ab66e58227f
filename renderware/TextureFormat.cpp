#include "renderware/TextureFormat.h"

namespace vehmira::renderware {

std::string_view TextureFormatName(TTextureFormat format)
{
    switch (format) {
    case TTextureFormat::DXT1: return "DXT1";
    case TTextureFormat::DXT3: return "DXT3";
    case TTextureFormat::DXT5: return "DXT5";
    case TTextureFormat::A8R8G8B8: return "A8R8G8B8";
    case TTextureFormat::X8R8G8B8: return "X8R8G8B8";
    case TTextureFormat::R5G6B5: return "R5G6B5";
    case TTextureFormat::A1R5G5B5: return "A1R5G5B5";
    case TTextureFormat::X1R5G5B5: return "X1R5G5B5";
    case TTextureFormat::A4R4G4B4: return "A4R4G4B4";
    case TTextureFormat::PAL8: return "PAL8";
    case TTextureFormat::PAL4: return "PAL4";
    case TTextureFormat::L8: return "L8";
    case TTextureFormat::Unknown: break;
    }
    return "unknown";
}

std::uint64_t LevelDataSize(TTextureFormat format, std::uint32_t width, std::uint32_t height)
{
    const std::uint64_t w = width;
    const std::uint64_t h = height;
    const std::uint64_t blocks = ((w + 3) / 4) * ((h + 3) / 4);
    switch (format) {
    case TTextureFormat::DXT1: return blocks * 8;
    case TTextureFormat::DXT3:
    case TTextureFormat::DXT5: return blocks * 16;
    case TTextureFormat::A8R8G8B8:
    case TTextureFormat::X8R8G8B8: return w * h * 4;
    case TTextureFormat::R5G6B5:
    case TTextureFormat::A1R5G5B5:
    case TTextureFormat::X1R5G5B5:
    case TTextureFormat::A4R4G4B4: return w * h * 2;
    case TTextureFormat::PAL8:
    case TTextureFormat::L8: return w * h;
    case TTextureFormat::PAL4: return (w + 1) / 2 * h;
    case TTextureFormat::Unknown: break;
    }
    return 0;
}

std::uint32_t PaletteEntryCount(TTextureFormat format)
{
    if (format == TTextureFormat::PAL8)
        return 256;
    if (format == TTextureFormat::PAL4)
        return 16;
    return 0;
}

} // namespace vehmira::renderware
