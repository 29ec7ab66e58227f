#include "engine/VehicleName.h"

#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "gamedata/CRC32.h"
#include "gamedata/GXTKeySearch.h"
#include "gamedata/GXTMainTable.h"

#include <algorithm>

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
    const std::optional<std::size_t> key = gamedata::FindKeyAsTheGame(mainTable, gamedata::GXTKeyHash(vehicle.GameName));
    if (!key)
        return std::nullopt;
    return gamedata::GXTTextToCp1251(mainTable.Texts[*key], gxt.CharacterSize);
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
    // Out of hash order the game may never find the name; in order it finds every key.
    const auto hasKey = [&](const gamedata::TGXTKey& key) { return key.Hash == hash; };
    const std::size_t keyCount = gamedata::SearchedKeyCount(mainTable);
    if (std::any_of(mainTable.Keys.begin(), mainTable.Keys.begin() + std::ptrdiff_t(keyCount), hasKey) &&
        !gamedata::KeysSortedByHash(mainTable))
        gamedata::SortKeysByHash(mainTable);
    std::size_t changed = 0;
    for (std::size_t k = 0; k < keyCount; ++k) {
        if (mainTable.Keys[k].Hash == hash) {
            mainTable.Texts[k] = stored;
            ++changed;
        }
    }
    return changed;
}

std::optional<fileio::TCheckFinding> CheckGXTKeyOrder(const TGameContext& game)
{
    try {
        const fileio::ByteBuffer bytes = fileio::ReadWholeFile(GXTFilePath(game));
        return gamedata::CheckMainTableKeyOrder(gamedata::TGXTMainTableView(bytes),
                                                std::string(fileio::GameFiles::TextDirectory) + game.GXTFileName);
    } catch (const fileio::TVehmiraError&) {
        return std::nullopt;
    }
}

} // namespace vehmira::engine
