// The RenderWare root-chunk test that keeps other bytes out of the archive:
// only a clump or UV animation dictionary passes as a model, only a texture
// dictionary as one, and never the same bytes as both.
#include "FuzzSupport.h"
#include "renderware/RootChunk.h"

using namespace vehmira::renderware;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<std::uint32_t> type = RootChunkType(AsBytes(data, size));
    Require(type.has_value() == (size >= 4), "every stream of four bytes or more has a root chunk type");
    if (!type)
        return 0;
    Require(*type == (std::uint32_t(data[0]) | std::uint32_t(data[1]) << 8 | std::uint32_t(data[2]) << 16 |
                      std::uint32_t(data[3]) << 24),
            "the type is the first four bytes, little-endian");
    const bool model = IsRootOf(TRenderWareStream::Model, type);
    const bool textures = IsRootOf(TRenderWareStream::TextureDictionary, type);
    Require(!(model && textures), "no root is both a model and a texture dictionary");
    // A clump is chunk 0x10, a UV animation dictionary 0x2B, a texture dictionary 0x16.
    Require(model == (*type == 0x10 || *type == 0x2B),
            "a model starts with a clump or a UV animation dictionary");
    Require(textures == (*type == 0x16), "a texture dictionary starts with its chunk");
    return 0;
}
