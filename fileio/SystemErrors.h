#pragma once
// Which kind of error a refused file operation is. A file that another
// program holds, or one the user may not write, gets its own kind: the user
// can do something about it (close the game, give the folder write access),
// and each front says so in its own words.

#include "fileio/Errors.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace vehmira::fileio {

// code: errno on POSIX, GetLastError() on Windows.
TErrorKind KindOfSystemError(int code);
TErrorKind KindOfSystemError(const std::error_code& error);

// The error for an operation on path that the system refused with code (or
// error); description says what was tried and why it failed.
TVehmiraError SystemRefusal(const std::string& description, const std::filesystem::path& path, int code);
TVehmiraError SystemRefusal(const std::string& description, const std::filesystem::path& path,
                            const std::error_code& error);

} // namespace vehmira::fileio
