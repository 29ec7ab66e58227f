#include "renderware/GeometrySummary.h"

#include "fileio/ByteReader.h"
#include "fileio/Errors.h"

namespace vehmira::renderware {

namespace {

constexpr std::uint32_t TexturedFlag = 0x04;
constexpr std::uint32_t PrelitFlag = 0x08;
constexpr std::uint32_t TwoTextureSetsFlag = 0x80;
constexpr std::uint32_t NativeFlag = 0x01000000;
constexpr std::uint32_t SurfacePropertiesUntil = 0x34000;

std::uint64_t TextureSetCount(std::uint32_t flags)
{
    const std::uint32_t declared = flags >> 16 & 0xFF;
    if (declared != 0)
        return declared;
    return (flags & TwoTextureSetsFlag) ? 2 : (flags & TexturedFlag) ? 1 : 0;
}

// Walks the Struct's arrays so that counts the data cannot hold are caught.
void ReadGeometryStruct(const TChunk& chunk, const std::string& what, TGeometrySummary& summary)
{
    fileio::TByteReader reader(chunk.Payload, what);
    const std::uint32_t flags = reader.U32("the flags");
    summary.Triangles = reader.U32("the triangle count");
    summary.Vertices = reader.U32("the vertex count");
    summary.MorphTargets = reader.U32("the morph target count");
    summary.Native = (flags & NativeFlag) != 0;
    if (chunk.Version().Version < SurfacePropertiesUntil)
        reader.Bytes(12, "the surface properties");
    if (summary.Native)
        return;
    const std::uint64_t vertices = summary.Vertices;
    if (flags & PrelitFlag)
        reader.Bytes(vertices * 4, "the prelit colours of " + std::to_string(vertices) + " vertices");
    reader.Bytes(vertices * 8 * TextureSetCount(flags), "the texture coordinates of " + std::to_string(vertices) + " vertices");
    reader.Bytes(std::uint64_t(summary.Triangles) * 8, "the " + std::to_string(summary.Triangles) + " triangles");
    for (std::uint32_t target = 0; target < summary.MorphTargets; ++target) {
        reader.Bytes(16, "the bounding sphere");
        const bool hasPositions = reader.U32("the positions flag") != 0;
        const bool hasNormals = reader.U32("the normals flag") != 0;
        if (hasPositions)
            reader.Bytes(vertices * 12, "the positions of " + std::to_string(vertices) + " vertices");
        if (hasNormals)
            reader.Bytes(vertices * 12, "the normals of " + std::to_string(vertices) + " vertices");
    }
}

void ReadMaterialTexture(const TChunk& material, const std::string& what, TGeometrySummary& summary)
{
    TChunkReader children(material, what);
    children.Expect(StructChunk, "the material's Struct");
    while (!children.AtEnd()) {
        const TChunk chunk = children.Next();
        if (chunk.Type != TextureChunk)
            continue;
        TChunkReader texture(chunk, what);
        texture.Expect(StructChunk, "the texture's Struct");
        summary.TextureNames.push_back(StringChunkText(texture.Expect(StringChunk, "the texture name String")));
    }
}

void ReadMaterialList(const TChunk& list, const std::string& what, TGeometrySummary& summary)
{
    TChunkReader children(list, what);
    const TChunk header = children.Expect(StructChunk, "the material list's Struct");
    fileio::TByteReader reader(header.Payload, what + ", material list");
    summary.Materials = reader.U32("the material count");
    std::uint64_t ownMaterials = 0;
    const auto indices = reader.Bytes(std::uint64_t(summary.Materials) * 4, "the material indices");
    for (std::size_t i = 0; i < indices.size(); i += 4)
        if (fileio::LoadU32LE(indices.subspan(i).first<4>()) == 0xFFFFFFFFu)
            ++ownMaterials;
    std::uint64_t found = 0;
    while (!children.AtEnd()) {
        const TChunk chunk = children.Next();
        if (chunk.Type == MaterialChunk) {
            ++found;
            ReadMaterialTexture(chunk, what + ", material " + std::to_string(found), summary);
        }
    }
    if (found != ownMaterials)
        throw fileio::TVehmiraError(what + ": the material list declares " + std::to_string(ownMaterials) +
                                    " materials of its own, holds " + std::to_string(found));
}

} // namespace

TGeometrySummary ReadGeometrySummary(const TChunk& geometry, const std::string& what)
{
    TGeometrySummary summary;
    TChunkReader children(geometry, what);
    ReadGeometryStruct(children.Expect(StructChunk, "the geometry's Struct"), what, summary);
    ReadMaterialList(children.Expect(MaterialListChunk, "the Material List"), what, summary);
    return summary;
}

} // namespace vehmira::renderware
