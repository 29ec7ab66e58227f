#include "cli/Commands.h"

#include "cli/CheckText.h"
#include "cli/CommandObserver.h"
#include "cli/ErrorText.h"
#include "cli/JsonText.h"
#include "cli/OutputText.h"
#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "gamedata/CodePage1251.h"
#include "operations/Operations.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vehmira::cli {

namespace {
// An ID as the list shows it ("0400" is 400); checked before anything is opened.
std::int32_t ParseID(const std::string& idText)
{
    std::int32_t id = 0;
    if (!gamedata::ParseVehicleID(idText, id))
        throw TUsageError("\"" + MessageToUtf8(idText) + "\" is not a vehicle ID");
    return id;
}

std::string Describe(const gamedata::TVehicleRecord& vehicle)
{
    return std::to_string(vehicle.ID) + " (" + GameTextToUtf8(vehicle.ModelName) + ")";
}

// A typed text as the game's 8-bit text. Refused before anything changes when
// code page 1251 cannot hold it, or when it would split into several lines.
std::string GameText(const std::optional<std::string>& value, std::string_view option)
{
    if (!value)
        return {};
    if (value->find_first_of("\r\n") != std::string::npos)
        throw fileio::TVehmiraError(std::string(option) + ": the text holds a line break; give one line");
    std::optional<std::string> bytes = gamedata::Utf8ToCp1251(*value);
    if (!bytes)
        throw fileio::TVehmiraError(std::string(option) +
                                    ": the text holds a character that code page 1251 (the game's texts) cannot hold");
    return std::move(*bytes);
}

engine::TImportSource ImportSource(const TImportOptions& options, std::string_view command = "import")
{
    const bool separateInputs = options.DFF || options.TXD || options.Name || options.Handling ||
                                options.HandlingSpecial || options.Vehicles || options.Carcols;
    if (!options.Package.empty() && separateInputs)
        throw TUsageError(std::string(command) +
                          " takes either a package FILE or the separate inputs (--dff, --txd, --name, ...), not both");
    if (!options.Package.empty())
        return fileio::PathFromUtf8(options.Package);
    if (!separateInputs)
        throw TUsageError(std::string(command) +
                          " needs a package FILE or at least one of --dff, --txd, --name, --handling, "
                          "--handling-special, --vehicles, --carcols");
    engine::TImportFiles files;
    files.DFF = fileio::PathFromUtf8(options.DFF.value_or(""));
    files.TXD = fileio::PathFromUtf8(options.TXD.value_or(""));
    files.Name = GameText(options.Name, "--name");
    files.Handling = GameText(options.Handling, "--handling");
    files.HandlingSpecial = GameText(options.HandlingSpecial, "--handling-special");
    files.Vehicles = GameText(options.Vehicles, "--vehicles");
    files.Carcols = GameText(options.Carcols, "--carcols");
    return files;
}

void ReportRefusal(const TCommandContext& context, const operations::TImportCheckFailed& refusal)
{
    context.Err << "vehmira: The check found what the game would fail on:\n";
    PrintCheckFindings(context.Err, refusal.Findings(), "vehmira: ");
    context.Err << "vehmira: Import refused; the game's files are unchanged. Give --force to import anyway.\n";
}

void ReportImportFailure(const TCommandContext& context, const engine::TImportError& error)
{
    context.Err << "vehmira: " << ErrorText(error) << '\n';
    context.Err << "vehmira: Import failed; the game's files are unchanged.\n";
}
} // namespace

void ListCommand(const TCommandContext& context, bool json)
{
    TCommandObserver observer(context);
    // Only the JSON list names paintjobs: the plain one never reads the archives.
    const engine::TVehicleList list = operations::ListVehicles(
        Location(context), observer, json ? operations::TListDetail::WithPaintjobs : operations::TListDetail::Names);
    // Warnings go to stderr, so that the list itself stays as scripts read it.
    PrintCheckFindings(context.Err, list.Findings, "vehmira: ");
    const std::vector<engine::TVehicleListRow>& rows = list.Rows;
    if (!json) {
        for (const engine::TVehicleListRow& row : rows)
            context.Out << GameTextToUtf8(row.ID) << '\t' << GameTextToUtf8(row.Name)
                        << (row.NameFromModel ? " (no GXT name)" : "") << '\n';
        return;
    }
    context.Out << '[';
    for (std::size_t i = 0; i < rows.size(); ++i) {
        context.Out << (i == 0 ? "\n  " : ",\n  ") << "{\"id\": " << JsonString(GameTextToUtf8(rows[i].ID))
                    << ", \"name\": " << JsonString(GameTextToUtf8(rows[i].Name))
                    << ", \"model\": " << JsonString(GameTextToUtf8(rows[i].Model))
                    << ", \"name_from_model\": " << (rows[i].NameFromModel ? "true" : "false") << ", \"paintjobs\": [";
        for (std::size_t p = 0; p < rows[i].Paintjobs.size(); ++p)
            context.Out << (p == 0 ? "" : ", ") << JsonString(GameTextToUtf8(rows[i].Paintjobs[p]));
        context.Out << "]}";
    }
    context.Out << (rows.empty() ? "]\n" : "\n]\n");
}

void ExportCommand(const TCommandContext& context, const std::string& id, const std::string& file,
                   const engine::TExportChoices& choices)
{
    const std::int32_t vehicleID = ParseID(id);
    TCommandObserver observer(context);
    operations::TGameSession session(Location(context), observer);
    operations::ExportVehicleByID(session, vehicleID, choices, fileio::PathFromUtf8(file));
    context.Out << "Exported vehicle " << Describe(session.FindVehicle(vehicleID)) << " to " << file << '\n';
}

int ImportCommand(const TCommandContext& context, const TImportOptions& options)
{
    const std::int32_t targetID = ParseID(options.Over);
    const engine::TImportSource source = ImportSource(options);
    TCommandObserver observer(context, "Rebuilding the archive");
    operations::TGameSession session(Location(context), observer);
    session.FindVehicle(targetID);
    const operations::TCheckPolicy policy =
        options.Force ? operations::TCheckPolicy::ImportDespiteErrors : operations::TCheckPolicy::RefuseOnErrors;
    try {
        const engine::TImportResult result =
            operations::ImportOverVehicle(session, targetID, source, policy, &observer);
        for (const std::string& step : result.SkippedSteps)
            context.Out << "skipped: " << MessageToUtf8(step) << '\n';
        if (result.ChangedNothing()) {
            context.Err << "vehmira: nothing to import: the game already holds what the source gives, or the source "
                           "gives nothing; the game's files are unchanged.\n";
            return 1;
        }
        context.Out << "Import completed successfully.\n";
        return 0;
    } catch (const operations::TImportCheckFailed& refusal) {
        ReportRefusal(context, refusal);
        return ExitCheckErrors;
    } catch (const engine::TImportError& error) {
        ReportImportFailure(context, error);
        return 1;
    }
}

int CarCheckCommand(const TCommandContext& context, const TImportOptions& options, bool json)
{
    const std::int32_t targetID = ParseID(options.Over);
    const engine::TImportSource source = ImportSource(options, "car check");
    TCommandObserver observer(context);
    operations::TGameSession session(Location(context), observer);
    const fileio::TCheckFindings findings = operations::CheckImportOverVehicle(session, targetID, source);
    if (json) {
        PrintCheckFindingsJson(context.Out, findings);
    } else {
        PrintCheckFindings(context.Out, findings);
        const std::size_t errors = std::size_t(std::count_if(
            findings.begin(), findings.end(), [](const fileio::TCheckFinding& f) { return fileio::IsCheckError(f.Code); }));
        context.Out << errors << " errors, " << findings.size() - errors << " warnings over "
                    << Describe(session.FindVehicle(targetID)) << '\n';
    }
    return fileio::HasCheckErrors(findings) ? ExitCheckErrors : 0;
}

void UndoCommand(const TCommandContext& context)
{
    TCommandObserver observer(context);
    operations::TGameSession session(Location(context), observer);
    const engine::TJournalInfo undone = operations::UndoImport(session);
    context.Out << "Undone: the import of " << MessageToUtf8(undone.Source) << " over " << MessageToUtf8(undone.Target)
                << " (" << undone.Time << ")\n";
}

void HistoryCommand(const TCommandContext& context)
{
    TCommandObserver observer(context);
    const operations::TImportHistory history = operations::ReadImportHistory(Location(context), observer);
    if (history.Imports.empty()) {
        context.Out << "No imports are recorded in this game directory.\n";
        return;
    }
    const std::optional<engine::TJournalInfo>& next = history.NextUndo;
    for (const engine::TJournalInfo& entry : history.Imports) {
        const char* state = entry.Undone    ? "undone"
                            : entry.Retired ? "not undoable (archive rebuilt)"
                            : next && next->Id == entry.Id ? "next undo"
                                                           : "committed";
        context.Out << entry.Time << '\t' << MessageToUtf8(entry.Target) << '\t' << MessageToUtf8(entry.Source) << '\t'
                    << state << '\t' << entry.Id << '\n';
    }
}

engine::TExportChoices ParsePieces(const std::string& list)
{
    engine::TExportChoices choices{false, false, false, false, false, false};
    if (TrimBlanks(list) == "none")
        return choices;
    const std::array<std::pair<std::string_view, bool engine::TExportChoices::*>, 6> pieces = {{
        {"dff", &engine::TExportChoices::DFF},
        {"txd", &engine::TExportChoices::TXD},
        {"gxt", &engine::TExportChoices::GXT},
        {"handling", &engine::TExportChoices::Handling},
        {"vehicles", &engine::TExportChoices::Vehicles},
        {"carcols", &engine::TExportChoices::Carcols},
    }};
    std::string_view rest = list;
    while (true) {
        const std::size_t comma = rest.find(',');
        const std::string_view name = TrimBlanks(rest.substr(0, comma));
        const auto piece = std::find_if(pieces.begin(), pieces.end(), [&](const auto& p) { return p.first == name; });
        if (piece == pieces.end())
            throw TUsageError("--pieces: \"" + std::string(name) +
                              "\" is not a piece; give a comma list of dff, txd, gxt, handling, vehicles, carcols, "
                              "or none");
        choices.*(piece->second) = true;
        if (comma == std::string_view::npos)
            return choices;
        rest.remove_prefix(comma + 1);
    }
}

} // namespace vehmira::cli
