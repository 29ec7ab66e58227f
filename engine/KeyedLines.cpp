#include "engine/KeyedLines.h"

#include "fileio/GamePaths.h"
#include "gamedata/RawLines.h"
#include "gamedata/TextLines.h"

namespace vehmira::engine {

std::string_view KeyedLineFileName(package::TKeyedLineKind kind)
{
    switch (kind) {
    case package::TKeyedLineKind::MainHandling:
    case package::TKeyedLineKind::SpecialHandling: return fileio::GameFiles::Handling;
    case package::TKeyedLineKind::Vehicles: return fileio::GameFiles::VehicleDefinitions;
    case package::TKeyedLineKind::Carcols: return fileio::GameFiles::Carcols;
    }
    return {};
}

std::filesystem::path KeyedLineFilePath(const TGameContext& game, package::TKeyedLineKind kind)
{
    return fileio::ResolveGamePath(game.GameDirectory, KeyedLineFileName(kind));
}

std::optional<std::string> FindFirstKeyedLine(std::string_view fileText, package::TKeyedLineKind kind,
                                              const gamedata::TVehicleRecord& vehicle)
{
    for (const gamedata::TRawLine& line : gamedata::SplitRawLines(fileText)) {
        std::optional<std::string> cleaned = gamedata::StripCommentLine(line.Text);
        if (cleaned && LineBelongsToVehicle(kind, gamedata::SplitFields(*cleaned), vehicle))
            return cleaned;
    }
    return std::nullopt;
}

} // namespace vehmira::engine
