#pragma once
// The model archives the game reads and what it finds in them: Models\GTA3.img,
// then the IMG lines of Data\gta.dat in order. For a name several archives
// hold, the first archive wins, as the game's directory loading keeps the
// first entry it registers.

#include "archive/DIR.h"
#include "archive/Paintjobs.h"
#include "gamedata/GameDat.h"
#include "gamedata/VehiclesIde.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vehmira::engine {

struct TGameArchive {
    std::string GamePath; // "Models\GTA3.img" or as Data\gta.dat writes it
    std::filesystem::path Path;
    archive::TDIREntrys Entries;
};

// Data\gta.dat read with the game's line rules; empty when the game has none.
gamedata::TGameDat ReadGameFileList(const std::filesystem::path& gameDirectory);

// The archives in the game's order, directories read (entries past an
// archive's end are kept: the layout check reports them). An archive that
// Data\gta.dat names but that is missing, or whose path leaves the game
// directory, is passed over. Models\GTA3.img must be there; its damaged
// directory raises the reader's error, as does a further archive's.
std::vector<TGameArchive> ReadGameArchives(const std::filesystem::path& gameDirectory,
                                           const gamedata::TGameDat& fileList);

struct TArchiveEntryPlace {
    std::size_t Archive = 0; // index into the archives
    std::size_t Entry = 0;   // directory index
};

// Where the game takes the entry of that name from; none when no archive holds it.
std::optional<TArchiveEntryPlace> FindLoadedEntry(std::span<const TGameArchive> archives, std::string_view name);

// The vehicles' paintjobs as the game assigns them while reading the archives.
archive::TPaintjobRegister GamePaintjobs(std::span<const TGameArchive> archives,
                                         std::span<const gamedata::TVehicleRecord> vehicles);

} // namespace vehmira::engine
