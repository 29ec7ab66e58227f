#pragma once
// What the harnesses share: a broken invariant stops the run as a finding.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>

inline void Require(bool holds, const char* invariant)
{
    if (!holds) {
        std::fprintf(stderr, "Broken invariant: %s\n", invariant);
        std::abort();
    }
}

inline std::span<const std::uint8_t> AsBytes(const std::uint8_t* data, std::size_t size) { return {data, size}; }

inline std::string_view AsText(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}
