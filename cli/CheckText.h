#pragma once
// The check's findings in English: one line each on the terminal, or the
// JSON object {"errors": [...], "warnings": [...]}.

#include "fileio/CheckFinding.h"

#include <ostream>
#include <string>

namespace vehmira::cli {

// The exit code of a check, or of an import refused by it, that found errors.
inline constexpr int ExitCheckErrors = 3;

std::string CheckFindingText(const fileio::TCheckFinding& finding);

// "error missing_frame: ..." or "warning no_low_detail: ..." per finding, prefixed by prefix.
void PrintCheckFindings(std::ostream& out, const fileio::TCheckFindings& findings, std::string_view prefix = {});
void PrintCheckFindingsJson(std::ostream& out, const fileio::TCheckFindings& findings);

} // namespace vehmira::cli
