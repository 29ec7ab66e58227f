#pragma once
// Rewrites the model archive so that the game's chained read (ArchiveLayout.h)
// finds every entry: the data in directory order, back to back, from the first
// sector after the directory region, without holes; the data of later
// duplicates (kept, since other tools may show them) follow all the others. Every entry keeps its
// name, its place in the directory and all its Size sectors (a short last
// sector is filled with zeros); bytes 0..3 (the tag) are copied unchanged;
// the directory region keeps SpareSlots free entries so that the next adds
// need not grow it.
//
// Crash safety: the new archive is written to a temporary file beside the old
// one, the file is flushed and only then takes the old one's place in one
// rename. Bytes copied unchanged from the archive file go from file to file
// inside the system where it can (as a file copy does); every other buffer
// (the directory, replacements, zero fill, all of it where the system cannot
// copy or the whole file's CRC is wanted) is read back and compared as soon
// as it is written, while it is still in the cache. Until that rename the old
// archive is untouched; an error or a cancel removes the temporary.
//
// Holding the archive open: TIMGFile opens it exclusively, and on Windows an
// open file cannot be replaced. So the work is split:
//   - WriteRebuiltArchive reads from any open stream of the archive (the
//     TIMGFile's own File()) and writes the new file beside it; nothing else;
//   - the caller closes its TIMGFile, moves the new file into place
//     (MoveFileIntoPlace, or an import's journal moves the old one away
//     first), and opens it again.
// RebuildOpenArchive does those steps for a TIMGFile; RebuildArchiveFile for an
// archive nobody holds open.

#include "archive/ArchiveLayout.h"
#include "archive/DIR.h"
#include "fileio/Progress.h"
#include "fileio/Stream.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace vehmira::archive {

class TIMGFile;

inline constexpr std::uint32_t DefaultSpareSlots = 64;

// One entry of the new archive, in directory order.
struct TRebuildEntry {
    std::string Name;
    std::uint32_t Size = 0;         // sectors in the new archive
    std::uint32_t SourceOffset = 0; // sector of its bytes in the source archive
    // When set, the entry's bytes come from here instead: ReplacementCount
    // bytes from ReplacementPosition, then zeros to Size sectors (an import).
    fileio::TStream* Replacement = nullptr;
    std::uint64_t ReplacementPosition = 0;
    std::uint64_t ReplacementCount = 0;
};

struct TRebuildOptions {
    std::uint32_t SpareSlots = DefaultSpareSlots;
    fileio::TProgressSink* Progress = nullptr; // bytes written plus bytes read back and compared, of twice the data
    bool WantFileCRC = false;          // compute TRebuildResult::FileCRC (of each buffer as it is written)
};

struct TRebuildResult {
    std::filesystem::path File; // the new archive (the temporary until it is moved into place)
    TDIREntrys Entries;         // its directory
    std::uint64_t FileLength = 0;
    std::uint32_t FileCRC = 0; // CRC-32 of the whole new file, when asked for
};

// Every entry of the directory as it is, but the free records: their sectors
// are reclaimed.
std::vector<TRebuildEntry> KeepEveryEntry(const TDIREntrys& entries);

// Bytes the new archive will take.
std::uint64_t RebuiltArchiveLength(std::span<const TRebuildEntry> entries, std::uint32_t spareSlots);

// Refuses (TVehmiraError naming both figures and the folder) when available < needed.
void CheckFreeSpace(std::uint64_t needed, std::uint64_t available, const std::filesystem::path& folder);

// Refuses an archive whose entries cannot all be copied whole (overlapping
// entries, data past the end), naming the first such entry.
void CheckRebuildable(const TArchiveLayout& layout, const TDIREntrys& entries);

// Writes the new archive from source (an open stream of the old archive) to a
// fresh temporary beside archivePath, read back, compared and flushed, and
// returns it; the old archive is not touched. Checks the layout of the entries'
// source blocks and the free disk space first. On any error, or a cancel
// (TOperationCancelled), the temporary is removed.
TRebuildResult WriteRebuiltArchive(fileio::TStream& source, std::span<const TRebuildEntry> entries,
                                   const std::filesystem::path& archivePath, const TRebuildOptions& options = {});

// Rebuilds the archive a TIMGFile holds open: writes the new file from its
// stream, closes the archive, moves the new file into place and opens it again
// (also after a failed move: then on the old file).
TRebuildResult RebuildOpenArchive(TIMGFile& archive, const TRebuildOptions& options = {});

// Rebuilds an archive that is not open (it is locked meanwhile).
TRebuildResult RebuildArchiveFile(const std::filesystem::path& archivePath, const TRebuildOptions& options = {});

} // namespace vehmira::archive
