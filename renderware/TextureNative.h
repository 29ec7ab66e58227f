#pragma once
// One texture of a PC texture dictionary (a Texture Native chunk, 0x15).
//
// Its Struct chunk, little-endian, for the Direct3D 8 (platform 8) and
// Direct3D 9 (platform 9) kinds alike:
//   offset 0   u32       platform ID: 8 Direct3D 8, 9 Direct3D 9
//                        (5 Xbox; "PS2\0" marks the PS2 layout, which differs)
//   offset 4   u32       filter mode (bits 0-7), U and V addressing (8-15)
//   offset 8   char[32]  texture name, zero-terminated
//   offset 40  char[32]  mask (alpha) name, zero-terminated
//   offset 72  u32       raster format: bits 8-11 the pixel kind (0x100 1555,
//                        0x200 565, 0x300 4444, 0x400 LUM8, 0x500 8888,
//                        0x600 888, 0xA00 555), 0x1000 automatic mipmaps,
//                        0x2000 PAL8, 0x4000 PAL4, 0x8000 has mipmaps
//   offset 76  u32       Direct3D 9: the D3DFORMAT (21 A8R8G8B8, 22 X8R8G8B8,
//                        23 R5G6B5, 24 X1R5G5B5, 25 A1R5G5B5, 26 A4R4G4B4,
//                        41 P8, 50 L8, or a FOURCC "DXT1" ... "DXT5");
//                        Direct3D 8: non-zero when the texture has alpha
//   offset 80  u16, u16  width, height
//   offset 84  u8        bits per pixel
//   offset 85  u8        mip level count
//   offset 86  u8        raster type (4: texture)
//   offset 87  u8        Direct3D 9: flags (1 alpha, 2 cube map, 4 automatic
//                        mipmaps, 8 compressed); Direct3D 8: 0, or the DXT
//                        number (1 to 5) of a compressed texture
//   offset 88            palettised only: the palette, RGBA byte quadruples
//                        (256 for PAL8, 16 for PAL4; some writers store 32
//                        for PAL4, told apart by the level size that follows)
//   then per mip level   u32 size, then that many bytes of pixel data
// The texture's format comes from the compression (FOURCC or DXT number)
// first, then the palette flags, then the D3DFORMAT or the raster format's
// pixel kind.

#include "renderware/ChunkReader.h"
#include "renderware/Platform.h"
#include "renderware/TextureFormat.h"

#include <cstdint>
#include <string>

namespace vehmira::renderware {

inline constexpr std::uint32_t D3D8PlatformId = 8;
inline constexpr std::uint32_t D3D9PlatformId = 9;
inline constexpr std::uint32_t XboxPlatformId = 5;
inline constexpr std::uint32_t PS2PlatformId = 0x00325350;  // "PS2\0"

struct TTextureRecord {
    std::string Name;
    std::string MaskName;
    std::uint32_t PlatformId = 0;
    TPlatform Platform = TPlatform::Unknown;
    std::uint32_t RasterFormat = 0;    // the raw flags
    TTextureFormat Format = TTextureFormat::Unknown;
    std::string FormatName;            // also names formats Vehmira does not decode ("DXT2", "D3D format 51")
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::uint32_t BitsPerPixel = 0;
    std::uint32_t MipLevels = 0;
    bool HasAlpha = false;
    // Why the texture cannot be decoded; empty when it can.
    std::string Problem;
    // It lies past the count the dictionary declares: the game never loads it.
    bool IgnoredByGame = false;
    // Where the palette and the first level's pixels lie in the stream.
    std::uint64_t PaletteOffset = 0;
    std::uint64_t PaletteSize = 0;
    std::uint64_t LevelOffset = 0;
    std::uint64_t LevelSize = 0;

    bool Decodable() const { return Problem.empty(); }
};

// Reads a Texture Native chunk. Faults of the texture itself (a cut header,
// an unknown format, a level size that does not match) go into the record's
// Problem; a damaged chunk tree raises TVehmiraError.
TTextureRecord ReadTextureNative(const TChunk& textureNative, std::string_view what);

} // namespace vehmira::renderware
