#pragma once
// The command line's English for the core's errors.

#include "fileio/Errors.h"

#include <string>

// One line, UTF-8, without the "vehmira: " prefix.
std::string ErrorText(const TVehmiraError& error);
