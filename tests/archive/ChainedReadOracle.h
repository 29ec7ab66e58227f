#pragma once
// An independent model of how the game reads Models\GTA3.img, used as the
// oracle of the layout and rebuild tests. It parses the raw file image itself
// and shares no code with the archive classes.
//
// The game links entries in directory order: an entry whose name has a dot
// within its first 21 characters and then dff, txd, col, ipl, dat, ifp, rrr or
// scm (three letters, any case) joins the chain; any other entry ends it. A
// later entry of the same name and kind is skipped, and the chain runs on. A run of linked entries is read in one go from the first one's
// offset for the sum of their sizes; each entry's bytes are taken at the
// running sum of the sizes before it.

#include "fileio/ByteOrder.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ChainedReadOracle {

struct TEntry {
    std::string Name;
    std::uint32_t Offset = 0; // sectors
    std::uint32_t Size = 0;   // sectors
};

std::vector<TEntry> ParseDirectory(const vehmira::fileio::ByteBuffer& image);

// For each entry: whether the game skips it as a later duplicate.
std::vector<bool> SkippedDuplicates(const std::vector<TEntry>& entries);

// The runs the game reads in one go (directory indexes, two or more entries).
std::vector<std::vector<std::size_t>> LinkedRuns(const std::vector<TEntry>& entries);

// Every entry as its own read gets it: its Size sectors at Offset (zeros past the file's end).
vehmira::fileio::ByteBuffer OwnBytes(const vehmira::fileio::ByteBuffer& image, const TEntry& entry);

// For each entry, the bytes the game gets for it when it reads the entry's
// whole run at once (an unlinked entry: its own bytes).
std::vector<vehmira::fileio::ByteBuffer> RunReadBytes(const vehmira::fileio::ByteBuffer& image);

// Names of the entries whose run read differs from their own bytes' position.
std::vector<std::string> MisreadEntries(const vehmira::fileio::ByteBuffer& image);

} // namespace ChainedReadOracle
