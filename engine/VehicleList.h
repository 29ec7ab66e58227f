#pragma once
// The vehicle list: every definition line of six or more fields joined with
// the GXT main table by the hash of its field 5.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vehmira::engine {

struct TVehicleListRow {
    std::string ID;   // field 0 exactly as written
    std::string Name; // the main table's text, raw 8-bit bytes
};

// Reads Text\<gxtFileName> and Data\Vehicles.ide of the game directory anew.
std::vector<TVehicleListRow> BuildVehicleList(const std::filesystem::path& gameDirectory,
                                              std::string_view gxtFileName);

} // namespace vehmira::engine
