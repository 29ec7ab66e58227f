#include "support/RwStreamBuilder.h"

#include <bit>

using namespace vehmira::fileio;

namespace RwTest {

void PutU16(ByteBuffer& out, std::uint16_t value)
{
    out.push_back(std::uint8_t(value));
    out.push_back(std::uint8_t(value >> 8));
}

void PutU32(ByteBuffer& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(std::uint8_t(value >> shift));
}

void PutF32(ByteBuffer& out, float value) { PutU32(out, std::bit_cast<std::uint32_t>(value)); }

void PutFixedText(ByteBuffer& out, std::string_view text, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i)
        out.push_back(i < text.size() ? std::uint8_t(text[i]) : 0);
}

void SetU32(ByteBuffer& bytes, std::size_t position, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.at(position + i) = std::uint8_t(value >> (8 * i));
}

ByteBuffer Chunk(std::uint32_t type, const ByteBuffer& payload, std::uint32_t stamp)
{
    ByteBuffer chunk;
    PutU32(chunk, type);
    PutU32(chunk, std::uint32_t(payload.size()));
    PutU32(chunk, stamp);
    chunk.insert(chunk.end(), payload.begin(), payload.end());
    return chunk;
}

ByteBuffer Container(std::uint32_t type, const std::vector<ByteBuffer>& children, std::uint32_t stamp)
{
    ByteBuffer payload;
    for (const ByteBuffer& child : children)
        payload.insert(payload.end(), child.begin(), child.end());
    return Chunk(type, payload, stamp);
}

ByteBuffer Container(std::uint32_t type, std::initializer_list<ByteBuffer> children, std::uint32_t stamp)
{
    return Container(type, std::vector<ByteBuffer>(children), stamp);
}

ByteBuffer StringChunk(std::string_view text)
{
    ByteBuffer payload;
    PutFixedText(payload, text, (text.size() / 4 + 1) * 4);
    return Chunk(0x02, payload);
}

namespace {

std::size_t DefaultLevelSize(const TTestTexture& texture)
{
    const std::size_t pixels = std::size_t(texture.Width) * texture.Height;
    return texture.Depth >= 8 ? pixels * texture.Depth / 8 : (texture.Width + 1) / 2 * texture.Height;
}

} // namespace

ByteBuffer TextureNative(const TTestTexture& texture)
{
    ByteBuffer data;
    PutU32(data, texture.PlatformId);
    PutU32(data, 0x1106);
    PutFixedText(data, texture.Name, 32);
    PutFixedText(data, texture.Mask, 32);
    PutU32(data, texture.RasterFormat);
    PutU32(data, texture.D3DFormatOrAlpha);
    PutU16(data, texture.Width);
    PutU16(data, texture.Height);
    for (const std::uint8_t value : {texture.Depth, std::uint8_t(texture.Levels.empty() ? 1 : texture.Levels.size()),
                                     std::uint8_t(4), texture.Flags})
        data.push_back(value);
    data.insert(data.end(), texture.Palette.begin(), texture.Palette.end());
    const std::vector<ByteBuffer> levels =
        texture.Levels.empty() ? std::vector<ByteBuffer>{ByteBuffer(DefaultLevelSize(texture), 0)} : texture.Levels;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        PutU32(data, i == 0 && texture.FirstLevelSizeField ? *texture.FirstLevelSizeField : std::uint32_t(levels[i].size()));
        data.insert(data.end(), levels[i].begin(), levels[i].end());
    }
    return Container(0x15, {Chunk(0x01, data), Chunk(0x03, {})});
}

ByteBuffer TextureDictionary(const std::vector<ByteBuffer>& textures, std::optional<std::uint16_t> declaredCount,
                             std::uint32_t stamp)
{
    ByteBuffer header;
    PutU16(header, declaredCount.value_or(std::uint16_t(textures.size())));
    PutU16(header, 2);
    std::vector<ByteBuffer> children{Chunk(0x01, header, stamp)};
    children.insert(children.end(), textures.begin(), textures.end());
    children.push_back(Chunk(0x03, {}, stamp));
    return Container(0x16, children, stamp);
}

namespace {

ByteBuffer FrameList(const std::vector<TTestFrame>& frames)
{
    ByteBuffer data;
    PutU32(data, std::uint32_t(frames.size()));
    for (const TTestFrame& frame : frames) {
        for (int i = 0; i < 12; ++i)
            PutF32(data, i % 4 == 0 && i < 9 ? 1.0f : 0.0f);
        PutU32(data, std::uint32_t(frame.Parent));
        PutU32(data, 0);
    }
    std::vector<ByteBuffer> children{Chunk(0x01, data)};
    for (const TTestFrame& frame : frames) {
        const ByteBuffer name(frame.Name.begin(), frame.Name.end());
        children.push_back(frame.Name.empty() ? Chunk(0x03, {}) : Container(0x03, {Chunk(0x253F2FE, name)}));
    }
    return Container(0x0E, children);
}

ByteBuffer Material(const std::string& textureName)
{
    ByteBuffer data;
    PutU32(data, 0);
    PutU32(data, 0xFFFFFFFF);
    PutU32(data, 0);
    PutU32(data, textureName.empty() ? 0 : 1);
    for (int i = 0; i < 3; ++i)
        PutF32(data, 1.0f);
    if (textureName.empty())
        return Container(0x07, {Chunk(0x01, data), Chunk(0x03, {})});
    ByteBuffer filter;
    PutU32(filter, 0x1106);
    const ByteBuffer texture =
        Container(0x06, {Chunk(0x01, filter), StringChunk(textureName), StringChunk(""), Chunk(0x03, {})});
    return Container(0x07, {Chunk(0x01, data), texture, Chunk(0x03, {})});
}

ByteBuffer GeometryStruct(const TTestGeometry& geometry, std::uint32_t stamp)
{
    ByteBuffer data;
    PutU32(data, 0x00010006 | (geometry.Prelit ? 0x08 : 0) | (geometry.Native ? 0x01000000 : 0));
    PutU32(data, geometry.Triangles);
    PutU32(data, geometry.Vertices);
    PutU32(data, geometry.MorphTargets);
    if (stamp == Stamp3302)
        for (int i = 0; i < 3; ++i)
            PutF32(data, 1.0f);
    if (geometry.Native)
        return Chunk(0x01, data, stamp);
    if (geometry.Prelit)
        data.insert(data.end(), std::size_t(geometry.Vertices) * 4, 0xFF);
    data.insert(data.end(), std::size_t(geometry.Vertices) * 8, 0);     // one texture coordinate set
    for (std::uint32_t t = 0; t < geometry.Triangles; ++t)
        for (const std::uint16_t value : {std::uint16_t(1), std::uint16_t(0), std::uint16_t(0), std::uint16_t(2)})
            PutU16(data, value);
    for (std::uint32_t m = 0; m < geometry.MorphTargets; ++m) {
        for (int i = 0; i < 4; ++i)
            PutF32(data, 1.0f);
        PutU32(data, 1);
        PutU32(data, 0);
        data.insert(data.end(), std::size_t(geometry.Vertices) * 12, 0);
    }
    return Chunk(0x01, data, stamp);
}

ByteBuffer Geometry(const TTestGeometry& geometry, std::uint32_t stamp)
{
    ByteBuffer listData;
    PutU32(listData, std::uint32_t(geometry.TextureNames.size()));
    std::vector<ByteBuffer> listChildren{Chunk(0x01, ByteBuffer())};
    for (const std::string& name : geometry.TextureNames) {
        PutU32(listData, 0xFFFFFFFF);
        listChildren.push_back(Material(name));
    }
    listChildren[0] = Chunk(0x01, listData);
    return Container(0x0F, {GeometryStruct(geometry, stamp), Container(0x08, listChildren), Chunk(0x03, {})}, stamp);
}

} // namespace

ByteBuffer Model(const TTestModel& model)
{
    ByteBuffer clumpData;
    PutU32(clumpData, std::uint32_t(model.Atomics.size()));
    PutU32(clumpData, 0);
    PutU32(clumpData, 0);
    ByteBuffer listData;
    PutU32(listData, std::uint32_t(model.Geometries.size()));
    std::vector<ByteBuffer> geometries{Chunk(0x01, listData)};
    for (const TTestGeometry& geometry : model.Geometries)
        geometries.push_back(Geometry(geometry, model.Stamp));
    std::vector<ByteBuffer> children{Chunk(0x01, clumpData), FrameList(model.Frames), Container(0x1A, geometries)};
    for (const auto& [frame, geometry] : model.Atomics) {
        ByteBuffer atomic;
        PutU32(atomic, frame);
        PutU32(atomic, geometry);
        PutU32(atomic, 5);
        PutU32(atomic, 0);
        children.push_back(Container(0x14, {Chunk(0x01, atomic), Chunk(0x03, {})}));
    }
    children.push_back(model.Collision ? Container(0x03, {Chunk(0x253F2FA, *model.Collision)}) : Chunk(0x03, {}));
    return Container(0x10, children, model.Stamp);
}

ByteBuffer Collision(std::string_view tag, std::uint16_t spheres, std::uint16_t boxes, std::uint16_t faces)
{
    ByteBuffer data;
    PutFixedText(data, tag, 4);
    PutU32(data, 0); // size, set below
    PutFixedText(data, "vehicle", 22);
    PutU16(data, 0);
    for (int value = 0; value < 10; ++value) // bounds: box and sphere
        PutF32(data, value < 3 ? -1.0f : 1.0f);
    PutU16(data, spheres);
    PutU16(data, boxes);
    PutU16(data, faces);
    data.push_back(0); // lines
    data.push_back(0);
    PutU32(data, 2);   // flags: not empty
    for (int offset = 0; offset < 6 + (tag == "COL3" ? 3 : 0); ++offset)
        PutU32(data, 0);
    // Each sphere, box and face, as its record size; the check reads only the counts.
    data.resize(data.size() + spheres * 20u + boxes * 28u + faces * 8u, 0);
    SetU32(data, 4, std::uint32_t(data.size() - 8));
    return data;
}

} // namespace RwTest
