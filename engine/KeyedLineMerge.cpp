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

std::string_view Separator(package::TKeyedLineKind kind)
{
    return kind == package::TKeyedLineKind::MainHandling || kind == package::TKeyedLineKind::SpecialHandling ? " "
                                                                                                             : ", ";
}

// A rebuilt line holds no empty field: between separators the line rules
// would drop it, so a later field would slide into its place.
std::string JoinFilledFields(const gamedata::TLineList& fields, std::string_view separator)
{
    std::string line;
    for (const std::string& field : fields) {
        if (field.empty())
            continue;
        if (!line.empty())
            line += separator;
        line += field;
    }
    return line;
}

gamedata::TLineList FilledFields(const gamedata::TLineList& fields)
{
    gamedata::TLineList filled;
    for (const std::string& field : fields)
        if (!field.empty())
            filled.push_back(field);
    return filled;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string ImportedName(package::TKeyedLineKind kind, std::string_view importedLine)
{
    return "The imported " + std::string(KeyedLineKindName(kind)) + " " + Quoted(importedLine);
}

std::string GameLineName(package::TKeyedLineKind kind, std::size_t index, std::string_view cleaned)
{
    return std::string(KeyedLineFileName(kind)) + ", line " + std::to_string(index + 1) + " " + Quoted(cleaned);
}

// The imported line's fields as the game would read the line: a comment is cut
// off, and only non-empty fields count toward the minimum.
gamedata::TLineList ImportedFields(package::TKeyedLineKind kind, std::string_view importedLine)
{
    // A line break inside the imported line would slip extra lines into the game file.
    const std::string name(KeyedLineKindName(kind));
    if (importedLine.find_first_of("\r\n") != std::string_view::npos)
        throw fileio::TVehmiraError(fileio::TErrorKind::ImportedLineBreak, "The imported " + name + " holds a line break",
                                    {.Subject = name, .Text = std::string(importedLine)});
    const std::optional<std::string_view> cleaned = gamedata::StripCommentLineView(importedLine);
    if (!cleaned && !importedLine.empty())
        throw fileio::TVehmiraError(fileio::TErrorKind::ImportedLineComment,
                                    ImportedName(kind, importedLine) + " is a comment line",
                                    {.Subject = name, .Text = std::string(importedLine)});
    const gamedata::TLineList imported = gamedata::SplitFields(cleaned.value_or(""));
    const std::size_t filled = FilledFields(imported).size();
    const std::size_t needed = RequiredImportedFields(kind);
    if (filled < needed)
        throw fileio::TVehmiraError(fileio::TErrorKind::ImportedLineTooShort,
                                    ImportedName(kind, importedLine) + " has " + std::to_string(filled) +
                                        " field(s); it needs at least " + std::to_string(needed),
                                    {.Subject = name,
                                     .Number = std::int64_t(filled),
                                     .Text = std::string(importedLine),
                                     .Needed = std::int64_t(needed)});
    return imported;
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
    for (const std::size_t j : kept)
        if (game[j].empty())
            throw fileio::TVehmiraError(fileio::TErrorKind::GameLineDamaged,
                                        GameLineName(kind, index, cleaned) + " has an empty field " +
                                            std::to_string(j + 1),
                                        facts);
}

// A special line keeps its kind: the imported line must carry the target's marker.
void CheckMarker(package::TKeyedLineKind kind, const gamedata::TLineList& imported, std::string_view importedLine,
                 const gamedata::TLineList& game, std::size_t index, std::string_view cleaned)
{
    if (kind != package::TKeyedLineKind::SpecialHandling || imported[0] == game[0])
        return;
    const std::string found = imported[0].empty() ? "no marker" : "the marker " + Quoted(imported[0]);
    throw fileio::TVehmiraError(ImportedName(kind, importedLine) + " starts with " + found + ", but " +
                                GameLineName(kind, index, cleaned) + " starts with " + Quoted(game[0]));
}

// The rebuilt line, read back by the line rules, must give the merged fields;
// otherwise the game would read something else than was meant.
void CheckRebuiltLine(package::TKeyedLineKind kind, const std::string& rebuilt, const gamedata::TLineList& merged,
                      std::size_t index)
{
    const std::optional<std::string_view> cleaned = gamedata::StripCommentLineView(rebuilt);
    if (!cleaned || *cleaned != rebuilt || gamedata::SplitFields(*cleaned) != FilledFields(merged))
        throw fileio::TVehmiraError(std::string(KeyedLineFileName(kind)) + ", line " + std::to_string(index + 1) +
                                    ": the merged line " + Quoted(rebuilt) + " would not read back as its fields");
}

} // namespace

std::size_t RequiredImportedFields(package::TKeyedLineKind kind)
{
    switch (kind) {
    case package::TKeyedLineKind::MainHandling:
    case package::TKeyedLineKind::Carcols: return 2;
    case package::TKeyedLineKind::SpecialHandling: return 3;
    case package::TKeyedLineKind::Vehicles: return 6;
    }
    return 2;
}

TMergeResult MergeKeyedLine(package::TKeyedLineKind kind, std::string_view importedLine, std::string_view fileText,
                            const gamedata::TVehicleRecord& target)
{
    const gamedata::TLineList imported = ImportedFields(kind, importedLine);
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
        lines[n].Text = JoinFilledFields(merged, Separator(kind));
        CheckRebuiltLine(kind, lines[n].Text, merged, n);
        ++result.ReplacedLines;
    }
    result.Text = result.ReplacedLines > 0 ? gamedata::JoinRawLines(lines) : std::string(fileText);
    return result;
}

} // namespace vehmira::engine
