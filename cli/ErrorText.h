#pragma once
// The command line's English for the core's errors.

#include "fileio/Errors.h"

#include <string>

namespace vehmira::cli {

// One line, UTF-8, without the "vehmira: " prefix. Without --game on the line
// a folder that holds no game is the current directory, and the text says to
// give the game directory with --game.
std::string ErrorText(const fileio::TVehmiraError& error, bool gameGiven = true);

} // namespace vehmira::cli
