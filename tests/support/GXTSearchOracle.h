#pragma once
// The game's lookup of a GXT key, written here apart from the code under test
// as the game's own routine reads: halve the range [low, high] at its
// midpoint, compare the hashes as unsigned numbers, go left when the wanted
// hash is smaller. Plain int indices: the tables here stay below the 32768
// keys where the game's 16-bit indices would wrap.

#include <cstdint>
#include <optional>
#include <vector>

inline std::optional<std::size_t> GameKeySearchOracle(const std::vector<std::uint32_t>& hashes, std::uint32_t wanted,
                                                      int low, int high)
{
    if (low > high)
        return std::nullopt;
    const int middle = (low + high) / 2;
    if (hashes[std::size_t(middle)] == wanted)
        return std::size_t(middle);
    return wanted < hashes[std::size_t(middle)] ? GameKeySearchOracle(hashes, wanted, low, middle - 1)
                                                : GameKeySearchOracle(hashes, wanted, middle + 1, high);
}

inline std::optional<std::size_t> GameKeySearchOracle(const std::vector<std::uint32_t>& hashes, std::uint32_t wanted)
{
    return GameKeySearchOracle(hashes, wanted, 0, int(hashes.size()) - 1);
}
