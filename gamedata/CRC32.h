#pragma once
// The reflected CRC-32 (polynomial EDB88320) and the GXT key hash built on it.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace vehmira::gamedata {

extern const std::array<std::uint32_t, 256> CRC32Table;

// Carries the register (not inverted) over the buffer; long buffers use
// carry-less multiplication where the processor has it.
std::uint32_t CRC32Update(std::span<const std::uint8_t> buffer, std::uint32_t crcRegister);
// The same by table look-ups alone, eight bytes per step; any processor.
std::uint32_t CRC32UpdateBySlicing(std::span<const std::uint8_t> buffer, std::uint32_t crcRegister);
// The standard CRC-32 (as zlib computes it).
std::uint32_t CRC32Buffer(std::span<const std::uint8_t> buffer);
// The hash of a GXT key as the game looks it up: the CRC-32 register, before
// its final inversion, over the key with its ASCII letters upper-cased.
std::uint32_t GXTKeyHash(std::string_view key);

} // namespace vehmira::gamedata
