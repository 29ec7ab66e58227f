#include "cli/ArchiveCommands.h"

#include "cli/CommandObserver.h"
#include "cli/ErrorText.h"
#include "cli/JsonText.h"
#include "cli/OutputText.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "operations/ArchiveOperations.h"
#include "operations/GameSession.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <utility>
#include <vector>

namespace vehmira::cli {

namespace {

std::string ArchiveName(const TCommandContext& context, const TArchiveCommandOptions& options)
{
    return options.Archive.empty()
               ? fileio::PathToUtf8(fileio::ResolveGamePath(context.GameDirectory, fileio::GameFiles::ModelArchive))
               : options.Archive;
}

bool HasProblems(const archive::TArchiveLayout& layout)
{
    return !layout.ReadsCorrectly() || !layout.OverlappingEntries.empty() || !layout.PastEndEntries.empty();
}

void PrintPaintjobExcessJson(std::ostream& out, const std::vector<operations::TPaintjobExcess>& excess)
{
    out << ", \"paintjob_excess\": [";
    for (std::size_t i = 0; i < excess.size(); ++i) {
        out << (i == 0 ? "" : ", ") << "{\"id\": " << excess[i].ID
            << ", \"model\": " << JsonString(GameTextToUtf8(excess[i].ModelName)) << ", \"paintjobs\": [";
        for (std::size_t p = 0; p < excess[i].Paintjobs.size(); ++p)
            out << (p == 0 ? "" : ", ") << JsonString(GameTextToUtf8(excess[i].Paintjobs[p]));
        out << "]}";
    }
    out << ']';
}

void PrintPaintjobExcess(std::ostream& out, const std::vector<operations::TPaintjobExcess>& excess)
{
    out << "  over " << archive::MaxPaintjobs << " paintjobs:    " << excess.size();
    for (std::size_t i = 0; i < excess.size(); ++i)
        out << (i == 0 ? " (" : ", ") << excess[i].ID << ' ' << GameTextToUtf8(excess[i].ModelName) << ": "
            << excess[i].Paintjobs.size();
    out << (excess.empty() ? "\n" : ")\n");
}

void PrintLayoutJson(std::ostream& out, const archive::TArchiveLayout& layout,
                     const std::optional<std::vector<operations::TPaintjobExcess>>& excess)
{
    out << "{\"entries\": " << layout.EntryCount << ", \"pairs\": " << layout.ChainPairs
        << ", \"misread_pairs\": " << layout.MisreadPairs.size() << ", \"hole_bytes\": " << layout.HoleBytes
        << ", \"overlaps\": " << layout.OverlappingEntries.size() << ", \"past_end\": " << layout.PastEndEntries.size()
        << ", \"duplicates\": " << layout.DuplicateNames.size()
        << ", \"unterminated_names\": " << layout.UnterminatedNames.size()
        << ", \"short_tail\": " << layout.ShortTailEntries.size() << ", \"free_records\": " << layout.FreeRecords
        << ", \"free_bytes\": " << layout.FreeBytes;
    if (excess)
        PrintPaintjobExcessJson(out, *excess);
    out << "}\n";
}

void PrintLayout(std::ostream& out, const std::string& archive, const archive::TArchiveLayout& layout,
                 const std::optional<std::vector<operations::TPaintjobExcess>>& excess)
{
    out << archive << '\n';
    out << "  entries:              " << layout.EntryCount << '\n';
    out << "  linked pairs:         " << layout.ChainPairs << '\n';
    out << "  misread pairs:        " << layout.MisreadPairs.size();
    if (!layout.MisreadPairs.empty())
        out << " (" << MessageToUtf8(archive::DescribeMisreadPairs(layout)) << ")";
    out << '\n';
    out << "  bytes in holes:       " << layout.HoleBytes << '\n';
    out << "  overlapping entries:  " << layout.OverlappingEntries.size() << '\n';
    out << "  entries past the end: " << layout.PastEndEntries.size() << '\n';
    out << "  duplicate names:      " << layout.DuplicateNames.size() << '\n';
    out << "  unterminated names:   " << layout.UnterminatedNames.size() << '\n';
    out << "  short last sector:    " << layout.ShortTailEntries.size() << '\n';
    out << "  free records:         " << layout.FreeRecords << " (" << layout.FreeBytes << " bytes)\n";
    if (excess)
        PrintPaintjobExcess(out, *excess);
    if (HasProblems(layout))
        out << "The game would not read every entry as the directory says.\n";
    else
        out << "The game reads every entry as the directory says.\n";
}

} // namespace

int ArchiveCheckCommand(const TCommandContext& context, const TArchiveCommandOptions& options)
{
    TCommandObserver observer(context);
    const archive::TArchiveLayout layout = options.Archive.empty()
                                               ? operations::CheckArchive(Location(context), observer)
                                               : operations::CheckArchive(fileio::PathFromUtf8(options.Archive));
    // Paintjobs belong to the game's vehicles: counted only for the game's own archives.
    std::optional<std::vector<operations::TPaintjobExcess>> excess;
    if (options.Archive.empty())
        excess = operations::FindPaintjobExcess(Location(context), observer);
    if (options.Json)
        PrintLayoutJson(context.Out, layout, excess);
    else
        PrintLayout(context.Out, ArchiveName(context, options), layout, excess);
    if (excess && !excess->empty())
        context.Out << "Vehicles hold more paintjobs than the game has room for: it writes past them.\n";
    return HasProblems(layout) || (excess && !excess->empty()) ? ExitArchiveProblems : 0;
}

int ArchiveRebuildCommand(const TCommandContext& context, const TArchiveCommandOptions& options)
{
    operations::TArchiveRebuildOutcome outcome;
    {
        TCommandObserver observer(context, "Rebuilding the archive");
        if (options.Archive.empty()) {
            operations::TGameSession session(Location(context), observer);
            outcome = operations::RebuildArchive(session, observer);
        } else {
            outcome = operations::RebuildArchive(fileio::PathFromUtf8(options.Archive), observer);
        }
    }
    const std::string name = ArchiveName(context, options);
    if (outcome.Rebuilt) {
        context.Out << "Rebuilt " << name << ": " << outcome.After.EntryCount << " entries, "
                    << outcome.Before.MisreadPairs.size() << " misread pairs, " << outcome.Before.HoleBytes
                    << " bytes in holes and " << outcome.Before.FreeBytes
                    << " bytes under free records before, none now.";
        if (!options.Archive.empty())
            context.Out << " Imports made before the rebuild can no longer be undone.\n";
        else if (outcome.RetiredImports != 0)
            context.Out << " The " << outcome.RetiredImports
                        << " import(s) made before the rebuild can no longer be undone; undo no longer offers them.\n";
        else
            context.Out << '\n';
    } else
        context.Out << name << " needs no rebuild: its data already lie back to back.\n";
    return 0;
}

void AddArchiveCommands(CLI::App& app, TArchiveCommandOptions& options,
                        std::function<int(const TCommandContext&)>& action)
{
    CLI::App* img = app.add_subcommand("img", "Check or rebuild the model archive");
    img->require_subcommand(1);
    CLI::App* check = img->add_subcommand(
        "check", "Show how the game reads the archive (exit 3 when it would misread entries, entries "
                 "overlap or lie past the end, or a vehicle of the game has more than four paintjobs)");
    check->add_option("ARCHIVE", options.Archive,
                      "The archive (default: " + HostPath(fileio::GameFiles::ModelArchive) + " of the game)");
    check->add_flag("--json", options.Json,
                    "Print JSON: entries, pairs, misread_pairs, hole_bytes, overlaps, past_end, duplicates, "
                    "unterminated_names, short_tail, free_records, free_bytes; for the game's archive also "
                    "paintjob_excess (id, model, paintjobs of each vehicle over four)");
    check->callback([&options, &action] {
        action = [&options](const TCommandContext& context) { return ArchiveCheckCommand(context, options); };
    });
    CLI::App* rebuild = img->add_subcommand(
        "rebuild", "Rewrite the archive with its data back to back in directory order and reclaim the space "
                   "under free records (imports made before can no longer be undone)");
    rebuild->add_option("ARCHIVE", options.Archive,
                        "The archive (default: " + HostPath(fileio::GameFiles::ModelArchive) + " of the game)");
    rebuild->callback([&options, &action] {
        action = [&options](const TCommandContext& context) { return ArchiveRebuildCommand(context, options); };
    });
}

} // namespace vehmira::cli
