#include "engine/KeyedLines.h"

#include "fileio/Errors.h"
#include "gamedata/RawLines.h"
#include "gamedata/TextLines.h"

#include <span>

namespace vehmira::engine {

namespace {

// The fields a rebuilt line takes back from the game's own line.
std::span<const std::size_t> KeptIndices(package::TKeyedLineKind kind)
{
    static constexpr std::size_t key0[] = {0};
    // The marker ("!", "$", "%", "^") and the handling ID.
    static constexpr std::size_t markerAndKey[] = {0, 1};
    // ID, model name, TXD name, vehicle type, handling ID, GXT key.
    static constexpr std::size_t identity[] = {0, 1, 2, 3, 4, 5};
    switch (kind) {
    case package::TKeyedLineKind::SpecialHandling: return markerAndKey;
    case package::TKeyedLineKind::Vehicles: return identity;
    case package::TKeyedLineKind::MainHandling:
    case package::TKeyedLineKind::Carcols: break;
    }
    return key0;
}

std::string Quoted(std::string_view text) { return package::QuotedLineText(text); }

std::string GameLineName(package::TKeyedLineKind kind, std::size_t index, std::string_view cleaned)
{
    return std::string(KeyedLineFileName(kind)) + ", line " + std::to_string(index + 1) + " " + Quoted(cleaned);
}

// Every kept field of the game's line must be there and not empty, or the
// rebuilt line would lose it.
void CheckGameLine(package::TKeyedLineKind kind, const gamedata::TLineList& game, std::size_t index,
                   std::string_view cleaned)
{
    const std::span<const std::size_t> kept = KeptIndices(kind);
    const fileio::TErrorFacts facts{.Subject = std::string(KeyedLineFileName(kind)),
                                    .Number = std::int64_t(index + 1),
                                    .Text = std::string(cleaned)};
    if (game.size() <= kept.back())
        throw fileio::TVehmiraError(fileio::TErrorKind::GameLineDamaged,
                                    GameLineName(kind, index, cleaned) + " has " + std::to_string(game.size()) +
                                        " field(s); it needs at least " + std::to_string(kept.back() + 1),
                                    facts);
    for (const std::size_t j : kept) {
        if (game[j].empty())
            throw fileio::TVehmiraError(fileio::TErrorKind::GameLineDamaged,
                                        GameLineName(kind, index, cleaned) + " has an empty field " +
                                            std::to_string(j + 1),
                                        facts);
        // The game reads the field only up to the zero byte; the rebuilt line would carry it on.
        if (game[j].find('\0') != std::string::npos)
            throw fileio::TVehmiraError(fileio::TErrorKind::GameLineDamaged,
                                        GameLineName(kind, index, cleaned) + " has a zero byte in field " +
                                            std::to_string(j + 1),
                                        facts);
    }
}

// A special line keeps its kind: the imported line must carry the target's marker.
void CheckMarker(package::TKeyedLineKind kind, const gamedata::TLineList& imported, std::string_view importedLine,
                 const gamedata::TLineList& game, std::size_t index, std::string_view cleaned)
{
    if (kind != package::TKeyedLineKind::SpecialHandling || imported[0] == game[0])
        return;
    const std::string found = imported[0].empty() ? "no marker" : "the marker " + Quoted(imported[0]);
    throw fileio::TVehmiraError(package::ImportedLineName(kind, importedLine) + " starts with " + found + ", but " +
                                GameLineName(kind, index, cleaned) + " starts with " + Quoted(game[0]));
}

// The rebuilt line, read back by the line rules, must give the merged fields;
// otherwise the game would read something else than was meant.
void CheckRebuiltLine(package::TKeyedLineKind kind, const std::string& rebuilt, const gamedata::TLineList& merged,
                      std::size_t index)
{
    if (!package::ReadsBackAs(rebuilt, merged))
        throw fileio::TVehmiraError(std::string(KeyedLineFileName(kind)) + ", line " + std::to_string(index + 1) +
                                    ": the merged line " + Quoted(rebuilt) + " would not read back as its fields");
}

} // namespace

TMergeResult MergeKeyedLine(package::TKeyedLineKind kind, std::string_view importedLine, std::string_view fileText,
                            const gamedata::TVehicleRecord& target)
{
    const gamedata::TLineList imported = package::ImportedLineFields(kind, importedLine);
    const std::span<const std::size_t> kept = KeptIndices(kind);
    std::vector<gamedata::TRawLine> lines = gamedata::SplitRawLines(fileText);
    TMergeResult result;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::optional<std::string> cleaned = gamedata::StripCommentLine(lines[n].Text);
        if (!cleaned)
            continue;
        const gamedata::TLineList game = gamedata::SplitFields(*cleaned);
        if (!LineBelongsToVehicle(kind, game, target))
            continue;
        CheckGameLine(kind, game, n, *cleaned);
        CheckMarker(kind, imported, importedLine, game, n, *cleaned);
        gamedata::TLineList merged = imported;
        if (merged.size() <= kept.back())
            merged.resize(kept.back() + 1);
        for (const std::size_t j : kept)
            merged[j] = game[j];
        lines[n].Text = package::JoinFilledFields(merged, package::KeyedLineSeparator(kind));
        CheckRebuiltLine(kind, lines[n].Text, merged, n);
        ++result.ReplacedLines;
    }
    // Checked after the target's lines, whose own marker names what was expected.
    package::RequireSpecialLineMarker(kind, importedLine, imported);
    result.Text = result.ReplacedLines > 0 ? gamedata::JoinRawLines(lines) : std::string(fileText);
    return result;
}

} // namespace vehmira::engine
