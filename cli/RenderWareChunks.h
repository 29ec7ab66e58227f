#pragma once
// Building RenderWare binary streams for the demo archive's models and texture
// dictionaries, and the root-chunk test that tells a model or a texture
// dictionary from other bytes.
//
// A chunk is a 12-byte header (little-endian): type (4), size of the payload
// that follows (4), library version stamp (4); then the payload, which for a
// container chunk is its child chunks one after another.

#include "fileio/ByteOrder.h"

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>

namespace RenderWare {
inline constexpr std::uint32_t StructChunk = 0x01;
inline constexpr std::uint32_t StringChunk = 0x02;
inline constexpr std::uint32_t ExtensionChunk = 0x03;
inline constexpr std::uint32_t TextureChunk = 0x06;
inline constexpr std::uint32_t MaterialChunk = 0x07;
inline constexpr std::uint32_t MaterialListChunk = 0x08;
inline constexpr std::uint32_t FrameListChunk = 0x0E;
inline constexpr std::uint32_t GeometryChunk = 0x0F;
inline constexpr std::uint32_t ClumpChunk = 0x10;
inline constexpr std::uint32_t AtomicChunk = 0x14;
inline constexpr std::uint32_t TextureNativeChunk = 0x15;
inline constexpr std::uint32_t TextureDictionaryChunk = 0x16;
inline constexpr std::uint32_t GeometryListChunk = 0x1A;
inline constexpr std::uint32_t UVAnimDictionaryChunk = 0x2B;
// The version stamp the game's own files carry.
inline constexpr std::uint32_t VersionStamp = 0x1803FFFF;

ByteBuffer Chunk(std::uint32_t type, std::span<const std::uint8_t> payload);
ByteBuffer Container(std::uint32_t type, std::initializer_list<ByteBuffer> children);
// An empty extension chunk, as most containers end with.
ByteBuffer NoExtensions();
// A zero-terminated string chunk, padded with zeros to a multiple of 4 bytes.
ByteBuffer String(std::string_view text);

// Only the root chunk type is checked: real files carry chunk sizes that
// overrun the file, extra chunks and sector fill. A model's root chunk is a
// clump, or a UV animation dictionary standing before it; a texture
// dictionary's is its own chunk.
enum class TRootKind { Model, TextureDictionary };
// The type of the chunk the bytes start with, or none for fewer than 4 bytes.
std::optional<std::uint32_t> RootChunkType(std::span<const std::uint8_t> bytes);
bool IsRootChunkOf(TRootKind kind, std::uint32_t chunkType);
} // namespace RenderWare

// Little-endian field writers for chunk payloads. They add byte by byte:
// MinGW's GCC at -O2 misreads a small range insert into an empty buffer as an overflow.
void PutU16LE(ByteBuffer& out, std::uint16_t value);
void PutU32LE(ByteBuffer& out, std::uint32_t value);
void PutF32LE(ByteBuffer& out, float value);
// The text in a fixed-size field, zero-filled (cut when too long).
void AppendFixedText(ByteBuffer& out, std::string_view text, std::size_t size);
