#include "renderware/ModelSummary.h"

#include "fileio/ByteReader.h"
#include "fileio/Errors.h"
#include "renderware/ChunkReader.h"
#include "renderware/GeometrySummary.h"

#include <algorithm>

namespace vehmira::renderware {

namespace {

const std::string What = "model";
constexpr std::uint64_t FrameRecordSize = 56;

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && SameTextureName(text.substr(text.size() - suffix.size()), suffix);
}

std::string FrameNameFromExtension(const TChunk& extension)
{
    TChunkReader plugins(extension, What);
    while (!plugins.AtEnd())
        if (const TChunk plugin = plugins.Next(); plugin.Type == FrameNamePluginChunk)
            return FixedText(plugin.Payload);
    return {};
}

void ReadFrameList(const TChunk& frameList, TModelSummary& summary)
{
    TChunkReader children(frameList, What);
    const TChunk header = children.Expect(StructChunk, "the frame list's Struct");
    fileio::TByteReader reader(header.Payload, What + ", frame list");
    const std::uint32_t count = reader.U32("the frame count");
    if (count > reader.Remaining() / FrameRecordSize)
        throw fileio::TVehmiraError(What + ": the frame list declares " + std::to_string(count) +
                                    " frames, its Struct holds " +
                                    std::to_string(reader.Remaining() / FrameRecordSize));
    summary.Frames.resize(count);
    for (TFrameSummary& frame : summary.Frames) {
        reader.Bytes(48, "the frame's matrix");
        frame.Parent = reader.I32("the frame's parent");
        reader.U32("the frame's flags");
    }
    for (std::size_t index = 0; index < summary.Frames.size() && !children.AtEnd(); ++index)
        if (const TChunk extension = children.Next(); extension.Type == ExtensionChunk)
            summary.Frames[index].Name = FrameNameFromExtension(extension);
}

void ReadGeometryList(const TChunk& geometryList, TModelSummary& summary)
{
    TChunkReader children(geometryList, What);
    const TChunk header = children.Expect(StructChunk, "the geometry list's Struct");
    fileio::TByteReader reader(header.Payload, What + ", geometry list");
    const std::uint32_t declared = reader.U32("the geometry count");
    while (!children.AtEnd()) {
        const TChunk chunk = children.Next();
        if (chunk.Type == GeometryChunk)
            summary.Geometries.push_back(
                ReadGeometrySummary(chunk, What + ", geometry " + std::to_string(summary.Geometries.size() + 1)));
    }
    if (summary.Geometries.size() != declared)
        throw fileio::TVehmiraError(What + ": the geometry list declares " + std::to_string(declared) +
                                    " geometries, holds " + std::to_string(summary.Geometries.size()));
}

void ReadAtomic(const TChunk& atomic, TModelSummary& summary)
{
    TChunkReader children(atomic, What);
    fileio::TByteReader reader(children.Expect(StructChunk, "the atomic's Struct").Payload,
                               What + ", atomic " + std::to_string(summary.Atomics.size() + 1));
    TAtomicSummary result;
    result.FrameIndex = reader.U32("the frame index");
    result.GeometryIndex = reader.U32("the geometry index");
    summary.Atomics.push_back(result);
}

// Atomics refer to frames and geometries by index; both lists must hold them.
void ResolveAtomics(TModelSummary& summary)
{
    for (std::size_t index = 0; index < summary.Atomics.size(); ++index) {
        TAtomicSummary& atomic = summary.Atomics[index];
        const std::string atomicName = What + ": atomic " + std::to_string(index + 1);
        if (atomic.FrameIndex >= summary.Frames.size())
            throw fileio::TVehmiraError(atomicName + " names frame " + std::to_string(atomic.FrameIndex) +
                                        ", the model has " + std::to_string(summary.Frames.size()) + " frames");
        if (atomic.GeometryIndex >= summary.Geometries.size())
            throw fileio::TVehmiraError(atomicName + " names geometry " + std::to_string(atomic.GeometryIndex) +
                                        ", the model has " + std::to_string(summary.Geometries.size()) + " geometries");
        atomic.FrameName = summary.Frames[atomic.FrameIndex].Name;
        atomic.Variant = PartVariantOf(atomic.FrameName);
    }
}

void Summarise(TModelSummary& summary)
{
    for (const TGeometrySummary& geometry : summary.Geometries) {
        summary.TotalVertices += geometry.Vertices;
        summary.TotalTriangles += geometry.Triangles;
        if (geometry.Native)
            summary.Platform = TPlatform::Console;
        for (const std::string& name : geometry.TextureNames)
            if (std::none_of(summary.TextureNames.begin(), summary.TextureNames.end(),
                             [&](const std::string& known) { return SameTextureName(known, name); }))
                summary.TextureNames.push_back(name);
    }
}

} // namespace

TPartVariant PartVariantOf(std::string_view frameName)
{
    if (EndsWithIgnoringCase(frameName, "_dam"))
        return TPartVariant::Damaged;
    if (EndsWithIgnoringCase(frameName, "_vlo"))
        return TPartVariant::LowDetail;
    return TPartVariant::Normal;
}

bool IsFrameWithin(const TModelSummary& model, std::size_t frame, std::size_t ancestor)
{
    for (std::size_t steps = 0; steps <= model.Frames.size(); ++steps) {
        if (frame == ancestor)
            return true;
        if (frame >= model.Frames.size())
            return false;
        const std::int32_t parent = model.Frames[frame].Parent;
        if (parent < 0)
            return false;
        frame = std::size_t(parent);
    }
    return false;
}

bool IsFoundFromClumpFrame(const TModelSummary& model, std::size_t frame)
{
    return frame != ClumpFrame && frame < model.Frames.size() && IsFrameWithin(model, frame, ClumpFrame);
}

TModelSummary ReadModelSummary(std::span<const std::uint8_t> bytes)
{
    const TChunk root = ReadRootChunk(bytes, ClumpChunk, What);
    TModelSummary summary;
    summary.Version = root.Version();
    TChunkReader children(root, What);
    fileio::TByteReader counts(children.Expect(StructChunk, "the clump's Struct").Payload, What + ", clump");
    const std::uint32_t declaredAtomics = counts.U32("the atomic count");
    while (!children.AtEnd()) {
        const TChunk chunk = children.Next();
        if (chunk.Type == FrameListChunk)
            ReadFrameList(chunk, summary);
        else if (chunk.Type == GeometryListChunk)
            ReadGeometryList(chunk, summary);
        else if (chunk.Type == AtomicChunk)
            ReadAtomic(chunk, summary);
    }
    if (summary.Atomics.size() != declaredAtomics)
        throw fileio::TVehmiraError(What + ": the clump declares " + std::to_string(declaredAtomics) +
                                    " atomics, holds " + std::to_string(summary.Atomics.size()));
    ResolveAtomics(summary);
    Summarise(summary);
    return summary;
}

} // namespace vehmira::renderware
