#pragma once
// `vehmira img check [ARCHIVE] [--json]` and `vehmira img rebuild [ARCHIVE]`:
// how the game's chained read sees the model archive, and the rebuild that
// lays its data back to back. ARCHIVE defaults to the game's Models\GTA3.img.

#include "cli/Commands.h"

#include <functional>
#include <string>

namespace CLI {
class App;
}

namespace vehmira::cli {

// Exit code of `img check` when the game would misread entries or entries
// overlap or lie past the end (1 is kept for "could not check").
inline constexpr int ExitArchiveProblems = 3;

struct TArchiveCommandOptions {
    std::string Archive; // empty: the game's archive
    bool Json = false;
};

// Adds the `img` command; the subcommand given sets action.
void AddArchiveCommands(::CLI::App& app, TArchiveCommandOptions& options,
                        std::function<int(const TCommandContext&)>& action);

int ArchiveCheckCommand(const TCommandContext& context, const TArchiveCommandOptions& options);
int ArchiveRebuildCommand(const TCommandContext& context, const TArchiveCommandOptions& options);

} // namespace vehmira::cli
