#pragma once
// What the export and import engines work on: one game directory, its chosen
// GXT file and its open model archive.

#include "archive/IMG.h"

#include <filesystem>
#include <string>

// The export and the import refuse to run without an open archive.
inline constexpr const char* NoOpenArchiveText =
    "The model archive Models\\GTA3.img is not open: choose the game directory first.";
// A chosen list row whose ID has no record in the CARS section of Data\Vehicles.ide
// (the front ends look the row up with TVehicleFile::FindLastByID).
inline constexpr const char* NoSuchVehicleText =
    "This vehicle has no definition in the CARS section of Data\\Vehicles.ide, so it cannot be exported or replaced.";

struct TGameContext {
    std::filesystem::path GameDirectory;
    std::string GXTFileName; // a name under Text\, for example "American.gxt"
    TIMGFile* Archive = nullptr; // must be open; the engines refuse to run otherwise
};
