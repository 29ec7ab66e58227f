#include "demo/DemoArchive.h"

#include "archive/DIR.h"
#include "demo/DemoVehicles.h"
#include "gamedata/TextLines.h"
#include "renderware/RenderWareChunks.h"

#include <string>
#include <utility>
#include <vector>

namespace vehmira::demo {

using namespace renderware::ChunkWriter;

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

fileio::ByteBuffer ClumpCounts(std::size_t atomics)
{
    fileio::ByteBuffer payload;
    renderware::PutU32LE(payload, std::uint32_t(atomics));
    renderware::PutU32LE(payload, 0); // lights
    renderware::PutU32LE(payload, 0); // cameras
    return Chunk(renderware::StructChunk, payload);
}

struct TDemoFrame {
    std::string_view Name;
    std::int32_t Parent;
    bool HasAtomic; // the one geometry, drawn at this frame
};

// The frames a vehicle of the type carries, as the game's loader looks for
// them: the type's wheels, a body with its low-detail and damaged parts, the
// light and seat dummies. A model without a type (a prop) has a root and a body.
std::vector<TDemoFrame> FramesOf(std::string_view vehicleType)
{
    if (vehicleType.empty())
        return {{"", -1, false}, {"", 0, true}};
    std::vector<TDemoFrame> frames = {{"vehicle", -1, false}, {"chassis_dummy", 0, false}, {"chassis", 1, true},
                                      {"chassis_vlo", 1, true}, {"ped_frontseat", 0, false}};
    if (vehicleType == "boat")
        return frames;
    if (vehicleType == "bike" || vehicleType == "bmx") {
        frames.insert(frames.end(), {{"wheel_front", 0, true}, {"wheel_rear", 0, true}, {"headlights", 0, false},
                                     {"taillights", 0, false}});
        return frames;
    }
    const auto wheel = std::int32_t(frames.size());
    frames.insert(frames.end(), {{"wheel_rf_dummy", 0, false}, {"wheel", wheel, true}, {"wheel_rb_dummy", 0, false},
                                 {"wheel_lf_dummy", 0, false}, {"wheel_lb_dummy", 0, false},
                                 {"bonnet_dummy", 1, false}, {"bonnet_ok", wheel + 5, true},
                                 {"bonnet_dam", wheel + 5, true}, {"headlights", 0, false}, {"taillights", 0, false}});
    return frames;
}

fileio::ByteBuffer FrameName(std::string_view name)
{
    if (name.empty())
        return NoExtensions();
    const fileio::ByteBuffer text(name.begin(), name.end());
    return Container(renderware::ExtensionChunk, {Chunk(renderware::FrameNamePluginChunk, text)});
}

// Each frame is a 3 × 3 rotation, a position, the parent index and flags; its
// name follows in its extension.
fileio::ByteBuffer FrameList(const std::vector<TDemoFrame>& frames, TDemoRandom& random)
{
    fileio::ByteBuffer payload;
    renderware::PutU32LE(payload, std::uint32_t(frames.size()));
    for (const TDemoFrame& frame : frames) {
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column)
                renderware::PutF32LE(payload, row == column ? 1.0f : 0.0f);
        for (int axis = 0; axis < 3; ++axis)
            renderware::PutF32LE(payload, frame.Parent < 0 ? 0.0f : random.Between(-0.5f, 0.5f));
        renderware::PutU32LE(payload, std::uint32_t(frame.Parent));
        renderware::PutU32LE(payload, 0);
    }
    fileio::ByteBuffer list = Chunk(renderware::StructChunk, payload);
    for (const TDemoFrame& frame : frames)
        fileio::AppendBytes(list, FrameName(frame.Name));
    return Chunk(renderware::FrameListChunk, list);
}

// A vehicle's collision in the clump's extension (plugin 0x253F2FA), as the
// game reads it: a COL3 header (tag, size after its first 8 bytes, name,
// model ID), the bounds, the counts and offsets (from the byte after the tag),
// then one sphere and one box around the body.
fileio::ByteBuffer Collision()
{
    constexpr std::uint32_t HeaderEnd = 120;
    constexpr std::uint32_t SphereSize = 20;
    constexpr std::uint32_t BoxSize = 28;
    fileio::ByteBuffer data = {'C', 'O', 'L', '3'};
    renderware::PutU32LE(data, HeaderEnd + SphereSize + BoxSize - 8);
    renderware::AppendFixedText(data, "vehicle", 22);
    renderware::PutU16LE(data, 0);
    for (const float value : {-2.5f, -2.5f, -2.5f, 2.5f, 2.5f, 2.5f, 0.0f, 0.0f, 0.0f, 4.4f})
        renderware::PutF32LE(data, value); // box, sphere centre and radius
    for (const std::uint16_t count : {1, 1, 0}) // spheres, boxes, faces
        renderware::PutU16LE(data, count);
    renderware::PutU16LE(data, 0); // lines, padding
    renderware::PutU32LE(data, 2); // flags: not empty
    for (const std::uint32_t offset : {HeaderEnd - 4, HeaderEnd + SphereSize - 4, 0u, 0u, 0u, 0u, 0u, 0u, 0u})
        renderware::PutU32LE(data, offset);
    for (const float value : {0.0f, 0.0f, 0.0f, 2.5f})
        renderware::PutF32LE(data, value);
    renderware::PutU32LE(data, 0); // surface
    for (const float value : {-2.0f, -2.0f, -1.0f, 2.0f, 2.0f, 1.0f})
        renderware::PutF32LE(data, value);
    renderware::PutU32LE(data, 0);
    return Container(renderware::ExtensionChunk, {Chunk(renderware::CollisionPluginChunk, data)});
}

fileio::ByteBuffer GeometryData(TDemoRandom& random)
{
    const std::uint32_t vertexCount = 120 + random.Next() % 80;
    const std::uint32_t triangleCount = vertexCount - 2;
    fileio::ByteBuffer payload;
    renderware::PutU32LE(payload, 0x00010006); // flags: positions, textured; one texture coordinate set
    renderware::PutU32LE(payload, triangleCount);
    renderware::PutU32LE(payload, vertexCount);
    renderware::PutU32LE(payload, 1); // morph targets
    for (std::uint32_t v = 0; v < vertexCount * 2; ++v)
        renderware::PutF32LE(payload, random.Between(0.0f, 1.0f));
    for (std::uint32_t t = 0; t < triangleCount; ++t) {
        renderware::PutU16LE(payload, std::uint16_t(t + 1));
        renderware::PutU16LE(payload, std::uint16_t(t));
        renderware::PutU16LE(payload, 0); // material
        renderware::PutU16LE(payload, std::uint16_t(t + 2));
    }
    for (int value = 0; value < 4; ++value) // bounding sphere: centre and radius
        renderware::PutF32LE(payload, value < 3 ? 0.0f : 3.0f);
    renderware::PutU32LE(payload, 1); // has positions
    renderware::PutU32LE(payload, 0); // has normals
    for (std::uint32_t v = 0; v < vertexCount * 3; ++v)
        renderware::PutF32LE(payload, random.Between(-2.5f, 2.5f));
    return Chunk(renderware::StructChunk, payload);
}

fileio::ByteBuffer MaterialList(std::string_view textureName, TDemoRandom& random)
{
    fileio::ByteBuffer listCounts;
    renderware::PutU32LE(listCounts, 1);
    renderware::PutU32LE(listCounts, 0xFFFFFFFF); // a material of its own, not a copy
    fileio::ByteBuffer material;
    renderware::PutU32LE(material, 0);
    renderware::PutU32LE(material, random.Next() | 0xFF000000); // colour, opaque
    renderware::PutU32LE(material, 0);
    renderware::PutU32LE(material, 1); // textured
    for (float lighting : {1.0f, 1.0f, 1.0f})
        renderware::PutF32LE(material, lighting);
    fileio::ByteBuffer filter;
    renderware::PutU32LE(filter, 0x1106);
    const fileio::ByteBuffer texture =
        Container(renderware::TextureChunk,
                  {Chunk(renderware::StructChunk, filter), String(textureName), String(""), NoExtensions()});
    return Container(
        renderware::MaterialListChunk,
        {Chunk(renderware::StructChunk, listCounts),
         Container(renderware::MaterialChunk, {Chunk(renderware::StructChunk, material), texture, NoExtensions()})});
}

fileio::ByteBuffer Atomic(std::size_t frame)
{
    fileio::ByteBuffer payload;
    renderware::PutU32LE(payload, std::uint32_t(frame));
    renderware::PutU32LE(payload, 0); // geometry
    renderware::PutU32LE(payload, 5); // flags: collision test, render
    renderware::PutU32LE(payload, 0);
    return Container(renderware::AtomicChunk, {Chunk(renderware::StructChunk, payload), NoExtensions()});
}

// The texture's header then its pixels: name, mask, format, size, one level.
fileio::ByteBuffer TextureNative(std::string_view textureName, TDemoRandom& random)
{
    constexpr std::uint16_t Side = 32;
    fileio::ByteBuffer payload;
    renderware::PutU32LE(payload, 9);      // platform: Direct3D 9
    renderware::PutU32LE(payload, 0x1106); // filter and addressing
    renderware::AppendFixedText(payload, textureName, 32);
    renderware::AppendFixedText(payload, "", 32);
    renderware::PutU32LE(payload, 0x0500); // raster format 8888
    renderware::PutU32LE(payload, 21);     // A8R8G8B8
    renderware::PutU16LE(payload, Side);
    renderware::PutU16LE(payload, Side);
    for (std::uint8_t value : {32, 1, 4, 0}) // depth, levels, raster type, compression
        payload.push_back(value);
    renderware::PutU32LE(payload, Side * Side * 4);
    const std::uint32_t base = random.Next();
    for (std::uint32_t y = 0; y < Side; ++y)
        for (std::uint32_t x = 0; x < Side; ++x)
            renderware::PutU32LE(payload, 0xFF000000 | ((base + x * 0x0205 + y * 0x030100) & 0x00FFFFFF));
    return Container(renderware::TextureNativeChunk, {Chunk(renderware::StructChunk, payload), NoExtensions()});
}

std::string TypeOf(const TDemoVehicle& vehicle)
{
    constexpr std::size_t TypeField = 3;
    return gamedata::SplitFields(vehicle.DefinitionLine).at(TypeField);
}

void AppendEntry(fileio::ByteBuffer& data, archive::TDIRFile& directory, std::string name,
                 const fileio::ByteBuffer& bytes, std::uint32_t firstSector)
{
    const std::uint32_t offset = firstSector + std::uint32_t(data.size() / archive::SectorSize);
    const std::uint32_t sectors = std::uint32_t((bytes.size() + archive::SectorSize - 1) / archive::SectorSize);
    directory.Entries.push_back({offset, sectors, std::move(name)});
    fileio::AppendBytes(data, bytes);
    data.resize(std::size_t(offset - firstSector + sectors) * archive::SectorSize, 0);
}
} // namespace

fileio::ByteBuffer DemoModel(std::string_view textureName, std::uint32_t seed, std::string_view vehicleType)
{
    TDemoRandom random(seed);
    const std::vector<TDemoFrame> frames = FramesOf(vehicleType);
    const fileio::ByteBuffer frameList = FrameList(frames, random);
    fileio::ByteBuffer counts;
    renderware::PutU32LE(counts, 1);
    const fileio::ByteBuffer geometry =
        Container(renderware::GeometryChunk, {GeometryData(random), MaterialList(textureName, random), NoExtensions()});
    std::vector<fileio::ByteBuffer> atomics;
    for (std::size_t index = 0; index < frames.size(); ++index)
        if (frames[index].HasAtomic)
            atomics.push_back(Atomic(index));
    fileio::ByteBuffer children = ClumpCounts(atomics.size());
    fileio::AppendBytes(children, frameList);
    fileio::AppendBytes(children,
                        Container(renderware::GeometryListChunk, {Chunk(renderware::StructChunk, counts), geometry}));
    for (const fileio::ByteBuffer& atomic : atomics)
        fileio::AppendBytes(children, atomic);
    fileio::AppendBytes(children, vehicleType.empty() ? NoExtensions() : Collision());
    return Chunk(renderware::ClumpChunk, children);
}

fileio::ByteBuffer DemoTextureDictionary(std::string_view textureName, std::uint32_t seed)
{
    TDemoRandom random(seed ^ 0x5A5A5A5A);
    fileio::ByteBuffer counts;
    renderware::PutU16LE(counts, 1); // textures
    renderware::PutU16LE(counts, 2); // device: Direct3D 9
    return Container(renderware::TextureDictionaryChunk,
                     {Chunk(renderware::StructChunk, counts), TextureNative(textureName, random), NoExtensions()});
}

fileio::ByteBuffer DemoArchiveImage()
{
    const auto vehicles = DemoVehicles();
    const std::size_t entryCount = vehicles.size() * 2 + 2;
    const auto firstSector =
        std::uint32_t((archive::DirectoryStart + archive::DirectoryEntrySize * entryCount + archive::SectorSize - 1) /
                      archive::SectorSize);

    archive::TDIRFile directory;
    fileio::ByteBuffer data;
    std::uint32_t seed = 1;
    for (const TDemoVehicle& vehicle : vehicles) {
        const std::string texture = std::string(vehicle.TxdName) + "_body";
        AppendEntry(data, directory, std::string(vehicle.ModelName) + ".dff", DemoModel(texture, seed, TypeOf(vehicle)),
                    firstSector);
        AppendEntry(data, directory, std::string(vehicle.TxdName) + ".txd", DemoTextureDictionary(texture, seed),
                    firstSector);
        ++seed;
    }
    // The props of the definitions' "objs" section.
    AppendEntry(data, directory, "demo_sign.dff", DemoModel("demo_sign", seed), firstSector);
    AppendEntry(data, directory, "demo_props.txd", DemoTextureDictionary("demo_sign", seed), firstSector);

    fileio::ByteBuffer image = {'V', 'E', 'R', '2'};
    fileio::AppendBytes(image, directory.DirectoryBytes());
    image.resize(std::size_t(firstSector) * archive::SectorSize, 0);
    fileio::AppendBytes(image, data);
    return image;
}

} // namespace vehmira::demo
