#pragma once
// Game files are named by the game directory plus a fixed relative path with
// backslashes ("Models\GTA3.img"). On POSIX each component is looked up
// case-insensitively against what is on disk, because real copies hold
// "models/gta3.img" or "data/Vehicles.ide"; an exact match wins over a
// case-folded one, and a component that is not there keeps its given spelling.

#include <filesystem>
#include <string_view>

namespace GameFiles {
inline constexpr std::string_view ModelArchive = "Models\\GTA3.img";
inline constexpr std::string_view VehicleDefinitions = "Data\\Vehicles.ide";
inline constexpr std::string_view Handling = "Data\\Handling.cfg";
inline constexpr std::string_view Carcols = "Data\\Carcols.dat";
inline constexpr std::string_view TextDirectory = "Text\\";
} // namespace GameFiles

std::filesystem::path ResolveGamePath(const std::filesystem::path& gameDirectory, std::string_view relativePath);
