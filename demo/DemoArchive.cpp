#include "demo/DemoArchive.h"

#include "archive/DIR.h"
#include "demo/DemoVehicles.h"
#include "renderware/RenderWareChunks.h"

#include <string>
#include <utility>
#include <vector>

using namespace RenderWare;

namespace {
// A small deterministic generator (xorshift32): the demo must be the same on every run.
class TDemoRandom {
public:
    explicit TDemoRandom(std::uint32_t seed) : State(seed * 2654435761u + 1) {}
    std::uint32_t Next()
    {
        State ^= State << 13;
        State ^= State >> 17;
        State ^= State << 5;
        return State;
    }
    // A value in [low, high).
    float Between(float low, float high) { return low + (high - low) * float(Next() % 10000) / 10000.0f; }

private:
    std::uint32_t State;
};

ByteBuffer ClumpCounts()
{
    ByteBuffer payload;
    PutU32LE(payload, 1); // atomics
    PutU32LE(payload, 0); // lights
    PutU32LE(payload, 0); // cameras
    return Chunk(StructChunk, payload);
}

// Two frames: the root and the body below it. Each frame is a 3 × 3 rotation,
// a position, the parent index and flags.
ByteBuffer FrameList(TDemoRandom& random)
{
    ByteBuffer payload;
    PutU32LE(payload, 2);
    for (std::int32_t parent : {-1, 0}) {
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column)
                PutF32LE(payload, row == column ? 1.0f : 0.0f);
        for (int axis = 0; axis < 3; ++axis)
            PutF32LE(payload, parent < 0 ? 0.0f : random.Between(-0.5f, 0.5f));
        PutU32LE(payload, std::uint32_t(parent));
        PutU32LE(payload, 0);
    }
    return Container(FrameListChunk, {Chunk(StructChunk, payload), NoExtensions(), NoExtensions()});
}

ByteBuffer GeometryData(TDemoRandom& random)
{
    const std::uint32_t vertexCount = 120 + random.Next() % 80;
    const std::uint32_t triangleCount = vertexCount - 2;
    ByteBuffer payload;
    PutU32LE(payload, 0x00010006); // flags: positions, textured; one texture coordinate set
    PutU32LE(payload, triangleCount);
    PutU32LE(payload, vertexCount);
    PutU32LE(payload, 1); // morph targets
    for (std::uint32_t v = 0; v < vertexCount * 2; ++v)
        PutF32LE(payload, random.Between(0.0f, 1.0f));
    for (std::uint32_t t = 0; t < triangleCount; ++t) {
        PutU16LE(payload, std::uint16_t(t + 1));
        PutU16LE(payload, std::uint16_t(t));
        PutU16LE(payload, 0); // material
        PutU16LE(payload, std::uint16_t(t + 2));
    }
    for (int value = 0; value < 4; ++value) // bounding sphere: centre and radius
        PutF32LE(payload, value < 3 ? 0.0f : 3.0f);
    PutU32LE(payload, 1); // has positions
    PutU32LE(payload, 0); // has normals
    for (std::uint32_t v = 0; v < vertexCount * 3; ++v)
        PutF32LE(payload, random.Between(-2.5f, 2.5f));
    return Chunk(StructChunk, payload);
}

ByteBuffer MaterialList(std::string_view textureName, TDemoRandom& random)
{
    ByteBuffer listCounts;
    PutU32LE(listCounts, 1);
    PutU32LE(listCounts, 0xFFFFFFFF); // a material of its own, not a copy
    ByteBuffer material;
    PutU32LE(material, 0);
    PutU32LE(material, random.Next() | 0xFF000000); // colour, opaque
    PutU32LE(material, 0);
    PutU32LE(material, 1); // textured
    for (float lighting : {1.0f, 1.0f, 1.0f})
        PutF32LE(material, lighting);
    ByteBuffer filter;
    PutU32LE(filter, 0x1106);
    const ByteBuffer texture = Container(TextureChunk, {Chunk(StructChunk, filter), String(textureName), String(""),
                                                        NoExtensions()});
    return Container(MaterialListChunk,
                     {Chunk(StructChunk, listCounts),
                      Container(MaterialChunk, {Chunk(StructChunk, material), texture, NoExtensions()})});
}

ByteBuffer Atomic()
{
    ByteBuffer payload;
    PutU32LE(payload, 1); // frame
    PutU32LE(payload, 0); // geometry
    PutU32LE(payload, 5); // flags: collision test, render
    PutU32LE(payload, 0);
    return Container(AtomicChunk, {Chunk(StructChunk, payload), NoExtensions()});
}

// The texture's header then its pixels: name, mask, format, size, one level.
ByteBuffer TextureNative(std::string_view textureName, TDemoRandom& random)
{
    constexpr std::uint16_t Side = 32;
    ByteBuffer payload;
    PutU32LE(payload, 9);      // platform: Direct3D 9
    PutU32LE(payload, 0x1106); // filter and addressing
    AppendFixedText(payload, textureName, 32);
    AppendFixedText(payload, "", 32);
    PutU32LE(payload, 0x0500); // raster format 8888
    PutU32LE(payload, 21);     // A8R8G8B8
    PutU16LE(payload, Side);
    PutU16LE(payload, Side);
    for (std::uint8_t value : {32, 1, 4, 0}) // depth, levels, raster type, compression
        payload.push_back(value);
    PutU32LE(payload, Side * Side * 4);
    const std::uint32_t base = random.Next();
    for (std::uint32_t y = 0; y < Side; ++y)
        for (std::uint32_t x = 0; x < Side; ++x)
            PutU32LE(payload, 0xFF000000 | ((base + x * 0x0205 + y * 0x030100) & 0x00FFFFFF));
    return Container(TextureNativeChunk, {Chunk(StructChunk, payload), NoExtensions()});
}

void AppendEntry(ByteBuffer& data, TDIRFile& directory, std::string name, const ByteBuffer& bytes,
                 std::uint32_t firstSector)
{
    const std::uint32_t offset = firstSector + std::uint32_t(data.size() / SectorSize);
    const std::uint32_t sectors = std::uint32_t((bytes.size() + SectorSize - 1) / SectorSize);
    directory.Entries.push_back({offset, sectors, std::move(name)});
    AppendBytes(data, bytes);
    data.resize(std::size_t(offset - firstSector + sectors) * SectorSize, 0);
}
} // namespace

ByteBuffer DemoModel(std::string_view textureName, std::uint32_t seed)
{
    TDemoRandom random(seed);
    const ByteBuffer frames = FrameList(random);
    ByteBuffer counts;
    PutU32LE(counts, 1);
    const ByteBuffer geometry = Container(
        GeometryChunk, {GeometryData(random), MaterialList(textureName, random), NoExtensions()});
    return Container(ClumpChunk, {ClumpCounts(), frames,
                                  Container(GeometryListChunk, {Chunk(StructChunk, counts), geometry}), Atomic(),
                                  NoExtensions()});
}

ByteBuffer DemoTextureDictionary(std::string_view textureName, std::uint32_t seed)
{
    TDemoRandom random(seed ^ 0x5A5A5A5A);
    ByteBuffer counts;
    PutU16LE(counts, 1); // textures
    PutU16LE(counts, 2); // device: Direct3D 9
    return Container(TextureDictionaryChunk,
                     {Chunk(StructChunk, counts), TextureNative(textureName, random), NoExtensions()});
}

ByteBuffer DemoArchiveImage()
{
    const auto vehicles = DemoVehicles();
    const std::size_t entryCount = vehicles.size() * 2 + 2;
    const auto firstSector =
        std::uint32_t((DirectoryStart + DirectoryEntrySize * entryCount + SectorSize - 1) / SectorSize);

    TDIRFile directory;
    ByteBuffer data;
    std::uint32_t seed = 1;
    for (const TDemoVehicle& vehicle : vehicles) {
        const std::string texture = std::string(vehicle.TxdName) + "_body";
        AppendEntry(data, directory, std::string(vehicle.ModelName) + ".dff", DemoModel(texture, seed), firstSector);
        AppendEntry(data, directory, std::string(vehicle.TxdName) + ".txd", DemoTextureDictionary(texture, seed),
                    firstSector);
        ++seed;
    }
    // The props of the definitions' "objs" section.
    AppendEntry(data, directory, "demo_sign.dff", DemoModel("demo_sign", seed), firstSector);
    AppendEntry(data, directory, "demo_props.txd", DemoTextureDictionary("demo_sign", seed), firstSector);

    ByteBuffer image = {'V', 'E', 'R', '2'};
    AppendBytes(image, directory.DirectoryBytes());
    image.resize(std::size_t(firstSector) * SectorSize, 0);
    AppendBytes(image, data);
    return image;
}
