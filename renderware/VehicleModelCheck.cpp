#include "renderware/VehicleModelCheck.h"

#include "fileio/ByteReader.h"
#include "renderware/ChunkReader.h"
#include "renderware/ModelSummary.h"
#include "renderware/TextureCheck.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace vehmira::renderware {

namespace {

using fileio::TCheckCode;
using TBytes = std::span<const std::uint8_t>;

const std::string What = "model";
constexpr std::array<std::string_view, 4> CarWheels = {"wheel_rf_dummy", "wheel_rb_dummy", "wheel_lf_dummy",
                                                       "wheel_lb_dummy"};
constexpr std::array<std::string_view, 2> BikeWheels = {"wheel_front", "wheel_rear"};
constexpr std::array<std::string_view, 2> MiddleWheels = {"wheel_lm_dummy", "wheel_rm_dummy"};
constexpr std::int32_t SixWheelModel = 432;
// The frame whose first atomic the game clones onto every other wheel.
constexpr std::string_view MainWheel = "wheel_rf_dummy";
constexpr std::array<std::string_view, 6> Extras = {"extra1", "extra2", "extra3", "extra4", "extra5", "extra6"};

constexpr std::uint32_t CollisionHeaderSize = 32;
constexpr std::uint32_t CollisionSizeBelowHeader = 24; // the size field counts from byte 8
constexpr std::uint32_t CollisionCountsOffset = CollisionHeaderSize + 40; // after the bounds

void Add(fileio::TCheckFindings& findings, TCheckCode code, std::string subject = {}, std::int64_t number = 0)
{
    findings.push_back({code, {.Path = {}, .Subject = std::move(subject), .Number = number}});
}

enum class TWheelLayout { None, FourWheels, TwoWheels };

TWheelLayout WheelLayoutOf(std::string_view type)
{
    for (const std::string_view four : {"car", "mtruck", "quad", "heli", "plane", "trailer", "f_heli", "f_plane"})
        if (type == four)
            return TWheelLayout::FourWheels;
    return type == "bike" || type == "bmx" ? TWheelLayout::TwoWheels : TWheelLayout::None;
}

bool ContainsIgnoringCase(std::string_view text, std::string_view part)
{
    for (std::size_t at = 0; at + part.size() <= text.size(); ++at)
        if (SameTextureName(text.substr(at, part.size()), part))
            return true;
    return false;
}

// The raw facts the summary does not keep: each frame name's stored length and the collision plugin.
struct TRawParts {
    std::vector<std::pair<std::string, std::size_t>> FrameNames; // name, bytes stored
    std::optional<TBytes> Collision;
};

void ReadFrameNames(const TChunk& frameList, TRawParts& parts)
{
    TChunkReader children(frameList, What);
    while (!children.AtEnd()) {
        const TChunk extension = children.Next();
        if (extension.Type != ExtensionChunk)
            continue;
        TChunkReader plugins(extension, What);
        while (!plugins.AtEnd())
            if (const TChunk plugin = plugins.Next(); plugin.Type == FrameNamePluginChunk)
                parts.FrameNames.emplace_back(FixedText(plugin.Payload), plugin.Payload.size());
    }
}

TRawParts ReadRawParts(TBytes model)
{
    TRawParts parts;
    TChunkReader children(ReadRootChunk(model, ClumpChunk, What), What);
    while (!children.AtEnd()) {
        const TChunk chunk = children.Next();
        if (chunk.Type == FrameListChunk) {
            ReadFrameNames(chunk, parts);
        } else if (chunk.Type == ExtensionChunk) {
            TChunkReader plugins(chunk, What);
            while (!plugins.AtEnd())
                if (const TChunk plugin = plugins.Next(); plugin.Type == CollisionPluginChunk)
                    parts.Collision = plugin.Payload;
        }
    }
    return parts;
}

void CheckCollision(const std::optional<TBytes>& collision, fileio::TCheckFindings& findings)
{
    if (!collision) {
        Add(findings, TCheckCode::NoCollision);
        return;
    }
    const TBytes data = *collision;
    if (data.size() > LargestCollision)
        Add(findings, TCheckCode::BadCollision, "too_large", std::int64_t(data.size()));
    if (data.size() < 8) {
        Add(findings, TCheckCode::BadCollision, "cut_off", std::int64_t(data.size()));
        return;
    }
    const std::string_view tag(reinterpret_cast<const char*>(data.data()), 4);
    if (tag != "COLL" && tag != "COL2" && tag != "COL3") {
        Add(findings, TCheckCode::BadCollision, "tag");
        return;
    }
    const std::uint32_t declared = fileio::LoadU32LE(data.subspan<4, 4>());
    if (declared < CollisionSizeBelowHeader) {
        Add(findings, TCheckCode::BadCollision, "size_below_header", declared);
        return;
    }
    if (data.size() < CollisionCountsOffset + 6 || declared > data.size() - 8) {
        Add(findings, TCheckCode::BadCollision, "cut_off", std::int64_t(data.size()));
        return;
    }
    if (tag == "COLL")
        return;
    const TBytes counts = data.subspan(CollisionCountsOffset, 6);
    const bool empty = std::all_of(counts.begin(), counts.end(), [](std::uint8_t b) { return b == 0; });
    if (empty)
        Add(findings, TCheckCode::BadCollision, "header_only");
}

// The first frame of that name, ignoring ASCII case, that the game's search
// from the clump's frame reaches.
std::optional<std::size_t> FindFrame(const TModelSummary& model, std::string_view name)
{
    for (std::size_t index = 0; index < model.Frames.size(); ++index)
        if (SameTextureName(model.Frames[index].Name, name) && IsFoundFromClumpFrame(model, index))
            return index;
    return std::nullopt;
}

bool HasAny(const TModelSummary& model, std::span<const std::string_view> names)
{
    return std::any_of(names.begin(), names.end(), [&](std::string_view name) { return FindFrame(model, name); });
}

bool HasAll(const TModelSummary& model, std::span<const std::string_view> names)
{
    return std::all_of(names.begin(), names.end(), [&](std::string_view name) { return FindFrame(model, name); });
}

bool HasAtomicAt(const TModelSummary& model, std::size_t frame, bool orBelow)
{
    return std::any_of(model.Atomics.begin(), model.Atomics.end(), [&](const TAtomicSummary& atomic) {
        return orBelow ? IsFrameWithin(model, atomic.FrameIndex, frame) : atomic.FrameIndex == frame;
    });
}

void RequireFrames(const TModelSummary& model, std::span<const std::string_view> names,
                   fileio::TCheckFindings& findings)
{
    for (const std::string_view name : names)
        if (!FindFrame(model, name))
            Add(findings, TCheckCode::MissingFrame, std::string(name));
}

void CheckWheels(const TModelSummary& model, TWheelLayout layout, std::int32_t modelID,
                 fileio::TCheckFindings& findings)
{
    if (layout == TWheelLayout::FourWheels) {
        RequireFrames(model, CarWheels, findings);
        if (modelID == SixWheelModel)
            RequireFrames(model, MiddleWheels, findings);
        if (const auto wheel = FindFrame(model, MainWheel); wheel && !HasAtomicAt(model, *wheel, true))
            Add(findings, TCheckCode::NoWheelAtomic, std::string(MainWheel));
    } else if (layout == TWheelLayout::TwoWheels) {
        RequireFrames(model, BikeWheels, findings);
    }
}

// Wheel dummies of another kind of vehicle than the target's.
void CheckModelKind(const TModelSummary& model, TWheelLayout layout, fileio::TCheckFindings& findings)
{
    const bool fourWheels = HasAny(model, CarWheels);
    const bool twoWheels = HasAll(model, BikeWheels);
    if (layout == TWheelLayout::FourWheels && !fourWheels && twoWheels)
        Add(findings, TCheckCode::ModelKind, "bike");
    else if (layout == TWheelLayout::TwoWheels && fourWheels && !HasAny(model, BikeWheels))
        Add(findings, TCheckCode::ModelKind, "car");
    else if (layout == TWheelLayout::None && (fourWheels || twoWheels))
        Add(findings, TCheckCode::ModelKind, fourWheels ? "car" : "bike");
}

void CheckParts(const TModelSummary& model, std::string_view type, fileio::TCheckFindings& findings)
{
    for (const std::string_view extra : Extras)
        if (const auto frame = FindFrame(model, extra); frame && !HasAtomicAt(model, *frame, false))
            Add(findings, TCheckCode::ExtraWithoutAtomic, std::string(extra));
    const auto anyAtomicNamed = [&](std::string_view part) {
        return std::any_of(model.Atomics.begin(), model.Atomics.end(),
                           [&](const TAtomicSummary& atomic) { return ContainsIgnoringCase(atomic.FrameName, part); });
    };
    if ((type == "car" || type == "mtruck" || type == "trailer") && !anyAtomicNamed("_dam"))
        Add(findings, TCheckCode::NoDamagedParts);
    if (!model.Atomics.empty() && !anyAtomicNamed("_vlo"))
        Add(findings, TCheckCode::NoLowDetailPart);
}

void CheckDummies(const TModelSummary& model, std::string_view type, fileio::TCheckFindings& findings)
{
    std::vector<std::string_view> wanted;
    if (type == "car" || type == "mtruck" || type == "quad" || type == "bike")
        wanted = {"headlights", "taillights", "ped_frontseat"};
    else if (type == "heli" || type == "plane" || type == "boat" || type == "bmx")
        wanted = {"ped_frontseat"};
    for (const std::string_view name : wanted)
        if (!FindFrame(model, name))
            Add(findings, TCheckCode::MissingDummy, std::string(name));
}

void CheckVersion(const TLibraryVersion& version, std::string_view stream, fileio::TCheckFindings& findings)
{
    if (!PcGameReadsVersion(version))
        Add(findings, TCheckCode::UnsupportedVersion, std::string(stream), version.Version);
}

// The clump, after a UV animation dictionary that may stand before it.
TBytes ClumpOf(TBytes model)
{
    if (model.size() < ChunkHeaderSize || fileio::LoadU32LE(model.first<4>()) != UVAnimationDictionaryChunk)
        return model;
    TChunkReader chunks(model, What);
    chunks.Next();
    return model.subspan(model.size() - chunks.Remaining());
}

std::optional<TModelSummary> CheckModel(const TVehicleModelInput& input, fileio::TCheckFindings& findings)
{
    TModelSummary model;
    TRawParts parts;
    try {
        const TBytes clump = ClumpOf(input.Model);
        model = ReadModelSummary(clump);
        parts = ReadRawParts(clump);
    } catch (const fileio::TVehmiraError& error) {
        Add(findings, TCheckCode::UnreadableModel, error.what());
        return std::nullopt;
    }
    CheckVersion(model.Version, "model", findings);
    if (model.Platform == TPlatform::Console)
        Add(findings, TCheckCode::ConsoleData);
    for (const auto& [name, stored] : parts.FrameNames)
        if (stored > LongestFrameName)
            Add(findings, TCheckCode::FrameNameTooLong, name, std::int64_t(stored));
    CheckCollision(parts.Collision, findings);
    const TWheelLayout layout = WheelLayoutOf(input.VehicleType);
    CheckWheels(model, layout, input.ModelID, findings);
    if (!input.VehicleType.empty())
        CheckModelKind(model, layout, findings);
    CheckParts(model, input.VehicleType, findings);
    CheckDummies(model, input.VehicleType, findings);
    return model;
}

} // namespace

fileio::TCheckFindings CheckVehicleModel(const TVehicleModelInput& input)
{
    fileio::TCheckFindings findings;
    std::optional<TModelSummary> model;
    if (!input.Model.empty())
        model = CheckModel(input, findings);
    if (input.Textures.empty())
        return findings;
    std::optional<TTextureDictionary> own;
    try {
        own = TTextureDictionary::FromBytes(input.Textures);
    } catch (const fileio::TVehmiraError& error) {
        Add(findings, TCheckCode::UnreadableTextures, error.what());
        return findings;
    }
    CheckVersion(own->Version(), "texture dictionary", findings);
    if (model && input.Shared)
        for (const std::string& name : CheckModelTextures(*model, *own, input.Shared).Missing)
            Add(findings, TCheckCode::MissingTexture, name);
    return findings;
}

} // namespace vehmira::renderware
