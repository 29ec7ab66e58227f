#pragma once
// Building RenderWare binary streams for the demo archive's models and texture
// dictionaries.
//
// A chunk is a 12-byte header (little-endian): type (4), size of the payload
// that follows (4), library version stamp (4); then the payload, which for a
// container chunk is its child chunks one after another.

#include "fileio/ByteOrder.h"
#include "renderware/ChunkReader.h"

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

namespace RenderWare {
// The chunk types are the reader's (ChunkReader.h): one home for the format's numbers.
using Rw::AtomicChunk;
using Rw::ClumpChunk;
using Rw::ExtensionChunk;
using Rw::FrameListChunk;
using Rw::GeometryChunk;
using Rw::GeometryListChunk;
using Rw::MaterialChunk;
using Rw::MaterialListChunk;
using Rw::StringChunk;
using Rw::StructChunk;
using Rw::TextureChunk;
using Rw::TextureDictionaryChunk;
using Rw::TextureNativeChunk;
// The version stamp the game's own files carry.
inline constexpr std::uint32_t VersionStamp = 0x1803FFFF;

ByteBuffer Chunk(std::uint32_t type, std::span<const std::uint8_t> payload);
ByteBuffer Container(std::uint32_t type, std::initializer_list<ByteBuffer> children);
// An empty extension chunk, as most containers end with.
ByteBuffer NoExtensions();
// A zero-terminated string chunk, padded with zeros to a multiple of 4 bytes.
ByteBuffer String(std::string_view text);
} // namespace RenderWare

// Little-endian field writers for chunk payloads. They add byte by byte:
// MinGW's GCC at -O2 misreads a small range insert into an empty buffer as an overflow.
void PutU16LE(ByteBuffer& out, std::uint16_t value);
void PutU32LE(ByteBuffer& out, std::uint32_t value);
void PutF32LE(ByteBuffer& out, float value);
// The text in a fixed-size field, zero-filled (cut when too long).
void AppendFixedText(ByteBuffer& out, std::string_view text, std::size_t size);
