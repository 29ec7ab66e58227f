#include "shell/VehicleList.h"

#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "gamedata/CRC32.h"
#include "gamedata/GXT.h"
#include "gamedata/TextLines.h"

std::vector<TVehicleListRow> BuildVehicleList(const std::filesystem::path& gameDirectory,
                                              std::string_view gxtFileName)
{
    TGXTFile gxt;
    gxt.LoadFromFile(ResolveGamePath(gameDirectory, std::string(GameFiles::TextDirectory) + std::string(gxtFileName)));
    const TLineList lines =
        StripCommentLines(SplitLines(ReadWholeFileText(ResolveGamePath(gameDirectory, GameFiles::VehicleDefinitions))));

    std::vector<TVehicleListRow> rows;
    if (gxt.Tables.empty())
        return rows;
    const TGXTTable& mainTable = gxt.Tables[0];
    for (const std::string& line : lines) {
        const TLineList fields = SplitFields(line);
        if (fields.size() < 6)
            continue;
        const std::uint32_t hash = GXTKeyHash(fields[5]);
        // Every key with that hash gives a row: the search does not stop at the first.
        for (std::size_t k = 0; k < mainTable.Keys.size() && k < mainTable.Texts.size(); ++k)
            if (mainTable.Keys[k].Hash == hash)
                rows.push_back({fields[0], mainTable.Texts[k]});
    }
    return rows;
}
