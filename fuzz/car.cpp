// The ".car" layout and piece readers and the package validator of `car info`:
// a package the validator calls well-formed is one the import can read, and
// every piece the layout places lies inside the package, in data order.
#include "FuzzSupport.h"
#include "cli/CarInfo.h"
#include "fileio/Errors.h"
#include "package/CAR.h"
#include "package/CarValidation.h"

#include <optional>
#include <sstream>

using namespace vehmira::cli;
using namespace vehmira::fileio;
using namespace vehmira::package;

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
    std::ostringstream out;
    PrintCarInfo(out, "fuzz.car", info);
    PrintCarInfoJson(out, "fuzz.car", info);
    return 0;
}
