#include "engine/VehicleList.h"

#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "gamedata/CRC32.h"
#include "gamedata/GXT.h"
#include "gamedata/GXTMainTable.h"
#include "gamedata/TextLines.h"

#include <algorithm>
#include <bitset>
#include <unordered_map>

namespace vehmira::engine {

namespace {

struct TDefinitionLine {
    std::string ID;
    std::uint32_t KeyHash = 0;
};

// Every line of six or more fields, in file order, whatever section it stands in.
std::vector<TDefinitionLine> ReadDefinitionLines(const std::filesystem::path& gameDirectory)
{
    const fileio::ByteBuffer bytes =
        fileio::ReadWholeFile(fileio::ResolveGamePath(gameDirectory, fileio::GameFiles::VehicleDefinitions));
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::vector<TDefinitionLine> lines;
    std::vector<std::string_view> fields;
    for (const std::string_view line : gamedata::SplitLineViews(text)) {
        const std::optional<std::string_view> cleaned = gamedata::StripCommentLineView(line);
        if (!cleaned)
            continue;
        gamedata::SplitFieldViews(*cleaned, fields);
        if (fields.size() >= 6)
            lines.push_back({std::string(fields[0]), gamedata::GXTKeyHash(fields[5])});
    }
    return lines;
}

// The main table's key indices for each wanted hash, in key order. A real main
// table holds tens of thousands of keys and the list wants a few hundred, so a
// bit filter on the hash's low 16 bits passes over almost every key at once.
std::unordered_map<std::uint32_t, std::vector<std::size_t>> KeysByHash(const gamedata::TGXTMainTableView& mainTable,
                                                                       const std::vector<TDefinitionLine>& lines)
{
    constexpr std::uint32_t FilterMask = 0xFFFF;
    std::unordered_map<std::uint32_t, std::vector<std::size_t>> keys;
    auto filter = std::make_unique<std::bitset<FilterMask + 1>>();
    for (const TDefinitionLine& line : lines) {
        keys.try_emplace(line.KeyHash);
        filter->set(line.KeyHash & FilterMask);
    }
    for (std::size_t k = 0; k < mainTable.KeyCount(); ++k) {
        const std::uint32_t hash = mainTable.Hash(k);
        if (!filter->test(hash & FilterMask))
            continue;
        if (const auto found = keys.find(hash); found != keys.end())
            found->second.push_back(k);
    }
    return keys;
}

} // namespace

std::vector<TVehicleListRow> BuildVehicleList(const std::filesystem::path& gameDirectory,
                                              std::string_view gxtFileName)
{
    const fileio::ByteBuffer gxtBytes = fileio::ReadWholeFile(fileio::ResolveGamePath(
        gameDirectory, std::string(fileio::GameFiles::TextDirectory) + std::string(gxtFileName)));
    const gamedata::TGXTMainTableView mainTable(gxtBytes);
    const std::vector<TDefinitionLine> lines = ReadDefinitionLines(gameDirectory);
    const auto keys = KeysByHash(mainTable, lines);

    // Every key with the line's hash gives a row: the search does not stop at the first.
    std::vector<TVehicleListRow> rows;
    for (const TDefinitionLine& line : lines)
        for (const std::size_t k : keys.at(line.KeyHash))
            rows.push_back({line.ID, gamedata::GXTTextToCp1251(mainTable.Text(k), mainTable.CharacterSize())});
    return rows;
}

} // namespace vehmira::engine
