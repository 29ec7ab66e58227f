#pragma once
// Data\gta.dat: the list of files the game loads at start. Of its lines the
// scan needs two kinds, read with the game's line rules (TextLines.h):
//   IMG <path>   a further model archive, read after Models\GTA3.img, in order
//   IDE <path>   a definition file, read in order
// The keyword is case-sensitive and stands first on the line; the path is
// the rest of the line, relative to the game directory.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vehmira::gamedata {

inline constexpr std::string_view GameDatArchiveKeyword = "IMG";
inline constexpr std::string_view GameDatDefinitionsKeyword = "IDE";

struct TGameDatFile {
    std::string Path;      // as written, backslashes or slashes
    std::size_t Line = 0;  // from 1
};

struct TGameDat {
    std::vector<TGameDatFile> Archives;
    std::vector<TGameDatFile> Definitions;
};

TGameDat ReadGameDat(std::string_view text);

} // namespace vehmira::gamedata
