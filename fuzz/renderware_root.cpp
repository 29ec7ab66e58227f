// The RenderWare root-chunk test that keeps other bytes out of the archive:
// only a clump or UV animation dictionary passes as a model, only a texture
// dictionary as one, and never the same bytes as both.
#include "cli/RenderWareChunks.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<std::uint32_t> type = RenderWare::RootChunkType(AsBytes(data, size));
    Require(type.has_value() == (size >= 4), "every stream of four bytes or more has a root chunk type");
    if (!type)
        return 0;
    Require(*type == (std::uint32_t(data[0]) | std::uint32_t(data[1]) << 8 | std::uint32_t(data[2]) << 16 |
                      std::uint32_t(data[3]) << 24),
            "the type is the first four bytes, little-endian");
    const bool model = RenderWare::IsRootChunkOf(RenderWare::TRootKind::Model, *type);
    const bool textures = RenderWare::IsRootChunkOf(RenderWare::TRootKind::TextureDictionary, *type);
    Require(!(model && textures), "no root is both a model and a texture dictionary");
    Require(model == (*type == RenderWare::ClumpChunk || *type == RenderWare::UVAnimDictionaryChunk),
            "a model starts with a clump or a UV animation dictionary");
    Require(textures == (*type == RenderWare::TextureDictionaryChunk), "a texture dictionary starts with its chunk");
    return 0;
}
