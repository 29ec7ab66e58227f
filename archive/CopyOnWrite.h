#pragma once
// Where an import's new entry data go without overwriting any byte that the
// archive's state before the import still needs. Pure arithmetic on the
// directory; TIMGFile carries the plan out.
//
// New data go into a free record's sectors that no kept undo step pins (the
// smallest that holds them), else at the end of the file. A replaced entry
// keeps its place in the directory (so the first entry of a name stays the
// one the game loads); a free record inserted right before it covers its old
// sectors and breaks the game's chain there, and a separator (a free record
// of no sectors) after it breaks the chain to the next streamed entry, whose
// data no longer follow. A name not in the archive yet is added at the end of
// the directory, after a separator unless the entry the game links it to (the
// last one it links: skipped duplicates do not count) ends where its data
// begin. When the grown directory needs the sectors of the first data
// blocks, those entries move to the end of the file the same way (their old
// sectors become directory and are the only data bytes overwritten: the
// journal saves them with the directory).

#include "archive/DIR.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vehmira::archive {

struct TSectorRange {
    std::uint32_t Offset = 0;
    std::uint32_t Size = 0;
};

// One entry the import writes: ByteCount bytes, under EntryName.
struct TEntryWrite {
    std::string EntryName;
    std::uint64_t ByteCount = 0;
};

// A data block moved to make room for the directory.
struct TBlockCopy {
    std::uint32_t From = 0;
    std::uint32_t To = 0;
    std::uint32_t Size = 0;
};

struct TPlacement {
    TDIREntrys Entries;               // the directory afterwards
    std::vector<TSectorRange> Writes; // per write, where its data go
    std::vector<TBlockCopy> Moves;    // done before the writes
    std::vector<TSectorRange> Freed;  // sectors of the archive as it was that now lie under free records
    std::uint64_t EndSector = 0;      // the file's length afterwards, in sectors (at least)
};

// pinned: sectors that kept undo steps still need; never reused.
// Raises TVehmiraError for an entry name that breaks the naming rules or is
// a free record's, a sector the archive cannot address, or (never expected) a plan that would
// misread a pair of entries that the archive does not misread now
// (NewMisreadPairs: mending another pair does not make up for it).
TPlacement PlanCopyOnWrite(const TDIREntrys& entries, std::uint64_t fileSize, std::span<const TEntryWrite> writes,
                           std::span<const TSectorRange> pinned);

} // namespace vehmira::archive
