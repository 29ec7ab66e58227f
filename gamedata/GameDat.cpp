#include "gamedata/GameDat.h"

#include "gamedata/TextLines.h"

namespace vehmira::gamedata {

TGameDat ReadGameDat(std::string_view text)
{
    TGameDat files;
    const std::vector<std::string_view> lines = SplitLineViews(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::optional<std::string_view> cleaned = StripCommentLineView(lines[i]);
        if (!cleaned)
            continue;
        const std::string fields = NormalizeFields(*cleaned);
        const std::size_t blank = fields.find(' ');
        if (blank == std::string::npos)
            continue;
        const std::string_view keyword = std::string_view(fields).substr(0, blank);
        // A separator at the end of the line is left as a blank by the field rule.
        const std::size_t end = fields.find_last_not_of(' ');
        if (end == std::string::npos || end <= blank)
            continue;
        TGameDatFile file{fields.substr(blank + 1, end - blank), i + 1};
        if (keyword == GameDatArchiveKeyword)
            files.Archives.push_back(std::move(file));
        else if (keyword == GameDatDefinitionsKeyword)
            files.Definitions.push_back(std::move(file));
    }
    return files;
}

} // namespace vehmira::gamedata
