#pragma once
// The vehicles of the demo game directory: every line and name that the demo
// writes for each of them, in one table.

#include <array>
#include <span>
#include <string_view>

namespace vehmira::demo {

// The display-name languages of the demo, one GXT file each.
enum class TDemoLanguage { American, French, German, Italian, Spanish };
inline constexpr std::size_t DemoLanguageCount = 5;

struct TDemoVehicle {
    std::string_view DefinitionLine; // Data\Vehicles.ide, without line end
    std::string_view ModelName;      // archive entry <ModelName>.dff
    std::string_view TxdName;        // archive entry <TxdName>.txd
    std::string_view GXTKey;         // field 5 of the definition line
    std::string_view HandlingLine;   // main line of Data\Handling.cfg
    std::string_view ColourLine;     // Data\Carcols.dat line, keyed by the model name
    // Display names in UTF-8, indexed by TDemoLanguage. The American file of
    // the demo holds Russian names, as a Russian-translated game does.
    std::array<std::string_view, DemoLanguageCount> Names;
};

std::span<const TDemoVehicle> DemoVehicles();

// Special handling lines ("!" bikes, "$" aircraft, "%" boats, "^" animation
// values): the key in field 1, a handling ID or, for "^", a number.
std::span<const std::string_view> DemoSpecialHandlingLines();

} // namespace vehmira::demo
