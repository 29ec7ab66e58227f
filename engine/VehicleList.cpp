#include "engine/VehicleList.h"

#include "engine/GameArchives.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "gamedata/CRC32.h"
#include "gamedata/GXT.h"
#include "gamedata/GXTMainTable.h"
#include "gamedata/TextLines.h"
#include "gamedata/VehiclesIde.h"

#include <optional>
#include <unordered_set>

namespace vehmira::engine {

namespace {

struct TDefinitionLine {
    std::string ID;
    std::string Model;
    std::uint32_t KeyHash = 0;
    bool IsVehicle = false; // a line of a "CARS" section
};

// Every line of six or more fields, in file order, whatever section it stands in.
std::vector<TDefinitionLine> ReadDefinitionLines(const std::filesystem::path& gameDirectory)
{
    const fileio::ByteBuffer bytes =
        fileio::ReadWholeFile(fileio::ResolveGamePath(gameDirectory, fileio::GameFiles::VehicleDefinitions));
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::unordered_set<std::size_t> vehicleLines;
    gamedata::VisitVehicleLines(text, [&](std::size_t index, const auto&, std::string&&) { vehicleLines.insert(index); });
    std::vector<TDefinitionLine> lines;
    std::vector<std::string_view> fields;
    std::size_t index = 0;
    for (const std::string_view line : gamedata::SplitLineViews(text)) {
        const std::optional<std::string_view> cleaned = gamedata::StripCommentLineView(line);
        ++index;
        if (!cleaned)
            continue;
        gamedata::SplitFieldViews(*cleaned, fields);
        if (fields.size() >= 6)
            lines.push_back({std::string(fields[0]), std::string(fields[1]), gamedata::GXTKeyHash(fields[5]),
                             vehicleLines.contains(index - 1)});
    }
    return lines;
}

// The keys whose text the list shows for a hash: the one the game's search
// finds and, in a table in hash order, its neighbours of the same hash.
std::vector<std::size_t> KeysShownFor(const gamedata::TGXTMainTableView& mainTable, bool sorted, std::uint32_t hash)
{
    const std::optional<std::size_t> found = mainTable.FindKeyAsTheGame(hash);
    if (!found)
        return {};
    std::size_t first = *found;
    std::size_t end = *found + 1;
    if (sorted) {
        while (first > 0 && mainTable.Hash(first - 1) == hash)
            --first;
        while (end < mainTable.KeyCount() && mainTable.Hash(end) == hash)
            ++end;
    }
    std::vector<std::size_t> keys(end - first);
    for (std::size_t k = first; k < end; ++k)
        keys[k - first] = k;
    return keys;
}

} // namespace

TVehicleList BuildVehicleList(const std::filesystem::path& gameDirectory, std::string_view gxtFileName)
{
    const std::string gxtPath = std::string(fileio::GameFiles::TextDirectory) + std::string(gxtFileName);
    const fileio::ByteBuffer gxtBytes = fileio::ReadWholeFile(fileio::ResolveGamePath(gameDirectory, gxtPath));
    const gamedata::TGXTMainTableView mainTable(gxtBytes);
    const std::vector<TDefinitionLine> lines = ReadDefinitionLines(gameDirectory);

    TVehicleList list;
    if (auto finding = gamedata::CheckMainTableKeyOrder(mainTable, gxtPath))
        list.Findings.push_back(std::move(*finding));
    const bool sorted = mainTable.KeysSortedByHash();
    for (const TDefinitionLine& line : lines) {
        const std::vector<std::size_t> keys = KeysShownFor(mainTable, sorted, line.KeyHash);
        for (const std::size_t k : keys)
            list.Rows.push_back({line.ID, gamedata::GXTTextToCp1251(mainTable.Text(k), mainTable.CharacterSize()),
                                 line.Model});
        // A vehicle the game shows no name for can still be chosen, by its model.
        if (keys.empty() && line.IsVehicle)
            list.Rows.push_back({line.ID, line.Model, line.Model, true});
    }
    return list;
}

void AddPaintjobs(TVehicleList& list, const std::filesystem::path& gameDirectory)
{
    std::vector<gamedata::TVehicleRecord> vehicles;
    for (const TVehicleListRow& row : list.Rows) {
        gamedata::TVehicleRecord vehicle;
        if (gamedata::ParseVehicleID(row.ID, vehicle.ID)) {
            vehicle.ModelName = row.Model;
            vehicles.push_back(std::move(vehicle));
        }
    }
    const std::vector<TGameArchive> archives = ReadGameArchives(gameDirectory, ReadGameFileList(gameDirectory));
    const archive::TPaintjobRegister paintjobs = GamePaintjobs(archives, vehicles);
    for (TVehicleListRow& row : list.Rows) {
        std::int32_t id = 0;
        if (gamedata::ParseVehicleID(row.ID, id))
            row.Paintjobs = paintjobs.Of(id);
    }
}

} // namespace vehmira::engine
