#pragma once
// A text file as lines that keep their own line endings, so an edit that
// replaces some lines writes every other line back exactly as it was.

#include <string>
#include <string_view>
#include <vector>

namespace vehmira::gamedata {

struct TRawLine {
    std::string Text;   // without line-break characters
    std::string Ending; // "\r\n", "\n", "\r", or "" for a last line without one
};

std::vector<TRawLine> SplitRawLines(std::string_view text);
std::string JoinRawLines(const std::vector<TRawLine>& lines);

} // namespace vehmira::gamedata
