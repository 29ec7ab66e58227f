#include "gamedata/CarFileCheck.h"

#include "gamedata/AsciiCase.h"
#include "gamedata/CarColours.h"
#include "gamedata/CarMods.h"

namespace vehmira::gamedata {

namespace {

TLineFinding LineFinding(std::size_t line, fileio::TCheckCode code, std::string_view subject,
                         std::int64_t number = 0, std::int64_t needed = 0, std::string_view text = {})
{
    fileio::TErrorFacts facts;
    facts.Subject = std::string(subject);
    facts.Number = number;
    facts.Needed = needed;
    facts.Text = std::string(text);
    return {line, {code, std::move(facts)}};
}

} // namespace

void TModelNames::Add(std::string_view name) { Names.insert(UpperAscii(name)); }

bool TModelNames::Contains(std::string_view name) const { return Names.contains(UpperAscii(name)); }

std::vector<TLineFinding> CheckCarcols(std::string_view text, const TModelNames& vehicles)
{
    using fileio::TCheckCode;
    const std::size_t paletteSize = ReadCarcolsPalette(text).size();
    std::vector<TLineFinding> findings;
    for (const TCarcolsCarLine& line : ReadCarcolsCarLines(text)) {
        if (!vehicles.Contains(line.ModelName)) {
            findings.push_back(LineFinding(line.Line, TCheckCode::CarcolsUnknownModel, line.ModelName));
            continue;
        }
        for (const std::uint32_t colour : line.Colours)
            if (colour >= paletteSize) {
                findings.push_back(LineFinding(line.Line, TCheckCode::CarcolsColourRange, line.ModelName,
                                               std::int64_t(colour), std::int64_t(paletteSize)));
                break;
            }
        const std::size_t sets = (line.Colours.size() + line.SetSize - 1) / line.SetSize;
        if (sets > MaxColourSets)
            findings.push_back(LineFinding(line.Line, TCheckCode::CarcolsTooMany, line.ModelName, std::int64_t(sets)));
    }
    return findings;
}

std::vector<TLineFinding> CheckCarmods(std::string_view text, const TModelNames& vehicles, const TModelNames* parts)
{
    using fileio::TCheckCode;
    std::vector<TLineFinding> findings;
    for (const TCarmodsLine& line : ReadCarmods(text)) {
        if (line.Section == TCarmodsSection::Mods && !vehicles.Contains(line.Vehicle)) {
            findings.push_back(LineFinding(line.Line, TCheckCode::CarmodsUnknownModel, line.Vehicle));
            continue;
        }
        if (parts == nullptr)
            continue;
        for (const std::string& part : line.Parts)
            if (!parts->Contains(part))
                findings.push_back(LineFinding(line.Line, TCheckCode::CarmodsUnknownPart, part, 0, 0,
                                               line.Section == TCarmodsSection::Mods ? line.Vehicle : line.Parts[0]));
    }
    return findings;
}

} // namespace vehmira::gamedata
