#include "engine/KeyedLines.h"

#include "fileio/GamePaths.h"
#include "gamedata/RawLines.h"
#include "gamedata/TextLines.h"

std::string_view KeyedLineFileName(TKeyedLineKind kind)
{
    switch (kind) {
    case TKeyedLineKind::MainHandling:
    case TKeyedLineKind::SpecialHandling:
        return GameFiles::Handling;
    case TKeyedLineKind::Vehicles:
        return GameFiles::VehicleDefinitions;
    case TKeyedLineKind::Carcols:
        return GameFiles::Carcols;
    }
    return {};
}

std::filesystem::path KeyedLineFilePath(const TGameContext& game, TKeyedLineKind kind)
{
    return ResolveGamePath(game.GameDirectory, KeyedLineFileName(kind));
}

std::string_view KeyedLineKindName(TKeyedLineKind kind)
{
    switch (kind) {
    case TKeyedLineKind::MainHandling:
        return "main handling line";
    case TKeyedLineKind::SpecialHandling:
        return "special handling line";
    case TKeyedLineKind::Vehicles:
        return "Vehicles.ide line";
    case TKeyedLineKind::Carcols:
        return "Carcols.dat line";
    }
    return {};
}

std::optional<std::string> FindFirstKeyedLine(std::string_view fileText, TKeyedLineKind kind,
                                              const TVehicleRecord& vehicle)
{
    for (const TRawLine& line : SplitRawLines(fileText)) {
        std::optional<std::string> cleaned = StripCommentLine(line.Text);
        if (cleaned && LineBelongsToVehicle(kind, SplitFields(*cleaned), vehicle))
            return cleaned;
    }
    return std::nullopt;
}
