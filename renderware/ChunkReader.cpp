#include "renderware/ChunkReader.h"

#include "fileio/Errors.h"

#include <algorithm>
#include <cstdio>

namespace vehmira::renderware {

std::string HexText(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", unsigned(value));
    return text;
}

std::string DescribeChunk(std::uint32_t type, std::uint64_t offset)
{
    return "chunk " + HexText(type) + " at offset " + std::to_string(offset);
}

TChunkReader::TChunkReader(std::span<const std::uint8_t> data, std::string what) : Data(data), What(std::move(what)) {}

TChunkReader::TChunkReader(const TChunk& parent, std::string what)
    : Data(parent.Payload), BaseOffset(parent.PayloadOffset()), Depth(parent.Depth + 1), What(std::move(what))
{
    if (Depth > MaxChunkDepth)
        throw fileio::TVehmiraError(What + ": " + DescribeChunk(parent.Type, parent.Offset) + " is nested more than " +
                                    std::to_string(MaxChunkDepth) + " levels deep");
}

TChunk TChunkReader::Next()
{
    const std::uint64_t offset = BaseOffset + Pos;
    if (Data.size() - Pos < ChunkHeaderSize)
        throw fileio::TVehmiraError(What + ": a chunk header at offset " + std::to_string(offset) + " is cut off (" +
                                    std::to_string(Data.size() - Pos) + " of 12 bytes)");
    const auto header = Data.subspan(Pos, ChunkHeaderSize);
    TChunk chunk;
    chunk.Type = fileio::LoadU32LE(header.subspan<0, 4>());
    const std::uint32_t size = fileio::LoadU32LE(header.subspan<4, 4>());
    chunk.Stamp = fileio::LoadU32LE(header.subspan<8, 4>());
    chunk.Offset = offset;
    chunk.Depth = Depth;
    const std::size_t available = Data.size() - Pos - ChunkHeaderSize;
    if (size > available)
        throw fileio::TVehmiraError(What + ": " + DescribeChunk(chunk.Type, offset) + " runs past " +
                                    (Depth == 0 ? std::string("the end of the data") : std::string("its parent")) +
                                    " (size " + std::to_string(size) + ", room for " + std::to_string(available) + ")");
    chunk.Payload = Data.subspan(Pos + ChunkHeaderSize, size);
    Pos += ChunkHeaderSize + size;
    return chunk;
}

TChunk TChunkReader::Expect(std::uint32_t type, std::string_view typeName)
{
    if (AtEnd())
        throw fileio::TVehmiraError(What + ": " + std::string(typeName) + " chunk is missing at offset " +
                                    std::to_string(BaseOffset + Pos));
    TChunk chunk = Next();
    if (chunk.Type != type)
        throw fileio::TVehmiraError(What + ": expected " + std::string(typeName) + " chunk, found " +
                                    DescribeChunk(chunk.Type, chunk.Offset));
    return chunk;
}

TChunk ReadRootChunk(std::span<const std::uint8_t> data, std::uint32_t type, std::string_view what)
{
    if (data.size() < ChunkHeaderSize)
        throw fileio::TVehmiraError(std::string(what) + ": the data is shorter than a chunk header (" +
                                    std::to_string(data.size()) + " bytes)");
    TChunkReader reader(data, std::string(what));
    const std::uint32_t rootType = fileio::LoadU32LE(data.first<4>());
    if (rootType != type)
        throw fileio::TVehmiraError(std::string(what) + ": the root chunk has type " + HexText(rootType) + ", not " +
                                    HexText(type));
    // Some exporters count a clump's own header in its size, so it states 12
    // bytes more than follow; the game and the import read such a model, and
    // so does every reader here.
    const std::uint64_t stated = fileio::LoadU32LE(data.subspan<4, 4>());
    if (type == ClumpChunk && stated == data.size()) {
        TChunk chunk;
        chunk.Type = rootType;
        chunk.Stamp = fileio::LoadU32LE(data.subspan<8, 4>());
        chunk.Payload = data.subspan(ChunkHeaderSize);
        return chunk;
    }
    return reader.Next();
}

std::string FixedText(std::span<const std::uint8_t> field)
{
    const auto end = std::find(field.begin(), field.end(), std::uint8_t(0));
    return std::string(field.begin(), end);
}

std::string StringChunkText(const TChunk& chunk) { return FixedText(chunk.Payload); }

} // namespace vehmira::renderware
