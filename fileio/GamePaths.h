#pragma once
// Game files are named by the game directory plus a fixed relative path with
// backslashes ("Models\GTA3.img"). Each component is looked up
// case-insensitively against what is on disk, because real copies hold
// "models/gta3.img" or "data/Vehicles.ide": on POSIX to find the file at all,
// on Windows so that a file written into place keeps its spelling. An exact
// match wins over a case-folded one, and a component that is not there keeps
// its given spelling.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vehmira::fileio {

namespace GameFiles {
inline constexpr std::string_view ModelArchive = "Models\\GTA3.img";
inline constexpr std::string_view VehicleDefinitions = "Data\\Vehicles.ide";
inline constexpr std::string_view Handling = "Data\\Handling.cfg";
inline constexpr std::string_view Carcols = "Data\\Carcols.dat";
inline constexpr std::string_view Carmods = "Data\\Carmods.dat";
inline constexpr std::string_view GameFileList = "Data\\gta.dat";
inline constexpr std::string_view TextDirectory = "Text\\";
// The textures every vehicle shares, searched before a vehicle's own.
inline constexpr std::string_view SharedVehicleTextures = "Models\\Generic\\Vehicle.txd";
} // namespace GameFiles

// The components of a relative game path, split on both separators as the
// game does; empty components (doubled or trailing separators) are skipped.
std::vector<std::string> SplitGamePath(std::string_view relativePath);

// Whether a relative game path stays inside the game directory on every
// platform: no leading separator, no drive or stream colon, and no empty, "."
// or ".." component. Windows drops trailing dots and spaces from a component
// (".. " reaches the parent there), so a component may not end in either; nor
// may it be a name Windows opens as a device (NUL, CON, COM1, LPT9, CONIN$,
// with any extension, any case). The text must be well-formed UTF-8.
bool IsInsideGameDirectory(std::string_view relativePath);

// Whether two relative game paths name the same file as the resolver finds it:
// the same components, ASCII case ignored, either separator.
bool SameGamePath(std::string_view a, std::string_view b);

std::filesystem::path ResolveGamePath(const std::filesystem::path& gameDirectory, std::string_view relativePath);

} // namespace vehmira::fileio
