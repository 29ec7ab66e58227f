#pragma once
// Free records: directory entries that mark sectors no entry uses any more.
//
// An import never overwrites the bytes of the entry it replaces: its new data
// go elsewhere and the old sectors stay where they are, under a free record,
// until no kept undo step needs them. A free record's name has no dot, so the
// game streams nothing from it and its chained read stops there; this also
// makes a free record of no sectors a separator between two entries whose
// data are not back to back. The names ("vehmira-free-000001") cannot clash
// with a game file and tell a person who opens the archive in another tool
// what they are. A rebuild drops them and reclaims their sectors.

#include "archive/DIR.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vehmira::archive {

bool IsFreeRecordName(std::string_view name);
inline bool IsFreeRecord(const TDIREntry& entry) { return IsFreeRecordName(entry.Name); }

// A number above every free record's number in entries; it may lie past
// what MakeFreeRecord takes when a record's number is that high already.
std::uint64_t NextFreeRecordNumber(const TDIREntrys& entries);

// The free record named for number, over Size sectors from Offset.
TDIREntry MakeFreeRecord(std::uint32_t number, std::uint32_t offset, std::uint32_t size);

} // namespace vehmira::archive
