#pragma once
// `vehmira scan [--json] [--only ID...]`: every vehicle of the game checked as
// the game will load it; a table of the vehicles with findings, the findings
// in the game's files, and a summary line.

#include "cli/Commands.h"

#include <string>
#include <vector>

namespace vehmira::cli {

// Exit 0 when nothing is wrong, ExitCheckErrors when any finding is an error
// or the archive would be misread.
int ScanCommand(const TCommandContext& context, const std::vector<std::string>& onlyIDs, bool json);

} // namespace vehmira::cli
