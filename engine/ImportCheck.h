#pragma once
// The check before an import: what the game will meet when it loads the
// target vehicle after the import, read from the import's own source and the
// game's files, with nothing written.

#include "fileio/CheckFinding.h"
#include "engine/GameContext.h"
#include "engine/Import.h"
#include "renderware/TextureDictionary.h"

#include <optional>

namespace vehmira::engine {

// The largest model or dictionary the check reads (the game's largest vehicle
// dictionaries take a few MiB).
inline constexpr std::uint64_t MaxCheckedPieceSize = 64ull * 1024 * 1024;

// The game's shared dictionary Models\Generic\Vehicle.txd; none when the game
// has none, or it is larger than the check reads or cannot be read (the
// textures are then left unchecked, as without one).
std::optional<renderware::TTextureDictionary> ReadSharedVehicleTextures(const std::filesystem::path& gameDirectory);

// The import's model and dictionary (when it brings them) are checked for the
// type its definition line will have: the target's line, or the imported one
// merged over it as the import merges it. The lines are checked against
// Data\Handling.cfg as the import would leave it. The shared dictionary
// Models\Generic\Vehicle.txd, when the game has one, is searched for the
// model's textures. The game's GXT file is checked for the key order its
// search needs (CheckGXTKeyOrder). A source the import would refuse raises that error.
fileio::TCheckFindings CheckImport(const TGameContext& game, const gamedata::TVehicleRecord& target,
                                   const TImportSource& source);

// A model file and its texture dictionary file alone, before a target is
// chosen: what holds for every vehicle type (readable, collision, frame names,
// versions, textures found). The shared dictionary is looked for under the
// game directory when one is given (not empty).
fileio::TCheckFindings CheckModelFiles(const std::filesystem::path& model, const std::filesystem::path& textures,
                                       const std::filesystem::path& gameDirectory);

} // namespace vehmira::engine
