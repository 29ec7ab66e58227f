#include "render/ClumpModel.h"

#include "fileio/ByteReader.h"
#include "fileio/Errors.h"
#include "render/GeometryReader.h"
#include "renderware/ChunkReader.h"
#include "renderware/RootChunk.h"

#include <algorithm>
#include <bit>

namespace vehmira::render {

namespace {

using renderware::TChunk;
using renderware::TChunkReader;

const std::string What = "model";
constexpr std::uint64_t FrameRecordSize = 56;

TVec3 ReadVec3(fileio::TByteReader& reader, std::string_view field)
{
    TVec3 v;
    v.X = std::bit_cast<float>(reader.U32(field));
    v.Y = std::bit_cast<float>(reader.U32(field));
    v.Z = std::bit_cast<float>(reader.U32(field));
    return v;
}

std::string FrameNameFromExtension(const TChunk& extension)
{
    TChunkReader plugins(extension, What);
    while (!plugins.AtEnd())
        if (const TChunk plugin = plugins.Next(); plugin.Type == renderware::FrameNamePluginChunk)
            return renderware::FixedText(plugin.Payload);
    return {};
}

void ReadFrameList(const TChunk& frameList, TClumpModel& model)
{
    TChunkReader children(frameList, What);
    fileio::TByteReader reader(children.Expect(renderware::StructChunk, "the frame list's Struct").Payload,
                               What + ", frame list");
    const std::uint32_t count = reader.U32("the frame count");
    if (count > reader.Remaining() / FrameRecordSize)
        throw fileio::TVehmiraError(What + ": the frame list declares " + std::to_string(count) +
                                    " frames, its Struct holds fewer");
    model.Frames.resize(count);
    for (TFrame& frame : model.Frames) {
        frame.Local.Right = ReadVec3(reader, "the frame's matrix");
        frame.Local.Up = ReadVec3(reader, "the frame's matrix");
        frame.Local.At = ReadVec3(reader, "the frame's matrix");
        frame.Local.Pos = ReadVec3(reader, "the frame's position");
        frame.Parent = reader.I32("the frame's parent");
        reader.U32("the frame's flags");
    }
    for (std::size_t index = 0; index < model.Frames.size() && !children.AtEnd(); ++index)
        if (const TChunk extension = children.Next(); extension.Type == renderware::ExtensionChunk)
            model.Frames[index].Name = FrameNameFromExtension(extension);
}

// A damaged geometry is kept as an empty one, so that the atomics' indices
// still name the right geometries.
void ReadGeometryList(const TChunk& geometryList, TClumpModel& model)
{
    TChunkReader children(geometryList, What);
    children.Expect(renderware::StructChunk, "the geometry list's Struct");
    while (!children.AtEnd()) {
        const TChunk chunk = children.Next();
        if (chunk.Type != renderware::GeometryChunk)
            continue;
        const std::string what = What + ", geometry " + std::to_string(model.Geometries.size() + 1);
        try {
            model.Geometries.push_back(ReadGeometry(chunk, what));
        } catch (const fileio::TVehmiraError& error) {
            model.Geometries.emplace_back();
            model.Problems.push_back(error.what());
        }
    }
}

void ReadAtomic(const TChunk& atomic, TClumpModel& model)
{
    TChunkReader children(atomic, What);
    fileio::TByteReader reader(children.Expect(renderware::StructChunk, "the atomic's Struct").Payload,
                               What + ", atomic " + std::to_string(model.Atomics.size() + 1));
    TAtomic result;
    result.Frame = reader.U32("the frame index");
    result.Geometry = reader.U32("the geometry index");
    model.Atomics.push_back(result);
}

void ReadClumpChild(const TChunk& chunk, TClumpModel& model)
{
    try {
        if (chunk.Type == renderware::FrameListChunk)
            ReadFrameList(chunk, model);
        else if (chunk.Type == renderware::GeometryListChunk)
            ReadGeometryList(chunk, model);
        else if (chunk.Type == renderware::AtomicChunk)
            ReadAtomic(chunk, model);
    } catch (const fileio::TVehmiraError& error) {
        model.Problems.push_back(error.what());
    }
}

std::uint32_t U32At(std::span<const std::uint8_t> bytes, std::size_t offset)
{
    return fileio::LoadU32LE(bytes.subspan(offset).first<4>());
}

// The clump, found as the root-chunk rule finds a model (renderware/RootChunk.h):
// a UV animation dictionary may come first and is passed over. Real files
// carry root sizes that overrun the file (some count the 12-byte header in
// the size): a clump whose size runs past the data ends with the data, and
// the chunks inside it are read as far as they are whole.
TChunk ModelClump(std::span<const std::uint8_t> bytes)
{
    if (!renderware::IsRootOf(renderware::TRenderWareStream::Model, renderware::RootChunkType(bytes)) ||
        bytes.size() < renderware::ChunkHeaderSize)
        throw fileio::TVehmiraError(What + ": the data does not begin with a clump");
    std::size_t at = 0;
    if (U32At(bytes, 0) != renderware::ClumpChunk) {
        const std::uint64_t skipped = renderware::ChunkHeaderSize + std::uint64_t(U32At(bytes, 4));
        if (skipped > bytes.size() - renderware::ChunkHeaderSize || U32At(bytes, skipped) != renderware::ClumpChunk)
            throw fileio::TVehmiraError(What + ": no clump follows the UV animation dictionary");
        at = std::size_t(skipped);
    }
    TChunk clump;
    clump.Type = renderware::ClumpChunk;
    clump.Stamp = U32At(bytes, at + 8);
    clump.Offset = at;
    const std::size_t available = bytes.size() - at - renderware::ChunkHeaderSize;
    clump.Payload = bytes.subspan(at + renderware::ChunkHeaderSize, std::min<std::size_t>(U32At(bytes, at + 4), available));
    return clump;
}

} // namespace

TClumpModel ReadClumpModel(std::span<const std::uint8_t> bytes)
{
    const TChunk root = ModelClump(bytes);
    TClumpModel model;
    TChunkReader children(root, What);
    try {
        while (!children.AtEnd())
            ReadClumpChild(children.Next(), model);
    } catch (const fileio::TVehmiraError& error) {
        // A chunk header that runs past the clump: what came before it stays.
        model.Problems.push_back(error.what());
    }
    return model;
}

} // namespace vehmira::render
