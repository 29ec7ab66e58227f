#pragma once
// Whether the game reads a vehicle's definition line and finds the handling
// lines its type needs, counted as the game's loaders count them: commas and
// blanks both separate fields, and a field counts only when it reads as the
// value the loader scans there (FieldScan.h).
//
// Data\Vehicles.ide, one line per vehicle: id, model, txd, type, handling ID,
// game name, anims, class, frequency, flags, comprules (11 fields, enough for
// a boat or a train), then wheel model, front and rear wheel size and wheel
// upgrade class (15 fields for every other type).
// Data\Handling.cfg: a line's first character picks its kind, ";" a comment
// (";the end" ends the file), "!" bike, "$" flying, "%" boat, "^" animation
// group; any other line is a standard record keyed by its first field. The
// special kinds are keyed by their second field.

#include "fileio/CheckFinding.h"

#include <string_view>

namespace vehmira::gamedata {

// The values after the handling ID in a standard line and in each special kind.
inline constexpr std::size_t StandardHandlingValues = 35;
inline constexpr std::size_t BikeHandlingValues = 15;
inline constexpr std::size_t FlyingHandlingValues = 21;
inline constexpr std::size_t BoatHandlingValues = 14;

// The type strings the game knows (field 4 of a definition line).
bool IsKnownVehicleType(std::string_view type);
// The special handling kind ("!", "$", "%") a type reads besides its standard line, or "".
std::string_view SpecialHandlingKindOf(std::string_view type);

// Where the definition line comes from. The stock game's own line for 460
// (Skimmer) is a plane line of 11 fields; every copy of the game holds it, so
// the game's own short plane line is a warning, one an import brings an error.
enum class TDefinitionOrigin { GameFile, Import };

// Findings on the definition line and on the handling file the game will read.
fileio::TCheckFindings CheckVehicleLines(std::string_view definitionLine, std::string_view handlingFile,
                                         TDefinitionOrigin origin);

} // namespace vehmira::gamedata
