#pragma once
// A game directory opened for the operations: the model archive held open
// without sharing, and the vehicle definitions loaded, after any import that a
// crash interrupted has been rolled back.

#include "archive/IMG.h"
#include "engine/GameContext.h"
#include "gamedata/VehiclesIde.h"
#include "operations/OperationObserver.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace vehmira::operations {

// Which game, and which of its GXT files names the vehicles.
struct TGameLocation {
    std::filesystem::path GameDirectory;
    std::string GXTFileName; // a name under Text\, for example "American.gxt"
};

// Rolls back every interrupted import of the game directory and tells the
// observer. The rollback writes the archive, so a read-only archive is made
// writable first. Every operation that reads or writes the game runs this first.
void RecoverGameDirectory(const TGameLocation& location, TOperationObserver& observer);

// Raises NoGameDirectory when the directory does not exist, and
// NotGameDirectory naming the first file it lacks of the model archive, the
// vehicle definitions and the GXT file: before anything is read or written, so
// that a wrong folder is told as such.
void RequireGameDirectory(const TGameLocation& location);

class TGameSession {
public:
    // Recovers the game directory, opens Models\GTA3.img and reads Data\Vehicles.ide.
    TGameSession(TGameLocation location, TOperationObserver& observer);

    const TGameLocation& Location() const { return GameLocation; }
    engine::TGameContext Context() const;
    archive::TIMGFile& Archive() { return *ModelArchive; }
    const gamedata::TVehicleFile& Definitions() const { return VehicleDefinitions; }

    // The vehicle with that ID; with several definition lines of the ID the
    // last one counts, as in the game. Raises NoSuchVehicle for an unknown ID.
    const gamedata::TVehicleRecord& FindVehicle(std::int32_t id) const;

    // Reads Data\Vehicles.ide again after an import or an undo changed it; a
    // failed reading keeps the definitions held before.
    void ReloadDefinitions();

private:
    TGameLocation GameLocation;
    std::unique_ptr<archive::TIMGFile> ModelArchive;
    gamedata::TVehicleFile VehicleDefinitions;
};

} // namespace vehmira::operations
