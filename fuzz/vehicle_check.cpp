// The check before an import: bounded for any model and any lines, and what
// it reads agrees with the model summary; a definition line is judged alike
// whether it is the game's or an import's, but for the game's own short plane
// line, which is only a warning. Input: one byte choosing the vehicle type,
// a little-endian u16 length, that many bytes of text (the definition line,
// a line feed, the handling file), then the model.
#include "FuzzSupport.h"
#include "GameFrameSearch.h"
#include "fileio/ByteOrder.h"
#include "fileio/Errors.h"
#include "gamedata/TextLines.h"
#include "gamedata/VehicleLineCheck.h"
#include "renderware/ModelSummary.h"
#include "renderware/VehicleModelCheck.h"

#include <algorithm>
#include <array>
#include <optional>

using namespace vehmira;
using namespace vehmira::fileio;

namespace {
constexpr std::array<std::string_view, 4> CarWheels = {"wheel_rf_dummy", "wheel_rb_dummy", "wheel_lf_dummy",
                                                       "wheel_lb_dummy"};
constexpr std::array<std::string_view, 13> Types = {"car",  "mtruck", "quad",    "heli", "plane", "boat",   "train",
                                                    "f_heli", "f_plane", "bike", "bmx",   "trailer", ""};

std::optional<renderware::TModelSummary> Summary(std::span<const std::uint8_t> model)
{
    try {
        return renderware::ReadModelSummary(model);
    } catch (const TVehmiraError&) {
        return std::nullopt;
    }
}

bool Reported(const TCheckFindings& findings, TCheckCode code, std::string_view subject)
{
    return std::any_of(findings.begin(), findings.end(),
                       [&](const TCheckFinding& f) { return f.Code == code && f.Facts.Subject == subject; });
}

void CheckWheelsAsTheGameFindsThem(const TCheckFindings& findings, const renderware::TModelSummary& model)
{
    for (const std::string_view wheel : CarWheels)
        Require(Reported(findings, TCheckCode::MissingFrame, wheel) != GameFindsFrame(model, wheel),
                "a wheel dummy is missing exactly when the game's search from the clump's frame misses it");
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
    if (model.empty() || !plainClump)
        return;
    const std::optional<renderware::TModelSummary> summary = Summary(model);
    if (!summary)
        Require(unreadable, "a clump the summary refuses is unreadable to the check");
    else if (!unreadable && (type == "car" || type == "heli" || type == "trailer"))
        CheckWheelsAsTheGameFindsThem(findings, *summary);
}

void CheckLines(std::string_view text)
{
    const std::size_t lineEnd = text.find('\n');
    const std::string_view definition = text.substr(0, lineEnd);
    const std::string_view handling = lineEnd == std::string_view::npos ? std::string_view() : text.substr(lineEnd + 1);
    const TCheckFindings findings = gamedata::CheckVehicleLines(definition, handling, gamedata::TDefinitionOrigin::Import);
    TCheckFindings gameFindings = gamedata::CheckVehicleLines(definition, handling, gamedata::TDefinitionOrigin::GameFile);
    Require(gameFindings.size() == findings.size(), "the line's origin changes no count of findings");
    std::vector<std::string_view> fields;
    gamedata::SplitFieldViews(definition, fields);
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const TCheckFinding& finding = findings[i];
        if (finding.Code == TCheckCode::IdeType)
            Require(findings.size() == 1, "a line of an unknown type is not checked further");
        Require(finding.Code != TCheckCode::IdeFieldsGameLine, "an imported line's shortness is always an error");
        if (finding.Code == TCheckCode::IdeFields)
            Require(finding.Facts.Number >= 0 && std::size_t(finding.Facts.Number) <= fields.size(),
                    "the fields read are never more than the line holds");
        const TCheckFinding& game = gameFindings[i];
        if (game.Code == TCheckCode::IdeFieldsGameLine)
            Require(finding.Code == TCheckCode::IdeFields && finding.Facts.Subject == "plane" &&
                        finding.Facts.Number == 11,
                    "only the game's own 11-field plane line is forgiven");
        else
            Require(game.Code == finding.Code && game.Facts.Number == finding.Facts.Number,
                    "the line's origin changes no other finding");
    }
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
