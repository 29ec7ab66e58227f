#pragma once
// A vehicle's colours from Data\Carcols.dat.
//
// The file has sections, each opened by a line holding only its name and
// closed by "end":
//   col    the palette: one colour a line, "red,green,blue" (0 to 255); a
//          colour's index is its place in the section, from 0
//   car    "model, primary, secondary, primary, secondary, ..." palette indices
//   car4   the same with four indices a set
// Comments and separators follow the game's line rules (TextLines.h). Some
// copies of the file write a dot for one of the palette's commas; it is read
// as a comma.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vehmira::gamedata {

using TRgb = std::array<std::uint8_t, 3>;

struct TVehicleColours {
    TRgb Primary{};
    TRgb Secondary{};
};

// The palette, in order; a line that is not three numbers from 0 to 255
// keeps its place with black.
std::vector<TRgb> ReadCarcolsPalette(std::string_view text);

// The first primary and secondary indices of a "car" or "car4" line's fields
// after the model name, or none.
std::optional<std::array<std::uint32_t, 2>> FirstColourPair(std::string_view line);

// A line of the "car" or "car4" section: the model name and the colour
// numbers after it, up to the first field that is not one.
struct TCarcolsCarLine {
    std::size_t Line = 0; // from 1
    std::string ModelName;
    std::vector<std::uint32_t> Colours;
    std::size_t SetSize = 2; // colours a set: 2 in "car", 4 in "car4"
};

std::vector<TCarcolsCarLine> ReadCarcolsCarLines(std::string_view text);

// The first colour set of the model's line (model name compared ignoring
// ASCII case) in the palette; none when there is no such line or an index
// lies outside the palette.
std::optional<TVehicleColours> FindVehicleColours(std::string_view text, std::string_view modelName);

// The first set of a line given on its own (a package's colour line), in the
// palette of the game's file.
std::optional<TVehicleColours> ColoursOfLine(std::string_view line, const std::vector<TRgb>& palette);

} // namespace vehmira::gamedata
