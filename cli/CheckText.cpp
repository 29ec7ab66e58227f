#include "cli/CheckText.h"

#include "cli/JsonText.h"
#include "cli/OutputText.h"
#include "archive/Paintjobs.h"
#include "gamedata/CarFileCheck.h"
#include "gamedata/VehicleLineCheck.h"
#include "renderware/LibraryVersion.h"
#include "renderware/VehicleModelCheck.h"

namespace vehmira::cli {

namespace {

using fileio::TCheckCode;

std::string Quoted(const std::string& gameText) { return "\"" + GameTextToUtf8(gameText) + "\""; }

std::string CollisionText(const fileio::TErrorFacts& facts)
{
    const std::string number = std::to_string(facts.Number);
    if (facts.Subject == "tag")
        return "the collision is neither COLL, COL2 nor COL3; the game reads it as garbage";
    if (facts.Subject == "header_only")
        return "the collision holds no spheres, boxes or faces; the game crashes when the vehicle appears";
    if (facts.Subject == "size_below_header")
        return "the collision's size field (" + number + ") is below its header's 24 bytes; the game crashes";
    if (facts.Subject == "too_large")
        return "the collision takes " + number + " bytes; the game reads it into " +
               std::to_string(renderware::LargestCollision) + " and overruns them";
    return "the collision is cut off (" + number + " bytes)";
}

std::string HandlingFieldsText(const fileio::TErrorFacts& facts)
{
    const std::string& kind = facts.Subject;
    const std::size_t wanted = kind.empty() ? gamedata::StandardHandlingValues
                               : kind == "!" ? gamedata::BikeHandlingValues
                               : kind == "$" ? gamedata::FlyingHandlingValues
                                             : gamedata::BoatHandlingValues;
    return "the game reads " + std::to_string(facts.Number) + " values after the ID of " +
           (kind.empty() ? std::string("the standard handling line") : "the \"" + kind + "\" handling line") +
           "; it needs " + std::to_string(wanted) + " (a value that reads as no number ends the line)";
}

std::string ModelText(TCheckCode code, const fileio::TErrorFacts& facts)
{
    switch (code) {
    case TCheckCode::UnreadableModel: return "the model cannot be read: " + MessageToUtf8(facts.Subject);
    case TCheckCode::UnreadableTextures:
        return "the texture dictionary cannot be read: " + MessageToUtf8(facts.Subject);
    case TCheckCode::MissingFrame:
        return "the model lacks the frame " + Quoted(facts.Subject) + " that the game needs for this vehicle type";
    case TCheckCode::NoCollision:
        return "the model holds no collision; the game crashes when the vehicle appears";
    case TCheckCode::BadCollision: return CollisionText(facts);
    case TCheckCode::FrameNameTooLong:
        return "the frame name " + Quoted(facts.Subject) + " takes " + std::to_string(facts.Number) +
               " bytes; the game holds " + std::to_string(renderware::LongestFrameName) + " and overruns";
    case TCheckCode::UnsupportedVersion:
        return "the " + facts.Subject + " was written by RenderWare " +
               renderware::TLibraryVersion{std::uint32_t(facts.Number)}.Text() + "; the game reads " +
               renderware::TLibraryVersion{renderware::OldestVersionPcGameReads}.Text() + " to " +
               renderware::TLibraryVersion{renderware::NewestVersionPcGameReads}.Text();
    case TCheckCode::ExtraWithoutAtomic:
        return "the frame " + Quoted(facts.Subject) + " has no part of its own; the game crashes when it picks it";
    case TCheckCode::ConsoleData: return "the model's geometry is made for a console; the PC game cannot draw it";
    default: return {};
    }
}

// What the scan of the whole game finds.
std::string ScanText(TCheckCode code, const fileio::TErrorFacts& facts)
{
    switch (code) {
    case TCheckCode::MissingModel:
    case TCheckCode::MissingTxd:
        return Quoted(facts.Subject) + " is in no archive the game reads: the game crashes when it loads the vehicle";
    case TCheckCode::ArchiveShadowed:
        return Quoted(facts.Subject) + " is also in " + HostPath(facts.Text) + "; the game loads the one in " +
               HostPath(facts.Path);
    case TCheckCode::PaintjobLimit:
        return "the game gives the vehicle " + std::to_string(facts.Number) + " paintjobs and holds " +
               std::to_string(archive::MaxPaintjobs) + "; from " + Quoted(facts.Subject) +
               " on it writes over its memory";
    case TCheckCode::CarcolsUnknownModel:
        return "the colour line names the model " + Quoted(facts.Subject) +
               ", which is no vehicle's: the game crashes while reading the colours";
    case TCheckCode::CarcolsColourRange:
        return "the colour line of " + Quoted(facts.Subject) + " names colour " + std::to_string(facts.Number) +
               "; the table holds " + std::to_string(facts.Needed) + " colours";
    case TCheckCode::CarcolsTooMany:
        return "the colour line of " + Quoted(facts.Subject) + " gives " + std::to_string(facts.Number) +
               " colour sets; the game takes the first " + std::to_string(gamedata::MaxColourSets);
    case TCheckCode::CarmodsUnknownModel:
        return "the upgrade line names the model " + Quoted(facts.Subject) +
               ", which is no vehicle's: the game crashes while reading the upgrades";
    case TCheckCode::CarmodsUnknownPart:
        return "the upgrade line of " + Quoted(facts.Text) + " names the part " + Quoted(facts.Subject) +
               ", which no definition file holds: the game crashes while reading the upgrades";
    default: return {};
    }
}

std::string LineText(TCheckCode code, const fileio::TErrorFacts& facts)
{
    switch (code) {
    case TCheckCode::IdeFields:
        return "the game reads " + std::to_string(facts.Number) + " fields of the definition line; a " +
               GameTextToUtf8(facts.Subject) + " needs " +
               (facts.Subject == "boat" || facts.Subject == "train" ? "11" : "15") +
               " (a field that does not read as its number ends the line)";
    case TCheckCode::IdeFieldsGameLine:
        return "the game's own definition line of this " + GameTextToUtf8(facts.Subject) + " has only " +
               std::to_string(facts.Number) +
               " fields: the game reads the missing wheel fields from uninitialised memory (the stock Skimmer's "
               "fault, which newer Windows versions expose); an imported line must give all 15";
    case TCheckCode::IdeType:
        return "the definition line's type " + Quoted(facts.Subject) + " is none the game knows";
    case TCheckCode::HandlingMissing:
        return "Data\\Handling.cfg holds no line for the handling ID " + Quoted(facts.Subject);
    case TCheckCode::HandlingKind:
        return "Data\\Handling.cfg holds no \"" + facts.Subject + "\" line for the handling ID, which this type reads";
    case TCheckCode::HandlingFields: return HandlingFieldsText(facts);
    case TCheckCode::WheelSizeZero:
        return "the definition line's wheel size in field " + std::to_string(facts.Number) + " is 0";
    default: return ScanText(code, facts);
    }
}

std::string WarningText(TCheckCode code, const fileio::TErrorFacts& facts)
{
    switch (code) {
    case TCheckCode::ModelKind:
        return "the model's wheels are those of a " + facts.Subject + ", not of this vehicle's type";
    case TCheckCode::MissingTexture:
        return "the texture " + Quoted(facts.Subject) + " is in neither the vehicle's dictionary nor the shared one";
    case TCheckCode::NoDamagedParts: return "no part has a damaged version (_dam): damage does not show";
    case TCheckCode::NoLowDetailPart: return "the model has no low-detail part (_vlo): it vanishes in the distance";
    case TCheckCode::MissingDummy: return "the model lacks the dummy " + Quoted(facts.Subject);
    case TCheckCode::NoWheelAtomic:
        return "no wheel hangs under " + Quoted(facts.Subject) + ": the game draws no wheels";
    case TCheckCode::GXTKeysUnsorted:
        return MessageToUtf8(facts.Subject) + ": the main table's keys are not in hash order; the game's search finds " +
               "no text for " + std::to_string(facts.Number) +
               " of them, and only the names it finds are shown as the game's; an import that renames a vehicle puts "
               "the keys in order";
    default: return LineText(code, facts);
    }
}

bool NamesFrame(TCheckCode code)
{
    return code == TCheckCode::MissingFrame || code == TCheckCode::FrameNameTooLong ||
           code == TCheckCode::ExtraWithoutAtomic || code == TCheckCode::MissingDummy ||
           code == TCheckCode::NoWheelAtomic;
}

void PrintJsonList(std::ostream& out, const fileio::TCheckFindings& findings, bool errors)
{
    bool first = true;
    for (const fileio::TCheckFinding& finding : findings) {
        if (fileio::IsCheckError(finding.Code) != errors)
            continue;
        out << (first ? "\n    " : ",\n    ") << "{\"code\": " << JsonString(std::string(fileio::CheckCodeName(finding.Code)))
            << ", \"message\": " << JsonString(CheckFindingText(finding));
        if (NamesFrame(finding.Code))
            out << ", \"frame\": " << JsonString(GameTextToUtf8(finding.Facts.Subject));
        out << '}';
        first = false;
    }
    out << (first ? "]" : "\n  ]");
}

} // namespace

std::string CheckFindingText(const fileio::TCheckFinding& finding)
{
    const std::string model = ModelText(finding.Code, finding.Facts);
    return model.empty() ? WarningText(finding.Code, finding.Facts) : model;
}

void PrintCheckFindings(std::ostream& out, const fileio::TCheckFindings& findings, std::string_view prefix)
{
    for (const fileio::TCheckFinding& finding : findings)
        out << prefix << (fileio::IsCheckError(finding.Code) ? "error " : "warning ")
            << fileio::CheckCodeName(finding.Code) << ": " << CheckFindingText(finding) << '\n';
}

void PrintCheckFindingsJson(std::ostream& out, const fileio::TCheckFindings& findings)
{
    out << "{\n  \"errors\": [";
    PrintJsonList(out, findings, true);
    out << ",\n  \"warnings\": [";
    PrintJsonList(out, findings, false);
    out << "\n}\n";
}

} // namespace vehmira::cli
