#include "render/GeometryReader.h"

#include "fileio/ByteReader.h"
#include "fileio/Errors.h"

#include <bit>

namespace vehmira::render {

namespace {

using renderware::TChunk;
using renderware::TChunkReader;

constexpr std::uint32_t PositionsFlag = 0x02;
constexpr std::uint32_t TexturedFlag = 0x04;
constexpr std::uint32_t PrelitFlag = 0x08;
constexpr std::uint32_t TwoTextureSetsFlag = 0x80;
constexpr std::uint32_t NativeFlag = 0x01000000;
constexpr std::uint32_t SurfacePropertiesUntil = 0x34000;
constexpr std::uint32_t OwnMaterial = 0xFFFFFFFFu;

std::uint16_t U16At(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    return std::uint16_t(bytes[offset] | bytes[offset + 1] << 8);
}

float F32At(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    return std::bit_cast<float>(fileio::LoadU32LE(bytes.subspan(offset).first<4>()));
}

std::uint32_t TextureSetCount(std::uint32_t flags)
{
    const std::uint32_t declared = flags >> 16 & 0xFF;
    if (declared != 0)
        return declared;
    return (flags & TwoTextureSetsFlag) ? 2 : (flags & TexturedFlag) ? 1 : 0;
}

std::vector<TVec3> ReadVectors(fileio::TByteReader& reader, std::uint32_t count, std::string_view field)
{
    const auto bytes = reader.Bytes(std::uint64_t(count) * 12, field);
    std::vector<TVec3> vectors(count);
    for (std::size_t i = 0; i < vectors.size(); ++i)
        vectors[i] = {F32At(bytes, i * 12), F32At(bytes, i * 12 + 4), F32At(bytes, i * 12 + 8)};
    return vectors;
}

void ReadVertexArrays(fileio::TByteReader& reader, std::uint32_t flags, std::uint32_t vertices, TGeometry& geometry)
{
    if (flags & PrelitFlag) {
        const auto bytes = reader.Bytes(std::uint64_t(vertices) * 4, "the prelit colours");
        geometry.Prelit.resize(vertices);
        for (std::size_t i = 0; i < vertices; ++i)
            geometry.Prelit[i] = {bytes[i * 4], bytes[i * 4 + 1], bytes[i * 4 + 2], bytes[i * 4 + 3]};
    }
    const std::uint32_t sets = TextureSetCount(flags);
    if (sets > 0) {
        const auto bytes = reader.Bytes(std::uint64_t(vertices) * 8 * sets, "the texture coordinates");
        geometry.TexCoords.resize(vertices);
        for (std::size_t i = 0; i < vertices; ++i)
            geometry.TexCoords[i] = {F32At(bytes, i * 8), F32At(bytes, i * 8 + 4)};
    }
}

void ReadTriangles(fileio::TByteReader& reader, std::uint32_t count, TGeometry& geometry)
{
    const auto bytes = reader.Bytes(std::uint64_t(count) * 8, "the triangles");
    geometry.Triangles.resize(count);
    for (std::size_t i = 0; i < geometry.Triangles.size(); ++i) {
        TTriangle& triangle = geometry.Triangles[i];
        triangle.Vertices[1] = U16At(bytes, i * 8);
        triangle.Vertices[0] = U16At(bytes, i * 8 + 2);
        triangle.Material = U16At(bytes, i * 8 + 4);
        triangle.Vertices[2] = U16At(bytes, i * 8 + 6);
    }
}

// Only the first morph target is drawn; the others are not read.
void ReadGeometryStruct(const TChunk& chunk, const std::string& what, TGeometry& geometry)
{
    fileio::TByteReader reader(chunk.Payload, what);
    const std::uint32_t flags = reader.U32("the flags");
    const std::uint32_t triangles = reader.U32("the triangle count");
    const std::uint32_t vertices = reader.U32("the vertex count");
    const std::uint32_t morphTargets = reader.U32("the morph target count");
    if (flags & NativeFlag)
        throw fileio::TVehmiraError(what + ": the geometry is pre-instanced for a console and cannot be drawn");
    if (chunk.Version().Version < SurfacePropertiesUntil)
        reader.Bytes(12, "the surface properties");
    ReadVertexArrays(reader, flags, vertices, geometry);
    ReadTriangles(reader, triangles, geometry);
    if (morphTargets == 0)
        return;
    reader.Bytes(16, "the bounding sphere");
    const bool hasPositions = reader.U32("the positions flag") != 0;
    const bool hasNormals = reader.U32("the normals flag") != 0;
    if (hasPositions)
        geometry.Positions = ReadVectors(reader, vertices, "the positions");
    if (hasNormals)
        geometry.Normals = ReadVectors(reader, vertices, "the normals");
    if (!(flags & PositionsFlag) && geometry.Positions.empty())
        geometry.Triangles.clear();
}

TMaterial ReadMaterial(const TChunk& chunk, const std::string& what)
{
    TChunkReader children(chunk, what);
    fileio::TByteReader reader(children.Expect(renderware::StructChunk, "the material's Struct").Payload, what);
    reader.U32("the material flags");
    TMaterial material;
    const auto colour = reader.Bytes(4, "the material colour");
    material.Colour = {colour[0], colour[1], colour[2], colour[3]};
    while (!children.AtEnd()) {
        const TChunk child = children.Next();
        if (child.Type != renderware::TextureChunk)
            continue;
        TChunkReader texture(child, what);
        texture.Expect(renderware::StructChunk, "the texture's Struct");
        material.TextureName = renderware::StringChunkText(texture.Expect(renderware::StringChunk, "the texture name"));
    }
    return material;
}

// Each entry of the list's index array is -1 for the next Material chunk, or
// the index of an earlier entry whose material it repeats.
std::vector<TMaterial> ReadMaterialList(const TChunk& list, const std::string& what)
{
    TChunkReader children(list, what);
    fileio::TByteReader reader(children.Expect(renderware::StructChunk, "the material list's Struct").Payload, what);
    const std::uint32_t count = reader.U32("the material count");
    const auto indices = reader.Bytes(std::uint64_t(count) * 4, "the material indices");
    std::vector<TMaterial> materials;
    materials.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t index = fileio::LoadU32LE(indices.subspan(i * 4).first<4>());
        if (index == OwnMaterial) {
            const std::string name = what + ", material " + std::to_string(i + 1);
            TChunk chunk = children.Expect(renderware::MaterialChunk, "a Material");
            materials.push_back(ReadMaterial(chunk, name));
        } else if (index < i) {
            materials.push_back(materials[index]);
        } else {
            throw fileio::TVehmiraError(what + ": material " + std::to_string(i + 1) + " repeats material " +
                                        std::to_string(index) + ", which does not come before it");
        }
    }
    return materials;
}

} // namespace

TGeometry ReadGeometry(const TChunk& geometry, const std::string& what)
{
    TGeometry result;
    TChunkReader children(geometry, what);
    ReadGeometryStruct(children.Expect(renderware::StructChunk, "the geometry's Struct"), what, result);
    result.Materials = ReadMaterialList(children.Expect(renderware::MaterialListChunk, "the Material List"), what);
    if (!result.Normals.empty() && result.Normals.size() != result.Positions.size())
        result.Normals.clear();
    return result;
}

} // namespace vehmira::render
