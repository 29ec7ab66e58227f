#include "engine/VehicleName.h"

#include "fileio/Errors.h"
#include "fileio/GamePaths.h"
#include "gamedata/CRC32.h"

std::filesystem::path GXTFilePath(const TGameContext& game)
{
    return ResolveGamePath(game.GameDirectory, std::string(GameFiles::TextDirectory) + game.GXTFileName);
}

std::optional<std::string> FindVehicleName(const TGXTFile& gxt, const TVehicleRecord& vehicle)
{
    if (gxt.Tables.empty())
        return std::nullopt;
    const TGXTTable& mainTable = gxt.Tables[0];
    const std::uint32_t hash = GXTKeyHash(vehicle.GameName);
    for (std::size_t k = 0; k < mainTable.Keys.size() && k < mainTable.Texts.size(); ++k)
        if (mainTable.Keys[k].Hash == hash)
            return mainTable.Texts[k];
    return std::nullopt;
}

std::size_t SetVehicleName(TGXTFile& gxt, const TVehicleRecord& target, std::string_view name)
{
    // Texts end at their first zero byte: a name holding one would come back cut short.
    if (name.find('\0') != std::string_view::npos)
        throw TVehmiraError("The display name holds a zero byte");
    if (gxt.Tables.empty())
        return 0;
    TGXTTable& mainTable = gxt.Tables[0];
    const std::uint32_t hash = GXTKeyHash(target.GameName);
    std::size_t changed = 0;
    for (std::size_t k = 0; k < mainTable.Keys.size() && k < mainTable.Texts.size(); ++k) {
        if (mainTable.Keys[k].Hash == hash) {
            mainTable.Texts[k] = std::string(name);
            ++changed;
        }
    }
    return changed;
}
