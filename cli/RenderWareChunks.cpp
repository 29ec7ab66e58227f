#include "cli/RenderWareChunks.h"

#include <bit>
#include <string_view>

namespace RenderWare {

ByteBuffer Chunk(std::uint32_t type, std::span<const std::uint8_t> payload)
{
    ByteBuffer chunk;
    chunk.reserve(12 + payload.size());
    PutU32LE(chunk, type);
    PutU32LE(chunk, std::uint32_t(payload.size()));
    PutU32LE(chunk, VersionStamp);
    AppendBytes(chunk, payload);
    return chunk;
}

ByteBuffer Container(std::uint32_t type, std::initializer_list<ByteBuffer> children)
{
    ByteBuffer payload;
    for (const ByteBuffer& child : children)
        AppendBytes(payload, child);
    return Chunk(type, payload);
}

ByteBuffer NoExtensions() { return Chunk(ExtensionChunk, {}); }

ByteBuffer String(std::string_view text)
{
    ByteBuffer payload;
    AppendFixedText(payload, text, (text.size() / 4 + 1) * 4);
    return Chunk(StringChunk, payload);
}

std::optional<std::uint32_t> RootChunkType(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 4)
        return std::nullopt;
    return LoadU32LE(bytes.first<4>());
}

bool IsRootChunkOf(TRootKind kind, std::uint32_t chunkType)
{
    if (kind == TRootKind::Model)
        return chunkType == ClumpChunk || chunkType == UVAnimDictionaryChunk;
    return chunkType == TextureDictionaryChunk;
}

} // namespace RenderWare

void PutU16LE(ByteBuffer& out, std::uint16_t value)
{
    out.push_back(std::uint8_t(value));
    out.push_back(std::uint8_t(value >> 8));
}

void PutU32LE(ByteBuffer& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(std::uint8_t(value >> shift));
}

void PutF32LE(ByteBuffer& out, float value) { PutU32LE(out, std::bit_cast<std::uint32_t>(value)); }

void AppendFixedText(ByteBuffer& out, std::string_view text, std::size_t size)
{
    const std::string_view kept = text.substr(0, size);
    out.insert(out.end(), kept.begin(), kept.end());
    out.insert(out.end(), size - kept.size(), 0);
}
