#pragma once
// The game's keyed text lines (Data\Handling.cfg, Data\Vehicles.ide,
// Data\Carcols.dat): where each kind lives, finding a vehicle's line, and
// merging an imported line over the vehicle's lines.

#include "package/CAR.h"
#include "package/ImportedLine.h"
#include "engine/GameContext.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vehmira::engine {

// The kind's file relative to the game directory, e.g. "Data\Handling.cfg".
std::string_view KeyedLineFileName(package::TKeyedLineKind kind);
std::filesystem::path KeyedLineFilePath(const TGameContext& game, package::TKeyedLineKind kind);

// The cleaned form (comment cut off, not trimmed) of the first line of the
// file's text that belongs to the vehicle, or none.
std::optional<std::string> FindFirstKeyedLine(std::string_view fileText, package::TKeyedLineKind kind,
                                              const gamedata::TVehicleRecord& vehicle);

struct TMergeResult {
    std::string Text;         // the whole file after the merge
    std::size_t ReplacedLines = 0;
};

// Replaces every line of fileText that belongs to the target (matched on the
// line's cleaned form) by the imported line rebuilt from its fields, with the
// target's kept fields put back; every other line stays byte for byte, and a
// replaced line keeps its own line ending. The imported line is read by the
// game's line rules (its comment cut off); a rebuilt line holds no empty field,
// so merging the result again changes nothing. Throws TVehmiraError when the
// imported line breaks a rule of package/ImportedLine.h, a game line that
// passes the key test holds too few fields or has a kept field empty or
// holding a zero byte, or an imported special line does not start with the
// target's marker.
TMergeResult MergeKeyedLine(package::TKeyedLineKind kind, std::string_view importedLine, std::string_view fileText,
                            const gamedata::TVehicleRecord& target);

} // namespace vehmira::engine
