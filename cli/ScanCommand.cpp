#include "cli/ScanCommand.h"

#include "cli/CheckText.h"
#include "cli/CommandObserver.h"
#include "cli/JsonText.h"
#include "cli/OutputText.h"
#include "fileio/GamePaths.h"
#include "gamedata/VehiclesIde.h"
#include "operations/GameScanOperation.h"

#include <algorithm>

namespace vehmira::cli {

namespace {

std::vector<std::int32_t> ParseIDs(const std::vector<std::string>& texts)
{
    std::vector<std::int32_t> ids;
    for (const std::string& text : texts) {
        std::int32_t id = 0;
        if (!gamedata::ParseVehicleID(text, id))
            throw TUsageError("\"" + MessageToUtf8(text) + "\" is not a vehicle ID");
        ids.push_back(id);
    }
    return ids;
}

std::size_t CountErrors(const fileio::TCheckFindings& findings)
{
    return std::size_t(std::count_if(findings.begin(), findings.end(),
                                     [](const fileio::TCheckFinding& f) { return fileio::IsCheckError(f.Code); }));
}

void PrintFindingList(std::ostream& out, const fileio::TCheckFindings& findings, bool errors)
{
    bool first = true;
    for (const fileio::TCheckFinding& finding : findings) {
        if (fileio::IsCheckError(finding.Code) != errors)
            continue;
        out << (first ? "" : ", ") << "{\"code\": " << JsonString(std::string(fileio::CheckCodeName(finding.Code)))
            << ", \"message\": " << JsonString(CheckFindingText(finding));
        if (!finding.Facts.Subject.empty())
            out << ", \"subject\": " << JsonString(GameTextToUtf8(finding.Facts.Subject));
        out << '}';
        first = false;
    }
}

void PrintLayoutJson(std::ostream& out, const archive::TArchiveLayout& layout)
{
    out << "{\"file\": " << JsonString(HostPath(fileio::GameFiles::ModelArchive))
        << ", \"entries\": " << layout.EntryCount << ", \"misread_pairs\": " << layout.MisreadPairs.size()
        << ", \"overlaps\": " << layout.OverlappingEntries.size() << ", \"past_end\": " << layout.PastEndEntries.size()
        << '}';
}

void PrintJson(std::ostream& out, const engine::TGameScan& scan)
{
    out << "{\"vehicles\": [";
    for (std::size_t v = 0; v < scan.Vehicles.size(); ++v) {
        const engine::TScannedVehicle& vehicle = scan.Vehicles[v];
        out << (v == 0 ? "\n  " : ",\n  ") << "{\"id\": " << vehicle.ID
            << ", \"model\": " << JsonString(GameTextToUtf8(vehicle.ModelName))
            << ", \"file\": " << JsonString(HostPath(vehicle.File)) << ", \"line\": " << vehicle.Line
            << ", \"errors\": [";
        PrintFindingList(out, vehicle.Findings, true);
        out << "], \"warnings\": [";
        PrintFindingList(out, vehicle.Findings, false);
        out << "]}";
    }
    out << (scan.Vehicles.empty() ? "],\n" : "\n],\n") << "\"files\": [";
    for (std::size_t f = 0; f < scan.Files.size(); ++f) {
        const engine::TScanFileFinding& file = scan.Files[f];
        out << (f == 0 ? "\n  " : ",\n  ") << "{\"file\": " << JsonString(HostPath(file.File))
            << ", \"line\": " << file.Line << ", \"severity\": \""
            << (fileio::IsCheckError(file.Finding.Code) ? "error" : "warning")
            << "\", \"code\": " << JsonString(std::string(fileio::CheckCodeName(file.Finding.Code)))
            << ", \"message\": " << JsonString(CheckFindingText(file.Finding)) << '}';
    }
    out << (scan.Files.empty() ? "],\n" : "\n],\n") << "\"archive\": ";
    PrintLayoutJson(out, scan.Layout);
    out << "}\n";
}

void PrintTable(std::ostream& out, const engine::TGameScan& scan)
{
    std::size_t errors = 0;
    std::size_t warnings = 0;
    std::size_t withFindings = 0;
    for (const engine::TScannedVehicle& vehicle : scan.Vehicles) {
        if (vehicle.Findings.empty())
            continue;
        ++withFindings;
        const std::size_t vehicleErrors = CountErrors(vehicle.Findings);
        errors += vehicleErrors;
        warnings += vehicle.Findings.size() - vehicleErrors;
        out << vehicle.ID << '\t' << GameTextToUtf8(vehicle.ModelName) << '\t' << HostPath(vehicle.File) << ':'
            << vehicle.Line << '\t' << vehicleErrors << " errors, " << vehicle.Findings.size() - vehicleErrors
            << " warnings\n";
        PrintCheckFindings(out, vehicle.Findings, "    ");
    }
    for (const engine::TScanFileFinding& file : scan.Files) {
        const bool error = fileio::IsCheckError(file.Finding.Code);
        (error ? errors : warnings) += 1;
        out << HostPath(file.File) << ':' << file.Line << '\t' << (error ? "error " : "warning ")
            << fileio::CheckCodeName(file.Finding.Code) << ": " << CheckFindingText(file.Finding) << '\n';
    }
    const archive::TArchiveLayout& layout = scan.Layout;
    if (!layout.ReadsCorrectly() || !layout.PastEndEntries.empty() || !layout.OverlappingEntries.empty()) {
        ++errors;
        out << HostPath(fileio::GameFiles::ModelArchive) << "\terror: " << layout.MisreadPairs.size()
            << " misread pairs, " << layout.OverlappingEntries.size() << " overlapping entries, "
            << layout.PastEndEntries.size() << " entries past the end (see img check)\n";
    }
    out << scan.Vehicles.size() << " vehicles scanned, " << withFindings << " with findings; " << errors
        << " errors, " << warnings << " warnings\n";
}

} // namespace

int ScanCommand(const TCommandContext& context, const std::vector<std::string>& onlyIDs, bool json)
{
    const std::vector<std::int32_t> ids = ParseIDs(onlyIDs);
    engine::TGameScan scan;
    {
        TCommandObserver observer(context, "Scanning the vehicles");
        scan = operations::ScanGame(Location(context), ids, observer);
    }
    for (const std::int32_t id : ids)
        if (std::none_of(scan.Vehicles.begin(), scan.Vehicles.end(),
                         [id](const engine::TScannedVehicle& vehicle) { return vehicle.ID == id; }))
            throw fileio::TVehmiraError(fileio::TErrorKind::NoSuchVehicle,
                                        "Vehicle " + std::to_string(id) + " has no definition in Data\\Vehicles.ide",
                                        {.Path = {}, .Subject = {}, .Number = id});
    if (json)
        PrintJson(context.Out, scan);
    else
        PrintTable(context.Out, scan);
    return scan.HasErrors() ? ExitCheckErrors : 0;
}

} // namespace vehmira::cli
