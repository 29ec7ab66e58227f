#pragma once
// Where the archive's directory may grow, and which data blocks have to move to
// the end of the archive to make room for it. Pure arithmetic on the entries;
// TIMGFile carries out the moves.

#include "archive/DIR.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace vehmira::archive {

// Whole sectors needed for byteCount bytes.
std::uint64_t SectorsToHold(std::uint64_t byteCount);

// A piece's bytes as the archive stores them and the game reads them: zero-
// filled to whole sectors. Some exporters state chunk sizes a few bytes larger
// than the file holds; the game reads such a model through those zeros, so a
// reader of the file before it is added reads this view of it.
fileio::ByteBuffer AsStoredEntry(fileio::ByteBuffer bytes);

// Offsets and sizes are 32-bit sector counts; anything beyond is refused.
void CheckSectorFits(std::uint64_t sector, std::string_view entryName);

// The smallest Offset over all entries; for an empty directory the end of its
// region rounded up to a sector, at least sector 1.
std::uint32_t FirstDataSectorOf(const TDIREntrys& entries);

// Whole 32-byte entries that still fit between the directory and its first
// data sector (64 per sector, less the count, less one for the 8 header bytes).
std::int32_t FreeSlotsFor(const TDIREntrys& entries);

struct TBlockMove {
    std::size_t Index = 0; // entry whose block moves
    std::uint32_t From = 0;
    std::uint32_t To = 0;
    std::uint32_t Size = 0; // sectors
};

// Moves the block with the smallest Offset to endSector until one more entry
// fits, and returns the moves in order. entries and endSector are updated as
// the moves leave them. A block never lands below the sector the grown
// directory needs, so blocks of Size 0 and blocks sharing a sector are moved
// on until the room is real.
std::vector<TBlockMove> PlanGrowth(TDIREntrys& entries, std::uint64_t& endSector);

} // namespace vehmira::archive
