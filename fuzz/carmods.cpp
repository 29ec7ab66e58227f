// The readers of Data\Carmods.dat and of the colour lines of Data\Carcols.dat,
// and their checks: names are whole fields in line order, and a check told
// every name the file uses finds nothing unknown.
#include "FuzzSupport.h"
#include "gamedata/CarColours.h"
#include "gamedata/CarFileCheck.h"
#include "gamedata/CarMods.h"
#include "gamedata/TextLines.h"

using namespace vehmira::fileio;
using namespace vehmira::gamedata;

namespace {

void RequireName(std::string_view name)
{
    Require(name.find_first_of(" \t,\r\n#") == std::string_view::npos, "a name is one whole field");
}

void CheckCarmodsReader(std::string_view text, std::size_t lineCount)
{
    const std::vector<TCarmodsLine> lines = ReadCarmods(text);
    TModelNames vehicles;
    TModelNames parts;
    std::size_t previous = 0;
    for (const TCarmodsLine& line : lines) {
        Require(line.Line > previous && line.Line <= lineCount, "lines in order, inside the file");
        previous = line.Line;
        Require(line.Section == TCarmodsSection::Mods ? !line.Vehicle.empty() : line.Vehicle.empty(),
                "only a mods line names a vehicle");
        RequireName(line.Vehicle);
        vehicles.Add(line.Vehicle);
        for (const std::string& part : line.Parts) {
            Require(!part.empty(), "a part name is never empty");
            RequireName(part);
            parts.Add(part);
        }
    }
    Require(CheckCarmods(text, vehicles, &parts).empty(), "names the check was told of are known");
    for (const TLineFinding& finding : CheckCarmods(text, TModelNames{}, nullptr))
        Require(finding.Finding.Code == TCheckCode::CarmodsUnknownModel, "without parts only models are reported");
}

void CheckCarcolsReader(std::string_view text, std::size_t lineCount)
{
    TModelNames vehicles;
    for (const TCarcolsCarLine& line : ReadCarcolsCarLines(text)) {
        Require(line.Line >= 1 && line.Line <= lineCount, "a colour line lies inside the file");
        Require(line.SetSize == 2 || line.SetSize == 4, "sets of two or four colours");
        RequireName(line.ModelName);
        vehicles.Add(line.ModelName);
    }
    const std::size_t palette = ReadCarcolsPalette(text).size();
    for (const TLineFinding& finding : CheckCarcols(text, vehicles)) {
        Require(finding.Finding.Code != TCheckCode::CarcolsUnknownModel, "models the check was told of are known");
        if (finding.Finding.Code == TCheckCode::CarcolsColourRange)
            Require(finding.Finding.Facts.Number >= std::int64_t(palette) &&
                        finding.Finding.Facts.Needed == std::int64_t(palette),
                    "a colour out of range lies past the palette");
        if (finding.Finding.Code == TCheckCode::CarcolsTooMany)
            Require(finding.Finding.Facts.Number > std::int64_t(MaxColourSets), "too many is more than eight");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = AsText(data, size);
    const std::size_t lineCount = SplitLineViews(text).size();
    CheckCarmodsReader(text, lineCount);
    CheckCarcolsReader(text, lineCount);
    return 0;
}
