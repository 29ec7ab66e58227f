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

namespace vehmira::renderware {

namespace ChunkWriter {
// The chunk types are the reader's (ChunkReader.h): one home for the format's numbers.
using renderware::AtomicChunk;
using renderware::ClumpChunk;
using renderware::ExtensionChunk;
using renderware::FrameListChunk;
using renderware::GeometryChunk;
using renderware::GeometryListChunk;
using renderware::MaterialChunk;
using renderware::MaterialListChunk;
using renderware::StringChunk;
using renderware::StructChunk;
using renderware::TextureChunk;
using renderware::TextureDictionaryChunk;
using renderware::TextureNativeChunk;
// The version stamp the game's own files carry.
inline constexpr std::uint32_t VersionStamp = 0x1803FFFF;

fileio::ByteBuffer Chunk(std::uint32_t type, std::span<const std::uint8_t> payload);
fileio::ByteBuffer Container(std::uint32_t type, std::initializer_list<fileio::ByteBuffer> children);
// An empty extension chunk, as most containers end with.
fileio::ByteBuffer NoExtensions();
// A zero-terminated string chunk, padded with zeros to a multiple of 4 bytes.
fileio::ByteBuffer String(std::string_view text);
} // namespace ChunkWriter

// Little-endian field writers for chunk payloads. They add byte by byte:
// MinGW's GCC at -O2 misreads a small range insert into an empty buffer as an overflow.
void PutU16LE(fileio::ByteBuffer& out, std::uint16_t value);
void PutU32LE(fileio::ByteBuffer& out, std::uint32_t value);
void PutF32LE(fileio::ByteBuffer& out, float value);
// The text in a fixed-size field, zero-filled (cut when too long).
void AppendFixedText(fileio::ByteBuffer& out, std::string_view text, std::size_t size);

} // namespace vehmira::renderware
