#include "ClumpBuilder.h"

#include "RwStreamBuilder.h"

namespace RwTest {

using vehmira::fileio::ByteBuffer;

namespace {

constexpr std::uint32_t PositionsFlag = 0x02, TexturedFlag = 0x04, NormalsFlag = 0x10, ModulateFlag = 0x40;

void PutVec(ByteBuffer& out, const TVec& v)
{
    for (float f : v)
        PutF32(out, f);
}

ByteBuffer FrameList(const std::vector<TClumpFrame>& frames)
{
    ByteBuffer data;
    PutU32(data, std::uint32_t(frames.size()));
    for (const TClumpFrame& frame : frames) {
        for (const TVec& v : {frame.Right, frame.Up, frame.At, frame.Position})
            PutVec(data, v);
        PutU32(data, std::uint32_t(frame.Parent));
        PutU32(data, 0);
    }
    std::vector<ByteBuffer> children{Chunk(0x01, data)};
    for (const TClumpFrame& frame : frames) {
        const ByteBuffer name(frame.Name.begin(), frame.Name.end());
        children.push_back(frame.Name.empty() ? Chunk(0x03, {}) : Container(0x03, {Chunk(0x253F2FE, name)}));
    }
    return Container(0x0E, children);
}

ByteBuffer Material(const TClumpMaterial& material)
{
    ByteBuffer data;
    PutU32(data, 0);
    data.insert(data.end(), material.Colour.begin(), material.Colour.end());
    PutU32(data, 0);
    PutU32(data, material.Texture.empty() ? 0 : 1);
    for (int i = 0; i < 3; ++i)
        PutF32(data, 1.0f);
    if (material.Texture.empty())
        return Container(0x07, {Chunk(0x01, data), Chunk(0x03, {})});
    ByteBuffer filter;
    PutU32(filter, 0x1106);
    const ByteBuffer texture =
        Container(0x06, {Chunk(0x01, filter), StringChunk(material.Texture), StringChunk(""), Chunk(0x03, {})});
    return Container(0x07, {Chunk(0x01, data), texture, Chunk(0x03, {})});
}

ByteBuffer GeometryStruct(const TClumpGeometry& geometry)
{
    ByteBuffer data;
    const bool textured = !geometry.TexCoords.empty();
    PutU32(data, PositionsFlag | ModulateFlag | (textured ? TexturedFlag | 0x10000 : 0) |
                     (geometry.Normals.empty() ? 0 : NormalsFlag));
    PutU32(data, std::uint32_t(geometry.Triangles.size()));
    PutU32(data, std::uint32_t(geometry.Positions.size()));
    PutU32(data, 1);
    for (const auto& uv : geometry.TexCoords) {
        PutF32(data, uv[0]);
        PutF32(data, uv[1]);
    }
    for (const auto& t : geometry.Triangles)
        for (std::uint16_t value : {t[1], t[0], t[3], t[2]})
            PutU16(data, value);
    for (int i = 0; i < 4; ++i)
        PutF32(data, 0.0f);
    PutU32(data, 1);
    PutU32(data, geometry.Normals.empty() ? 0 : 1);
    for (const TVec& p : geometry.Positions)
        PutVec(data, p);
    for (const TVec& n : geometry.Normals)
        PutVec(data, n);
    return Chunk(0x01, data);
}

ByteBuffer Geometry(const TClumpGeometry& geometry)
{
    ByteBuffer listData;
    PutU32(listData, std::uint32_t(geometry.Materials.size()));
    std::vector<ByteBuffer> listChildren;
    for (const TClumpMaterial& material : geometry.Materials) {
        PutU32(listData, 0xFFFFFFFF);
        listChildren.push_back(Material(material));
    }
    listChildren.insert(listChildren.begin(), Chunk(0x01, listData));
    return Container(0x0F, {GeometryStruct(geometry), Container(0x08, listChildren), Chunk(0x03, {})});
}

} // namespace

ByteBuffer Clump(const TClump& clump)
{
    ByteBuffer counts;
    PutU32(counts, std::uint32_t(clump.Atomics.size()));
    PutU32(counts, 0);
    PutU32(counts, 0);
    ByteBuffer listData;
    PutU32(listData, std::uint32_t(clump.Geometries.size()));
    std::vector<ByteBuffer> geometries{Chunk(0x01, listData)};
    for (const TClumpGeometry& geometry : clump.Geometries)
        geometries.push_back(Geometry(geometry));
    std::vector<ByteBuffer> children{Chunk(0x01, counts), FrameList(clump.Frames), Container(0x1A, geometries)};
    for (const auto& [frame, geometry] : clump.Atomics) {
        ByteBuffer data;
        PutU32(data, frame);
        PutU32(data, geometry);
        PutU32(data, 5);
        PutU32(data, 0);
        children.push_back(Container(0x14, {Chunk(0x01, data), Chunk(0x03, {})}));
    }
    children.push_back(Chunk(0x03, {}));
    return Container(0x10, children);
}

void AddBox(TClumpGeometry& geometry, TVec low, TVec high, std::uint16_t material)
{
    // Each face: its outward axis and sign, and four corners in order round it.
    for (int axis = 0; axis < 3; ++axis)
        for (int side = 0; side < 2; ++side) {
            const int u = (axis + 1) % 3, v = (axis + 2) % 3;
            const auto base = std::uint16_t(geometry.Positions.size());
            for (int corner = 0; corner < 4; ++corner) {
                TVec p{};
                p[axis] = side ? high[axis] : low[axis];
                p[u] = (corner == 1 || corner == 2) ? high[u] : low[u];
                p[v] = (corner >= 2) ? high[v] : low[v];
                geometry.Positions.push_back(p);
                TVec n{};
                n[axis] = side ? 1.0f : -1.0f;
                geometry.Normals.push_back(n);
                if (!geometry.TexCoords.empty())
                    geometry.TexCoords.push_back({0.0f, 0.0f});
            }
            geometry.Triangles.push_back({base, std::uint16_t(base + 1), std::uint16_t(base + 2), material});
            geometry.Triangles.push_back({base, std::uint16_t(base + 2), std::uint16_t(base + 3), material});
        }
}

TClumpGeometry Box(TVec low, TVec high, std::uint16_t material)
{
    TClumpGeometry geometry;
    AddBox(geometry, low, high, material);
    return geometry;
}

TClumpGeometry RectangleFacingX(float x, std::array<float, 2> y, std::array<float, 2> z, float uvScale,
                                std::uint16_t material)
{
    TClumpGeometry geometry;
    geometry.Positions = {{x, y[0], z[1]}, {x, y[1], z[1]}, {x, y[1], z[0]}, {x, y[0], z[0]}};
    geometry.Normals.assign(4, TVec{1, 0, 0});
    geometry.TexCoords = {{0, 0}, {uvScale, 0}, {uvScale, uvScale}, {0, uvScale}};
    geometry.Triangles = {{0, 1, 2, material}, {0, 2, 3, material}};
    return geometry;
}

ByteBuffer RgbaTextureNative(const std::string& name, std::uint16_t width, std::uint16_t height,
                             const std::vector<std::array<std::uint8_t, 4>>& pixels)
{
    TTestTexture texture;
    texture.Name = name;
    texture.Width = width;
    texture.Height = height;
    ByteBuffer level;
    for (const auto& p : pixels)
        for (std::uint8_t value : {p[2], p[1], p[0], p[3]})
            level.push_back(value);
    texture.Levels = {level};
    return TextureNative(texture);
}

} // namespace RwTest
