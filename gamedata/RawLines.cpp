#include "gamedata/RawLines.h"

namespace vehmira::gamedata {

std::vector<TRawLine> SplitRawLines(std::string_view text)
{
    std::vector<TRawLine> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t stop = text.find_first_of("\r\n", start);
        if (stop == std::string_view::npos) {
            lines.push_back({std::string(text.substr(start)), std::string()});
            break;
        }
        const bool crlf = text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n';
        const std::size_t endingLength = crlf ? 2 : 1;
        lines.push_back({std::string(text.substr(start, stop - start)), std::string(text.substr(stop, endingLength))});
        start = stop + endingLength;
    }
    return lines;
}

std::string JoinRawLines(const std::vector<TRawLine>& lines)
{
    std::size_t total = 0;
    for (const TRawLine& line : lines)
        total += line.Text.size() + line.Ending.size();
    std::string text;
    text.reserve(total);
    for (const TRawLine& line : lines) {
        text += line.Text;
        text += line.Ending;
    }
    return text;
}

} // namespace vehmira::gamedata
