#include "gamedata/CarColours.h"

#include "gamedata/AsciiCase.h"
#include "gamedata/TextLines.h"

#include <charconv>
#include <string>

namespace vehmira::gamedata {

namespace {

std::optional<std::uint32_t> Number(std::string_view field, std::uint32_t largest)
{
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size() || value > largest)
        return std::nullopt;
    return value;
}

TRgb PaletteColour(std::string_view line)
{
    std::string commas(line);
    for (char& c : commas)
        if (c == '.')
            c = ',';
    const TLineList fields = SplitFields(commas);
    TRgb colour{};
    if (fields.size() < 3)
        return colour;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::optional<std::uint32_t> value = Number(fields[i], 255);
        if (!value)
            return TRgb{};
        colour[i] = std::uint8_t(*value);
    }
    return colour;
}

// Calls visit(section, cleaned line, line number from 1) for every line inside a section.
template <class TVisit>
void ForEachSectionLine(std::string_view text, TVisit visit)
{
    std::string section;
    const std::vector<std::string_view> lines = SplitLineViews(text);
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::optional<std::string_view> cleaned = StripCommentLineView(lines[index]);
        if (!cleaned)
            continue;
        const std::string normal = NormalizeFields(*cleaned);
        if (normal.empty())
            continue;
        if (section.empty())
            section = normal;
        else if (normal == "end")
            section.clear();
        else
            visit(section, normal, index + 1);
    }
}

} // namespace

std::vector<TRgb> ReadCarcolsPalette(std::string_view text)
{
    std::vector<TRgb> palette;
    ForEachSectionLine(text, [&](const std::string& section, const std::string& line, std::size_t) {
        if (section == "col")
            palette.push_back(PaletteColour(line));
    });
    return palette;
}

std::optional<std::array<std::uint32_t, 2>> FirstColourPair(std::string_view line)
{
    const TLineList fields = SplitFields(line);
    if (fields.size() < 3)
        return std::nullopt;
    const auto primary = Number(fields[1], 0xFFFFFFFFu);
    const auto secondary = Number(fields[2], 0xFFFFFFFFu);
    if (!primary || !secondary)
        return std::nullopt;
    return std::array<std::uint32_t, 2>{*primary, *secondary};
}

std::optional<TVehicleColours> ColoursOfLine(std::string_view line, const std::vector<TRgb>& palette)
{
    const auto pair = FirstColourPair(line);
    if (!pair || (*pair)[0] >= palette.size() || (*pair)[1] >= palette.size())
        return std::nullopt;
    return TVehicleColours{palette[(*pair)[0]], palette[(*pair)[1]]};
}

std::vector<TCarcolsCarLine> ReadCarcolsCarLines(std::string_view text)
{
    std::vector<TCarcolsCarLine> carLines;
    ForEachSectionLine(text, [&](const std::string& section, const std::string& line, std::size_t number) {
        if (section != "car" && section != "car4")
            return;
        const TLineList fields = SplitFields(line);
        TCarcolsCarLine carLine{number, fields[0], {}, section == "car4" ? 4u : 2u};
        for (std::size_t i = 1; i < fields.size(); ++i) {
            const std::optional<std::uint32_t> colour = Number(fields[i], 0xFFFFFFFFu);
            if (!colour)
                break;
            carLine.Colours.push_back(*colour);
        }
        carLines.push_back(std::move(carLine));
    });
    return carLines;
}

std::optional<TVehicleColours> FindVehicleColours(std::string_view text, std::string_view modelName)
{
    std::optional<std::string> found;
    ForEachSectionLine(text, [&](const std::string& section, const std::string& line, std::size_t) {
        if (found || (section != "car" && section != "car4"))
            return;
        const TLineList fields = SplitFields(line);
        if (EqualsIgnoringAsciiCase(fields[0], modelName))
            found = line;
    });
    if (!found)
        return std::nullopt;
    return ColoursOfLine(*found, ReadCarcolsPalette(text));
}

} // namespace vehmira::gamedata
