#pragma once
// The command line's English for the core's errors.

#include "fileio/Errors.h"

#include <string>

namespace vehmira::cli {

// One line, UTF-8, without the "vehmira: " prefix.
std::string ErrorText(const fileio::TVehmiraError& error);

} // namespace vehmira::cli
