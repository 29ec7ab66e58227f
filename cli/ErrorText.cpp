#include "cli/ErrorText.h"

#include "cli/OutputText.h"

namespace vehmira::cli {

std::string ErrorText(const fileio::TVehmiraError& error)
{
    const fileio::TErrorFacts& facts = error.Facts();
    switch (error.Kind()) {
    case fileio::TErrorKind::NotGXTFile: return "GXT-File Error!!!";
    case fileio::TErrorKind::NoSuchVehicle:
        return "vehicle " + std::to_string(facts.Number) +
               ": this vehicle has no definition in the CARS section of Data\\Vehicles.ide, so it cannot be "
               "exported or replaced.";
    case fileio::TErrorKind::NoOpenArchive:
        return "the model archive Models\\GTA3.img is not open: give the game directory with --game.";
    default:
        // The core's own description names the file or piece and what is wrong with it.
        return MessageToUtf8(error.what());
    }
}

} // namespace vehmira::cli
