#pragma once
// Export of one vehicle into a ".car" package. Reads the game's files, never writes them.

#include "gamedata/VehiclesIde.h"
#include "engine/GameContext.h"

#include <filesystem>

namespace vehmira::engine {

struct TExportChoices {
    bool DFF = true;
    bool TXD = true;
    bool GXT = true;
    bool Handling = false;
    bool Vehicles = false;
    bool Carcols = false;
};

// Writes the package to a temporary file beside destination and moves it into
// place when complete; on failure nothing is left and an existing file stays.
void ExportVehicle(const TGameContext& game, const gamedata::TVehicleRecord& vehicle, const TExportChoices& choices,
                   const std::filesystem::path& destination);

} // namespace vehmira::engine
