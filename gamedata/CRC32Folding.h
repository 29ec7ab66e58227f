#pragma once
// The same reflected CRC-32 as CRC32Update, computed 64 bytes per step with
// carry-less multiplication (PCLMULQDQ) on x86-64 processors that have it.
// CRC32Update picks it for long buffers; it is declared here so that tests can
// hold it against the table definition directly.

#include <cstdint>
#include <span>

namespace vehmira::gamedata {

// True when this processor can run CRC32UpdateFolding.
bool CarrylessFoldingAvailable();

// Only to be called when CarrylessFoldingAvailable(); any length.
std::uint32_t CRC32UpdateFolding(std::span<const std::uint8_t> buffer, std::uint32_t crcRegister);

} // namespace vehmira::gamedata
