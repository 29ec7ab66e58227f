#include "ClumpBuilder.h"

#include "RwStreamBuilder.h"

#include <cmath>
#include <numbers>

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

namespace {

float SignedPower(double value, double power)
{
    return float((value < 0 ? -1 : 1) * std::pow(std::fabs(value), power));
}

std::vector<std::array<std::uint8_t, 4>> Pattern(std::uint16_t side, std::uint8_t tint)
{
    std::vector<std::array<std::uint8_t, 4>> pixels(std::size_t(side) * side);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const auto v = std::uint8_t(((i % side) ^ (i / side)) * 256 / side);
        pixels[i] = {std::uint8_t(200 + v / 8), std::uint8_t(200 + v / 8), std::uint8_t(190 + tint / 8 + v / 16), 255};
        if ((i % side) % (side / 8) == 0 || (i / side) % (side / 8) == 0)
            pixels[i] = {tint, tint, tint, 255};
    }
    return pixels;
}

} // namespace

void AddRoundedBox(TClumpGeometry& geometry, TVec centre, TVec halfSizes, float roundness, int stacks, int slices,
                   std::uint16_t material, bool alongX)
{
    const auto base = std::uint32_t(geometry.Positions.size());
    for (int i = 0; i <= stacks; ++i)
        for (int j = 0; j <= slices; ++j) {
            const double latitude = std::numbers::pi * (double(i) / stacks - 0.5);
            const double longitude = 2 * std::numbers::pi * j / slices;
            // A wheel is round about its axle.
            const double around = alongX ? 1.0 : roundness;
            TVec unit{SignedPower(std::cos(latitude), roundness) * SignedPower(std::cos(longitude), around),
                      SignedPower(std::cos(latitude), roundness) * SignedPower(std::sin(longitude), around),
                      SignedPower(std::sin(latitude), roundness)};
            TVec normal{SignedPower(std::cos(latitude), 2 - roundness) * SignedPower(std::cos(longitude), 2 - around),
                        SignedPower(std::cos(latitude), 2 - roundness) * SignedPower(std::sin(longitude), 2 - around),
                        SignedPower(std::sin(latitude), 2 - roundness)};
            if (alongX) {
                std::swap(unit[0], unit[2]);
                std::swap(normal[0], normal[2]);
            }
            TVec position;
            for (int k = 0; k < 3; ++k) {
                position[k] = centre[k] + halfSizes[k] * unit[k];
                normal[k] /= halfSizes[k];
            }
            const float length = std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
            geometry.Positions.push_back(position);
            geometry.Normals.push_back(length > 0 ? TVec{normal[0] / length, normal[1] / length, normal[2] / length}
                                                  : TVec{0, 0, 1});
            geometry.TexCoords.push_back({float(j) / slices * 4, float(i) / stacks * 2});
        }
    for (int i = 0; i < stacks; ++i)
        for (int j = 0; j < slices; ++j) {
            const auto a = std::uint16_t(base + i * (slices + 1) + j), b = std::uint16_t(a + 1);
            const auto c = std::uint16_t(a + slices + 1), d = std::uint16_t(c + 1);
            geometry.Triangles.push_back({a, c, b, material});
            geometry.Triangles.push_back({b, c, d, material});
        }
}

TVehicleStreams CarLikeVehicle(int stacks, int slices, std::uint16_t textureSide)
{
    TClump clump;
    clump.Frames = {{"car"}, {"chassis", 0}, {"wheel_rf_dummy", 0}, {"wheel", 2}, {"wheel_lf_dummy", 0},
                    {"wheel_rb_dummy", 0}, {"wheel_lb_dummy", 0}, {"chassis_dam", 0}};
    const float x = 0.82f, y = 1.35f, z = -0.28f;
    clump.Frames[2].Position = {x, y, z};
    clump.Frames[4].Position = {-x, y, z};
    clump.Frames[5].Position = {x, -y, z};
    clump.Frames[6].Position = {-x, -y, z};
    TClumpGeometry body;
    body.Materials = {{{60, 255, 0, 255}, "body"}, {{90, 120, 150, 170}, ""}};
    AddRoundedBox(body, {0, 0, 0}, {0.95f, 2.3f, 0.38f}, 0.35f, stacks, slices, 0);
    AddRoundedBox(body, {0, -0.25f, 0.42f}, {0.78f, 1.15f, 0.36f}, 0.45f, stacks / 3, slices / 4, 1);
    TClumpGeometry wheel;
    wheel.Materials = {{{70, 70, 74, 255}, "wheel"}};
    AddRoundedBox(wheel, {0.02f, 0, 0}, {0.13f, 0.36f, 0.36f}, 0.25f, 12, 24, 0, true);
    clump.Geometries = {body, wheel};
    clump.Atomics = {{1, 0}, {3, 1}, {7, 1}};
    TVehicleStreams streams;
    streams.Model = Clump(clump);
    streams.Dictionary = TextureDictionary({RgbaTextureNative("body", textureSide, textureSide, Pattern(textureSide, 60)),
                                            RgbaTextureNative("interior", textureSide, textureSide, Pattern(textureSide, 120)),
                                            RgbaTextureNative("wheel", textureSide, textureSide, Pattern(textureSide, 20))});
    return streams;
}

} // namespace RwTest
