#pragma once
// How the archive's data lie, as the game's chained read sees them.
//
// The game links directory entries in directory order. It streams an entry
// whose name has a dot at most 20 characters in, followed by one of dff, txd,
// col, ipl, dat, ifp, rrr or scm (the first three characters after the dot,
// any case: "c.dffx" is a model). Such an entry is linked to the next streamed
// one; any other entry (no dot, a dot further in, another extension; free
// records among them) breaks the chain there. A later entry of a model or
// dictionary seen before (the name before the dot and the kind, ASCII case
// ignored) is skipped without breaking it: the entries before and after the
// duplicate are linked. Linked entries wanted together are read in one go
// from the first one's offset, each next one taken right after the sizes
// before it: a chain neighbour that does not start where the one before it
// ends (Offset + Size) is misread.

#include "archive/DIR.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vehmira::archive {

// Whether the game streams entries of this name.
bool IsStreamedEntryName(std::string_view name);

// For each entry: whether the game skips it as a later entry of a model or
// dictionary it has seen before.
std::vector<bool> LaterDuplicates(const TDIREntrys& entries);

// The entry the game loads for this name: the first of its model or
// dictionary (the first of that exact name, ASCII case ignored, for a name
// the game does not stream); none when the archive has no such entry.
std::optional<std::size_t> EntryTheGameReads(const TDIREntrys& entries, std::string_view name);

// The entry that a streamed entry added at the end of the directory would be
// linked to: the last one the game links, when no entry that breaks the chain
// follows it (skipped duplicates after it do not). None otherwise.
std::optional<std::size_t> EntryLinkedToTheEnd(const TDIREntrys& entries);

// Two chain neighbours that do not lie back to back.
struct TMisreadPair {
    std::size_t First = 0;  // directory indexes: Second follows First, or only
    std::size_t Second = 0; // skipped duplicates lie between them
    std::string FirstName;
    std::string SecondName;
};

struct TArchiveLayout {
    std::uint64_t EntryCount = 0;
    std::uint64_t FileSize = 0;
    std::uint64_t ChainPairs = 0;            // neighbours the game links
    std::vector<TMisreadPair> MisreadPairs;  // of those, the ones apart on disk
    // Bytes no entry uses between the lowest data block and the highest data end.
    std::uint64_t HoleBytes = 0;
    // Bytes after the highest data end up to the end of the file.
    std::uint64_t TrailingBytes = 0;
    // Directory indexes: entries whose sectors share bytes with another entry
    // or with the directory region (entries of Size 0 never do).
    std::vector<std::size_t> OverlappingEntries;
    // Entries whose data end lies past the file's last sector.
    std::vector<std::size_t> PastEndEntries;
    // Entries whose data end in the file's last, partial sector: the file
    // stops short of their zero fill (ShortTailBytes bytes missing).
    std::vector<std::size_t> ShortTailEntries;
    std::uint64_t ShortTailBytes = 0;
    // Later entries of a name seen before (ASCII case ignored).
    std::vector<std::size_t> DuplicateNames;
    // Entries whose name fills all 24 bytes, without a terminating zero.
    std::vector<std::size_t> UnterminatedNames;
    // Free records (FreeRecords.h) and the sectors they hold, in bytes.
    std::uint64_t FreeRecords = 0;
    std::uint64_t FreeBytes = 0;

    // The game reads every linked run as the directory says.
    bool ReadsCorrectly() const { return MisreadPairs.empty(); }
    // Every entry's bytes can be copied whole: no overlap, nothing past the end.
    bool CanRebuild() const { return OverlappingEntries.empty() && PastEndEntries.empty(); }
};

// How many of the chain neighbours are misread (TArchiveLayout::MisreadPairs), alone.
std::size_t CountMisreadPairs(const TDIREntrys& entries);

// The misread pairs of after that before does not have. A pair is known by
// what the game files its two entries under (the name before the dot and the
// kind), so it stays the same pair wherever a change moves it in the
// directory; a change that mends one pair and misreads another is caught.
std::vector<TMisreadPair> NewMisreadPairs(const TDIREntrys& before, const TDIREntrys& after);

// Sorts once: O(n log n) in the entry count, whatever the size of the data.
TArchiveLayout AnalyseLayout(const TDIREntrys& entries, std::uint64_t fileSize);
// Reads the directory from the stream without refusing entries past its end
// (they are reported); a damaged directory itself raises TVehmiraError.
TArchiveLayout AnalyseLayout(fileio::TStream& archive);
// The same for the archive file, opened for reading only.
TArchiveLayout AnalyseLayout(const std::filesystem::path& archivePath);

// "a.dff / b.txd": the misread pairs by name for a message, at most limit of
// them, followed by "and N more" when there are others.
std::string DescribeMisreadPairs(const TArchiveLayout& layout, std::size_t limit = 5);

} // namespace vehmira::archive
