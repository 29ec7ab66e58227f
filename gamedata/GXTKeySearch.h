#pragma once
// How the game finds a text by its key: a binary search over the hashes of a
// table's key block as stored, compared as unsigned numbers. A block sorted by
// hash gives every key; in a block out of order the search misses keys that
// are there, and nothing else looks for them. The game's indices are 16 bits
// wide: the last index is the key count less one cut to a signed 16-bit
// number, the midpoint an unsigned 16-bit one.

#include "gamedata/GXT.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace vehmira::gamedata {

// The index of the key the game's search stops at, or none. hashAt(k) gives
// key k's hash for k < keyCount.
template <typename THashAt>
std::optional<std::size_t> FindKeyAsTheGame(std::size_t keyCount, std::uint32_t hash, THashAt hashAt)
{
    // 16 halvings end any search of 16-bit indices; the limit only bounds the
    // wrapped indices of a table of more keys than the game's search takes.
    constexpr int StepLimit = 64;
    std::int16_t first = 0;
    std::int16_t last = std::int16_t(std::uint16_t(keyCount - 1));
    for (int step = 0; step < StepLimit && first <= last; ++step) {
        const std::uint16_t middle = std::uint16_t((int(first) + int(last)) >> 1);
        if (middle >= keyCount)
            return std::nullopt; // the game would read past its keys
        const std::uint32_t stored = hashAt(std::size_t(middle));
        if (stored == hash)
            return std::size_t(middle);
        if (hash > stored)
            first = std::int16_t(std::uint16_t(middle + 1));
        else
            last = std::int16_t(std::uint16_t(middle - 1));
    }
    return std::nullopt;
}

template <typename THashAt>
bool KeysSortedByHash(std::size_t keyCount, THashAt hashAt)
{
    for (std::size_t k = 1; k < keyCount; ++k)
        if (hashAt(k - 1) > hashAt(k))
            return false;
    return true;
}

// How many keys hold a hash the game's search does not find.
template <typename THashAt>
std::size_t KeysTheGameMisses(std::size_t keyCount, THashAt hashAt)
{
    std::size_t missed = 0;
    for (std::size_t k = 0; k < keyCount; ++k)
        if (!FindKeyAsTheGame(keyCount, hashAt(k), hashAt))
            ++missed;
    return missed;
}

// The same over a loaded table, whose keys are those that have a text.
std::size_t SearchedKeyCount(const TGXTTable& table);
std::optional<std::size_t> FindKeyAsTheGame(const TGXTTable& table, std::uint32_t hash);
bool KeysSortedByHash(const TGXTTable& table);

// Puts the keys in hash order, each with its text, keys of one hash in the
// order they stood (a stable sort): what the game's search needs to find them all.
void SortKeysByHash(TGXTTable& table);

} // namespace vehmira::gamedata
