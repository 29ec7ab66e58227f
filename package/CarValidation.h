#pragma once
// A package examined as far as its bytes go: the header and the length table
// even when an import would refuse them, the text pieces, and the first thing
// that makes the package unusable or ambiguous.

#include "package/CAR.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace vehmira::package {

// The seven pieces in data order, named as on the command line.
inline constexpr std::array<const char*, 7> CarPieceNames = {"dff",      "txd",      "gxt",    "handling",
                                                             "handling-special", "vehicles", "carcols"};

struct TCarInspection {
    std::uint64_t FileSize = 0;
    std::optional<TCarHeader> Header;   // none when the file is shorter than the header
    std::optional<TCarLengths> Lengths; // none when the file ends inside the length table
    // The text pieces (indices 2 to 6 of CarPieceNames) that are present and
    // lie inside the file, as stored (code page 1251).
    std::array<std::optional<std::string>, 7> Texts;
    std::string Problem; // empty when the package is well-formed; English, naming the piece
};

TCarInspection InspectCarPackage(fileio::TStream& package);
TCarInspection InspectCarPackage(const std::filesystem::path& path);

std::array<std::int32_t, 7> LengthArray(const TCarLengths& lengths);
std::array<std::uint8_t, 6> HeaderFlags(const TCarHeader& header);

} // namespace vehmira::package
