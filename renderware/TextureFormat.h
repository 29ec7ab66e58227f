#pragma once
// The pixel formats of the PC game's textures that Vehmira decodes, and the
// size the first mip level of each takes.

#include <cstdint>
#include <optional>
#include <string_view>

namespace vehmira::renderware {

enum class TTextureFormat {
    Unknown,
    DXT1,
    DXT3,
    DXT5,
    A8R8G8B8,
    X8R8G8B8,
    R5G6B5,
    A1R5G5B5,
    X1R5G5B5,
    A4R4G4B4,
    PAL8,
    PAL4,
    L8,
};

// "DXT1", "A8R8G8B8", ... ("unknown" for Unknown).
std::string_view TextureFormatName(TTextureFormat format);

// Textures larger than this on either side are refused: 4096 × 4096 × 4 bytes
// (64 MiB) is the most one decoded texture may take.
inline constexpr std::uint32_t MaxTextureSide = 4096;

// The bytes one level of the given size takes (palette not included); rows
// are packed without padding, DXT blocks cover 4 × 4 pixels.
std::uint64_t LevelDataSize(TTextureFormat format, std::uint32_t width, std::uint32_t height);

// Palette entries before the pixel data: 256 for PAL8, 16 for PAL4, else 0.
std::uint32_t PaletteEntryCount(TTextureFormat format);

} // namespace vehmira::renderware
