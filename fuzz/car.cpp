// The ".car" layout and piece readers and the package validator of `car info`:
// a package the validator calls well-formed is one the import can read, its
// line pieces ones the import's merge takes over a target that has every line,
// and every piece the layout places lies inside the package, in data order.
#include "FuzzSupport.h"
#include "FuzzTargetVehicle.h"
#include "cli/CarInfo.h"
#include "fileio/Errors.h"
#include "engine/KeyedLines.h"
#include "gamedata/TextLines.h"
#include "package/CAR.h"
#include "package/CarValidation.h"
#include "package/ImportedLine.h"

#include <optional>
#include <sstream>

using namespace vehmira::cli;
using namespace vehmira::fileio;
using namespace vehmira::package;

namespace {

// A game file holding the target's line of the kind; a special line carries
// the imported line's marker when it has one, as the target for that package would.
std::string GameFileFor(TKeyedLineKind kind, std::string_view imported)
{
    switch (kind) {
    case TKeyedLineKind::MainHandling: return "LANDSTAL 1700.0 5008.3\r\n";
    case TKeyedLineKind::SpecialHandling: {
        const std::optional<std::string_view> cleaned = vehmira::gamedata::StripCommentLineView(imported);
        const vehmira::gamedata::TLineList fields = vehmira::gamedata::SplitFields(cleaned.value_or(""));
        const std::string marker = fields[0] == "$" || fields[0] == "%" ? fields[0] : "!";
        return marker + " LANDSTAL 0.1 0.2\r\n";
    }
    case TKeyedLineKind::Vehicles:
        return "cars\r\n400, landstal, landstal, car, LANDSTAL, LANDSTK, null, normal, 10, 0, 0, -1, 0.7, 0.7, -1\r\nend\r\n";
    case TKeyedLineKind::Carcols: return "car\r\nlandstal, 4,1\r\nend\r\n";
    }
    return {};
}

// Whether the import's merge takes every line piece of the package.
bool MergeTakesEveryLine(TMemoryStream& package, const TCarLayout& layout)
{
    const std::pair<TKeyedLineKind, const TCarPiece*> pieces[] = {
        {TKeyedLineKind::MainHandling, &layout.Handling},
        {TKeyedLineKind::SpecialHandling, &layout.HandlingSpecial},
        {TKeyedLineKind::Vehicles, &layout.Vehicles},
        {TKeyedLineKind::Carcols, &layout.Carcols}};
    for (const auto& [kind, piece] : pieces) {
        const std::string text = ReadCarTextPiece(package, *piece);
        if (!piece->Present || IsSkippedPackageLine(kind, text))
            continue;
        try {
            const vehmira::engine::TMergeResult merged =
                vehmira::engine::MergeKeyedLine(kind, text, GameFileFor(kind, text), FuzzTargetVehicle());
            Require(merged.Text.find('\0') == std::string::npos, "a merged game file holds no zero byte");
        } catch (const TVehmiraError&) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TMemoryStream package(ByteBuffer(data, data + size));
    std::optional<TCarLayout> layout;
    try {
        layout = ReadCarLayout(package);
    } catch (const TVehmiraError&) {
    }
    if (layout) {
        std::uint64_t end = CarDataOffset;
        for (const TCarPiece* piece : {&layout->DFF, &layout->TXD, &layout->GXT, &layout->Handling,
                                       &layout->HandlingSpecial, &layout->Vehicles, &layout->Carcols}) {
            if (!piece->Present)
                continue;
            Require(piece->Offset == end, "pieces follow one another in data order");
            Require(piece->Offset + piece->Length <= size, "every present piece lies inside the package");
            end = piece->Offset + piece->Length;
            Require(ReadCarTextPiece(package, *piece).size() == piece->Length, "a piece reads as its length");
        }
    }

    const TCarInspection info = InspectCarPackage(package);
    Require(info.FileSize == size, "the validator sees the whole package");
    if (info.Problem.empty())
        Require(layout.has_value(), "a well-formed package is one the import can read");
    if (!layout)
        Require(!info.Problem.empty(), "a package the import refuses is not well-formed");
    if (layout && info.Problem.empty())
        Require(MergeTakesEveryLine(package, *layout), "the import merges every line of a well-formed package");
    std::ostringstream out;
    PrintCarInfo(out, "fuzz.car", info);
    PrintCarInfoJson(out, "fuzz.car", info);
    return 0;
}
