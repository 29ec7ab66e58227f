#pragma once
// What the game's colour and upgrade loaders meet in Data\Carcols.dat and
// Data\Carmods.dat: model and part names they look up without a check
// (errors: the game crashes on a name it does not know), colour numbers past
// the palette and more colour sets than a vehicle holds (warnings).

#include "fileio/CheckFinding.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace vehmira::gamedata {

// A vehicle holds at most this many colour sets; the loader ignores the rest.
inline constexpr std::size_t MaxColourSets = 8;

// Model names, ASCII case ignored as the game compares them.
class TModelNames {
public:
    void Add(std::string_view name);
    bool Contains(std::string_view name) const;
    bool Empty() const { return Names.empty(); }

private:
    std::unordered_set<std::string> Names; // upper-cased
};

struct TLineFinding {
    std::size_t Line = 0; // from 1
    fileio::TCheckFinding Finding;
};

// The "car" and "car4" lines against the vehicles' model names and the file's own palette.
std::vector<TLineFinding> CheckCarcols(std::string_view text, const TModelNames& vehicles);

// The mods lines' model names against the vehicles; every part name against
// parts, unless parts is null (the game's part definitions were not found).
std::vector<TLineFinding> CheckCarmods(std::string_view text, const TModelNames& vehicles, const TModelNames* parts);

} // namespace vehmira::gamedata
