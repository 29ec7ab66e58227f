#pragma once
// Which texture dictionaries the game takes as a vehicle's paintjobs, as it
// reads each archive's directory in turn.
//
// A dictionary entry whose name (before its dot) ends in digits loses all of
// them; when the rest is, ASCII case ignored, the model name of a vehicle
// with an ID from 400 to 630 (the lowest such ID when several share it), the
// dictionary is that vehicle's next paintjob. A dictionary name registered
// before (in this archive or an earlier one) is passed over. So a model whose
// name ends in a digit never has a paintjob.

#include "archive/DIR.h"

#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vehmira::archive {

// The game holds at most this many paintjobs per vehicle; a fifth is written
// past the end of its array.
inline constexpr std::size_t MaxPaintjobs = 4;

inline constexpr std::int32_t FirstPaintjobVehicleID = 400;
inline constexpr std::int32_t LastPaintjobVehicleID = 630;

// The name a dictionary entry's paintjob belongs to: its name before the dot
// without its trailing digits. None for an entry that is not a dictionary or
// whose name does not end in a digit.
std::optional<std::string_view> PaintjobOwnerName(std::string_view entryName);

struct TPaintjobVehicle {
    std::int32_t ID = 0;
    std::string ModelName;
};

class TPaintjobRegister {
public:
    explicit TPaintjobRegister(std::span<const TPaintjobVehicle> vehicles);

    // The entries of one archive's directory, archives in the order the game reads them.
    void AddArchive(const TDIREntrys& entries);

    // The vehicle's paintjob entry names as the directories write them, in the game's order.
    const std::vector<std::string>& Of(std::int32_t id) const;

private:
    std::unordered_map<std::string, std::int32_t> OwnerByModel; // upper-cased model name
    std::unordered_map<std::int32_t, std::vector<std::string>> Paintjobs;
    std::set<std::string> RegisteredDictionaries;               // upper-cased name before the dot
};

} // namespace vehmira::archive
