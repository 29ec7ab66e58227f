#pragma once
// The line rules of the game's text data files (Data\Vehicles.ide,
// Data\Handling.cfg, Data\Carcols.dat): comment removal and field splitting.
// Every comparison is byte-exact and case-sensitive.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vehmira::gamedata {

using TLineList = std::vector<std::string>;

// Lines of a whole file, split on CR LF, LF or CR; no line-break characters kept.
TLineList SplitLines(std::string_view text);
// The same lines as views into text, for readers that need no copies.
std::vector<std::string_view> SplitLineViews(std::string_view text);

// The cleaned form of one line: nothing for an empty line or one whose first
// character is "#" or ";", the part before the first "#" otherwise.
std::optional<std::string> StripCommentLine(std::string_view line);

// The same as a view into line.
std::optional<std::string_view> StripCommentLineView(std::string_view line);

// A new list without comment lines and end-of-line comments.
TLineList StripCommentLines(const TLineList& lines);

// The line trimmed of codes 0 to 32, tabs and commas turned into blanks, runs of
// blanks shrunk to one.
std::string NormalizeFields(std::string_view line);

// The fields of a line, always at least one; a field "0.1s" before the last
// becomes "0.1".
TLineList SplitFields(std::string_view line);
// The same fields as views into line ("0.1" where the rule replaces "0.1s"),
// into a list the caller may reuse from line to line.
void SplitFieldViews(std::string_view line, std::vector<std::string_view>& fields);

} // namespace vehmira::gamedata
