#include "engine/KeyedLines.h"

#include "fileio/Errors.h"
#include "gamedata/RawLines.h"
#include "gamedata/TextLines.h"

#include <span>

namespace {

// The fields a rebuilt line takes back from the game's own line.
std::span<const std::size_t> KeptIndices(TKeyedLineKind kind)
{
    static constexpr std::size_t key0[] = {0};
    static constexpr std::size_t key1[] = {1};
    // ID, model name, TXD name, vehicle type, handling ID, GXT key.
    static constexpr std::size_t identity[] = {0, 1, 2, 3, 4, 5};
    switch (kind) {
    case TKeyedLineKind::SpecialHandling:
        return key1;
    case TKeyedLineKind::Vehicles:
        return identity;
    case TKeyedLineKind::MainHandling:
    case TKeyedLineKind::Carcols:
        break;
    }
    return key0;
}

std::string_view Separator(TKeyedLineKind kind)
{
    return kind == TKeyedLineKind::MainHandling || kind == TKeyedLineKind::SpecialHandling ? " " : ", ";
}

std::string JoinFields(const TLineList& fields, std::string_view separator)
{
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += separator;
        line += fields[i];
    }
    return line;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

} // namespace

std::size_t RequiredImportedFields(TKeyedLineKind kind)
{
    switch (kind) {
    case TKeyedLineKind::MainHandling:
    case TKeyedLineKind::Carcols:
    case TKeyedLineKind::SpecialHandling:
        return 2;
    case TKeyedLineKind::Vehicles:
        return 6;
    }
    return 2;
}

TMergeResult MergeKeyedLine(TKeyedLineKind kind, std::string_view importedLine, std::string_view fileText,
                            const TVehicleRecord& target)
{
    // A line break inside the imported line would slip extra lines into the game file.
    if (importedLine.find_first_of("\r\n") != std::string_view::npos)
        throw TVehmiraError("The imported " + std::string(KeyedLineKindName(kind)) + " holds a line break");
    const TLineList imported = SplitFields(importedLine);
    if (imported.size() < RequiredImportedFields(kind))
        throw TVehmiraError("The imported " + std::string(KeyedLineKindName(kind)) + " " + Quoted(importedLine) +
                            " has " + std::to_string(imported.size()) + " field(s); it needs at least " +
                            std::to_string(RequiredImportedFields(kind)));

    const std::span<const std::size_t> kept = KeptIndices(kind);
    std::vector<TRawLine> lines = SplitRawLines(fileText);
    TMergeResult result;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::optional<std::string> cleaned = StripCommentLine(lines[n].Text);
        if (!cleaned)
            continue;
        const TLineList game = SplitFields(*cleaned);
        if (!LineBelongsToVehicle(kind, game, target))
            continue;
        if (game.size() <= kept.back())
            throw TVehmiraError(std::string(KeyedLineFileName(kind)) + ", line " + std::to_string(n + 1) + " " +
                                Quoted(*cleaned) + " has " + std::to_string(game.size()) +
                                " field(s); it needs at least " + std::to_string(kept.back() + 1));
        TLineList merged = imported;
        for (const std::size_t j : kept)
            merged[j] = game[j];
        lines[n].Text = JoinFields(merged, Separator(kind));
        ++result.ReplacedLines;
    }
    result.Text = result.ReplacedLines > 0 ? JoinRawLines(lines) : std::string(fileText);
    return result;
}
