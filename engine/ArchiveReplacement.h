#pragma once
// When an import's archive writes keep the game's chained read correct only
// if the archive is rebuilt, and the rebuilt archive's entries then.
//
// A write whose bytes fit in the sectors of the entry it replaces goes there
// (in place, costing the vehicle's bytes). A write that does not fit, or a new
// name that cannot be appended right after the last entry without growing the
// directory, would leave chain neighbours apart on disk: the archive is then
// rebuilt with the new data in the replaced entries' places and new names at
// the end of the directory. An archive that cannot be rebuilt (overlapping
// entries, data past its end) keeps the appending import.

#include "archive/ArchiveRebuild.h"
#include "archive/IMG.h"
#include "fileio/Stream.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vehmira::engine {

// One entry an import writes: Count bytes of Source from Position.
struct TArchiveWrite {
    std::string EntryName;
    fileio::TStream* Source = nullptr;
    std::uint64_t Position = 0;
    std::uint64_t Count = 0;
};

// The last entry of that name (ASCII case ignored), or nullptr.
const archive::TDIREntry* LastEntryNamed(const archive::TDIREntrys& entries, std::string_view name);

bool ImportNeedsRebuild(archive::TIMGFile& archive, std::span<const TArchiveWrite> writes);

// Every entry of the archive in its order, the last entry of each written
// name carrying its new data (and the writer's spelling of the name); names
// not present yet follow at the end, in the order given.
std::vector<archive::TRebuildEntry> EntriesWithWrites(const archive::TDIREntrys& entries,
                                                      std::span<const TArchiveWrite> writes);

} // namespace vehmira::engine
