#include "gamedata/VehicleLineCheck.h"

#include "gamedata/FieldScan.h"
#include "gamedata/TextLines.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <span>

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
constexpr std::size_t GamesShortPlaneFields = 11; // the stock line of 460 ends after comprules

using enum TFieldType;

// The definition line's one sscanf: id, model, txd, type, handling ID, GXT key,
// anims, class, frequency, flags, comprules, wheel model, front and rear
// wheel size, wheel upgrade class.
constexpr std::array<TFieldType, 15> DefinitionTypes = {Integer, Text, Text, Text,    Text, Text, Text, Text,
                                                        Integer, Integer, Hex, Integer, Real, Real, Integer};

// The values after the handling ID of a standard line: mass, turn mass, drag,
// centre of mass (3), percent submerged, traction (3), gears, velocity,
// acceleration, inertia, drive and engine type, brakes (2), ABS, steering lock,
// suspension (7), seat offset, damage multiplier, value, model and handling
// flags, front and rear lights, animation group.
constexpr std::array<TFieldType, StandardHandlingValues> StandardHandlingTypes = {
    Real, Real, Real,    Real,    Real,    Real,    Integer, Real,    Real,    Real,    Integer, Real,
    Real, Real, Character, Character, Real, Real,  Integer, Real,    Real,    Real,    Real,    Real,
    Real, Real, Real,    Real,    Real,    Integer, Hex,     Hex,     Integer, Integer, Integer};
// Every value of a special line is a real number.
constexpr std::array<TFieldType, FlyingHandlingValues> SpecialHandlingTypes = [] {
    std::array<TFieldType, FlyingHandlingValues> types{};
    types.fill(Real);
    return types;
}();

// The game's loaders read a line as a C string: it ends at a zero byte.
std::string_view AsTheGameReadsIt(std::string_view line) { return line.substr(0, line.find('\0')); }

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
        const std::optional<std::string_view> cleaned = StripCommentLineView(AsTheGameReadsIt(line));
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

// The values after the line's key that the handling loader reads in place.
// It cuts the line into fields before it reads them, so a value read only in
// part ("1.0" for a whole number) keeps the next one in place.
std::size_t HandlingValuesRead(std::span<const std::string_view> values, std::span<const TFieldType> types)
{
    return FieldsReadInPlace(values, types, TPartRead::StaysField);
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
    if (!lines.Standard) {
        AddFinding(findings, TCheckCode::HandlingMissing, std::string(handlingID));
    } else if (const std::size_t read =
                   HandlingValuesRead(std::span(*lines.Standard).subspan(1), StandardHandlingTypes);
               read != StandardHandlingValues) {
        AddFinding(findings, TCheckCode::HandlingFields, "", std::int64_t(read));
    }
    if (kind.empty())
        return;
    const std::size_t wanted = SpecialValuesOf(kind);
    if (!lines.Special) {
        AddFinding(findings, TCheckCode::HandlingKind, std::string(kind));
    } else if (const std::size_t read = HandlingValuesRead(std::span(*lines.Special).subspan(2),
                                                           std::span(SpecialHandlingTypes).first(wanted));
               read != wanted) {
        AddFinding(findings, TCheckCode::HandlingFields, std::string(kind), std::int64_t(read));
    }
}

// The stock game's Skimmer line: the game reads its missing wheel fields
// from whatever the stack holds, and has always done so.
bool IsGamesShortPlaneLine(std::string_view type, std::size_t read, TDefinitionOrigin origin)
{
    return origin == TDefinitionOrigin::GameFile && type == "plane" && read == GamesShortPlaneFields;
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

fileio::TCheckFindings CheckVehicleLines(std::string_view definitionLine, std::string_view handlingFile,
                                         TDefinitionOrigin origin)
{
    fileio::TCheckFindings findings;
    const std::vector<std::string_view> fields = Fields(AsTheGameReadsIt(definitionLine));
    const std::size_t read = FieldsReadInPlace(fields, DefinitionTypes, TPartRead::EndsLine);
    const std::string_view type = fields.size() > 3 ? fields[3] : std::string_view();
    if (!IsKnownVehicleType(type)) {
        AddFinding(findings, TCheckCode::IdeType, std::string(type));
        return findings;
    }
    const std::size_t needed = IsShortLineType(type) ? ShortLineFields : FullLineFields;
    if (read < needed)
        AddFinding(findings, IsGamesShortPlaneLine(type, read, origin) ? TCheckCode::IdeFieldsGameLine
                                                                      : TCheckCode::IdeFields,
                   std::string(type), std::int64_t(read));
    if (read > 4)
        CheckHandling(handlingFile, fields[4], type, findings);
    if (HasWheelSizes(type) && read > RearWheelField)
        CheckWheelSizes(fields, findings);
    return findings;
}

} // namespace vehmira::gamedata
