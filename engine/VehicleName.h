#pragma once
// A vehicle's display name in the main table of the game's GXT file, found by
// the hash of the vehicle's GXT key (GameName).

#include "fileio/CheckFinding.h"
#include "gamedata/GXT.h"
#include "gamedata/VehiclesIde.h"
#include "engine/GameContext.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vehmira::engine {

// Text\ + the chosen GXT file name under the game directory.
std::filesystem::path GXTFilePath(const TGameContext& game);

// The text of the main-table key the game's search finds for the vehicle
// (GXTKeySearch.h), in code page 1251, or none: a key out of hash order that
// the search misses is not the game's name.
std::optional<std::string> FindVehicleName(const gamedata::TGXTFile& gxt, const gamedata::TVehicleRecord& vehicle);

// Sets the text of every main-table key of the target to name, a code page 1251
// text stored in the file's character size (other tables stay as they are);
// returns how many keys changed. A main table out of hash order that holds the
// target's key is put in order first (SortKeysByHash: every other text kept),
// so that the game finds the new name and every other. Throws TVehmiraError
// for a name holding a zero byte, which the file cannot store.
std::size_t SetVehicleName(gamedata::TGXTFile& gxt, const gamedata::TVehicleRecord& target, std::string_view name);

// The check's warning GXTKeysUnsorted about the game's GXT file; none when its
// main table is in hash order, or when the file cannot be read (an import
// that needs it refuses it itself).
std::optional<fileio::TCheckFinding> CheckGXTKeyOrder(const TGameContext& game);

} // namespace vehmira::engine
