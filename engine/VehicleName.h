#pragma once
// A vehicle's display name in the main table of the game's GXT file, found by
// the hash of the vehicle's GXT key (GameName).

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

// The text of the first main-table key of the vehicle, in code page 1251, or none.
std::optional<std::string> FindVehicleName(const gamedata::TGXTFile& gxt, const gamedata::TVehicleRecord& vehicle);

// Sets the text of every main-table key of the target to name, a code page 1251
// text stored in the file's character size (other tables
// stay as they are); returns how many keys changed. Throws TVehmiraError for a
// name holding a zero byte, which the file cannot store.
std::size_t SetVehicleName(gamedata::TGXTFile& gxt, const gamedata::TVehicleRecord& target, std::string_view name);

} // namespace vehmira::engine
