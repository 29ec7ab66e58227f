// The reader of Data\gta.dat: every archive and definition file it lists is
// what its line holds after the keyword, read with the game's line rules, in
// line order, and never empty; separators inside it became single blanks, as
// the game reads the rest of the line after the keyword.
#include "FuzzSupport.h"
#include "gamedata/GameDat.h"
#include "gamedata/TextLines.h"

#include <string>

using namespace vehmira::gamedata;

namespace {

void RequireListed(const std::vector<TGameDatFile>& files, const std::vector<std::string_view>& lines,
                   std::string_view keyword)
{
    std::size_t previous = 0;
    for (const TGameDatFile& file : files) {
        Require(file.Line > previous && file.Line <= lines.size(), "files are listed in line order");
        previous = file.Line;
        Require(!file.Path.empty(), "a listed path is never empty");
        Require(file.Path.find_first_of("\t,\r\n#") == std::string::npos && file.Path.front() != ' ' &&
                    file.Path.back() != ' ',
                "a listed path holds no separator but inner blanks");
        const std::optional<std::string_view> cleaned = StripCommentLineView(lines[file.Line - 1]);
        const std::string normal = cleaned ? NormalizeFields(*cleaned) : std::string();
        Require(normal.rfind(std::string(keyword) + " " + file.Path, 0) == 0 &&
                    normal.find_first_not_of(' ', keyword.size() + 1 + file.Path.size()) == std::string::npos,
                "a listed path is its line after the keyword");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = AsText(data, size);
    const TGameDat files = ReadGameDat(text);
    const std::vector<std::string_view> lines = SplitLineViews(text);
    RequireListed(files.Archives, lines, GameDatArchiveKeyword);
    RequireListed(files.Definitions, lines, GameDatDefinitionsKeyword);
    return 0;
}
