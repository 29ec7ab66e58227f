#include "renderware/TextureNative.h"

#include "fileio/ByteReader.h"
#include "fileio/Errors.h"

#include <algorithm>

namespace vehmira::renderware {

namespace {

constexpr std::uint32_t FourCC(const char (&text)[5])
{
    return std::uint32_t(std::uint8_t(text[0])) | std::uint32_t(std::uint8_t(text[1])) << 8 |
           std::uint32_t(std::uint8_t(text[2])) << 16 | std::uint32_t(std::uint8_t(text[3])) << 24;
}

constexpr std::uint32_t PixelKindMask = 0x0F00;
constexpr std::uint32_t Pal8Flag = 0x2000;
constexpr std::uint32_t Pal4Flag = 0x4000;
constexpr std::uint8_t D3D9AlphaFlag = 1;
constexpr std::size_t PalettedHeaderSize = 88;

void SetFormat(TTextureRecord& record, TTextureFormat format)
{
    record.Format = format;
    record.FormatName = TextureFormatName(format);
}

void SetUnsupported(TTextureRecord& record, std::string name)
{
    record.Format = TTextureFormat::Unknown;
    record.FormatName = std::move(name);
    record.Problem = "the format " + record.FormatName + " is not supported";
}

void FormatFromPixelKind(TTextureRecord& record)
{
    switch (record.RasterFormat & PixelKindMask) {
    case 0x100: return SetFormat(record, TTextureFormat::A1R5G5B5);
    case 0x200: return SetFormat(record, TTextureFormat::R5G6B5);
    case 0x300: return SetFormat(record, TTextureFormat::A4R4G4B4);
    case 0x400: return SetFormat(record, TTextureFormat::L8);
    case 0x500: return SetFormat(record, TTextureFormat::A8R8G8B8);
    case 0x600: return SetFormat(record, TTextureFormat::X8R8G8B8);
    case 0xA00: return SetFormat(record, TTextureFormat::X1R5G5B5);
    default: return SetUnsupported(record, "raster format " + HexText(record.RasterFormat));
    }
}

bool FormatFromPalette(TTextureRecord& record)
{
    if (record.RasterFormat & Pal8Flag)
        SetFormat(record, TTextureFormat::PAL8);
    else if (record.RasterFormat & Pal4Flag)
        SetFormat(record, TTextureFormat::PAL4);
    else
        return false;
    return true;
}

void FormatFromD3DFormat(TTextureRecord& record, std::uint32_t d3dFormat)
{
    switch (d3dFormat) {
    case FourCC("DXT1"): return SetFormat(record, TTextureFormat::DXT1);
    case FourCC("DXT3"): return SetFormat(record, TTextureFormat::DXT3);
    case FourCC("DXT5"): return SetFormat(record, TTextureFormat::DXT5);
    case FourCC("DXT2"): return SetUnsupported(record, "DXT2");
    case FourCC("DXT4"): return SetUnsupported(record, "DXT4");
    }
    if (FormatFromPalette(record))
        return;
    switch (d3dFormat) {
    case 0: return FormatFromPixelKind(record);
    case 21: return SetFormat(record, TTextureFormat::A8R8G8B8);
    case 22: return SetFormat(record, TTextureFormat::X8R8G8B8);
    case 23: return SetFormat(record, TTextureFormat::R5G6B5);
    case 24: return SetFormat(record, TTextureFormat::X1R5G5B5);
    case 25: return SetFormat(record, TTextureFormat::A1R5G5B5);
    case 26: return SetFormat(record, TTextureFormat::A4R4G4B4);
    case 50: return SetFormat(record, TTextureFormat::L8);
    default: return SetUnsupported(record, "D3D format " + std::to_string(d3dFormat));
    }
}

void FormatFromD3D8(TTextureRecord& record, std::uint8_t compression)
{
    switch (compression) {
    case 0: break;
    case 1: return SetFormat(record, TTextureFormat::DXT1);
    case 3: return SetFormat(record, TTextureFormat::DXT3);
    case 5: return SetFormat(record, TTextureFormat::DXT5);
    default: return SetUnsupported(record, "DXT" + std::to_string(compression));
    }
    if (!FormatFromPalette(record))
        FormatFromPixelKind(record);
}

// PAL4 palettes come with 16 entries or, from some writers, 32: the one after
// which the first level's size field matches is taken.
std::uint64_t PaletteBytes(const TTextureRecord& record, std::span<const std::uint8_t> payload)
{
    const std::uint64_t entries = PaletteEntryCount(record.Format);
    if (record.Format != TTextureFormat::PAL4)
        return entries * 4;
    const std::uint64_t levelSize = LevelDataSize(record.Format, record.Width, record.Height);
    for (const std::uint64_t candidate : {std::uint64_t(16 * 4), std::uint64_t(32 * 4)}) {
        const std::uint64_t sizeAt = PalettedHeaderSize + candidate;
        if (sizeAt + 4 <= payload.size() && fileio::LoadU32LE(payload.subspan(sizeAt).first<4>()) == levelSize)
            return candidate;
    }
    return entries * 4;
}

void LocateLevel(TTextureRecord& record, const TChunk& structChunk, fileio::TByteReader& reader)
{
    if (record.Width == 0 || record.Height == 0 || record.Width > MaxTextureSide || record.Height > MaxTextureSide) {
        record.Problem = "the size " + std::to_string(record.Width) + " x " + std::to_string(record.Height) +
                         " is outside 1 to " + std::to_string(MaxTextureSide);
        return;
    }
    if (record.MipLevels == 0) {
        record.Problem = "it has no mip levels";
        return;
    }
    const std::uint64_t paletteBytes = PaletteBytes(record, structChunk.Payload);
    record.PaletteOffset = structChunk.PayloadOffset() + reader.Position();
    record.PaletteSize = PaletteEntryCount(record.Format) * 4;
    reader.Bytes(paletteBytes, "the palette");
    const std::uint32_t levelSize = reader.U32("the first level's size");
    const std::uint64_t expected = LevelDataSize(record.Format, record.Width, record.Height);
    if (levelSize != expected) {
        record.Problem = "the first level holds " + std::to_string(levelSize) + " bytes, a " + record.FormatName +
                         " level of " + std::to_string(record.Width) + " x " + std::to_string(record.Height) +
                         " takes " + std::to_string(expected);
        return;
    }
    record.LevelOffset = structChunk.PayloadOffset() + reader.Position();
    record.LevelSize = levelSize;
    reader.Bytes(levelSize, "the first level's pixels");
}

void ReadPcHeader(TTextureRecord& record, const TChunk& structChunk, fileio::TByteReader& reader)
{
    record.RasterFormat = reader.U32("the raster format");
    const std::uint32_t formatOrAlpha = reader.U32("the D3D format");
    const auto sizes = reader.Bytes(4, "the size");
    record.Width = std::uint32_t(sizes[0]) | std::uint32_t(sizes[1]) << 8;
    record.Height = std::uint32_t(sizes[2]) | std::uint32_t(sizes[3]) << 8;
    record.BitsPerPixel = reader.U8("the depth");
    record.MipLevels = reader.U8("the level count");
    reader.U8("the raster type");
    const std::uint8_t flags = reader.U8("the flags");
    if (record.PlatformId == D3D9PlatformId) {
        record.HasAlpha = (flags & D3D9AlphaFlag) != 0;
        FormatFromD3DFormat(record, formatOrAlpha);
    } else {
        record.HasAlpha = formatOrAlpha != 0;
        FormatFromD3D8(record, flags);
    }
    if (record.Decodable())
        LocateLevel(record, structChunk, reader);
}

TPlatform PlatformOf(std::uint32_t platformId)
{
    switch (platformId) {
    case D3D8PlatformId:
    case D3D9PlatformId: return TPlatform::PC;
    case XboxPlatformId: return TPlatform::Xbox;
    case PS2PlatformId: return TPlatform::PS2;
    default: return TPlatform::Other;
    }
}

// The PS2 layout keeps the names in String chunks after its Struct.
void ReadPS2Names(TTextureRecord& record, TChunkReader& children)
{
    if (!children.AtEnd())
        if (const TChunk name = children.Next(); name.Type == StringChunk) {
            record.Name = StringChunkText(name);
            if (!children.AtEnd())
                if (const TChunk mask = children.Next(); mask.Type == StringChunk)
                    record.MaskName = StringChunkText(mask);
        }
}

} // namespace

TTextureRecord ReadTextureNative(const TChunk& textureNative, std::string_view what)
{
    TChunkReader children(textureNative, std::string(what));
    const TChunk structChunk = children.Expect(StructChunk, "the texture's Struct");
    TTextureRecord record;
    fileio::TByteReader reader(structChunk.Payload, std::string(what));
    try {
        record.PlatformId = reader.U32("the platform");
        record.Platform = PlatformOf(record.PlatformId);
        reader.U32("the filter mode");
        if (record.PlatformId == PS2PlatformId) {
            ReadPS2Names(record, children);
        } else {
            record.Name = FixedText(reader.Bytes(32, "the name"));
            record.MaskName = FixedText(reader.Bytes(32, "the mask name"));
        }
        if (record.Platform != TPlatform::PC) {
            record.Problem = "it is a texture for platform " + std::string(PlatformName(record.Platform)) + " (ID " +
                             HexText(record.PlatformId) + "), not for the PC game";
            return record;
        }
        ReadPcHeader(record, structChunk, reader);
    } catch (const fileio::TVehmiraError& error) {
        // The reader's message, without the "what: " it starts with.
        const std::string_view text = error.what();
        record.Problem = "its data is cut off: " + std::string(text.substr(std::min(text.size(), what.size() + 2)));
    }
    return record;
}

} // namespace vehmira::renderware
