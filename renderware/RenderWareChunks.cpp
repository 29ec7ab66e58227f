#include "renderware/RenderWareChunks.h"

#include <bit>
#include <string_view>

namespace vehmira::renderware {

namespace ChunkWriter {

fileio::ByteBuffer Chunk(std::uint32_t type, std::span<const std::uint8_t> payload)
{
    fileio::ByteBuffer chunk;
    chunk.reserve(12 + payload.size());
    PutU32LE(chunk, type);
    PutU32LE(chunk, std::uint32_t(payload.size()));
    PutU32LE(chunk, VersionStamp);
    fileio::AppendBytes(chunk, payload);
    return chunk;
}

fileio::ByteBuffer Container(std::uint32_t type, std::initializer_list<fileio::ByteBuffer> children)
{
    fileio::ByteBuffer payload;
    for (const fileio::ByteBuffer& child : children)
        fileio::AppendBytes(payload, child);
    return Chunk(type, payload);
}

fileio::ByteBuffer NoExtensions() { return Chunk(ExtensionChunk, {}); }

fileio::ByteBuffer String(std::string_view text)
{
    fileio::ByteBuffer payload;
    AppendFixedText(payload, text, (text.size() / 4 + 1) * 4);
    return Chunk(StringChunk, payload);
}

} // namespace ChunkWriter

void PutU16LE(fileio::ByteBuffer& out, std::uint16_t value)
{
    out.push_back(std::uint8_t(value));
    out.push_back(std::uint8_t(value >> 8));
}

void PutU32LE(fileio::ByteBuffer& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(std::uint8_t(value >> shift));
}

void PutF32LE(fileio::ByteBuffer& out, float value) { PutU32LE(out, std::bit_cast<std::uint32_t>(value)); }

void AppendFixedText(fileio::ByteBuffer& out, std::string_view text, std::size_t size)
{
    const std::string_view kept = text.substr(0, size);
    out.insert(out.end(), kept.begin(), kept.end());
    out.insert(out.end(), size - kept.size(), 0);
}

} // namespace vehmira::renderware
