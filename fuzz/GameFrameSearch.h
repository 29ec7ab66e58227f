#pragma once
// The game's search for a named frame, modelled apart from the check: it walks
// the children of the clump's frame (the frame list's first), so a frame
// counts when its chain of parents reaches frame 0.
#include "renderware/ModelSummary.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

inline bool SameIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

inline bool GameReachesFrame(const vehmira::renderware::TModelSummary& model, std::size_t index)
{
    if (index == 0 || index >= model.Frames.size())
        return false;
    std::int64_t parent = model.Frames[index].Parent;
    for (std::size_t steps = 0; steps < model.Frames.size() && parent > 0 && parent < std::int64_t(model.Frames.size());
         ++steps)
        parent = model.Frames[std::size_t(parent)].Parent;
    return parent == 0;
}

inline bool GameFindsFrame(const vehmira::renderware::TModelSummary& model, std::string_view name)
{
    for (std::size_t index = 1; index < model.Frames.size(); ++index)
        if (SameIgnoringAsciiCase(model.Frames[index].Name, name) && GameReachesFrame(model, index))
            return true;
    return false;
}
