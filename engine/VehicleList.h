#pragma once
// The vehicle list: every definition line of six or more fields joined with
// the GXT main table by the hash of its field 5, as the game's search finds it;
// a vehicle line whose name the game does not find is listed by its model name.

#include "fileio/CheckFinding.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vehmira::engine {

struct TVehicleListRow {
    std::string ID;    // field 0 exactly as written
    std::string Name;  // the main table's text, raw 8-bit bytes; the model name when NameFromModel
    std::string Model; // field 1
    // No GXT text names it (trailers, the freight cars): Name is the model name.
    bool NameFromModel = false;
    // The dictionaries the game takes as its paintjobs (archive/Paintjobs.h),
    // entry names in the game's order; filled by AddPaintjobs.
    std::vector<std::string> Paintjobs;

    bool operator==(const TVehicleListRow&) const = default;
};

struct TVehicleList {
    std::vector<TVehicleListRow> Rows;
    // What the list met in the game's files: GXTKeysUnsorted when the main
    // table's keys are out of hash order (the rows then hold only the names
    // the game finds).
    fileio::TCheckFindings Findings;
};

// Reads Text\<gxtFileName> and Data\Vehicles.ide of the game directory anew.
// A line gives a row for the key the game's search finds; in a main table in
// hash order, for every key of that hash (they stand together, and the game
// shows one of them).
TVehicleList BuildVehicleList(const std::filesystem::path& gameDirectory, std::string_view gxtFileName);

// Fills each row's paintjobs from the archives the game reads (GameArchives.h),
// each archive opened for reading only.
void AddPaintjobs(TVehicleList& list, const std::filesystem::path& gameDirectory);

} // namespace vehmira::engine
