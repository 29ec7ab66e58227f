#include "engine/VehicleName.h"

#include "fileio/Errors.h"
#include "fileio/GamePaths.h"
#include "gamedata/CRC32.h"

namespace vehmira::engine {

std::filesystem::path GXTFilePath(const TGameContext& game)
{
    return fileio::ResolveGamePath(game.GameDirectory,
                                   std::string(fileio::GameFiles::TextDirectory) + game.GXTFileName);
}

std::optional<std::string> FindVehicleName(const gamedata::TGXTFile& gxt, const gamedata::TVehicleRecord& vehicle)
{
    if (gxt.Tables.empty())
        return std::nullopt;
    const gamedata::TGXTTable& mainTable = gxt.Tables[0];
    const std::uint32_t hash = gamedata::GXTKeyHash(vehicle.GameName);
    for (std::size_t k = 0; k < mainTable.Keys.size() && k < mainTable.Texts.size(); ++k)
        if (mainTable.Keys[k].Hash == hash)
            return gamedata::GXTTextToCp1251(mainTable.Texts[k], gxt.CharacterSize);
    return std::nullopt;
}

std::size_t SetVehicleName(gamedata::TGXTFile& gxt, const gamedata::TVehicleRecord& target, std::string_view name)
{
    // Texts end at their first zero byte: a name holding one would come back cut short.
    if (name.find('\0') != std::string_view::npos)
        throw fileio::TVehmiraError("The display name holds a zero byte");
    if (gxt.Tables.empty())
        return 0;
    gamedata::TGXTTable& mainTable = gxt.Tables[0];
    const std::uint32_t hash = gamedata::GXTKeyHash(target.GameName);
    const std::string stored = gamedata::Cp1251ToGXTText(name, gxt.CharacterSize);
    std::size_t changed = 0;
    for (std::size_t k = 0; k < mainTable.Keys.size() && k < mainTable.Texts.size(); ++k) {
        if (mainTable.Keys[k].Hash == hash) {
            mainTable.Texts[k] = stored;
            ++changed;
        }
    }
    return changed;
}

} // namespace vehmira::engine
