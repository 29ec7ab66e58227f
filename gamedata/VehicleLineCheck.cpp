#include "gamedata/VehicleLineCheck.h"

#include "gamedata/TextLines.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

namespace vehmira::gamedata {

namespace {

using fileio::TCheckCode;

constexpr std::array<std::string_view, 12> KnownTypes = {"car",  "mtruck", "quad",    "heli", "plane", "boat",
                                                         "train", "f_heli", "f_plane", "bike", "bmx",   "trailer"};
constexpr std::size_t ShortLineFields = 11; // boats and trains end after comprules
constexpr std::size_t FullLineFields = 15;
constexpr std::size_t FrontWheelField = 12; // fields counted from 0; the finding names them from 1
constexpr std::size_t RearWheelField = 13;
constexpr std::string_view EndOfHandling = ";the end";

// The non-empty fields of a line: separators at either end make no field.
std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    SplitFieldViews(line, fields);
    std::erase_if(fields, [](std::string_view field) { return field.empty(); });
    return fields;
}

bool IsShortLineType(std::string_view type) { return type == "boat" || type == "train"; }

// The suspension lines of these types are sized by fields 13 and 14; a flying
// plane's are forced to 1.
bool HasWheelSizes(std::string_view type) { return !IsShortLineType(type) && type != "f_plane"; }

std::optional<double> Number(std::string_view field)
{
    double value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end == field.data())
        return std::nullopt;
    return value;
}

void AddFinding(fileio::TCheckFindings& findings, TCheckCode code, std::string subject = {}, std::int64_t number = 0)
{
    findings.push_back({code, {.Path = {}, .Subject = std::move(subject), .Number = number}});
}

// The handling lines of one ID as the game reads the file: up to ";the end".
struct THandlingLines {
    std::optional<std::vector<std::string_view>> Standard;
    std::optional<std::vector<std::string_view>> Special; // of the kind the type reads
};

THandlingLines FindHandlingLines(std::string_view file, std::string_view handlingID, std::string_view specialKind)
{
    THandlingLines found;
    for (const std::string_view line : SplitLineViews(file)) {
        if (line.starts_with(EndOfHandling))
            break;
        const std::optional<std::string_view> cleaned = StripCommentLineView(line);
        if (!cleaned)
            continue;
        std::vector<std::string_view> fields = Fields(*cleaned);
        if (fields.empty())
            continue;
        const char first = fields[0].front();
        if (first == '!' || first == '$' || first == '%' || first == '^') {
            if (!specialKind.empty() && fields[0] == specialKind && fields.size() > 1 && fields[1] == handlingID)
                found.Special = std::move(fields);
        } else if (fields[0] == handlingID) {
            found.Standard = std::move(fields);
        }
    }
    return found;
}

std::size_t SpecialValuesOf(std::string_view kind)
{
    if (kind == "!")
        return BikeHandlingValues;
    return kind == "$" ? FlyingHandlingValues : BoatHandlingValues;
}

void CheckHandling(std::string_view file, std::string_view handlingID, std::string_view type,
                   fileio::TCheckFindings& findings)
{
    const std::string_view kind = SpecialHandlingKindOf(type);
    const THandlingLines lines = FindHandlingLines(file, handlingID, kind);
    if (!lines.Standard)
        AddFinding(findings, TCheckCode::HandlingMissing, std::string(handlingID));
    else if (lines.Standard->size() - 1 != StandardHandlingValues)
        AddFinding(findings, TCheckCode::HandlingFields, "", std::int64_t(lines.Standard->size() - 1));
    if (kind.empty())
        return;
    if (!lines.Special)
        AddFinding(findings, TCheckCode::HandlingKind, std::string(kind));
    else if (lines.Special->size() - 2 != SpecialValuesOf(kind))
        AddFinding(findings, TCheckCode::HandlingFields, std::string(kind), std::int64_t(lines.Special->size() - 2));
}

void CheckWheelSizes(const std::vector<std::string_view>& fields, fileio::TCheckFindings& findings)
{
    for (const std::size_t field : {FrontWheelField, RearWheelField})
        if (const std::optional<double> size = Number(fields[field]); size && *size == 0)
            AddFinding(findings, TCheckCode::WheelSizeZero, "", std::int64_t(field + 1));
}

} // namespace

bool IsKnownVehicleType(std::string_view type)
{
    return std::find(KnownTypes.begin(), KnownTypes.end(), type) != KnownTypes.end();
}

std::string_view SpecialHandlingKindOf(std::string_view type)
{
    if (type == "bike" || type == "bmx" || type == "quad")
        return "!";
    if (type == "heli" || type == "plane")
        return "$";
    return type == "boat" ? "%" : "";
}

fileio::TCheckFindings CheckVehicleLines(std::string_view definitionLine, std::string_view handlingFile)
{
    fileio::TCheckFindings findings;
    const std::vector<std::string_view> fields = Fields(definitionLine);
    const std::string_view type = fields.size() > 3 ? fields[3] : std::string_view();
    if (!IsKnownVehicleType(type)) {
        AddFinding(findings, TCheckCode::IdeType, std::string(type));
        return findings;
    }
    const std::size_t needed = IsShortLineType(type) ? ShortLineFields : FullLineFields;
    if (fields.size() < needed)
        AddFinding(findings, TCheckCode::IdeFields, std::string(type), std::int64_t(fields.size()));
    if (fields.size() > 4)
        CheckHandling(handlingFile, fields[4], type, findings);
    if (HasWheelSizes(type) && fields.size() > RearWheelField)
        CheckWheelSizes(fields, findings);
    return findings;
}

} // namespace vehmira::gamedata
