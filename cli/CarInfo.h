#pragma once
// `vehmira car info`: what a ".car" package holds and whether an import could
// read it as it stands.

#include "package/CAR.h"

#include <array>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

// The seven pieces in data order, named as on the command line.
inline constexpr std::array<const char*, 7> CarPieceNames = {"dff",      "txd",      "gxt",    "handling",
                                                             "handling-special", "vehicles", "carcols"};

struct TCarInfo {
    std::uint64_t FileSize = 0;
    std::optional<TCarHeader> Header;   // none when the file is shorter than the header
    std::optional<TCarLengths> Lengths; // none when the file ends inside the length table
    // The text pieces (indices 2 to 6 of CarPieceNames) that are present and
    // lie inside the file, as stored (code page 1251).
    std::array<std::optional<std::string>, 7> Texts;
    std::string Problem; // empty when the package is well-formed
};

TCarInfo InspectCarPackage(const std::filesystem::path& path);
TCarInfo InspectCarPackage(TStream& package);

void PrintCarInfo(std::ostream& out, const std::string& file, const TCarInfo& info);
void PrintCarInfoJson(std::ostream& out, const std::string& file, const TCarInfo& info);
