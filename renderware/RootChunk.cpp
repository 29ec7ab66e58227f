#include "renderware/RootChunk.h"

#include "fileio/ByteOrder.h"
#include "renderware/RenderWareChunks.h"

namespace vehmira::renderware {

std::optional<std::uint32_t> RootChunkType(std::span<const std::uint8_t> firstBytes)
{
    if (firstBytes.size() < 4)
        return std::nullopt;
    return fileio::LoadU32LE(firstBytes.first<4>());
}

bool IsRootOf(TRenderWareStream stream, std::optional<std::uint32_t> rootChunkType)
{
    if (!rootChunkType)
        return false;
    if (stream == TRenderWareStream::Model)
        return *rootChunkType == ClumpChunk || *rootChunkType == UVAnimationDictionaryChunk;
    return *rootChunkType == TextureDictionaryChunk;
}

} // namespace vehmira::renderware
