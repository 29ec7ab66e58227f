#pragma once
// Little-endian loads and stores for every on-disk integer field.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vehmira::fileio {

using ByteBuffer = std::vector<std::uint8_t>;

inline std::uint32_t LoadU32LE(std::span<const std::uint8_t, 4> bytes)
{
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16 |
           std::uint32_t(bytes[3]) << 24;
}

inline void StoreU32LE(std::span<std::uint8_t, 4> bytes, std::uint32_t value)
{
    bytes[0] = std::uint8_t(value);
    bytes[1] = std::uint8_t(value >> 8);
    bytes[2] = std::uint8_t(value >> 16);
    bytes[3] = std::uint8_t(value >> 24);
}

inline void AppendU32LE(ByteBuffer& out, std::uint32_t value)
{
    std::uint8_t bytes[4];
    StoreU32LE(bytes, value);
    out.insert(out.end(), bytes, bytes + 4);
}

inline void AppendBytes(ByteBuffer& out, std::span<const std::uint8_t> bytes)
{
    out.insert(out.end(), bytes.begin(), bytes.end());
}

} // namespace vehmira::fileio
