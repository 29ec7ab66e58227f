#include "gamedata/CarMods.h"

#include "gamedata/AsciiCase.h"
#include "gamedata/TextLines.h"

#include <optional>

namespace vehmira::gamedata {

namespace {

std::optional<TCarmodsSection> SectionNamed(std::string_view word)
{
    if (word == "link")
        return TCarmodsSection::Link;
    if (word == "mods")
        return TCarmodsSection::Mods;
    if (word == "wheel")
        return TCarmodsSection::Wheel;
    return std::nullopt;
}

TCarmodsLine CarmodsLine(std::size_t number, TCarmodsSection section, const TLineList& fields)
{
    TCarmodsLine line{number, section, {}, {}};
    std::size_t first = 0;
    if (section == TCarmodsSection::Mods)
        line.Vehicle = fields[first++];
    else if (section == TCarmodsSection::Wheel)
        ++first; // the wheel class
    line.Parts.assign(fields.begin() + std::ptrdiff_t(std::min(first, fields.size())), fields.end());
    return line;
}

} // namespace

std::vector<TCarmodsLine> ReadCarmods(std::string_view text)
{
    std::vector<TCarmodsLine> lines;
    bool inSection = false;
    std::optional<TCarmodsSection> section;
    const std::vector<std::string_view> rawLines = SplitLineViews(text);
    for (std::size_t index = 0; index < rawLines.size(); ++index) {
        const std::optional<std::string_view> cleaned = StripCommentLineView(rawLines[index]);
        if (!cleaned)
            continue;
        const std::string normal = NormalizeFields(*cleaned);
        if (normal.empty())
            continue;
        if (!inSection) {
            inSection = true;
            section = SectionNamed(normal);
        } else if (normal == "end") {
            inSection = false;
        } else if (section) {
            TLineList fields = SplitFields(normal);
            std::erase(fields, std::string());
            if (!fields.empty())
                lines.push_back(CarmodsLine(index + 1, *section, fields));
        }
    }
    return lines;
}

std::vector<std::string> ReadObjectNames(std::string_view text)
{
    std::vector<std::string> names;
    bool inObjects = false;
    for (const std::string_view raw : SplitLineViews(text)) {
        const std::optional<std::string_view> cleaned = StripCommentLineView(raw);
        if (!cleaned)
            continue;
        const TLineList fields = SplitFields(*cleaned);
        const std::string word = UpperAscii(fields[0]);
        if (word == "END")
            inObjects = false;
        else if (inObjects && fields.size() >= 2)
            names.push_back(fields[1]);
        else if (word == "OBJS")
            inObjects = true;
    }
    return names;
}

} // namespace vehmira::gamedata
