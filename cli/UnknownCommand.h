#pragma once
// Naming a command the command line does not know, with the nearest one.

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

namespace vehmira::cli {

// Walks the arguments (in the order typed) down the commands; the first word
// where a command is expected that names none gives
//   unknown command "lst"; did you mean "list"?
// or, with none near it, the commands that there are. Nothing when every
// command word is known.
std::optional<std::string> UnknownCommandText(CLI::App& app, const std::vector<std::string>& args);

} // namespace vehmira::cli
