#pragma once
// Data\Carmods.dat: which upgrade parts fit which vehicle. Sections opened by
// a line holding only their name and closed by "end", the game's line rules
// (TextLines.h):
//   link   two part names that are fitted together
//   mods   a vehicle's model name, then the parts that fit it
//   wheel  a wheel class number, then the wheel parts of that class
// The game looks every name up among the loaded models and uses what it
// finds without a check: a name that is no model crashes it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vehmira::gamedata {

enum class TCarmodsSection { Link, Mods, Wheel };

struct TCarmodsLine {
    std::size_t Line = 0; // from 1
    TCarmodsSection Section = TCarmodsSection::Mods;
    std::string Vehicle;            // mods: the model name; empty otherwise
    std::vector<std::string> Parts; // the part names, in order
};

// The lines of the known sections; lines of other sections are passed over.
std::vector<TCarmodsLine> ReadCarmods(std::string_view text);

// The names of the "objs" sections of a definition file (field 1 of a line
// of at least two fields), where the game finds the upgrade parts.
std::vector<std::string> ReadObjectNames(std::string_view text);

} // namespace vehmira::gamedata
