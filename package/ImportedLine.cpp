#include "package/ImportedLine.h"

#include "fileio/Errors.h"
#include "gamedata/TextLines.h"

#include <cstdint>
#include <optional>

namespace vehmira::package {

namespace {

std::string ImportedName(TKeyedLineKind kind) { return "The imported " + std::string(KeyedLineKindName(kind)); }

fileio::TErrorFacts LineFacts(TKeyedLineKind kind, std::string_view importedLine, std::int64_t number = 0)
{
    return {.Subject = std::string(KeyedLineKindName(kind)), .Number = number, .Text = std::string(importedLine)};
}

void RequireOneReadableLine(TKeyedLineKind kind, std::string_view importedLine)
{
    // A line break inside the imported line would slip extra lines into the game file.
    if (importedLine.find_first_of("\r\n") != std::string_view::npos)
        throw fileio::TVehmiraError(fileio::TErrorKind::ImportedLineBreak, ImportedName(kind) + " holds a line break",
                                    LineFacts(kind, importedLine));
    if (const std::size_t zero = importedLine.find('\0'); zero != std::string_view::npos)
        throw fileio::TVehmiraError(fileio::TErrorKind::ImportedLineZeroByte,
                                    ImportedLineName(kind, importedLine) + " holds a zero byte at byte " +
                                        std::to_string(zero + 1) + "; the game's line ends there",
                                    LineFacts(kind, importedLine, std::int64_t(zero + 1)));
}

bool IsSpecialLineMarker(std::string_view field) { return field == "!" || field == "$" || field == "%"; }

} // namespace

std::string_view KeyedLineKindName(TKeyedLineKind kind)
{
    switch (kind) {
    case TKeyedLineKind::MainHandling: return "main handling line";
    case TKeyedLineKind::SpecialHandling: return "special handling line";
    case TKeyedLineKind::Vehicles: return "Vehicles.ide line";
    case TKeyedLineKind::Carcols: return "Carcols.dat line";
    }
    return {};
}

std::size_t RequiredImportedFields(TKeyedLineKind kind)
{
    switch (kind) {
    case TKeyedLineKind::MainHandling:
    case TKeyedLineKind::Carcols: return 2;
    case TKeyedLineKind::SpecialHandling: return 3;
    case TKeyedLineKind::Vehicles: return 6;
    }
    return 2;
}

bool IsBlank(std::string_view text)
{
    for (const char c : text)
        if (std::uint8_t(c) > 32)
            return false;
    return true;
}

bool IsSkippedPackageLine(TKeyedLineKind kind, std::string_view text)
{
    return kind != TKeyedLineKind::Vehicles && IsBlank(text);
}

std::string_view KeyedLineSeparator(TKeyedLineKind kind)
{
    return kind == TKeyedLineKind::MainHandling || kind == TKeyedLineKind::SpecialHandling ? " " : ", ";
}

gamedata::TLineList FilledFields(const gamedata::TLineList& fields)
{
    gamedata::TLineList filled;
    for (const std::string& field : fields)
        if (!field.empty())
            filled.push_back(field);
    return filled;
}

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

bool ReadsBackAs(std::string_view rebuilt, const gamedata::TLineList& fields)
{
    const std::optional<std::string_view> cleaned = gamedata::StripCommentLineView(rebuilt);
    return cleaned && *cleaned == rebuilt && gamedata::SplitFields(*cleaned) == FilledFields(fields);
}

std::string LineTextShown(std::string_view text)
{
    std::string shown;
    for (const char c : text) {
        if (c == '\0')
            shown += "\\0";
        else
            shown += c;
    }
    return shown;
}

std::string QuotedLineText(std::string_view text) { return "\"" + LineTextShown(text) + "\""; }

std::string ImportedLineName(TKeyedLineKind kind, std::string_view importedLine)
{
    return ImportedName(kind) + " " + QuotedLineText(importedLine);
}

gamedata::TLineList ImportedLineFields(TKeyedLineKind kind, std::string_view importedLine)
{
    RequireOneReadableLine(kind, importedLine);
    const std::optional<std::string_view> cleaned = gamedata::StripCommentLineView(importedLine);
    if (!cleaned && !importedLine.empty())
        throw fileio::TVehmiraError(fileio::TErrorKind::ImportedLineComment,
                                    ImportedLineName(kind, importedLine) + " is a comment line",
                                    LineFacts(kind, importedLine));
    gamedata::TLineList imported = gamedata::SplitFields(cleaned.value_or(""));
    const std::size_t filled = FilledFields(imported).size();
    const std::size_t needed = RequiredImportedFields(kind);
    if (filled < needed) {
        fileio::TErrorFacts facts = LineFacts(kind, importedLine, std::int64_t(filled));
        facts.Needed = std::int64_t(needed);
        throw fileio::TVehmiraError(fileio::TErrorKind::ImportedLineTooShort,
                                    ImportedLineName(kind, importedLine) + " has " + std::to_string(filled) +
                                        " field(s); it needs at least " + std::to_string(needed),
                                    std::move(facts));
    }
    // A field the line rules would read otherwise once the line is rebuilt (a
    // trailing field of control characters) would change as it is merged.
    if (!ReadsBackAs(JoinFilledFields(imported, KeyedLineSeparator(kind)), imported))
        throw fileio::TVehmiraError(fileio::TErrorKind::ImportedLineReadBack,
                                    ImportedLineName(kind, importedLine) + " would not read back as its fields",
                                    LineFacts(kind, importedLine));
    return imported;
}

void RequireSpecialLineMarker(TKeyedLineKind kind, std::string_view importedLine, const gamedata::TLineList& fields)
{
    if (kind != TKeyedLineKind::SpecialHandling || IsSpecialLineMarker(fields.empty() ? "" : fields[0]))
        return;
    throw fileio::TVehmiraError(fileio::TErrorKind::ImportedLineNoMarker,
                                ImportedLineName(kind, importedLine) +
                                    " starts with no special-line marker (\"!\", \"$\" or \"%\")",
                                LineFacts(kind, importedLine));
}

void CheckImportedLine(TKeyedLineKind kind, std::string_view importedLine)
{
    RequireSpecialLineMarker(kind, importedLine, ImportedLineFields(kind, importedLine));
}

} // namespace vehmira::package
