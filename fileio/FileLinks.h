#pragma once
// Links on the way to a game file and links of the file itself. A folder of the
// game may be a symbolic link (or, on Windows, a junction) to somewhere else,
// and a game file may have further names (hard links) outside the game folder:
// what the journal writes and restores must stay with the game's own names.

#include <cstdint>
#include <filesystem>

namespace vehmira::fileio {

// Whether the path itself (not what it points to) is a symbolic link, or on
// Windows a junction; false when nothing is there.
bool IsLink(const std::filesystem::path& path);

// How many names the file has (hard links); 1 when that cannot be told or the
// file does not exist.
std::uint64_t HardLinkCount(const std::filesystem::path& path);

} // namespace vehmira::fileio
