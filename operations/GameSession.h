#pragma once
// A game directory opened for the operations: the vehicle definitions loaded,
// after any import that a crash interrupted has been rolled back, and the model
// archive, held open without sharing only while an operation uses it. The game
// and other tools open the archive while a front sits idle, so a front lets go
// of it after each operation; the next use opens it again and rereads its
// directory, which another program may have changed in between.

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
    // Recovers the game directory, opens Models\GTA3.img (so that an archive
    // another program holds is told at once) and reads Data\Vehicles.ide; then
    // lets go of the archive.
    TGameSession(TGameLocation location, TOperationObserver& observer);

    const TGameLocation& Location() const { return GameLocation; }
    // The game for the engines, with the archive opened again first when it was let go.
    engine::TGameContext Context();
    // The archive, opened again first when it was let go.
    archive::TIMGFile& Archive();
    // Closes the archive until the next Archive() or Context().
    void LetGoOfArchive() { ModelArchive->Close(); }
    bool HoldsArchive() const { return ModelArchive->IsOpen(); }
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

// Held by each operation on a session: the session lets go of its archive when
// the operation ends, however it ends.
class TArchiveUse {
public:
    explicit TArchiveUse(TGameSession& session) : Session(session) {}
    ~TArchiveUse() { Session.LetGoOfArchive(); }
    TArchiveUse(const TArchiveUse&) = delete;
    TArchiveUse& operator=(const TArchiveUse&) = delete;

private:
    TGameSession& Session;
};

} // namespace vehmira::operations
