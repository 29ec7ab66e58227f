#pragma once
// JSON string literals for the --json outputs.

#include <string>
#include <string_view>

namespace vehmira::cli {

// The UTF-8 text as a quoted JSON string: quotes, backslashes and control
// characters escaped, everything else passed through.
std::string JsonString(std::string_view utf8);

} // namespace vehmira::cli
