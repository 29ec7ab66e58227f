#pragma once
// The `vehmira` command line as a function, so tests run it in-process.

#include <ostream>
#include <string>
#include <vector>

namespace vehmira::cli {

// Runs one command. args are the arguments after the program name, in UTF-8.
// Output goes to out, messages to err as "vehmira: <message>". Returns the
// exit code: 0 success, 1 failure, 2 a usage error.
int RunVehmira(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace vehmira::cli
