#pragma once
// The commands of `vehmira`: each gathers its inputs, calls one engine and
// prints the result. Errors are thrown; the caller turns them into messages
// and exit codes.

#include "engine/Export.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>

namespace vehmira::cli {

// A command line that names something impossible (exit code 2, like a syntax error).
class TUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TCommandContext {
    std::filesystem::path GameDirectory;
    std::string GXTFileName;
    std::ostream& Out;
    std::ostream& Err;
    bool GameGiven = true; // false while the game is the current directory by default
};

// The separate inputs as typed on the command line, in UTF-8; an option not given is empty.
struct TImportOptions {
    std::string Package;
    std::string Over;
    std::optional<std::string> DFF, TXD, Name, Handling, HandlingSpecial, Vehicles, Carcols;
    bool Force = false; // import despite the check's errors
};

void ListCommand(const TCommandContext& context, bool json);
void ExportCommand(const TCommandContext& context, const std::string& id, const std::string& file,
                   const engine::TExportChoices& choices);
// Returns the exit code: 0 on success, 1 when the import failed, 3 when its
// check found errors (unless options.Force).
int ImportCommand(const TCommandContext& context, const TImportOptions& options);
// `car check`: the import's check alone. Returns 0 without errors, 3 with.
int CarCheckCommand(const TCommandContext& context, const TImportOptions& options, bool json);
void UndoCommand(const TCommandContext& context);
void HistoryCommand(const TCommandContext& context);

// "dff,txd,gxt,handling,vehicles,carcols" in any order and selection, or "none".
engine::TExportChoices ParsePieces(const std::string& list);

} // namespace vehmira::cli
