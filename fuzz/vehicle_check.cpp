// The check before an import: bounded for any model and any lines, and what
// it reads agrees with the model summary. Input: one byte choosing the vehicle type,
// a little-endian u16 length, that many bytes of text (the definition line,
// a line feed, the handling file), then the model.
#include "FuzzSupport.h"
#include "fileio/ByteOrder.h"
#include "fileio/Errors.h"
#include "gamedata/VehicleLineCheck.h"
#include "renderware/ModelSummary.h"
#include "renderware/VehicleModelCheck.h"

#include <array>

using namespace vehmira;
using namespace vehmira::fileio;

namespace {
constexpr std::array<std::string_view, 13> Types = {"car",  "mtruck", "quad",    "heli", "plane", "boat",   "train",
                                                    "f_heli", "f_plane", "bike", "bmx",   "trailer", ""};

bool SummaryReads(std::span<const std::uint8_t> model)
{
    try {
        renderware::ReadModelSummary(model);
        return true;
    } catch (const TVehmiraError&) {
        return false;
    }
}

void CheckModel(std::span<const std::uint8_t> model, std::string_view type)
{
    const TCheckFindings findings =
        renderware::CheckVehicleModel({.Model = model, .Textures = {}, .Shared = nullptr, .VehicleType = type, .ModelID = 432});
    bool unreadable = false;
    for (const TCheckFinding& finding : findings) {
        unreadable = unreadable || finding.Code == TCheckCode::UnreadableModel;
        if (finding.Code == TCheckCode::FrameNameTooLong)
            Require(finding.Facts.Number > std::int64_t(renderware::LongestFrameName), "a long name is over 23 bytes");
    }
    if (unreadable)
        Require(findings.size() == 1, "an unreadable model gives no other finding");
    const bool plainClump = model.size() < 4 || LoadU32LE(model.first<4>()) != renderware::UVAnimationDictionaryChunk;
    // The check reads more of the clump than the summary (every plugin of the
    // frames and of the clump), so it may refuse more, never less. No bytes
    // means no model to check.
    if (!model.empty() && plainClump && !SummaryReads(model))
        Require(unreadable, "a clump the summary refuses is unreadable to the check");
}

void CheckLines(std::string_view text)
{
    const std::size_t lineEnd = text.find('\n');
    const std::string_view definition = text.substr(0, lineEnd);
    const std::string_view handling = lineEnd == std::string_view::npos ? std::string_view() : text.substr(lineEnd + 1);
    const TCheckFindings findings = gamedata::CheckVehicleLines(definition, handling, origin);
    for (const TCheckFinding& finding : findings)
        if (finding.Code == TCheckCode::IdeType)
            Require(findings.size() == 1, "a line of an unknown type is not checked further");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const std::string_view type = Types[data[0] % Types.size()];
    const std::size_t textLength = std::min<std::size_t>(data[1] | std::size_t(data[2]) << 8, size - 3);
    CheckLines(AsText(data + 3, textLength));
    CheckModel(AsBytes(data + 3 + textLength, size - 3 - textLength), type);
    return 0;
}
