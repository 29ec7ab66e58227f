#pragma once
// The scan of a whole game: every vehicle line of Data\Vehicles.ide and of the
// definition files Data\gta.dat names, checked as the game will load it from
// the archives it reads (GameArchives.h), with the rules the import's check
// applies to one vehicle; then the colour and upgrade files and the layout of
// Models\GTA3.img. Nothing is written.

#include "archive/ArchiveLayout.h"
#include "fileio/CheckFinding.h"
#include "fileio/Progress.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vehmira::engine {

struct TScannedVehicle {
    std::int32_t ID = 0;
    std::string ModelName;
    std::string File; // the definition file, as a game path
    std::size_t Line = 0; // its definition line there, from 1
    fileio::TCheckFindings Findings;
};

// A finding tied to a line of a game file rather than to a vehicle.
struct TScanFileFinding {
    std::string File; // a game path ("Data\Carcols.dat")
    std::size_t Line = 0;
    fileio::TCheckFinding Finding;
};

struct TGameScan {
    std::vector<TScannedVehicle> Vehicles; // in the order of their lines
    std::vector<TScanFileFinding> Files;
    archive::TArchiveLayout Layout; // Models\GTA3.img's

    bool HasErrors() const;
};

struct TScanOptions {
    std::vector<std::int32_t> OnlyIDs;        // empty: every vehicle
    fileio::TProgressSink* Progress = nullptr; // vehicles done of vehicles to scan
};

// Raises the reader's error when Models\GTA3.img or Data\Vehicles.ide cannot
// be read; a missing Data\gta.dat, carcols or carmods file is no finding.
TGameScan ScanGame(const std::filesystem::path& gameDirectory, const TScanOptions& options);

} // namespace vehmira::engine
